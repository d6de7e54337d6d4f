// The connection object on a MariaDB server: the cursor rules, record
// access, schema questions, transactions and type words an Access database
// has, answered by the server; and Access databases copied to the server and
// back. Skipped without a server (ORVDB_MARIADB) or without the fixtures.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "data/database_factory.hpp"
#include "data/field_codes.hpp"
#include "data/mariadb/backend.hpp"
#include "data/mariadb/copy.hpp"
#include "data/mariadb/database_factory.hpp"
#include "data/mariadb/server_statements.hpp"
#include "data/mariadb/session.hpp"
#include "data/system_object.hpp"
#include "data/user_tables_query.hpp"
#include "data_test_support.hpp"
#include "support/database_rows.hpp"
#include "support/jet_fixtures.hpp"
#include "support/mariadb_server.hpp"
#include "support/schema_snapshot.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using ::testing::HasSubstr;
using testing::W;

struct MariaDbDatabaseTest : DataTest {
    void SetUp() override {
        DataTest::SetUp();
        ORVDB_SKIP_WITHOUT_MARIADB(scratch);
        db = mariadb::createDatabase(u"SERVER", u"MARIADB", scratch.settings(), true, nullptr);
        ASSERT_TRUE(testing::databaseOpened(*db))
            << (recorder->handedExceptions.empty() ? std::string()
                                                   : recorder->handedExceptions.back());
        check = scratch.session();
        check->execute(
            "CREATE TABLE Prix (Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY, Nom VARCHAR(50), "
            "Prix DOUBLE, Vu DATETIME)");
        check->execute("CREATE TABLE Sans (Code VARCHAR(10), Nombre INT)");
        check->execute(
            "INSERT INTO Prix (Nom, Prix, Vu) VALUES ('Fenêtre', 12.5, '2024-03-05 14:07:09'), "
            "('Porte', 99, NULL)");
    }
    std::string count(const std::string& sql) { return check->scalar(sql); }

    test_support::ScratchServerDatabase scratch;
    ComPtr<iDatabase> db;
    std::unique_ptr<mariadb::Session> check;
};

TEST(MariaDbUrlTest, ReadsEveryPartAndNamesWhatIsWrong) {
    struct Case {
        const char* url;
        const char* described;  // "" when the address is refused
        const char* why;
    };
    const Case cases[] = {
        {"mariadb://joe:se:cret@db.local:3307/shop", "joe@db.local:3307/shop", ""},
        {"mariadb://joe@db.local/shop", "joe@db.local:3306/shop", ""},
        {"mariadb://127.0.0.1:33061/", "127.0.0.1:33061/", ""},
        {"mysql://joe@db/shop", "", "does not start with mariadb://"},
        {"mariadb://joe@db:0/shop", "", "port"},
        {"mariadb://joe@db:99999/shop", "", "port"},
        {"mariadb://joe@/shop", "", "no server"},
        {"mariadb://db/a/b", "", "'/'"},
        {"mariadb://j%e@db/shop", "", "'%'"},
        {"mariadb://db/caf%C", "", "'%'"},
        {"mariadb://j%40e:x@db/caf%C3%A9", "j@e@db:3306/café", ""},
    };
    for (const Case& c : cases) {
        if (*c.described) {
            EXPECT_EQ(mariadb::describe(mariadb::parseUrl(c.url)), c.described) << c.url;
        } else {
            try {
                mariadb::parseUrl(c.url);
                ADD_FAILURE() << c.url << " was accepted";
            } catch (const std::invalid_argument& e) {
                EXPECT_THAT(e.what(), HasSubstr(c.why)) << c.url;
                EXPECT_THAT(e.what(), HasSubstr(c.url));
            }
        }
    }
    EXPECT_EQ(mariadb::parseUrl("mariadb://joe:se:cret@db/x").password, "se:cret");
    // What toUrl writes reads back the same, whatever the password holds.
    mariadb::Settings odd;
    odd.host = "db.local";
    odd.port = 3307;
    odd.user = "j@e";
    odd.password = "a/b%c@d:e é";
    odd.database = "shop/2";
    mariadb::Settings back = mariadb::parseUrl(mariadb::toUrl(odd));
    EXPECT_EQ(std::tie(back.host, back.port, back.user, back.password, back.database),
              std::tie(odd.host, odd.port, odd.user, odd.password, odd.database));
    // A refused address is named without its password.
    try {
        mariadb::parseUrl("mariadb://joe:secret@db:0/shop");
        ADD_FAILURE() << "port 0 was accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_THAT(e.what(), HasSubstr("'mariadb://joe:***@db:0/shop'"));
        EXPECT_THAT(e.what(), ::testing::Not(HasSubstr("secret")));
    }
}

