// Row and long-value decoding on rows built byte by byte, for the layouts
// the fixtures show only partly: columns added after a row was written,
// deleted columns, nulls, each long-value form, and damaged rows.
#include <gtest/gtest.h>

#include <cstring>

#include "jet/read/long_value.hpp"
#include "jet/read/row_decoder.hpp"

namespace orvdb::jet {
namespace {

using ByteList = std::vector<uint8_t>;

void putU16(ByteList& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void putU32(ByteList& out, uint32_t value) {
    putU16(out, static_cast<uint16_t>(value));
    putU16(out, static_cast<uint16_t>(value >> 16));
}
ByteList utf16(const std::string& ascii) {
    ByteList out;
    for (char c : ascii) {
        putU16(out, static_cast<uint8_t>(c));
    }
    return out;
}

// A Jet 4 row: column count, fixed area, variable data, then the trailer
// (end offset, variable offsets last to first, variable count, null mask).
ByteList buildRow(uint16_t columnCount, const ByteList& fixed,
                  const std::vector<ByteList>& variables,
                  const std::vector<uint16_t>& presentColumns) {
    ByteList row;
    putU16(row, columnCount);
    row.insert(row.end(), fixed.begin(), fixed.end());
    std::vector<uint16_t> offsets;
    for (const ByteList& value : variables) {
        offsets.push_back(static_cast<uint16_t>(row.size()));
        row.insert(row.end(), value.begin(), value.end());
    }
    putU16(row, static_cast<uint16_t>(row.size()));
    for (size_t n = offsets.size(); n-- > 0;) {
        putU16(row, offsets[n]);
    }
    putU16(row, static_cast<uint16_t>(variables.size()));
    ByteList mask((columnCount + 7) / 8, 0);
    for (uint16_t column : presentColumns) {
        mask[column / 8] |= static_cast<uint8_t>(1 << (column % 8));
    }
    row.insert(row.end(), mask.begin(), mask.end());
    return row;
}

Column fixedColumn(const std::string& name, ColumnType type, uint16_t number, uint16_t offset,
                   uint16_t length) {
    Column column;
    column.name = name;
    column.typeCode = static_cast<uint8_t>(type);
    column.number = number;
    column.fixedOffset = offset;
    column.length = length;
    column.flags = Column::kFixedLength | Column::kUpdatable;
    return column;
}

Column variableColumn(const std::string& name, ColumnType type, uint16_t number,
                      uint16_t variableIndex) {
    Column column;
    column.name = name;
    column.typeCode = static_cast<uint8_t>(type);
    column.number = number;
    column.variableIndex = variableIndex;
    column.length = 100;
    column.flags = Column::kUpdatable;
    return column;
}

// A data page holding `rows`, owned by `owner` (4 bytes, e.g. "LVAL").
std::array<uint8_t, kPageSize> buildPage(const std::vector<ByteList>& rows, const char* owner) {
    std::array<uint8_t, kPageSize> page{};
    page[0] = 0x01;
    page[1] = 0x01;
    std::memcpy(page.data() + 4, owner, 4);
    page[12] = static_cast<uint8_t>(rows.size());
    size_t end = kPageSize;
    for (size_t n = 0; n < rows.size(); ++n) {
        size_t start = end - rows[n].size();
        std::memcpy(page.data() + start, rows[n].data(), rows[n].size());
        page[14 + 2 * n] = static_cast<uint8_t>(start);
        page[15 + 2 * n] = static_cast<uint8_t>(start >> 8);
        end = start;
    }
    return page;
}

class MemoryFile {
public:
    explicit MemoryFile(const std::vector<std::array<uint8_t, kPageSize>>& pages) {
        ByteList bytes;
        for (const auto& page : pages) {
            bytes.insert(bytes.end(), page.begin(), page.end());
        }
        source_ = openPageMemory(bytes, "memory.mdb");
    }
    PageSource& source() { return *source_; }

private:
    std::unique_ptr<PageSource> source_;
};

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const JetError& error) {
        return error.what();
    }
    return "";
}

TEST(RowDecoding, ReadsEveryFixedAndVariableKind) {
    TableDefinition table;
    table.name = "Everything";
    table.columns = {
        fixedColumn("Id", ColumnType::Long, 0, 0, 4),
        variableColumn("Name", ColumnType::Text, 1, 0),
        fixedColumn("Done", ColumnType::Boolean, 2, 0, 1),
        fixedColumn("Price", ColumnType::Currency, 3, 4, 8),
        variableColumn("Note", ColumnType::Memo, 4, 1),
        fixedColumn("Key", ColumnType::Guid, 5, 12, 16),
        fixedColumn("Amount", ColumnType::Decimal, 6, 28, 17),
        fixedColumn("Ratio", ColumnType::Single, 7, 45, 4),
        fixedColumn("Small", ColumnType::Integer, 8, 49, 2),
    };
    table.columns[6].precision = 28;
    table.columns[6].scale = 3;

    ByteList fixed;
    putU32(fixed, static_cast<uint32_t>(-42));
    putU32(fixed, 0x12345678);  // Currency low word
    putU32(fixed, 0x1);         // Currency high word: 0x112345678 / 10000
    for (uint8_t n = 0; n < 16; ++n) {
        fixed.push_back(n);
    }
    // Decimal -1234567.890: sign, then four words, most significant first.
    fixed.push_back(0x80);
    putU32(fixed, 0);
    putU32(fixed, 0);
    putU32(fixed, 0);
    putU32(fixed, 1234567890);
    uint32_t ratio = 0x3FC00000;  // 1.5f
    putU32(fixed, ratio);
    putU16(fixed, static_cast<uint16_t>(-2));

    ByteList memo;
    putU32(memo, 0x80000000u | 6);
    putU32(memo, 0);
    putU32(memo, 0);
    ByteList memoText = utf16("abc");
    memo.insert(memo.end(), memoText.begin(), memoText.end());

    ByteList row =
        buildRow(9, fixed, {{0xFF, 0xFE, 'J', 'e', 't'}, memo}, {0, 1, 2, 3, 4, 5, 6, 7, 8});
    MemoryFile file({});
    RowDecoder decoder(table, file.source());
    std::vector<Value> values = decoder.decode(ByteView(row, file.source().name()));

    ASSERT_EQ(values.size(), 9u);
    EXPECT_EQ(values[0], Value(int64_t{-42}));
    EXPECT_EQ(values[1], Value(std::string("Jet")));
    EXPECT_EQ(values[2], Value(true));
    EXPECT_EQ(values[3], Value(Currency{0x112345678}));
    EXPECT_EQ(values[4], Value(std::string("abc")));
    EXPECT_EQ(std::get<Guid>(values[5]).toString(), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");
    EXPECT_EQ(std::get<Decimal>(values[6]).text, "-1234567.890");
    EXPECT_EQ(values[7], Value(1.5));
    EXPECT_EQ(values[8], Value(int64_t{-2}));
}

TEST(RowDecoding, ColumnsAddedAfterTheRowWasWrittenReadAsNull) {
    // The row was written when the table had columns 0 and 1 only.
    TableDefinition table;
    table.name = "Grown";
    table.columns = {
        fixedColumn("Id", ColumnType::Long, 0, 0, 4),
        variableColumn("Name", ColumnType::Text, 1, 0),
        fixedColumn("Added", ColumnType::Long, 2, 4, 4),
        fixedColumn("Flag", ColumnType::Boolean, 3, 0, 1),
        variableColumn("Later", ColumnType::Text, 4, 1),
    };
    ByteList fixed;
    putU32(fixed, 7);
    ByteList row = buildRow(2, fixed, {utf16("old")}, {0, 1});
    MemoryFile file({});
    RowDecoder decoder(table, file.source());
    std::vector<Value> values = decoder.decode(ByteView(row, file.source().name()));
    EXPECT_EQ(values[0], Value(int64_t{7}));
    EXPECT_EQ(values[1], Value(std::string("old")));
    EXPECT_TRUE(isNull(values[2]));
    EXPECT_EQ(values[3], Value(false));
    EXPECT_TRUE(isNull(values[4]));
}

TEST(RowDecoding, DeletedColumnsLeaveGapsThatAreSkipped) {
    // Column 1 (fixed at offset 4, variable index 0) was deleted: the row
    // still has its bytes, the table no longer describes them.
    TableDefinition table;
    table.name = "Shrunk";
    table.columns = {
        fixedColumn("A", ColumnType::Long, 0, 0, 4),
        fixedColumn("C", ColumnType::Long, 2, 8, 4),
        variableColumn("D", ColumnType::Text, 3, 1),
    };
    ByteList fixed;
    putU32(fixed, 1);
    putU32(fixed, 999);  // the deleted column's value
    putU32(fixed, 3);
    ByteList row = buildRow(4, fixed, {utf16("gone"), utf16("kept")}, {0, 1, 2, 3});
    MemoryFile file({});
    RowDecoder decoder(table, file.source());
    std::vector<Value> values = decoder.decode(ByteView(row, file.source().name()));
    EXPECT_EQ(values[0], Value(int64_t{1}));
    EXPECT_EQ(values[1], Value(int64_t{3}));
    EXPECT_EQ(values[2], Value(std::string("kept")));
}

TEST(RowDecoding, NullMaskDecidesOverStoredBytes) {
    TableDefinition table;
    table.name = "Nulls";
    table.columns = {fixedColumn("A", ColumnType::Long, 0, 0, 4),
                     variableColumn("B", ColumnType::Text, 1, 0),
                     variableColumn("C", ColumnType::Text, 2, 1)};
    ByteList fixed;
    putU32(fixed, 5);
    ByteList row = buildRow(3, fixed, {utf16("x"), {}}, {2});
    MemoryFile file({});
    RowDecoder decoder(table, file.source());
    std::vector<Value> values = decoder.decode(ByteView(row, file.source().name()));
    EXPECT_TRUE(isNull(values[0]));
    EXPECT_TRUE(isNull(values[1]));
    EXPECT_EQ(values[2], Value(std::string()));  // present and empty: ""
}

TEST(RowDecoding, DamagedRowsGiveErrorsNamingFileTableAndColumn) {
    TableDefinition table;
    table.name = "Broken";
    table.columns = {fixedColumn("A", ColumnType::Double, 0, 0, 8),
                     variableColumn("B", ColumnType::Text, 1, 0)};
    MemoryFile file({});
    RowDecoder decoder(table, file.source());

    ByteList fixed(8, 0);
    ByteList row = buildRow(2, fixed, {utf16("abc")}, {0, 1});
    // Variable offset pointing past the variable data.
    ByteList badOffset = row;
    size_t offsetAt = badOffset.size() - 1 - 2 - 2;
    badOffset[offsetAt] = 0xF0;
    std::string message =
        errorOf([&] { decoder.decode(ByteView(badOffset, file.source().name())); });
    EXPECT_NE(message.find("memory.mdb"), std::string::npos) << message;
    EXPECT_NE(message.find("column 'B' of table 'Broken'"), std::string::npos) << message;

    // A column count larger than the row can hold.
    ByteList tooMany = row;
    tooMany[0] = 0xFF;
    tooMany[1] = 0xFF;
    message = errorOf([&] { decoder.decode(ByteView(tooMany, file.source().name())); });
    EXPECT_NE(message.find("table 'Broken'"), std::string::npos) << message;

    // A fixed column whose offset lies outside the row.
    TableDefinition shifted = table;
    shifted.columns[0].fixedOffset = 200;
    RowDecoder shiftedDecoder(shifted, file.source());
    message = errorOf([&] { shiftedDecoder.decode(ByteView(row, file.source().name())); });
    EXPECT_NE(message.find("column 'A'"), std::string::npos) << message;

    EXPECT_FALSE(
        errorOf([&] { decoder.decode(ByteView(ByteList{}, file.source().name())); }).empty());
}

ByteList longValueField(uint32_t header, uint32_t pointer) {
    ByteList field;
    putU32(field, header);
    putU32(field, pointer);
    putU32(field, 0);
    return field;
}

TEST(LongValues, ReadEachStoredForm) {
    ByteList first = {0, 0, 0, 0};  // next pointer, filled below
    ByteList second = {0, 0, 0, 0};
    for (int n = 0; n < 5; ++n) {
        first.push_back(static_cast<uint8_t>('a' + n));
        second.push_back(static_cast<uint8_t>('A' + n));
    }
    first[0] = 1;  // row 1 on page 1
    first[1] = 1;
    ByteList single = {'s', 'i', 'n', 'g', 'l', 'e', 'X', 'X'};
    auto lvalPage = buildPage({first, second, single}, "LVAL");
    MemoryFile file({std::array<uint8_t, kPageSize>{}, lvalPage});
    LongValueReader reader(file.source());
    auto view = [&](const ByteList& bytes) { return ByteView(bytes, file.source().name()); };

    ByteList inlineField = longValueField(0x80000000u | 3, 0);
    inlineField.insert(inlineField.end(), {'x', 'y', 'z'});
    EXPECT_EQ(reader.read(view(inlineField), "t"), (Bytes{'x', 'y', 'z'}));

    // One row: the length cuts the row's bytes.
    EXPECT_EQ(reader.read(view(longValueField(0x40000000u | 6, (1u << 8) | 2)), "t"),
              (Bytes{'s', 'i', 'n', 'g', 'l', 'e'}));

    // A chain of two rows.
    EXPECT_EQ(reader.read(view(longValueField(8, (1u << 8) | 0)), "t"),
              (Bytes{'a', 'b', 'c', 'd', 'e', 'A', 'B', 'C'}));

    // A chain that ends before the stated length.
    std::string message =
        errorOf([&] { reader.read(view(longValueField(50, (1u << 8) | 0)), "column 'M'"); });
    EXPECT_NE(message.find("column 'M'"), std::string::npos) << message;
    EXPECT_NE(message.find("memory.mdb"), std::string::npos) << message;

    // Pointers to a missing row, to a page that is not a data page, past the file.
    EXPECT_FALSE(errorOf([&] {
                     reader.read(view(longValueField(0x40000000u | 2, (1u << 8) | 9)), "t");
                 }).empty());
    EXPECT_FALSE(
        errorOf([&] { reader.read(view(longValueField(0x40000000u | 2, 0)), "t"); }).empty());
    EXPECT_FALSE(
        errorOf([&] { reader.read(view(longValueField(0x40000000u | 2, 7u << 8)), "t"); }).empty());
    // A length larger than the file.
    EXPECT_FALSE(
        errorOf([&] { reader.read(view(longValueField(0x3FFFFFFF, (1u << 8))), "t"); }).empty());
    // A header cut short.
    EXPECT_FALSE(errorOf([&] { reader.read(view(ByteList{1, 2, 3}), "t"); }).empty());
}

TEST(LongValues, ALoopingChainEndsAtTheStatedLength) {
    ByteList looping = {0, 1, 0, 0};  // points at itself: row 0 of page 1
    looping.insert(looping.end(), {'l', 'o', 'o', 'p'});
    MemoryFile file({std::array<uint8_t, kPageSize>{}, buildPage({looping}, "LVAL")});
    LongValueReader reader(file.source());
    ByteList field = longValueField(10, (1u << 8) | 0);
    Bytes value = reader.read(ByteView(field, file.source().name()), "t");
    EXPECT_EQ(value.size(), 10u);
}

}  // namespace
}  // namespace orvdb::jet
