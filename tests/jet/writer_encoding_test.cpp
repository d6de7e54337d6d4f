// Tables built in memory, written into a Jet-created database and read back:
// every column type and long-value form, large usage maps, refused values.
#include <gtest/gtest.h>

#include "jet/check/file_check.hpp"
#include "jet/fixture_support.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/catalog_rows.hpp"
#include "jet/read/header.hpp"
#include "jet/read/usage_map.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/header_writer.hpp"
#include "jet/write/image_from_file.hpp"
#include "jet/write/value_writer.hpp"

namespace orvdb::jet {
namespace {

using testing::kJetCreated;
constexpr uint32_t kNewTableId = 0x00F00001;

Column column(std::string name, ColumnType type, uint16_t length = 0, uint8_t flags = 0) {
    Column result;
    result.name = std::move(name);
    result.typeCode = static_cast<uint8_t>(type);
    result.length = length;
    result.flags = flags;
    return result;
}

std::string repeat(std::string_view piece, size_t times) {
    std::string out;
    for (size_t n = 0; n < times; ++n) {
        out += piece;
    }
    return out;
}

class WriterEncoding : public ::testing::Test {
protected:
    void SetUp() override {
        ORVDB_REQUIRE_FIXTURE(kJetCreated);
        image_ = imageFromFile(JetFile::open(testing::fixturePath(kJetCreated)));
        target_ = dir_.path() / "new.mdb";
    }

    // Adds the table and its MSysObjects row.
    TableImage& addTable(std::string name, std::vector<Column> columns) {
        TableImage table;
        table.definition.name = name;
        table.definition.tableType = tdef::kUserTable;
        table.definition.columns = std::move(columns);
        assignColumnLayout(table.definition);
        table.objectId = kNewTableId + static_cast<uint32_t>(image_.tables.size());
        testing::addCatalogRow(image_, table.objectId, name, ObjectType::Table);
        image_.tables.push_back(std::move(table));
        return image_.tables.back();
    }

    JetFile writeAndReopen() {
        writeJetFile(image_, target_);
        return JetFile::open(target_);
    }

    std::string writeError() {
        return testing::errorOf([&] { writeJetFile(image_, target_); });
    }