// Each kind's type word makes a column the server stores as that type, and
// a cursor on the column reports the kind it was made from.
TEST_F(MariaDbDatabaseTest, TypeWordsMakeColumnsThatReadBackAsTheirKind) {
    struct Case {
        int32_t kind;
        const char* columnType;
    };
    const Case cases[] = {
        {0, "int(11)"},  {1, "double"},    {2, "varchar(40)"}, {6, "smallint(6)"}, {8, "int(11)"},
        {9, "longblob"}, {10, "longtext"}, {12, "datetime"},   {13, "tinyint(1)"},
    };
    for (const Case& c : cases) {
        std::string word =
            testing::textOf([&](OrvBstr* out) { return db->Get_FieldTypeText(c.kind, 40, out); });
        std::string table = "K" + std::to_string(c.kind);
        check->execute("CREATE TABLE " + table + " (C " + word + ")");
        EXPECT_EQ(count("SELECT COLUMN_TYPE FROM information_schema.COLUMNS WHERE "
                        "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='" +
                        table + "'"),
                  c.columnType)
            << "kind " << c.kind;
        auto query = testing::pushQuery(*db);
        testing::openSql(*query, "SELECT * FROM " + table);
        OrvBstr name = nullptr;
        int32_t kind = -1;
        int32_t size = -1;
        ASSERT_EQ(query->GetFieldInternalTypeStructure(0, &name, &kind, &size), ORV_S_OK);
        testing::take(name);
        EXPECT_EQ(kind, c.kind) << "kind " << c.kind;
        ASSERT_EQ(db->PopQuery(), ORV_S_OK);
    }
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_FieldTypeText(3, 10, out); }), "");
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_AlterColumnText(0, out); }),
              "MODIFY");
}

// Selects position on their first row, action statements report whether
// they changed rows, and both fail quietly.
TEST_F(MariaDbDatabaseTest, QueryCursorKeepsTheQuietFailureRules) {
    auto query = testing::pushQuery(*db);
    EXPECT_TRUE(testing::openSql(*query, "SELECT Nom, Prix, Vu FROM Prix ORDER BY Id"));
    EXPECT_EQ(testing::getString(*query, "Nom"), "Fenêtre");
    double price = 0;
    ASSERT_EQ(query->GetDouble(W("Prix").get(), &price), ORV_S_OK);
    EXPECT_EQ(price, 12.5);
    EXPECT_EQ(testing::getString(*query, "Vu"), "2024-03-05 14:07:09");
    int32_t rows = 0;
    ASSERT_EQ(query->Get_RecordCount(&rows), ORV_S_OK);
    EXPECT_EQ(rows, 2);
    ASSERT_EQ(query->Next(), ORV_S_OK);
    EXPECT_EQ(testing::getString(*query, "Vu"), "");
    ASSERT_EQ(query->Next(), ORV_S_OK);
    EXPECT_FALSE(testing::isOpened(*query));

    EXPECT_FALSE(testing::openSql(*query, "SELECT * FROM Prix WHERE Id < 0"));
    EXPECT_FALSE(testing::openSql(*query, "SELECT * FROM Missing"));
    ASSERT_FALSE(recorder->debugLines.empty());
    EXPECT_THAT(recorder->debugLines.back(), HasSubstr("Missing"));

    ASSERT_EQ(query->Set_TypeRequete(1), ORV_S_OK);
    EXPECT_TRUE(testing::openSql(*query, "UPDATE Prix SET Prix = Prix * 2"));
    EXPECT_FALSE(testing::openSql(*query, "DELETE FROM Sans"));
    EXPECT_FALSE(testing::openSql(*query, "DROP TABLE Missing"));
    EXPECT_EQ(count("SELECT SUM(Prix) FROM Prix"), "223");
    // The suite's question for the user tables is answered from the server's catalog.
    ASSERT_EQ(query->Set_TypeRequete(0), ORV_S_OK);
    std::vector<std::string> tables;
    for (bool row = testing::openSql(*query, data::userTablesQuery() + " ORDER BY NAME"); row;
         row = testing::isOpened(*query)) {
        tables.push_back(testing::getString(*query, "Name"));
        ASSERT_EQ(query->Next(), ORV_S_OK);
    }
    EXPECT_EQ(tables, (std::vector<std::string>{"Prix", "Sans"}));
}

