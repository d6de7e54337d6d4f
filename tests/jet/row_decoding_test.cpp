// Rows and long values built byte by byte, for the layouts the fixtures show
// only partly: added and deleted columns, nulls, each long-value form, damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "jet/fixture_support.hpp"
#include "jet/format/bytes.hpp"
#include "jet/read/long_value.hpp"
#include "jet/read/row_decoder.hpp"
#include "support/usage_map_rows_page.hpp"

namespace orvdb::jet {
namespace {

using testing::errorOf;

Bytes utf16(const std::string& ascii) {
    ByteWriter out;
    for (char c : ascii) {
        out.u16(static_cast<uint8_t>(c));
    }
    return out.bytes();
}

Bytes le32(std::initializer_list<uint32_t> words) {
    ByteWriter out;
    for (uint32_t word : words) {
        out.u32(word);
    }
    return out.bytes();
}

// A Jet 4 row: column count, fixed area, variable data, then the trailer
// (end offset, variable offsets last to first, variable count, null mask).
Bytes buildRow(uint16_t columnCount, const Bytes& fixed, const std::vector<Bytes>& variables,
               const std::vector<uint16_t>& presentColumns) {
    ByteWriter row;
    row.u16(columnCount);
    row.append(fixed);
    std::vector<uint16_t> offsets;
    for (const Bytes& value : variables) {
        offsets.push_back(static_cast<uint16_t>(row.size()));
        row.append(value);
    }
    row.u16(static_cast<uint16_t>(row.size()));
    for (size_t n = offsets.size(); n-- > 0;) {
        row.u16(offsets[n]);
    }
    row.u16(static_cast<uint16_t>(variables.size()));
    Bytes mask((columnCount + 7) / 8, 0);
    for (uint16_t column : presentColumns) {
        mask[column / 8] |= static_cast<uint8_t>(1 << (column % 8));
    }
    row.append(mask);
    return row.bytes();
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

Column decimalColumn() {
    Column column = fixedColumn("Amount", ColumnType::Decimal, 6, 28, 17);
    column.precision = 28;
    column.scale = 3;
    return column;
}

constexpr uint32_t kLval = 0x4C41564C;  // "LVAL" where a page names its owner

PageBytes buildPage(const std::vector<Bytes>& rows, uint32_t owner) {
    PageBytes page{};
    orvdb::testing::writeRowsPage(page, rows, owner);
    return page;
}

std::unique_ptr<PageSource> memoryFile(const std::vector<PageBytes>& pages) {
    Bytes bytes;
    for (const PageBytes& page : pages) {
        bytes.insert(bytes.end(), page.begin(), page.end());
    }
    return openPageMemory(bytes, "memory.mdb");
}

struct RowCase {
    const char* name;
    std::vector<Column> columns;
    Bytes row;
    std::vector<Value> expected;
};

Bytes everyKindFixedArea() {
    Bytes fixed = le32({static_cast<uint32_t>(-42), 0x12345678, 0x1});  // Long, Currency
    for (uint8_t n = 0; n < 16; ++n) {
        fixed.push_back(n);  // GUID
    }
    // Decimal -1234567.890: sign, then four words, most significant first.
    fixed.push_back(0x80);
    Bytes words = le32({0, 0, 0, 1234567890, 0x3FC00000});  // then Single 1.5f
    fixed.insert(fixed.end(), words.begin(), words.end());
    fixed.insert(fixed.end(), {0xFE, 0xFF});  // Integer -2
    return fixed;
}

// A long-value field: length and flags, where the value lies, and the bytes
// of an inline value.
Bytes longValueField(uint32_t header, uint32_t pointer, const Bytes& inlineBytes = {}) {
    Bytes field = le32({header, pointer, 0});
    field.insert(field.end(), inlineBytes.begin(), inlineBytes.end());
    return field;
}

const RowCase kRowCases[] = {
    {"EveryFixedAndVariableKind",
     {fixedColumn("Id", ColumnType::Long, 0, 0, 4), variableColumn("Name", ColumnType::Text, 1, 0),
      fixedColumn("Done", ColumnType::Boolean, 2, 0, 1),
      fixedColumn("Price", ColumnType::Currency, 3, 4, 8),
      variableColumn("Note", ColumnType::Memo, 4, 1),
      fixedColumn("Key", ColumnType::Guid, 5, 12, 16), decimalColumn(),
      fixedColumn("Ratio", ColumnType::Single, 7, 45, 4),
      fixedColumn("Small", ColumnType::Integer, 8, 49, 2)},
     buildRow(9, everyKindFixedArea(),
              {{0xFF, 0xFE, 'J', 'e', 't'}, longValueField(0x80000000u | 6, 0, utf16("abc"))},
              {0, 1, 2, 3, 4, 5, 6, 7, 8}),
     {int64_t{-42}, std::string("Jet"), true, Currency{0x112345678}, std::string("abc"),
      Guid{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}, Decimal{"-1234567.890", 28, 3},
      1.5, int64_t{-2}}},
    // The row was written when the table had columns 0 and 1 only.
    {"ColumnsAddedAfterTheRowWasWrittenReadAsNullOrFalse",
     {fixedColumn("Id", ColumnType::Long, 0, 0, 4), variableColumn("Name", ColumnType::Text, 1, 0),
      fixedColumn("Added", ColumnType::Long, 2, 4, 4),
      fixedColumn("Flag", ColumnType::Boolean, 3, 0, 1),
      variableColumn("Later", ColumnType::Text, 4, 1)},
     buildRow(2, le32({7}), {utf16("old")}, {0, 1}),
     {int64_t{7}, std::string("old"), Value{}, false, Value{}}},
    // Column 1 (fixed at offset 4, variable index 0) was deleted: the row
    // still has its bytes, the table no longer describes them.
    {"DeletedColumnsLeaveGapsThatAreSkipped",
     {fixedColumn("A", ColumnType::Long, 0, 0, 4), fixedColumn("C", ColumnType::Long, 2, 8, 4),
      variableColumn("D", ColumnType::Text, 3, 1)},
     buildRow(4, le32({1, 999, 3}), {utf16("gone"), utf16("kept")}, {0, 1, 2, 3}),
     {int64_t{1}, int64_t{3}, std::string("kept")}},
    {"NullMaskDecidesOverStoredBytes",
     {fixedColumn("A", ColumnType::Long, 0, 0, 4), variableColumn("B", ColumnType::Text, 1, 0),
      variableColumn("C", ColumnType::Text, 2, 1)},
     buildRow(3, le32({5}), {utf16("x"), {}}, {2}),
     {Value{}, Value{}, std::string()}},  // present and empty: ""
};

TEST(RowDecoding, GivesTheStoredValues) {
    for (const RowCase& rowCase : kRowCases) {
        SCOPED_TRACE(rowCase.name);
        TableDefinition table;
        table.name = "T";
        table.columns = rowCase.columns;
        // The columns the table has had, deleted ones included, as its definition records.
        for (const Column& column : table.columns) {
            table.maxColumns = std::max<uint16_t>(table.maxColumns, column.number + 1);
            if (!column.isFixedLength()) {
                table.variableColumnCount =
                    std::max<uint16_t>(table.variableColumnCount, column.variableIndex + 1);
            }
        }
        auto file = memoryFile({});
        std::vector<Value> values =
            RowDecoder(table, *file).decode(ByteView(rowCase.row, file->name()));
        ASSERT_EQ(values.size(), rowCase.expected.size());
        for (size_t n = 0; n < values.size(); ++n) {
            EXPECT_EQ(values[n], rowCase.expected[n])
                << table.columns[n].name << ": " << describe(values[n]);
        }
    }
}

TEST(RowDecodingErrors, DamagedRowsGiveErrorsNamingFileTableAndColumn) {
    TableDefinition table;
    table.name = "Broken";
    table.columns = {fixedColumn("A", ColumnType::Double, 0, 0, 8),
                     variableColumn("B", ColumnType::Text, 1, 0)};
    table.maxColumns = 2;
    table.variableColumnCount = 1;
    auto file = memoryFile({});
    RowDecoder decoder(table, *file);
    auto decode = [&](const RowDecoder& with, const Bytes& row) {
        return errorOf([&] { with.decode(ByteView(row, file->name())); });
    };

    Bytes row = buildRow(2, Bytes(8, 0), {utf16("abc")}, {0, 1});
    ASSERT_EQ(decode(decoder, row), "");
    // Offsets of the trailer counted back from the end: the variable count,
    // the start of column B, the end of the variable data.
    const size_t startOfB = row.size() - 1 - 2 - 2;
    const size_t endOfData = startOfB - 2;
    struct Damage {
        const char* what;
        std::function<void(Bytes&)> apply;
        const char* expected;
    };
    const Damage damages[] = {
        {"a variable offset past the data", [&](Bytes& r) { r[startOfB + 1] = 0xF0; },
         "starts its variable-length data at"},
        {"variable offsets out of order", [&](Bytes& r) { r[endOfData] = 9; }, "out of order"},
        {"more columns than the row can hold", [](Bytes& r) { r[0] = r[1] = 0xFF; },
         "bytes long but claims"},
        {"more columns than the table had", [](Bytes& r) { r[0] = 3; }, "has had 2"},
        {"variable data starting inside the fixed area", [&](Bytes& r) { r[startOfB] = 6; },
         "fixed-length values end at 10"},
        {"variable data running into the offsets", [&](Bytes& r) { r[endOfData] += 2; },
         "past its offsets"},
        {"bytes between the data and the offsets",
         [&](Bytes& r) {
             r[endOfData] -= 2;  // the last character now lies beyond the data's end
         },
         "has data between"},
        {"more variable columns than the table had", [&](Bytes& r) { r[startOfB + 2] = 2; },
         "variable-length columns"},
    };
    for (const Damage& damage : damages) {
        Bytes damaged = row;
        damage.apply(damaged);
        std::string message = decode(decoder, damaged);
        EXPECT_NE(message.find(damage.expected), std::string::npos)
            << damage.what << ": " << message;
        EXPECT_NE(message.find("memory.mdb"), std::string::npos) << message;
        EXPECT_NE(message.find("table 'Broken'"), std::string::npos) << message;
    }
    // Zeros after the data are padding Access leaves, not damage.
    Bytes padded = buildRow(2, Bytes(8, 0), {utf16(std::string("abc\0", 4))}, {0, 1});
    padded[padded.size() - 1 - 2 - 2 - 2] -= 2;  // the data ends before the zeros
    EXPECT_EQ(decoder.decode(ByteView(padded, file->name()))[1], Value(std::string("abc")));

    // A definition whose fixed area the rows do not have.
    TableDefinition shifted = table;
    shifted.columns[0].fixedOffset = 200;
    EXPECT_NE(decode(RowDecoder(shifted, *file), row).find("fixed-length values end at 210"),
              std::string::npos);

    EXPECT_FALSE(decode(decoder, Bytes{}).empty());
}

TEST(LongValues, ReadEachStoredFormAndRefuseWhatDoesNotAddUp) {
    Bytes first = {1, 1, 0, 0, 'a', 'b', 'c', 'd', 'e'};  // next: row 1 on page 1
    Bytes second = {0, 0, 0, 0, 'A', 'B', 'C'};
    Bytes single = {'s', 'i', 'n', 'g', 'l', 'e'};
    Bytes looping = {3, 1, 0, 0, 'l', 'o', 'o', 'p'};  // points at itself: row 3 of page 1
    auto file = memoryFile(
        {PageBytes{}, buildPage({first, second, single, looping}, kLval), buildPage({single}, 5)});
    LongValueReader reader(*file);
    Column column;  // no long-value map: any long-value page will do
    auto read = [&](const Bytes& field) {
        return reader.read(ByteView(field, file->name()), "column 'M'", column);
    };

    EXPECT_EQ(read(longValueField(0x80000000u | 3, 0, {'x', 'y', 'z'})), (Bytes{'x', 'y', 'z'}));
    EXPECT_EQ(read(longValueField(0x40000000u | 6, (1u << 8) | 2)),
              (Bytes{'s', 'i', 'n', 'g', 'l', 'e'}));
    EXPECT_EQ(read(longValueField(8, (1u << 8) | 0)),
              (Bytes{'a', 'b', 'c', 'd', 'e', 'A', 'B', 'C'}));

    struct Damaged {
        Bytes field;
        const char* expected;
    };
    const Damaged damaged[] = {
        {longValueField(0x40000000u | 2, (1u << 8) | 9), "does not exist"},
        {longValueField(0x40000000u | 2, 0), "should be a data page"},
        {longValueField(0x40000000u | 2, 7u << 8), "memory.mdb"},
        {longValueField(50, (1u << 8) | 0), "of column 'M' ends after"},  // the chain is short
        {longValueField(0x80000000u | 5, 0, {'x', 'y', 'z'}), "claims 5 bytes"},
        {longValueField(0x3FFFFFFF, 1u << 8), "claims"},
        {Bytes{1, 2, 3}, "too short"},
        // The row holds more or less than the value's length.
        {longValueField(0x40000000u | 5, (1u << 8) | 2), "holds 6 bytes, not 5"},
        {longValueField(7, (1u << 8) | 0), "holds more than its 7 bytes"},
        // A loop repeats its first link until the length is reached, unless caught.
        {longValueField(12, (1u << 8) | 3), "loops back"},
        // A data page of a table is no long-value page.
        {longValueField(0x40000000u | 6, 2u << 8), "not a long-value page"},
    };
    for (const Damaged& damage : damaged) {
        std::string message = errorOf([&] { read(damage.field); });
        EXPECT_NE(message.find(damage.expected), std::string::npos)
            << testing::hex(damage.field) << ": " << message;
    }
}

}  // namespace
}  // namespace orvdb::jet
