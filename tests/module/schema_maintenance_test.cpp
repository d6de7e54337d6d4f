// RenameTable, RenameColumn, FlushTable, the constraint switches and
// ExistsDatabase: the statements they send, and what they do to a database.
#include "module_test_support.hpp"
#include "support/recording_database.hpp"

#include "data/database.hpp"
#include "data/mariadb/database_factory.hpp"
#include "support/mariadb_server.hpp"

namespace orvdb::module_test {
namespace {

using test_support::Recording;
using test_support::RecordingDatabase;
using test_support::ScriptedRow;

OrvIDatabase* c(iDatabase* db) {
    return reinterpret_cast<OrvIDatabase*>(db);
}

std::vector<std::string> texts(const Recording& r) {
    std::vector<std::string> out;
    for (const auto& s : r.statements) {
        out.push_back(std::to_string(s.depth) + " " + std::to_string(s.kind) + " " + s.sql);
    }
    return out;
}

using Texts = std::vector<std::string>;

// --- the statements, character for character ---

class SchemaStatements : public ModuleTest {
protected:
    ComPtr<RecordingDatabase> db{new RecordingDatabase()};
};

TEST_F(SchemaStatements, RenameTableDroppingOldAndNew) {
    db->r.tables = {"Clients"};
    db->r.rows["SELECT * FROM MsysRelationShips WHERE"] = {
        {{"szRelationship", "FK_Devis_Clients"},
         {"szObject", "Devis"},
         {"szColumn", "ClientId"},
         {"szReferencedObject", "CLIENTS"},
         {"szReferencedColumn", "ID"}},
        {{"szRelationship", "FK_Clients_Pays"},
         {"szObject", "Clients"},
         {"szColumn", "PaysId"},
         {"szReferencedObject", "Pays"},
         {"szReferencedColumn", "Id"}},
    };
    ASSERT_EQ(
        RenameTable(c(db.get()), H("Clients").get(), H("Customers").get(), ORV_WTRUE, ORV_WTRUE),
        ORV_S_OK);
    EXPECT_EQ(texts(db->r),
              (Texts{
                  "2 1 DROP TABLE Customers",
                  "2 1 SELECT * INTO Customers FROM [Clients]",
                  "2 1 CREATE UNIQUE INDEX ID_Customers ON Customers(ID) WITH PRIMARY",
                  "1 0 SELECT * FROM MsysRelationShips WHERE (szReferencedObject='Clients')    "
                  "OR (szObject='Clients')",
                  "3 1 ALTER TABLE [Devis] DROP CONSTRAINT FK_Devis_Clients",
                  "3 1 ALTER TABLE  Devis   ADD CONSTRAINT FK_Devis_Clients__X  FOREIGN KEY "
                  "(ClientId)  REFERENCES Customers(ID)",
                  // The referring table was renamed before the drop is sent.
                  "3 1 ALTER TABLE [Customers] DROP CONSTRAINT FK_Clients_Pays",
                  "3 1 ALTER TABLE  Customers   ADD CONSTRAINT FK_Clients_Pays__X  FOREIGN KEY "
                  "(PaysId)  REFERENCES Pays(Id)",
                  "2 1 DROP TABLE [Clients]",
              }));
    EXPECT_EQ(db->r.depth, 0);
}

TEST_F(SchemaStatements, RenameTableKeepingOldOrOfMissingTable) {
    db->r.tables = {"Clients"};
    RenameTable(c(db.get()), H("Clients").get(), H("Customers").get(), ORV_WFALSE, ORV_WFALSE);
    EXPECT_EQ(texts(db->r),
              (Texts{
                  "2 1 SELECT * INTO Customers FROM [Clients]",
                  "2 1 CREATE UNIQUE INDEX ID_Customers ON Customers(ID) WITH PRIMARY",
                  "1 0 SELECT * FROM MsysRelationShips WHERE (szReferencedObject='Clients')    "
                  "OR (szObject='Clients')",
              }));
    db->r.statements.clear();
    EXPECT_EQ(RenameTable(c(db.get()), H("Nope").get(), H("Other").get(), ORV_WTRUE, ORV_WTRUE),
              ORV_S_OK);
    EXPECT_TRUE(db->r.statements.empty());
    EXPECT_EQ(db->r.depth, 0);
}

TEST_F(SchemaStatements, RenameColumnByFlags) {
    const ScriptedRow key = {{"szRelationship", "FK_Devis_Clients"},
                             {"szObject", "Devis"},
                             {"szColumn", "ClientId"},
                             {"szReferencedObject", "Clients"},
                             {"szReferencedColumn", "ID"}};
    const std::string add = "1 1 ALTER TABLE Devis ADD COLUMN CustomerId LONG";
    const std::string select =
        "1 0 SELECT * FROM MsysRelationShips WHERE szColumn='ClientId' AND szObject='Devis'";
    const std::string drop = "2 1 ALTER TABLE [Devis] DROP CONSTRAINT FK_Devis_Clients";
    const std::string recreate =
        "2 1 ALTER TABLE  Devis   ADD CONSTRAINT FK_Devis_Clients__X  FOREIGN KEY (CustomerId)  "
        "REFERENCES Clients(ID)";
    const std::string update = "1 1 UPDATE Devis SET CustomerId=[ClientId]";
    const std::string dropColumn = "1 1 ALTER TABLE Devis DROP COLUMN [ClientId]";
    const struct {
        OrvWordBool dropOld;
        OrvWordBool recreateKeys;
        Texts expected;
    } cases[] = {
        {ORV_WTRUE, ORV_WTRUE, {add, select, drop, recreate, update, dropColumn}},
        {ORV_WFALSE, ORV_WTRUE, {add, select, recreate, update}},
        {ORV_WTRUE, ORV_WFALSE, {add, select, drop, update, dropColumn}},
        {ORV_WFALSE, ORV_WFALSE, {add, select, update}},
    };
    for (const auto& cs : cases) {
        ComPtr<RecordingDatabase> fresh(new RecordingDatabase());
        fresh->r.rows["SELECT * FROM MsysRelationShips WHERE szColumn="] = {key};
        EXPECT_EQ(RenameColumn(c(fresh.get()), H("Devis").get(), H("ClientId").get(),
                               H("CustomerId").get(), H("LONG").get(), cs.dropOld, cs.recreateKeys),
                  ORV_S_OK);
        EXPECT_EQ(texts(fresh->r), cs.expected) << cs.dropOld << " " << cs.recreateKeys;
        EXPECT_EQ(fresh->r.depth, 0);
    }
}

TEST_F(SchemaStatements, RenameColumnQuotesNamesInItsSelect) {
    RenameColumn(c(db.get()), H("O'Brien").get(), H("a'b").get(), H("c").get(), H("LONG").get(),
                 ORV_WFALSE, ORV_WFALSE);
    ASSERT_GE(db->r.statements.size(), 2u);
    EXPECT_EQ(db->r.statements[1].sql,
              "SELECT * FROM MsysRelationShips WHERE szColumn='a''b' AND szObject='O''Brien'");
}

TEST_F(SchemaStatements, FlushTableAndConstraintSwitches) {
    FlushTable(c(db.get()), H("Journal").get());
    DisableAllconstaint(c(db.get()));
    EnableAllconstaint(c(db.get()));
    EXPECT_EQ(texts(db->r), (Texts{
                                "1 1 DELETE FROM Journal",
                                "1 1 ALTER TABLE  Journal  ALTER COLUMN  Id AUTOINCREMENT",
                                "1 0 SET FOREIGN_KEY_CHECKS = 0",
                                "1 0 SET FOREIGN_KEY_CHECKS = 1",
                            }));
    EXPECT_EQ(db->r.depth, 0);
}

TEST_F(SchemaStatements, NullDatabaseIsRefused) {
    EXPECT_EQ(FlushTable(nullptr, H("T").get()), ORV_E_POINTER);
    EXPECT_NE(lastErrorMessage().find("FlushTable"), std::string::npos) << lastErrorMessage();
    EXPECT_EQ(RenameTable(nullptr, H("A").get(), H("B").get(), 0, 0), ORV_E_POINTER);
}

// --- on a database ---

class SchemaMaintenance : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        createDatabaseFile(path);
        opened = std::make_unique<Database>(Database::openFile(path));
        for (const char* sql : {
                 "CREATE TABLE Clients (ID COUNTER PRIMARY KEY, Nom VARCHAR(50))",
                 "CREATE TABLE Devis (ID COUNTER PRIMARY KEY, ClientId LONG, Montant DOUBLE, "
                 "CONSTRAINT FK_Devis_Clients FOREIGN KEY (ClientId) REFERENCES Clients (ID))",
                 "INSERT INTO Clients (Nom) VALUES ('Dupont')",
                 "INSERT INTO Clients (Nom) VALUES ('Martin')",
                 "INSERT INTO Devis (ClientId, Montant) VALUES (2, 10.5)",
                 "INSERT INTO Devis (ClientId, Montant) VALUES (1, 20)",
             }) {
            db().execute(sql);
        }
        ASSERT_EQ(selectRows(db(), "SELECT COUNT(*) AS N FROM Devis"), Texts{"2"});
    }
    Texts relationships() {
        return selectRows(db(),
                          "SELECT szRelationship, szObject, szColumn, szReferencedObject, "
                          "szReferencedColumn FROM MSysRelationships ORDER BY szRelationship");
    }
    data::torvc_Database& object() { return dynamic_cast<data::torvc_Database&>(*db().get()); }
    OrvIDatabase* handle() { return c(db().get()); }

