// Access databases on a MariaDB server: one table through ExportTable, and
// whole fixtures copied to the server and back with their schema and rows.
// Skipped without a server (ORVDB_MARIADB) or without the fixtures.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "data/database_factory.hpp"
#include "data/field_codes.hpp"
#include "data/mariadb/backend.hpp"
#include "data/mariadb/copy.hpp"
#include "data/mariadb/database_factory.hpp"
#include "data/system_object.hpp"
#include "data_test_support.hpp"
#include "support/database_rows.hpp"
#include "support/mariadb_server.hpp"
#include "support/schema_snapshot.hpp"

namespace orvdb::data {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(ORVDB_FIXTURES_DIR) / "jet4";

#define SKIP_WITHOUT_FIXTURES()                                              \
    do {                                                                     \
        if (!fs::exists(kFixtures)) {                                        \
            GTEST_SKIP() << "fixtures folder " << kFixtures << " is absent"; \
        }                                                                    \
    } while (0)

// The schema without its saved queries (which Access SQL and MariaDB's SQL
// do not share) and without the relationships among Access's own system
// tables (which a copy leaves to Access).
test_support::Lines tablesKeysAndIndexes(const fs::path& file) {
    engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string());
    connection.open();
    test_support::Lines lines;
    for (const std::string& line : test_support::schemaSnapshot(connection)) {
        if (line.rfind("view ", 0) != 0 && line.rfind("key MSys", 0) != 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Both sides sorted (tables come back in another order); the first line
// that differs, "" when none does. Rows hold blobs: the whole lists would
// drown the report.
std::string firstDifference(test_support::Lines left, test_support::Lines right) {
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    for (size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        std::string a = i < left.size() ? left[i] : "(none)";
        std::string b = i < right.size() ? right[i] : "(none)";
        if (a != b) {
            return "line " + std::to_string(i) + ": " + a.substr(0, 200) + " <> " +
                   b.substr(0, 200);
        }
    }
    return {};
}

struct MariaDbExportTest : testing::DataTest {
    test_support::ScratchServerDatabase scratch;
};

// Every northwind table exported through ExportTable: the server holds the
// same rows, each column with the type word the server gave for its kind.
TEST_F(MariaDbExportTest, NorthwindTablesArriveWithTheirRowsAndTypes) {
    SKIP_WITHOUT_FIXTURES();
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    testing::ScratchDir copyDir;
    fs::path source = copyDir.path() / "northwind.mdb";
    fs::copy_file(kFixtures / "northwind.mdb", source);
    ComPtr<iDatabase> access =
        createDatabase(u"NW", {}, u"NW", true, {}, host::toUtf16(source.string()), nullptr);
    ComPtr<iDatabase> server =
        mariadb::createDatabase(u"SERVER", u"MARIADB", scratch.settings(), true, nullptr);
    auto check = scratch.session();
    engine::Connection reader;
    reader.setConnectionString("Data Source=" + source.string());
    reader.open();
    // Tables whose every column has a field kind (currency has none, and
    // its export fails as it does between two Access databases).
    std::vector<std::string> tables;
    for (const std::string& table : reader.userTableNames()) {
        bool kinds = true;
        for (const engine::FieldInfo& field :
             reader.query("SELECT * FROM [" + table + "] WHERE 1=0").fields) {
            kinds = kinds && field.type != engine::FieldType::Unsupported;
        }
        if (kinds) {
            tables.push_back(table);
        }
    }
    ASSERT_GE(tables.size(), 6u);
    for (const std::string& table : tables) {
        ComPtr<ISystemObject> object(new TSystemObject(host::toUtf16(table)));
        ASSERT_EQ(access->ExportTable(object.get(), server.get()), ORV_S_OK)
            << table << ": " << host::lastErrorMessage();
        engine::QueryResult rows = reader.query("SELECT * FROM [" + table + "]");
        EXPECT_EQ(check->scalar("SELECT COUNT(*) FROM " + mariadb::quoteName(table)),
                  std::to_string(rows.rows.size()))
            << table;
        engine::QueryResult columns = check->query(
            "SELECT COLUMN_NAME, UPPER(COLUMN_TYPE), EXTRA FROM information_schema.COLUMNS WHERE "
            "TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
            check->quoteText(table) + " ORDER BY ORDINAL_POSITION");
        ASSERT_EQ(columns.rows.size(), rows.fields.size()) << table;
        for (size_t i = 0; i < rows.fields.size(); ++i) {
            const engine::FieldInfo& field = rows.fields[i];
            int32_t kind = fieldKindCode(field);
            std::string word = host::toUtf8(mariadb::typeWord(kind, field.size - 1));
            std::string stored = engine::valueToText(columns.rows[i][1]);
            EXPECT_EQ(engine::valueToText(columns.rows[i][0]), field.name) << table;
            // The server adds display widths ("INT" is stored as "INT(11)").
            EXPECT_EQ(stored.substr(0, stored.find('(')), word.substr(0, word.find_first_of("( ")))
                << table << "." << field.name;
        }
    }
}

class MariaDbCopyTest : public testing::DataTest,
                        public ::testing::WithParamInterface<const char*> {
protected:
    test_support::ScratchServerDatabase scratch;
};

// A fixture copied to the server and back: the same tables, columns, keys,
// indexes and relationships, and the same rows; on the server each table has
// its rows. (What the writer makes, mdbtools reads: the jet suite.)
TEST_P(MariaDbCopyTest, RoundTripKeepsTablesKeysIndexesAndRows) {
    SKIP_WITHOUT_FIXTURES();
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    fs::path original = kFixtures / GetParam();
    fs::path back = dir.path() / "back.mdb";

    mariadb::CopyReport there = mariadb::copyToServer(original.string(), scratch.settings());
    EXPECT_THAT(there.leftOut, ::testing::IsEmpty());
    auto check = scratch.session();
    engine::Connection reader;
    reader.setConnectionString("Data Source=" + original.string());
    reader.open();
    int64_t total = 0;
    for (const std::string& table : reader.userTableNames()) {
        std::string rows =
            engine::valueToText(reader.query("SELECT COUNT(*) FROM [" + table + "]").rows[0][0]);
        EXPECT_EQ(check->scalar("SELECT COUNT(*) FROM " + mariadb::quoteName(table)), rows)
            << table;
        total += std::stoll(rows);
    }
    EXPECT_EQ(there.rows, total);
    // Each view the server took gives as many rows as the saved query.
    size_t views = 0;
    for (const engine::Row& view :
         check
             ->query("SELECT TABLE_NAME FROM information_schema.VIEWS WHERE "
                     "TABLE_SCHEMA=DATABASE()")
             .rows) {
        std::string name = engine::valueToText(view[0]);
        size_t rows = 0;
        try {
            rows = reader.query("SELECT * FROM [" + name + "]").rows.size();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "view " << name << " that Access cannot run: " << e.what();
            continue;
        }
        EXPECT_EQ(check->scalar("SELECT COUNT(*) FROM " + mariadb::quoteName(name)),
                  std::to_string(rows))
            << "view " << name;
        ++views;
    }
    EXPECT_EQ(views, there.views);
    reader.close();

    mariadb::CopyReport home = mariadb::copyFromServer(scratch.settings(), back.string());
    EXPECT_EQ(home.rows, total);
    EXPECT_EQ(tablesKeysAndIndexes(back), tablesKeysAndIndexes(original));
    EXPECT_EQ(
        firstDifference(test_support::allTableRows(back), test_support::allTableRows(original)),
        "");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, MariaDbCopyTest,
                         // The files with views, relationships, composite and property-laden
                         // indexes, fixed numerics, overflow rows and none at all.
                         ::testing::Values("northwind.mdb", "compIndexTestV2000.mdb",
                                           "emptyJet4.mdb", "fixedNumericTestV2000.mdb",
                                           "overflowTestV2000.mdb", "queryTestV2000.mdb",
                                           "testIndexPropertiesV2000.mdb"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

// A copy back never writes over a file, and a server database of a type
// Access lacks fails naming the table and column; neither leaves a file.
TEST_F(MariaDbExportTest, CopyBackRefusesWhatItCannotCarry) {
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    auto check = scratch.session();
    fs::path existing = dir.path() / "there.mdb";
    { std::ofstream(existing) << "x"; }
    try {
        mariadb::copyFromServer(scratch.settings(), existing.string());
        ADD_FAILURE() << "an existing file was written over";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("exists"));
    }
    check->execute("CREATE TABLE Shapes (Id INT PRIMARY KEY, Outline POINT)");
    fs::path target = dir.path() / "shapes.mdb";
    try {
        mariadb::copyFromServer(scratch.settings(), target.string());
        ADD_FAILURE() << "a POINT column was accepted";
    } catch (const std::exception& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("'Shapes', column 'Outline'"));
    }
    EXPECT_FALSE(fs::exists(target));
}

// A copy on the server empties its target first: never the source itself,
// and never across servers (the server copies by itself).
TEST_F(MariaDbExportTest, CopyOnTheServerRefusesItsOwnSourceAndAnotherServer) {
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    auto check = scratch.session();
    check->execute("CREATE TABLE Kept (Id INT PRIMARY KEY)");
    check->execute("INSERT INTO Kept VALUES (1), (2)");
    mariadb::Settings elsewhere = scratch.settings();
    elsewhere.port += 1;
    elsewhere.database += "_copy";
    for (const auto& [target, why] : {std::pair{scratch.settings(), "onto itself"},
                                      std::pair{elsewhere, "different servers"}}) {
        try {
            mariadb::copyOnServer(scratch.settings(), target);
            ADD_FAILURE() << "copied: " << why;
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr(why));
        }
    }
    EXPECT_EQ(check->scalar("SELECT COUNT(*) FROM Kept"), "2");
}

}  // namespace
}  // namespace orvdb::data