// Access SQL the suite sends is written in the server's dialect, with
// Access's meaning; the server's own SQL (which the Access parser refuses)
// passes as written; what the server cannot express fails quietly, the
// statement named on the debug channel.
TEST_F(MariaDbDatabaseTest, AccessSqlRunsWithItsMeaningAndTheServersOwnPasses) {
    struct Case {
        const char* sql;
        const char* value;  // field T of the first row; nullptr: the select fails
    };
    const Case cases[] = {
        {"SELECT [Nom] & ' ' & Prix AS T FROM prix WHERE Id=1", "Fenêtre 12.5"},
        {"SELECT Count(*) AS T FROM Prix WHERE Nom & Null = 'Porte'", "1"},
        {"SELECT IIf(Vu Is Null, 'jamais', 'vu') AS T FROM Prix ORDER BY Id DESC", "jamais"},
        {"SELECT Nom AS T FROM Prix WHERE Nom LIKE 'F*tr?' AND Vu < #1/1/2025#", "Fenêtre"},
        {"SELECT Nom AS T FROM Prix WHERE Nom LIKE 'F%'", nullptr},
        {"SELECT `Nom` AS T FROM Prix ORDER BY Id DESC LIMIT 1", "Porte"},
        {"SELECT Format(Vu, 'yyyy') AS T FROM Prix", nullptr},
    };
    auto query = testing::pushQuery(*db);
    for (const Case& c : cases) {
        recorder->debugLines.clear();
        bool found = testing::openSql(*query, c.sql);
        if (c.value) {
            EXPECT_TRUE(found) << c.sql;
            EXPECT_EQ(testing::getString(*query, "T"), c.value) << c.sql;
        } else {
            EXPECT_FALSE(found) << c.sql;
        }
    }
    ASSERT_FALSE(recorder->debugLines.empty());
    EXPECT_THAT(recorder->debugLines.back(),
                HasSubstr("cannot run this statement (the function Format)"));
}

// A new row's key comes back from Post; a row found by its key is edited in
// place; a table without "Id" reports "0".
TEST_F(MariaDbDatabaseTest, TableCursorAppendsAndEditsByKey) {
    auto table = testing::pushTable(*db);
    ASSERT_EQ(table->Set_Tablename(W("Prix").get()), ORV_S_OK);
    ASSERT_EQ(table->Set_IdRow(W("0").get()), ORV_S_OK);
    ASSERT_EQ(table->Setstring(W("Nom").get(), W("Châssis").get()), ORV_S_OK);
    ASSERT_EQ(table->SetDateTime(W("Vu").get(), 45356.5), ORV_S_OK);
    ASSERT_EQ(table->Post(), ORV_S_OK);
    auto idRow = [&] {
        return testing::textOf([&](OrvBstr* out) { return table->Get_IdRow(out); });
    };
    EXPECT_EQ(idRow(), "3");
    EXPECT_EQ(count("SELECT CONCAT(Nom, ' ', Vu) FROM Prix WHERE Id = 3"),
              "Châssis 2024-03-05 12:00:00");

    ASSERT_EQ(table->Set_IdRow(W("1").get()), ORV_S_OK);
    ASSERT_EQ(table->SetInteger(W("Prix").get(), 7), ORV_S_OK);
    ASSERT_EQ(table->Post(), ORV_S_OK);
    EXPECT_EQ(count("SELECT GROUP_CONCAT(Prix ORDER BY Id) FROM Prix"), "7,99");

    ASSERT_EQ(table->Set_Tablename(W("Sans").get()), ORV_S_OK);
    ASSERT_EQ(table->Set_IdRow(W("0").get()), ORV_S_OK);
    ASSERT_EQ(table->Setstring(W("Code").get(), W("A'1").get()), ORV_S_OK);
    ASSERT_EQ(table->Post(), ORV_S_OK);
    EXPECT_EQ(idRow(), "0");
    EXPECT_EQ(count("SELECT Code FROM Sans"), "A'1");

    // A row the server refuses goes to a message box, not to the caller.
    ASSERT_EQ(table->Set_Tablename(W("Prix").get()), ORV_S_OK);
    ASSERT_EQ(table->Set_IdRow(W("0").get()), ORV_S_OK);
    ASSERT_EQ(table->SetInteger(W("Id").get(), 1), ORV_S_OK);
    EXPECT_EQ(table->Post(), ORV_S_OK);
    ASSERT_EQ(recorder->messageBoxes.size(), 1u);
    EXPECT_THAT(recorder->messageBoxes[0], HasSubstr("Duplicate"));
}