    std::string path = dir.file("schema.mdb");
    std::unique_ptr<Database> opened;
    Database& db() { return *opened; }
};

TEST_F(SchemaMaintenance, RenameTableDroppingTheOldOneMovesItsRelationships) {
    ASSERT_EQ(
        RenameTable(handle(), H("Clients").get(), H("Customers").get(), ORV_WTRUE, ORV_WFALSE),
        ORV_S_OK);
    EXPECT_FALSE(db().tableExists("Clients"));
    EXPECT_EQ(selectRows(db(), "SELECT ID, Nom FROM Customers ORDER BY ID"),
              (Texts{"1|Dupont", "2|Martin"}));
    EXPECT_EQ(relationships(), Texts{"FK_Devis_Clients__X|Devis|ClientId|Customers|ID"});
    const engine::TableInfo* customers =
        object().connection().store().catalog().findTableInfo("Customers");
    ASSERT_NE(customers, nullptr);
    ASSERT_NE(customers->primaryKey(), nullptr);
    EXPECT_EQ(customers->primaryKey()->name, "ID_Customers");
    // The re-created key is enforced against the new table.
    EXPECT_FALSE(db().execute("INSERT INTO Devis (ClientId) VALUES (99)"));
    EXPECT_TRUE(db().execute("INSERT INTO Devis (ClientId) VALUES (2)"));
    EXPECT_EQ(object().queryDepth(), 0);
}

