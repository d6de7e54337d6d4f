// RenameTable, RenameColumn, FlushTable, the constraint switches and
// ExistsDatabase: the statements they send, and what they do to a database.
#include "module_test_support.hpp"
#include "support/stand_in_database.hpp"

#include "data/database.hpp"
#include "data/mariadb/database_factory.hpp"
#include "support/mariadb_server.hpp"

namespace orvdb::module_test {
namespace {

using test_support::StandInDatabase;

OrvIDatabase* c(iDatabase* db) {
    return reinterpret_cast<OrvIDatabase*>(db);
}

using Texts = std::vector<std::string>;

TEST_F(ModuleTest, RenameColumnQuotesNamesInItsSelect) {
    ComPtr<StandInDatabase> db{new StandInDatabase()};
    RenameColumn(c(db.get()), H("O'Brien").get(), H("a'b").get(), H("c").get(), H("LONG").get(),
                 ORV_WFALSE, ORV_WFALSE);
    ASSERT_GE(db->state.recorded.size(), 2u);
    EXPECT_EQ(db->state.recorded[1].sql,
              "SELECT * FROM MsysRelationShips WHERE szColumn='a''b' AND szObject='O''Brien'");
}

TEST_F(ModuleTest, NullDatabaseIsRefused) {
    EXPECT_EQ(FlushTable(nullptr, H("T").get()), ORV_E_POINTER);
    EXPECT_NE(lastErrorMessage().find("FlushTable"), std::string::npos) << lastErrorMessage();
    EXPECT_EQ(RenameTable(nullptr, H("A").get(), H("B").get(), 0, 0), ORV_E_POINTER);
}

// --- on a database ---

class SchemaMaintenance : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        fresh();
    }
    // The clients (each in a country) and their quotes, in a new file.
    void fresh() {
        opened.reset();
        std::filesystem::remove(path);
        createDatabaseFile(path);
        opened = std::make_unique<Database>(Database::openFile(path));
        for (const char* sql : {
                 "CREATE TABLE Pays (Id COUNTER PRIMARY KEY)",
                 "CREATE TABLE Clients (ID COUNTER PRIMARY KEY, Nom VARCHAR(50), PaysId LONG, "
                 "CONSTRAINT FK_Clients_Pays FOREIGN KEY (PaysId) REFERENCES Pays (Id))",
                 "CREATE TABLE Devis (ID COUNTER PRIMARY KEY, ClientId LONG, Montant DOUBLE, "
                 "CONSTRAINT FK_Devis_Clients FOREIGN KEY (ClientId) REFERENCES Clients (ID))",
                 "INSERT INTO Clients (Nom) VALUES ('Dupont')",
                 "INSERT INTO Clients (Nom) VALUES ('Martin')",
                 "INSERT INTO Devis (ClientId, Montant) VALUES (2, 10.5)",
                 "INSERT INTO Devis (ClientId, Montant) VALUES (1, 20)",
             }) {
            db().execute(sql);
        }
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

const std::string kPaysKey = "FK_Clients_Pays|Clients|PaysId|Pays|Id";
const std::string kDevisKey = "FK_Devis_Clients|Devis|ClientId|Clients|ID";

struct RenameTableCase {
    const char* name;
    std::vector<std::string> before;  // run on the fresh database first
    const char* from;
    OrvWordBool dropOld;
    OrvWordBool dropNew;
    Texts customers;  // IDs in Customers afterwards
    Texts relationships;
};

const RenameTableCase kRenameTableCases[] = {
    {"dropping the old table moves the keys to and from it",
     {},
     "Clients",
     ORV_WTRUE,
     ORV_WFALSE,
     {"1", "2"},
     {"FK_Clients_Pays__X|Customers|PaysId|Pays|Id",
      "FK_Devis_Clients__X|Devis|ClientId|Customers|ID"}},
    {"keeping the old table adds its keys under suffixed names",
     {},
     "Clients",
     ORV_WFALSE,
     ORV_WFALSE,
     {"1", "2"},
     {kPaysKey, "FK_Clients_Pays__X|Customers|PaysId|Pays|Id", kDevisKey,
      "FK_Devis_Clients__X|Devis|ClientId|Customers|ID"}},
    {"a failed copy does not stop the index and key steps",
     {"DELETE FROM Devis", "CREATE TABLE Customers (ID LONG, Autre VARCHAR(5))"},
     "Clients",
     ORV_WFALSE,
     ORV_WFALSE,
     {},
     {kPaysKey, kDevisKey, "FK_Devis_Clients__X|Devis|ClientId|Customers|ID"}},
    {"dropping the new name first replaces a taken name",
     {"CREATE TABLE Customers (ID LONG, Autre VARCHAR(5))"},
     "Clients",
     ORV_WFALSE,
     ORV_WTRUE,
     {"1", "2"},
     {kPaysKey, "FK_Clients_Pays__X|Customers|PaysId|Pays|Id", kDevisKey,
      "FK_Devis_Clients__X|Devis|ClientId|Customers|ID"}},
    {"a missing table changes nothing, not even the table of the new name",
     {"CREATE TABLE Customers (ID LONG)", "INSERT INTO Customers VALUES (7)"},
     "Nope",
     ORV_WTRUE,
     ORV_WTRUE,
     {"7"},
     {kPaysKey, kDevisKey}},
};

TEST_F(SchemaMaintenance, RenameTableCopiesRowsIndexAndKeys) {
    for (const RenameTableCase& c : kRenameTableCases) {
        SCOPED_TRACE(c.name);
        fresh();
        for (const std::string& sql : c.before) {
            db().execute(sql);
        }
        ASSERT_EQ(
            RenameTable(handle(), H(c.from).get(), H("Customers").get(), c.dropOld, c.dropNew),
            ORV_S_OK);
        EXPECT_EQ(relationships(), c.relationships);
        EXPECT_EQ(object().queryDepth(), 0);
        const bool renamed = std::string(c.from) == "Clients";
        EXPECT_EQ(db().tableExists("Clients"), !(renamed && c.dropOld));
        EXPECT_EQ(selectRows(db(), "SELECT ID FROM Customers ORDER BY ID"), c.customers);
        if (!renamed) {
            continue;
        }
        const engine::TableInfo* customers =
            object().connection().store().catalog().findTableInfo("Customers");
        ASSERT_NE(customers, nullptr);
        ASSERT_NE(customers->primaryKey(), nullptr);
        EXPECT_EQ(customers->primaryKey()->name, "ID_Customers");
        if (c.dropOld) {
            // The re-created key is enforced against the new table.
            EXPECT_FALSE(db().execute("INSERT INTO Devis (ClientId) VALUES (99)"));
            EXPECT_TRUE(db().execute("INSERT INTO Devis (ClientId) VALUES (2)"));
        }
    }
}

TEST_F(SchemaMaintenance, RenameColumnMovesValuesAndKeysByFlags) {
    const std::string moved = "FK_Devis_Clients__X|Devis|CustomerId|Clients|ID";
    const struct {
        OrvWordBool dropOld;
        OrvWordBool recreateKeys;
        Texts relationships;
    } cases[] = {
        {ORV_WTRUE, ORV_WTRUE, {kPaysKey, moved}},
        {ORV_WFALSE, ORV_WTRUE, {kPaysKey, kDevisKey, moved}},
        {ORV_WTRUE, ORV_WFALSE, {kPaysKey}},
        {ORV_WFALSE, ORV_WFALSE, {kPaysKey, kDevisKey}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dropOld) + " " + std::to_string(c.recreateKeys));
        fresh();
        ASSERT_EQ(RenameColumn(handle(), H("Devis").get(), H("ClientId").get(),
                               H("CustomerId").get(), H("LONG").get(), c.dropOld, c.recreateKeys),
                  ORV_S_OK);
        EXPECT_EQ(db().fieldExists("Devis", "ClientId"), !c.dropOld);
        EXPECT_EQ(selectRows(db(), "SELECT ID, CustomerId FROM Devis ORDER BY ID"),
                  (Texts{"1|2", "2|1"}));
        EXPECT_EQ(relationships(), c.relationships);
        EXPECT_EQ(object().queryDepth(), 0);
    }
}

// Re-declaring the emptied table's Id as a counter is how the host restarts
// its numbering; a table without one is emptied all the same.
TEST_F(SchemaMaintenance, FlushTableEmptiesTablesAndRestartsTheCounter) {
    db().execute("CREATE TABLE Journal (Id COUNTER PRIMARY KEY, Txt VARCHAR(10))");
    db().execute("CREATE TABLE Notes (Txt VARCHAR(10))");
    for (int i = 0; i < 3; ++i) {
        db().execute("INSERT INTO Journal (Txt) VALUES ('x')");
        db().execute("INSERT INTO Notes (Txt) VALUES ('n')");
    }
    ASSERT_EQ(FlushTable(handle(), H("Journal").get()), ORV_S_OK);
    ASSERT_EQ(FlushTable(handle(), H("Notes").get()), ORV_S_OK);
    EXPECT_TRUE(selectRows(db(), "SELECT * FROM Notes").empty())
        << "emptied, though its counter step failed";
    EXPECT_EQ(object().queryDepth(), 0);
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