TEST_F(MariaDbDatabaseTest, SchemaQuestionsAndTransactions) {
    OrvWordBool exists = 0;
    ASSERT_EQ(db->TableExists(W("[prix]").get(), &exists), ORV_S_OK);
    EXPECT_EQ(exists, ORV_WTRUE);
    ASSERT_EQ(db->TableExists(W("Prixx").get(), &exists), ORV_S_OK);
    EXPECT_EQ(exists, ORV_WFALSE);
    ASSERT_EQ(db->FieldExists(W("Prix").get(), W("NOM").get(), &exists), ORV_S_OK);
    EXPECT_EQ(exists, ORV_WTRUE);
    FieldDef definition{};
    ASSERT_EQ(db->Get_FieldDef(W("Prix").get(), W("Nom").get(), &definition), ORV_S_OK);
    EXPECT_EQ(definition.Type, 10);
    EXPECT_EQ(definition.Size, 50);

    ASSERT_EQ(db->SavePoint(), ORV_S_OK);
    ASSERT_EQ(db->EmptyTable(W("Prix").get()), ORV_S_OK);
    {
        // Seen inside the transaction, not by another session.
        auto query = testing::pushQuery(*db);
        EXPECT_FALSE(testing::openSql(*query, "SELECT * FROM Prix"));
        EXPECT_EQ(count("SELECT COUNT(*) FROM Prix"), "2");
        ASSERT_EQ(db->PopQuery(), ORV_S_OK);
    }
    ASSERT_EQ(db->Rollback(), ORV_S_OK);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Prix"), "2");

    ASSERT_EQ(db->Empty(), ORV_S_OK);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Prix"), "0");
    EXPECT_EQ(db->Commit(), ORV_E_FAIL);
}

// Views follow Access's rules on the server: one made before what it reads
// waits (reading it says so) and is made once the server takes it; one
// reading `*` takes a table's new columns; one dropped while it waits is
// gone. [NAME] is the database NAME.mariadb names beside the connection, on
// the same server only. A view still waiting is listed with the server's
// reason.
TEST_F(MariaDbDatabaseTest, ViewsWaitForWhatTheyReadAndReadTheLibrary) {
    test_support::ScratchServerDatabase library;
    auto libraryTables = library.session();
    libraryTables->execute("CREATE TABLE Opening (ID INT, Name VARCHAR(20))");
    libraryTables->execute("INSERT INTO Opening VALUES (1, 'Casement')");
    std::ofstream(dir.path() / "XLib.mariadb") << library.url() << "\n";
    mariadb::Settings far = library.settings();
    far.port += 1;
    std::ofstream(dir.path() / "Far.mariadb") << mariadb::toUrl(far) << "\n";
    mariadb::Session session(scratch.settings());
    session.open();
    session.setWorkingFolder(dir.path().string());

    struct Step {
        const char* sql;
        const char* result;  // a select's rows ("a|b;c|d"), or the failure's text
    };
    const Step steps[] = {
        {"CREATE VIEW Late AS SELECT Nom, Extra FROM Prix", ""},
        {"CREATE VIEW OnLate AS SELECT * FROM Late", ""},
        {"SELECT * FROM OnLate", "view 'OnLate' is not on the MariaDB server"},
        {"CREATE VIEW late AS SELECT Nom FROM Prix", "view 'late' already exists"},
        {"ALTER TABLE Prix ADD COLUMN Extra VARCHAR(10)", ""},
        {"SELECT * FROM OnLate ORDER BY Nom", "Fenêtre|;Porte|"},
        {"CREATE VIEW AllOfSans AS SELECT S.* FROM Sans AS S", ""},
        {"ALTER TABLE Sans ADD COLUMN Added LONG", ""},
        {"INSERT INTO Sans VALUES ('a', 1, 2)", ""},
        {"SELECT * FROM AllOfSans", "a|1|2"},
        {"CREATE VIEW Gone AS SELECT * FROM Nowhere", ""},
        {"DROP TABLE Gone", ""},
        {"CREATE TABLE Nowhere (N LONG)", ""},
        {"SELECT * FROM Gone", "Gone' doesn't exist"},
        {"CREATE VIEW FromLibrary AS SELECT O.Name FROM [XLIB].OPENING AS O", ""},
        {"SELECT * FROM FromLibrary", "Casement"},
        {"SELECT Name FROM [Other].Opening", "no Other.mariadb in "},
        {"SELECT Name FROM [Far].Opening", "names a database on another server"},
        {"CREATE VIEW Stays AS SELECT Missing FROM Prix", ""},
        // The server refuses a view with two columns of one name; the
        // ALTER TABLE that leads there still succeeds.
        {"CREATE VIEW Pair AS SELECT * FROM Prix AS P, Sans AS S", ""},
        {"ALTER TABLE Sans ADD COLUMN Nom TEXT(5)", ""},
    };
    for (const Step& step : steps) {
        std::string result;
        try {
            if (std::string_view(step.sql).starts_with("SELECT")) {
                for (const engine::Row& row : mariadb::queryOnServer(step.sql, session).rows) {
                    result += result.empty() ? "" : ";";
                    for (size_t i = 0; i < row.size(); ++i) {
                        result += (i ? "|" : "") + engine::valueToText(row[i]);
                    }
                }
            } else {
                mariadb::executeOnServer(step.sql, session);
            }
        } catch (const std::exception& e) {
            result = e.what();
        }
        if (step.result[0]) {
            EXPECT_THAT(result, HasSubstr(step.result)) << step.sql;
        } else {
            EXPECT_EQ(result, "") << step.sql;
        }
    }
    EXPECT_THAT(session.keptViews().waitingList(),
                ::testing::ElementsAre(
                    AllOf(HasSubstr("view 'Stays'"), HasSubstr("Unknown column 'Missing'")),
                    AllOf(HasSubstr("view 'Pair'"), HasSubstr("Duplicate column name 'Nom'"))));
}