TEST_F(SchemaMaintenance, RenameTableKeepingTheOldOneAddsKeysUnderSuffixedNames) {
    RenameTable(handle(), H("Clients").get(), H("Customers").get(), ORV_WFALSE, ORV_WFALSE);
    RenameTable(handle(), H("Customers").get(), H("Buyers").get(), ORV_WFALSE, ORV_WFALSE);
    EXPECT_TRUE(db().tableExists("Clients"));
    EXPECT_TRUE(db().tableExists("Customers"));
    EXPECT_EQ(relationships(), (Texts{
                                   "FK_Devis_Clients|Devis|ClientId|Clients|ID",
                                   "FK_Devis_Clients__X|Devis|ClientId|Customers|ID",
                                   "FK_Devis_Clients__X__X|Devis|ClientId|Buyers|ID",
                               }));
}

TEST_F(SchemaMaintenance, FailedCopyDoesNotStopTheIndexAndKeySteps) {
    db().execute("DELETE FROM Devis");
    db().execute("CREATE TABLE Customers (ID LONG, Autre VARCHAR(5))");
    RenameTable(handle(), H("Clients").get(), H("Customers").get(), ORV_WFALSE, ORV_WFALSE);
    EXPECT_TRUE(selectRows(db(), "SELECT * FROM Customers").empty()) << "the copy failed";
    const engine::TableInfo* customers =
        object().connection().store().catalog().findTableInfo("Customers");
    ASSERT_NE(customers, nullptr);
    ASSERT_NE(customers->primaryKey(), nullptr);
    EXPECT_EQ(customers->primaryKey()->name, "ID_Customers");
    EXPECT_EQ(relationships(), (Texts{
                                   "FK_Devis_Clients|Devis|ClientId|Clients|ID",
                                   "FK_Devis_Clients__X|Devis|ClientId|Customers|ID",
                               }));
}