    DatabaseImage image_;
    testing::TempDir dir_;
    std::filesystem::path target_;
};

TEST_F(WriterEncoding, EveryColumnTypeReadsBack) {
    Column decimal = column("Amount", ColumnType::Decimal);
    decimal.precision = 18;
    decimal.scale = 2;
    Column name = column("Name", ColumnType::Text, 100);
    name.extendedFlags = Column::kCompressedUnicode;
    TableImage& table =
        addTable("Everything",
                 {column("Id", ColumnType::Long, 0, Column::kAutoNumber),
                  column("Flag", ColumnType::Boolean), column("Small", ColumnType::Byte),
                  column("Count", ColumnType::Integer), column("Price", ColumnType::Currency),
                  column("Ratio", ColumnType::Single), column("Weight", ColumnType::Double),
                  column("When", ColumnType::DateTime), column("Key", ColumnType::Guid), decimal,
                  name, column("Plain", ColumnType::Text, 100), column("Notes", ColumnType::Memo),
                  column("Picture", ColumnType::OLE), column("Raw", ColumnType::Binary, 255)});
    Guid guid;
    for (size_t n = 0; n < guid.bytes.size(); ++n) {
        guid.bytes[n] = static_cast<uint8_t>(n * 17);
    }
    std::string chained = repeat("Chained memo text, long enough to need several pages. ", 400);
    std::string oneRow = repeat("x", 3000);
    Bytes picture(10000);
    for (size_t n = 0; n < picture.size(); ++n) {
        picture[n] = static_cast<uint8_t>(n * 7);
    }
    table.rows = {
        {int64_t{1}, true, int64_t{255}, int64_t{-32768}, Currency{-123456789}, 1.5, -2.25e100,
         DateTime{36526.75}, guid, Decimal{"-12.34", 18, 2}, std::string("Müller"),
         std::string("Ωmega ünïcode"), std::string("short memo"), Bytes{1, 2, 3}, Bytes{0, 255, 0}},
        {int64_t{2}, false, int64_t{0}, int64_t{32767}, Currency{0}, -0.0, 0.0, DateTime{-1.5},
         Guid{}, Decimal{"99999999999999.99", 18, 2}, std::string(""), std::string(""), chained,
         picture, Bytes{}},
        {int64_t{7}, false, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{},
         Value{}, Value{}, oneRow, Value{}, Value{}},
    };
    JetFile file = writeAndReopen();
    EXPECT_EQ(file.table("Everything")->lastAutoNumber, 7u);
    EXPECT_EQ(file.table("Everything")->rowCount, 3u);
    const auto written = testing::allRows(file, "Everything");
    ASSERT_EQ(written.size(), table.rows.size());
    for (size_t row = 0; row < written.size(); ++row) {
        for (size_t column = 0; column < table.definition.columns.size(); ++column) {
            EXPECT_TRUE(written[row][column] == table.rows[row][column])
                << table.definition.columns[column].name << " of row " << row << " reads "
                << describe(written[row][column]);
        }
    }

    if (testing::haveCommand("mdb-export")) {
        auto csv = testing::mdbtools("mdb-export", target_, {"Everything"});
        ASSERT_TRUE(csv.has_value()) << "mdb-export cannot read the written table";
        auto rows = testing::parseCsv(*csv);
        ASSERT_EQ(rows.size(), 4u);  // the header and three rows
        EXPECT_EQ(rows[1][10].text, "Müller");
        EXPECT_EQ(rows[1][11].text, "Ωmega ünïcode");
        EXPECT_EQ(rows[2][12].text, chained);
        EXPECT_EQ(rows[3][12].text, oneRow);
    }
}

// Compressed text is FF FE followed by one byte per character; otherwise
// UTF-16LE. Only Latin-1 text in a column that allows it is compressed.
TEST(TextEncoding, CompressesOnlyWhereAllowedAndPossible) {
    struct Case {
        bool flag;
        std::string text;
        Bytes stored;
    };
    const Case cases[] = {
        {true, "Ab", {0xFF, 0xFE, 'A', 'b'}},
        {true, "é", {0xFF, 0xFE, 0xE9}},
        {false, "Ab", {'A', 0, 'b', 0}},
        {true, "Ω", {0xA9, 0x03}},
        {true, "", {}},
        {true, std::string("a\0b", 3), {'a', 0, 0, 0, 'b', 0}},  // a NUL would switch modes
    };
    for (const Case& test : cases) {
        Column text = column("T", ColumnType::Text, 510);
        text.extendedFlags = test.flag ? Column::kCompressedUnicode : 0;
        EXPECT_EQ(encodeText(text, test.text), test.stored) << test.text;
    }
    Column memo = column("M", ColumnType::Memo);
    memo.extendedFlags = Column::kCompressedUnicode;
    Bytes longText = encodeText(memo, repeat("a", kMaxCompressedCharacters + 1));
    EXPECT_EQ(longText.size(), (kMaxCompressedCharacters + 1) * 2) << "long texts stay UTF-16";
}

// Pages of one table and one long-value column spread over more than the
// 512 pages an inline map covers, and a file larger than the inline global
// map: the reference maps must list exactly the right pages.
TEST_F(WriterEncoding, LargeTablesGetReferenceUsageMaps) {
    std::vector<Column> columns;
    for (int n = 0; n < 7; ++n) {
        columns.push_back(column("Text" + std::to_string(n), ColumnType::Text, 510));
    }
    columns.push_back(column("Blob", ColumnType::OLE));
    TableImage& table = addTable("Large", columns);
    const std::string wide = repeat("Ω", 255);  // 510 bytes: one row per page
    for (int n = 0; n < 600; ++n) {
        std::vector<Value> row(7, wide);
        row.push_back(Bytes(4000, static_cast<uint8_t>(n)));
        table.rows.push_back(std::move(row));
    }
    JetFile file = writeAndReopen();
    ASSERT_GT(file.pageCount(), 1200u);
    auto definition = file.table("Large");
    auto collect = [&](RowPointer map) {
        std::vector<uint32_t> pages;
        UsageMap usage = UsageMap::read(file.pages(), map, "test map");
        EXPECT_TRUE(usage.isReferenceMap());
        while (auto page = usage.next()) {
            pages.push_back(*page);
        }
        return pages;
    };
    // The file check holds each listed page to its kind and owner.
    EXPECT_EQ(collect(definition->ownedPages).size(), 600u);
    EXPECT_EQ(collect(*definition->columns.back().longValueOwnedPages).size(), 600u);
    size_t rows = 0;
    TableReader reader = file.readTable("Large");
    while (auto row = reader.next()) {
        EXPECT_EQ(std::get<Bytes>(row->values.back())[0], static_cast<uint8_t>(rows));
        ++rows;
    }
    EXPECT_EQ(rows, 600u);
    // The global map too is a reference map; the check compares it with the pages in use.
    EXPECT_TRUE(UsageMap::read(file.pages(), RowPointer{kGlobalUsageMapPage, 0}, "global map")
                    .isReferenceMap());
    // Every page belongs to something, the global map's own pages included.
    CheckReport report = checkJetFile(file);
    EXPECT_TRUE(report.findings.empty()) << describe(report.findings.front());
}

TEST_F(WriterEncoding, ValuesTheColumnCannotHoldAreRefused) {
    struct BadValue {
        Column column;
        Value good;  // for the first row
        Value value;
        std::string reason;
    };
    Column decimal = column("Dec", ColumnType::Decimal);
    decimal.precision = 10;
    decimal.scale = 2;
    const BadValue cases[] = {
        {column("B", ColumnType::Byte), int64_t{255}, int64_t{256}, "256 is outside the range"},
        {column("I", ColumnType::Integer), int64_t{-32768}, int64_t{-32769}, "outside the range"},
        {column("L", ColumnType::Long), 2.0, 1.5,
         "a floating-point value cannot be stored in a Long column"},
        {column("D", ColumnType::Double), 1.0, std::string("1"),
         "a text value cannot be stored in a Double column"},
        {column("T", ColumnType::Text, 6), std::string("abc"), std::string("four"),
         "more than the column's 3"},
        {decimal, Decimal{"1.230", 10, 3}, Decimal{"1.234", 10, 3},
         "more than the column's 2 decimals"},
        {column("Y", ColumnType::Boolean), true, int64_t{1}, "needs True or False"},
        {column("W", ColumnType::DateTime), DateTime{1.0}, std::string("2020-01-01"),
         "a text value cannot be stored in a DateTime column"},
    };
    const DatabaseImage base = image_;
    for (const BadValue& bad : cases) {
        SCOPED_TRACE(bad.column.name);
        image_ = base;
        TableImage& table = addTable("Target", {column("Before", ColumnType::Long), bad.column});
        table.rows = {{int64_t{1}, bad.good}, {int64_t{2}, bad.value}};
        std::string message = writeError();
        EXPECT_NE(message.find(target_.string()), std::string::npos) << message;
        EXPECT_NE(message.find("row 2 of table 'Target', column '" + bad.column.name + "'"),
                  std::string::npos)
            << message;
        EXPECT_NE(message.find(bad.reason), std::string::npos) << message;
        EXPECT_FALSE(std::filesystem::exists(target_));
    }
}

TEST_F(WriterEncoding, RowsLongerThanJetAllowsAreRefused) {
    TableImage& table =
        addTable("Wide", {column("A", ColumnType::Text, 510), column("B", ColumnType::Text, 510)});
    std::vector<Column>& columns = table.definition.columns;
    for (int n = 0; n < 8; ++n) {
        columns.push_back(column("C" + std::to_string(n), ColumnType::Text, 510));
    }
    assignColumnLayout(table.definition);
    table.rows.push_back(std::vector<Value>(columns.size(), repeat("Ω", 255)));
    EXPECT_NE(writeError().find("Jet rows hold at most 4060"), std::string::npos);
}

TEST_F(WriterEncoding, CatalogAndTablesMustAgree) {
    TableImage& table = addTable("Listed", {column("A", ColumnType::Long)});
    table.objectId = 0x00F0FFFF;  // its MSysObjects row keeps the old id
    EXPECT_NE(writeError().find("MSysObjects lists table 'Listed'"), std::string::npos);

    image_.tables.pop_back();
    image_.findTable("MSysObjects")->rows.pop_back();
    TableImage orphan;
    orphan.definition.name = "Orphan";
    orphan.objectId = kNewTableId;
    image_.tables.push_back(orphan);
    EXPECT_NE(writeError().find("table 'Orphan' has no row in MSysObjects"), std::string::npos);
}

// The header of a new database is compared with Jet's by NewDatabase.IsWhatJetCreates.
TEST(HeaderPage, PasswordSurvivesANewCreationDate) {
    const std::string name = "withPassword2000.mdb";
    ORVDB_REQUIRE_FIXTURE(name);
    std::vector<unsigned char> file = testing::readFileBytes(testing::fixturePath(name));
    std::vector<uint8_t> page(file.begin(), file.begin() + kPageSize);
    setHeaderCreationDate(page, 40000.0);
    DatabaseHeader header = decodeHeader(page, name);
    EXPECT_EQ(header.creationDate, 40000.0);
    EXPECT_EQ(header.password, u"password");
}

}  // namespace
}  // namespace orvdb::jet