TEST_F(MariaDbDatabaseTest, UnreachableServerIsHandedToTheHost) {
    mariadb::Settings nowhere = scratch.settings();
    nowhere.password = "wrong";
    ComPtr<iDatabase> other = mariadb::createDatabase(u"X", u"MARIADB", nowhere, true, nullptr);
    EXPECT_FALSE(testing::databaseOpened(*other));
    ASSERT_EQ(recorder->handedExceptions.size(), 1u);
    EXPECT_THAT(recorder->handedExceptions[0], HasSubstr(scratch.settings().database));
    EXPECT_THAT(recorder->handedExceptions[0], HasSubstr("Access denied"));
}

namespace fs = std::filesystem;

const fs::path kFixtures = test::jetFixture("");

// The schema without its saved queries (which Access SQL and MariaDB's SQL
// do not share) and without the relationships among Access's own system
// tables (which a copy leaves to Access).
test_support::Lines tablesKeysAndIndexes(const fs::path& file) {
    test_support::Lines lines = test_support::tablesAndKeys(file);
    std::erase_if(lines, [](const std::string& line) { return line.rfind("key MSys", 0) == 0; });
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
    if (!fs::exists(kFixtures)) {
        GTEST_SKIP() << "fixtures folder " << kFixtures << " is absent";
    }
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    fs::path source = dir.path() / "northwind.mdb";
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

struct MariaDbCopyTest : MariaDbExportTest, ::testing::WithParamInterface<const char*> {};

// A fixture copied to the server and back: the same tables, columns, keys,
// indexes and relationships, and the same rows; on the server each table has
// its rows. (What the writer makes, mdbtools reads: the jet suite.)
TEST_P(MariaDbCopyTest, RoundTripKeepsTablesKeysIndexesAndRows) {
    if (!fs::exists(kFixtures)) {
        GTEST_SKIP() << "fixtures folder " << kFixtures << " is absent";
    }
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
    // Each view the server took gives the saved query's columns, by Access's
    // names, and as many rows.
    size_t views = 0;
    for (const engine::Row& view :
         check
             ->query("SELECT TABLE_NAME FROM information_schema.VIEWS WHERE "
                     "TABLE_SCHEMA=DATABASE()")
             .rows) {
        std::string name = engine::valueToText(view[0]);
        engine::QueryResult access;
        try {
            access = reader.query("SELECT * FROM [" + name + "]");
        } catch (const std::exception& e) {
            ADD_FAILURE() << "view " << name << " that Access cannot run: " << e.what();
            continue;
        }
        test_support::Lines accessColumns, serverColumns;
        for (const engine::FieldInfo& field : access.fields) {
            accessColumns.push_back(field.name);
        }
        for (const engine::Row& column :
             check
                 ->query("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA="
                         "DATABASE() AND TABLE_NAME=" +
                         check->quoteText(name) + " ORDER BY ORDINAL_POSITION")
                 .rows) {
            serverColumns.push_back(engine::valueToText(column[0]));
        }
        EXPECT_EQ(serverColumns, accessColumns) << "view " << name;
        EXPECT_EQ(check->scalar("SELECT COUNT(*) FROM " + mariadb::quoteName(name)),
                  std::to_string(access.rows.size()))
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