TEST_F(SchemaMaintenance, DropNewFirstReplacesATakenName) {
    db().execute("CREATE TABLE Customers (ID LONG, Autre VARCHAR(5))");
    RenameTable(handle(), H("Clients").get(), H("Customers").get(), ORV_WFALSE, ORV_WTRUE);
    EXPECT_EQ(selectRows(db(), "SELECT * FROM Customers ORDER BY ID"),
              (Texts{"1|Dupont", "2|Martin"}));
}

TEST_F(SchemaMaintenance, RenameColumnMovesValuesAndKeys) {
    ASSERT_EQ(RenameColumn(handle(), H("Devis").get(), H("ClientId").get(), H("CustomerId").get(),
                           H("LONG").get(), ORV_WTRUE, ORV_WTRUE),
              ORV_S_OK);
    EXPECT_FALSE(db().fieldExists("Devis", "ClientId"));
    EXPECT_EQ(selectRows(db(), "SELECT ID, CustomerId FROM Devis ORDER BY ID"),
              (Texts{"1|2", "2|1"}));
    EXPECT_EQ(relationships(), Texts{"FK_Devis_Clients__X|Devis|CustomerId|Clients|ID"});
    EXPECT_EQ(object().queryDepth(), 0);
}

TEST_F(SchemaMaintenance, RenameColumnWithoutDropKeepsTheOldColumn) {
    RenameColumn(handle(), H("Devis").get(), H("Montant").get(), H("Total").get(),
                 H("DOUBLE").get(), ORV_WFALSE, ORV_WFALSE);
    EXPECT_EQ(selectRows(db(), "SELECT Montant, Total FROM Devis ORDER BY ID"),
              (Texts{"10.5|10.5", "20|20"}));
    EXPECT_EQ(relationships(), Texts{"FK_Devis_Clients|Devis|ClientId|Clients|ID"});
}

TEST_F(SchemaMaintenance, FlushTableEmptiesTablesWithOrWithoutId) {
    db().execute("CREATE TABLE Journal (Id COUNTER PRIMARY KEY, Txt VARCHAR(10))");
    db().execute("CREATE TABLE Notes (Txt VARCHAR(10))");
    for (int i = 0; i < 3; ++i) {
        db().execute("INSERT INTO Journal (Txt) VALUES ('x')");
        db().execute("INSERT INTO Notes (Txt) VALUES ('n')");
    }
    ASSERT_EQ(FlushTable(handle(), H("Journal").get()), ORV_S_OK);
    ASSERT_EQ(FlushTable(handle(), H("Notes").get()), ORV_S_OK);
    EXPECT_TRUE(selectRows(db(), "SELECT * FROM Journal").empty());
    EXPECT_TRUE(selectRows(db(), "SELECT * FROM Notes").empty())
        << "emptied, though its counter step failed";
    EXPECT_EQ(object().queryDepth(), 0);
}

// Re-declaring the emptied table's Id as a counter is how the host restarts
// its numbering. Disabled until the engine resets an autonumber's seed when
// ALTER COLUMN declares it again on an empty table (it keeps the last value).
TEST_F(SchemaMaintenance, FlushTableRestartsTheCounter) {
    db().execute("CREATE TABLE Journal (Id COUNTER PRIMARY KEY, Txt VARCHAR(10))");
    for (int i = 0; i < 3; ++i) {
        db().execute("INSERT INTO Journal (Txt) VALUES ('x')");
    }
    ASSERT_EQ(FlushTable(handle(), H("Journal").get()), ORV_S_OK);
    db().execute("INSERT INTO Journal (Txt) VALUES ('y')");
    EXPECT_EQ(selectRows(db(), "SELECT Id FROM Journal"), Texts{"1"});
}

TEST_F(SchemaMaintenance, ConstraintSwitchesFailQuietly) {
    EXPECT_EQ(DisableAllconstaint(handle()), ORV_S_OK);
    EXPECT_EQ(EnableAllconstaint(handle()), ORV_S_OK);
    ASSERT_EQ(recorder->debugLines.size(), 2u);
    EXPECT_NE(recorder->debugLines[0].find("SET FOREIGN_KEY_CHECKS = 0"), std::string::npos);
    EXPECT_NE(recorder->debugLines[1].find("SET FOREIGN_KEY_CHECKS = 1"), std::string::npos);
    EXPECT_EQ(object().queryDepth(), 0);
    // The constraint is still checked.
    EXPECT_FALSE(db().execute("INSERT INTO Devis (ClientId) VALUES (99)"));
}

