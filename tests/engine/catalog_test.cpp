#include "engine/messages.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine_test_support.hpp"

#include <sys/stat.h>

#include <sstream>

namespace orvdb::engine {
namespace {

using testing::autoNumber;
using testing::column;
using testing::errorOf;
using testing::primaryKey;
using testing::StoreFixture;

int64_t count(sqlite3* db, const std::string& sql) {
    Stmt s(db, sql);
    return s.step() ? s.getInt(0) : -1;
}

struct CatalogTest : StoreFixture {
    void makeParentChild(int32_t grbit) {
        catalog().createTable("Parent", {autoNumber("Id"), column("Name", JetType::Text, 20)},
                              {primaryKey("Id")});
        catalog().createTable("Child",
                              {column("Id", JetType::Long), column("ParentId", JetType::Long)}, {});
        // Names in another case than the tables'.
        catalog().addRelationship({"ParentChild", "CHILD", {"ParentId"}, "parent", {"Id"}, grbit});
    }
};

TEST_F(CatalogTest, CreatedTableIsListedAndRegisteredInMSysObjects) {
    const std::string userTables =
        "SELECT count(*) FROM MSysObjects WHERE ParentId=251658241 AND Flags=0 AND Type=1";
    EXPECT_TRUE(conn.userTableNames().empty());
    EXPECT_EQ(count(db(), userTables), 0);
    for (const char* name : {"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships"}) {
        EXPECT_NE(catalog().findTableInfo(name), nullptr) << name;
    }
    catalog().createTable("Français", {column("Nom", JetType::Text, 30)}, {});
    EXPECT_EQ(conn.userTableNames(), std::vector<std::string>{"Français"});
    EXPECT_NE(catalog().findTableInfo("FRANÇAIS"), nullptr) << "names compare without case";
    EXPECT_EQ(count(db(), userTables + " AND Name='Français'"), 1);
    EXPECT_EQ(conn.fieldNames("français"), std::vector<std::string>{"Nom"});
}

TEST_F(CatalogTest, SecondConnectionSharesTheStoreAndSeesChanges) {
    auto other = testing::openFile(path, "Mode=Share Deny None");
    EXPECT_EQ(&other->store(), &conn.store());
    catalog().createTable("Shared", {column("A", JetType::Long)}, {});
    EXPECT_EQ(other->userTableNames(), std::vector<std::string>{"Shared"});
}

TEST_F(CatalogTest, UniqueIndexComparesWithoutCase) {
    const IndexDef byName{"ByName", {{"Name", false}}, true};
    catalog().createTable("U", {column("Name", JetType::Text, 20)}, {byName});
    change("INSERT INTO U (Name) VALUES ('abc')");
    EXPECT_EQ(
        msg::translateSqliteError(errorOf([&] { change("INSERT INTO U (Name) VALUES ('ABC')"); })),
        msg::kDuplicateValues);
    // Accents make a different value.
    EXPECT_NO_THROW(change("INSERT INTO U (Name) VALUES ('àbc')"));
}

// SQLite gets no copy of a lookup index another index stands in for, and gets
// it back when that index goes.
TEST_F(CatalogTest, LookupIndexesCoveredByAnotherAreNotBuiltTwice) {
    conn.execute("CREATE TABLE Line (OrderID LONG, ProductID LONG, Qty LONG)");
    conn.execute("CREATE UNIQUE INDEX ByOrder ON Line (OrderID, ProductID)");
    conn.execute("CREATE INDEX OrderOnly ON Line (OrderID)");
    conn.execute("CREATE INDEX ProductA ON Line (ProductID)");
    conn.execute("CREATE INDEX ProductB ON Line (ProductID)");
    conn.execute("CREATE INDEX OrderDown ON Line (OrderID DESC)");
    auto built = [&] {
        std::vector<std::string> names;
        Stmt s(db(), "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = '" +
                         catalog().findTableInfo("Line")->storedName + "' ORDER BY name");
        while (s.step()) {
            names.push_back(s.getText(0).substr(s.getText(0).rfind('_') + 1));
        }
        return names;
    };
    EXPECT_EQ(built(), (std::vector<std::string>{"byorder", "orderdown", "producta"}));
    conn.execute("DROP INDEX ByOrder ON Line");
    conn.execute("DROP INDEX ProductA ON Line");
    EXPECT_EQ(built(), (std::vector<std::string>{"orderdown", "orderonly", "productb"}));
    conn.execute("INSERT INTO Line VALUES (1, 2, 3)");
    EXPECT_EQ(count(db(), "SELECT Count(*) FROM " + catalog().findTableInfo("Line")->storedName +
                              " WHERE OrderID = 1"),
              1);
}

// Definitions and changes the catalog refuses, in Jet's words, each leaving
// the tables as they were.
TEST_F(CatalogTest, RefusalsUseJetWordingAndLeaveNothingBehind) {
    makeParentChild(0);
    change("INSERT INTO Parent (Id, Name) VALUES (1, 'p')");
    change("INSERT INTO Child VALUES (10, 1)");
    change("INSERT INTO Child VALUES (11, NULL)");  // a Null key needs no parent
    auto name = column("Name", JetType::Text, 20);
    name.required = true;
    catalog().createTable("R", {column("Code", JetType::Long), name}, {primaryKey("Code")});
    for (const char* table : {"P1", "C1", "P2", "C2"}) {
        catalog().createTable(table, {column("K", JetType::Long)}, {});
    }
    catalog().createIndex("P2", primaryKey("K"));
    change("INSERT INTO C2 VALUES (3)");
    Relationship withoutKey{"P1C1", "C1", {"K"}, "P1", {"K"}, 0};
    Relationship orphaned{"P2C2", "C2", {"K"}, "P2", {"K"}, 0};

    struct Refusal {
        std::function<void()> act;
        std::string says;
    };
    const Refusal refusals[] = {
        {[&] { catalog().createTable("r", {column("B", JetType::Long)}, {}); },
         "Table 'r' already exists."},
        {[&] { catalog().addColumn("R", column("code", JetType::Text)); },
         "Field 'code' already exists in table 'R'."},
        {[&] { catalog().createTable("Bad.Name", {column("A", JetType::Long)}, {}); },
         "is not a valid name"},
        {[&] { catalog().dropTable("Nowhere"); }, msg::tableNotFound("Nowhere")},
        {[&] { change("INSERT INTO R (Code) VALUES (1)"); }, msg::requiredNull("R", "Name")},
        {[&] { change("INSERT INTO R (Name) VALUES ('x')"); }, msg::kPrimaryKeyNull},
        {[&] { change("INSERT INTO Child VALUES (12, 2)"); }, msg::relatedRecordRequired("Parent")},
        {[&] { change("DELETE FROM Parent"); }, msg::relatedRecordsExist("Child")},
        {[&] { change("UPDATE Parent SET Id = 5"); }, msg::relatedRecordsExist("Child")},
        {[&] { catalog().dropTable("Parent"); }, "used in a relationship"},
        {[&] { catalog().dropColumn("Child", "ParentId"); }, "Cannot delete"},
        {[&] { catalog().dropColumn("Parent", "Id"); }, "part of an index"},
        {[&] { catalog().addRelationship(withoutKey); }, "No unique index found"},
        {[&] { catalog().addRelationship(orphaned); }, "violates referential integrity"},
    };
    for (const Refusal& refusal : refusals) {
        std::string message = errorOf(refusal.act);
        EXPECT_NE(message.find(refusal.says), std::string::npos)
            << "expected \"" << refusal.says << "\", got \"" << message << '"';
    }
    EXPECT_EQ(count(db(), "SELECT count(*) FROM R"), 0);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM Child"), 2);
    EXPECT_EQ(count(db(), "SELECT Id FROM Parent"), 1);
    ASSERT_EQ(catalog().relationships().size(), 1u) << "a failed relationship leaves nothing";
    // The relationship is in MSysRelationships, as Jet keeps it.
    EXPECT_EQ(count(db(),
                    "SELECT count(*) FROM MSysRelationships WHERE szRelationship="
                    "'ParentChild' AND szObject='Child' AND szReferencedObject='Parent'"),
              1);
    catalog().dropConstraint("Child", "ParentChild");
    EXPECT_TRUE(catalog().relationships().empty());
    EXPECT_NO_THROW(catalog().dropTable("Parent"));
    EXPECT_EQ(count(db(), "SELECT count(*) FROM MSysObjects WHERE Name='Parent'"), 0);
}

TEST_F(CatalogTest, CascadesFollowTheRelationshipFlags) {
    makeParentChild(relationship_flags::kCascadeDeletes | relationship_flags::kCascadeUpdates);
    change("INSERT INTO Parent (Id, Name) VALUES (1, 'p')");
    change("INSERT INTO Child VALUES (10, 1)");
    change("UPDATE Parent SET Id = 7");
    EXPECT_EQ(count(db(), "SELECT ParentId FROM Child"), 7);
    change("DELETE FROM Parent");
    EXPECT_EQ(count(db(), "SELECT count(*) FROM Child"), 0);
}

TEST_F(CatalogTest, AlterColumnConvertsValuesOrFailsWhole) {
    catalog().createTable("A", {column("V", JetType::Text, 10)}, {});
    change("INSERT INTO A VALUES ('12'), ('7')");
    catalog().alterColumn("A", column("V", JetType::Long));
    EXPECT_EQ(count(db(), "SELECT sum(V) FROM A WHERE typeof(V)='integer'"), 19);
    change("UPDATE A SET V = 'abc' WHERE V = 7");
    EXPECT_NE(errorOf([&] { catalog().alterColumn("A", column("V", JetType::Double)); }), "");
    EXPECT_EQ(catalog().findTableInfo("A")->columns[0].type, JetType::Long)
        << "the failed change left the definition as it was";
}

TEST_F(CatalogTest, AutoNumberCountsOnAndSurvivesReopen) {
    catalog().createTable("N", {autoNumber("Id"), column("X", JetType::Long)}, {});
    EXPECT_EQ(catalog().nextAutoNumber("N"), 1);
    EXPECT_EQ(catalog().nextAutoNumber("N"), 2);
    catalog().noteAutoNumber("N", 40);
    EXPECT_EQ(catalog().nextAutoNumber("N"), 41);
    conn.close();
    conn.open();
    EXPECT_EQ(catalog().nextAutoNumber("N"), 42);
}

// An added column numbers every row, an altered one the rows without a value
// after the highest present; the counter goes on from there.
TEST_F(CatalogTest, NewAutoNumberColumnNumbersExistingRows) {
    struct Case {
        const char* table;
        bool added;          // V added, or altered
        const char* values;  // V before an alter; an added column starts on three rows
        int64_t seed;
        int64_t step;
        const char* numbered;  // V afterwards, in rowid order
        int64_t next;
    };
    const Case kCases[] = {
        {"AddDefault", true, "", 1, 1, "1,2,3", 4},
        {"AddSeeded", true, "", 10, 5, "10,15,20", 25},
        {"AlterFillsGaps", false, "5,NULL,2,NULL", 1, 1, "5,6,2,7", 8},
        {"AlterAllEmpty", false, "NULL,NULL", 100, 10, "100,110", 120},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.table);
        const std::string table = c.table;
        const bool added = c.added;
        std::vector<ColumnDef> columns = {column("K", JetType::Long)};
        if (!added) {
            columns.push_back(column("V", JetType::Long));
        }
        catalog().createTable(table, columns, {});
        std::stringstream list(added ? "NULL,NULL,NULL" : c.values);
        int key = 0;
        for (std::string value; std::getline(list, value, ',');) {
            change("INSERT INTO " + table + (added ? " (K) VALUES (" : " (K, V) VALUES (") +
                   std::to_string(++key) + (added ? "" : ", " + value) + ")");
        }
        auto counter = column("V", JetType::Long);
        counter.autoNumber = true;
        counter.autoSeed = c.seed;
        counter.autoStep = c.step;
        if (added) {
            catalog().addColumn(table, counter);
        } else {
            catalog().alterColumn(table, counter);
        }
        Stmt rows(db(),
                  "SELECT group_concat(V, ',') FROM (SELECT V FROM " + table + " ORDER BY rowid)");
        ASSERT_TRUE(rows.step());
        EXPECT_EQ(rows.getText(0), c.numbered);
        EXPECT_EQ(catalog().nextAutoNumber(table), c.next);
    }
}

TEST(WorkingStoreOpen, ReportsWhyAFileCannotBeOpenedOrCreated) {
    testing::ScratchDir dir;
    EXPECT_NE(errorOf([&] { WorkingStore::open(dir.file("missing.mdb")); }).find("missing.mdb"),
              std::string::npos);
    std::string jet3 = dir.file("old.mdb");
    std::string page(4096, '\0');
    testing::writeFile(jet3, page.replace(4, 15, "Standard Jet DB"));
    EXPECT_NE(errorOf([&] { WorkingStore::open(jet3); }).find("Access 97"), std::string::npos);
    std::string text = dir.file("notes.mdb");
    testing::writeFile(text, "hello");
    std::string message = errorOf([&] { WorkingStore::open(text); });
    EXPECT_NE(message.find("Unrecognized database format"), std::string::npos);
    EXPECT_NE(message.find("notes.mdb"), std::string::npos);
    // Reading these would block or never end.
    std::string pipe = dir.file("pipe.mdb");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& special : {pipe, std::string("/dev/zero"), dir.file("")}) {
        EXPECT_NE(errorOf([&] { WorkingStore::open(special); }).find("not a regular file"),
                  std::string::npos)
            << special;
    }
    // Creating a database never overwrites a file.
    EXPECT_NE(errorOf([&] { WorkingStore::createDatabase(text); }).find("already exists"),
              std::string::npos);
}

TEST(ConnectionString, TakesTheDataSourceOnly) {
    EXPECT_EQ(
        dataSourceFromConnectionString(
            "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/x/y z.mdb;Mode=Share "
            "Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\""),
        "/x/y z.mdb");
    EXPECT_EQ(dataSourceFromConnectionString("data source=\"a;b.mdb\";x=1"), "a;b.mdb");
    EXPECT_EQ(dataSourceFromConnectionString("Provider=x"), "");
}

}  // namespace
}  // namespace orvdb::engine