// --- ExistsDatabase ---

class Description : public host::TInterfacedObjectEx<IServerInfo> {
public:
    Description(std::string folder, std::string name)
        : folder_(std::move(folder)), name_(std::move(name)) {}
    OrvHResult Get_Folder(OrvBstr* folder) override {
        *folder = host::Bstr::fromUtf8(folder_).release();
        return ORV_S_OK;
    }
    OrvHResult Reserved0() override { return ORV_E_NOTIMPL; }
    OrvHResult Get_DatabaseName(OrvBstr* name) override {
        *name = host::Bstr::fromUtf8(name_).release();
        return name_ == "fail" ? ORV_E_FAIL : ORV_S_OK;
    }

private:
    std::string folder_;
    std::string name_;
};

TEST_F(ModuleTest, ExistsDatabaseAppendsSeparatorAndExtension) {
    createDatabaseFile(dir.file("Data/Stock.mdb"));
    const struct {
        std::string folder;
        std::string name;
        OrvLongBool expected;
    } cases[] = {
        {dir.file("Data"), "Stock", ORV_LTRUE},        {dir.file("Data/"), "Stock", ORV_LTRUE},
        {dir.file("Data") + "\\", "stock", ORV_LTRUE}, {dir.file("DATA"), "STOCK", ORV_LTRUE},
        {dir.file("Data"), "Stock.mdb", ORV_LFALSE},  // looks for Stock.mdb.mdb
        {dir.file("Data"), "Other", ORV_LFALSE},       {dir.file("Data"), "fail", ORV_LFALSE},
    };
    for (const auto& cs : cases) {
        ComPtr<Description> d(new Description(cs.folder, cs.name));
        EXPECT_EQ(
            ExistsDatabase(reinterpret_cast<OrvIServerInfo*>(static_cast<IServerInfo*>(d.get()))),
            cs.expected)
            << cs.folder << " + " << cs.name;
    }
    EXPECT_EQ(ExistsDatabase(nullptr), ORV_LFALSE);
}

TEST(ServerInfoCView, SlotsMatchTheInterface) {
    ComPtr<Description> d(new Description("/srv", "Stock"));
    auto* view = reinterpret_cast<OrvIServerInfo*>(static_cast<IServerInfo*>(d.get()));
    OrvBstr name = nullptr;
    ASSERT_EQ(view->lpVtbl->Get_DatabaseName(view, &name), ORV_S_OK);
    EXPECT_EQ(host::Bstr::adopt(name).utf8(), "Stock");
    OrvBstr folder = nullptr;
    ASSERT_EQ(view->lpVtbl->Get_Folder(view, &folder), ORV_S_OK);
    EXPECT_EQ(host::Bstr::adopt(folder).utf8(), "/srv");
}

// On a MariaDB database the constraint switches reach the server: with the
// checks off a row may refer to nothing, with them on it may not.
TEST_F(ModuleTest, ConstraintSwitchesTurnTheServersForeignKeyChecks) {
    test_support::ScratchServerDatabase scratch;
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    ComPtr<iDatabase> db =
        data::mariadb::createDatabase(u"SERVER", u"MARIADB", scratch.settings(), true, nullptr);
    Database server(db);
    server.execute("CREATE TABLE Pays (Id INT PRIMARY KEY)");
    server.execute(
        "CREATE TABLE Clients (Id INT PRIMARY KEY, PaysId INT, "
        "FOREIGN KEY (PaysId) REFERENCES Pays (Id))");
    const struct {
        OrvHResult (*toggle)(OrvIDatabase*);
        int id;
        bool stored;
    } steps[] = {{DisableAllconstaint, 1, true}, {EnableAllconstaint, 2, false}};
    for (const auto& step : steps) {
        ASSERT_EQ(step.toggle(c(db.get())), ORV_S_OK);
        std::string insert = "INSERT INTO Clients VALUES (" + std::to_string(step.id) + ", 99)";
        // An action statement the server refuses fails quietly: nothing changed.
        EXPECT_EQ(server.execute(insert), step.stored) << insert;
    }
    EXPECT_EQ(scratch.session()->scalar("SELECT GROUP_CONCAT(Id) FROM Clients"), "1");
}

}  // namespace
}  // namespace orvdb::module_test
