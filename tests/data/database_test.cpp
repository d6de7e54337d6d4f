// The connection object: opening and closing, paths, schema questions,
// transactions, the texts it gives for DDL, and the whole-database
// operations (emptying, listing tables, exporting a table to another
// database, stored column definitions).
#include <gmock/gmock.h>

#include "data/database_factory.hpp"
#include "data/jet_connection_string.hpp"
#include "data/system_object.hpp"
#include "data_test_support.hpp"
#include "engine/dataset/table_dataset.hpp"
#include "host/database_connector.hpp"
#include "support/stand_in_database.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::W;

struct DatabaseTest : DataTest {
    void makeItems(torvc_Database& db) {
        catalog(db).createTable(
            "ITEMS",
            {testing::autoNumber("Id"), testing::column("Name", engine::JetType::Text, 40),
             testing::column("Qty", engine::JetType::Integer),
             testing::column("Price", engine::JetType::Currency),
             testing::column("Photo", engine::JetType::OLE)},
            {testing::primaryKey("Id")});
    }
    bool tableExists(iDatabase& db, const std::string& name) {
        OrvWordBool exists = 7;
        EXPECT_EQ(db.TableExists(W(name).get(), &exists), ORV_S_OK);
        EXPECT_TRUE(exists == ORV_WTRUE || exists == ORV_WFALSE);
        return exists != 0;
    }
};

// The factory opens on request, finding the suite's paths written with
// backslashes and in another case, and names the object after the alias. A
// file that cannot be opened goes to the host, and the object comes closed.
TEST_F(DatabaseTest, FactoryOpensOnRequestAndNamesAfterTheAlias) {
    ComPtr<iDatabase> db = createDatabase(u"XMANDATA", nullptr, true, u"", host::toUtf16(path));
    EXPECT_TRUE(testing::databaseOpened(*db.get()));
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_dbname(out); }), "XMANDATA");
    const std::string suitePath = dir.path().string() + "\\DATA.MDB";
    EXPECT_TRUE(testing::databaseOpened(
        *createDatabase(u"N", u"", u"", true, u"", host::toUtf16(suitePath), nullptr).get()));
    EXPECT_TRUE(recorder->handedExceptions.empty());
    EXPECT_FALSE(testing::databaseOpened(
        *createDatabase(u"N", u"F", u"A", false, u"", host::toUtf16(path), nullptr).get()));

    ComPtr<iDatabase> failed = createDatabase(u"N", u"", u"", true, u"",
                                              host::toUtf16(dir.file("missing/none.mdb")), nullptr);
    ASSERT_TRUE(failed);
    EXPECT_FALSE(testing::databaseOpened(*failed.get()));
    ASSERT_EQ(recorder->handedExceptions.size(), 1u);
    EXPECT_THAT(recorder->handedExceptions[0], HasSubstr("none.mdb"));
}

TEST_F(DatabaseTest, OpenCloseAlternate) {
    ComPtr<torvc_Database> db = openDatabase();
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(db->Close(), ORV_S_OK);
        EXPECT_FALSE(db->opened());
        EXPECT_FALSE(db->connection().isOpen());
        ASSERT_EQ(db->Open(), ORV_S_OK);
        EXPECT_TRUE(db->opened());
        EXPECT_TRUE(db->connection().isOpen());
    }
}

TEST_F(DatabaseTest, ChangePathThenOpenOpensTheNewFile) {
    std::string other = dir.file("other.mdb");
    engine::WorkingStore::createDatabase(other);
    {
        ComPtr<torvc_Database> second = openDatabase(other);
        makeItems(*second.get());
    }
    ComPtr<torvc_Database> db(new torvc_Database(u"N", u"", u"", host::toUtf16(path), nullptr));
    std::u16string otherPath = host::toUtf16(other);
    ASSERT_EQ(db->ChangePath(otherPath.c_str()), ORV_S_OK);
    EXPECT_EQ(db->path(), otherPath);
    EXPECT_EQ(db->connectionString(), jetConnectionString(otherPath));
    EXPECT_FALSE(db->connection().isOpen()) << "ChangePath does not open";
    ASSERT_EQ(db->Open(), ORV_S_OK);
    EXPECT_TRUE(tableExists(*db.get(), "Items"));
}

// Table and field names are found without regard to brackets or case;
// system tables are not listed; a closed database answers nothing.
TEST_F(DatabaseTest, SchemaQuestionsIgnoreBracketsAndCase) {
    ComPtr<torvc_Database> db = openDatabase();
    makeItems(*db.get());
    for (const char* name : {"ITEMS", "[items]", "Items"}) {
        EXPECT_TRUE(tableExists(*db.get(), name)) << name;
    }
    for (const char* name : {"[items", "Item", "MSysObjects"}) {
        EXPECT_FALSE(tableExists(*db.get(), name)) << name;
    }
    OrvWordBool exists = ORV_WFALSE;
    ASSERT_EQ(db->FieldExists(W("Items").get(), W("qty").get(), &exists), ORV_S_OK);
    EXPECT_EQ(exists, ORV_WTRUE);
    ASSERT_EQ(db->FieldExists(W("Items").get(), W("Cost").get(), &exists), ORV_S_OK);
    EXPECT_EQ(exists, ORV_WFALSE);
    EXPECT_TRUE(ORV_FAILED(db->FieldExists(W("Nothing").get(), W("Id").get(), &exists)));
    ASSERT_EQ(db->Close(), ORV_S_OK);
    EXPECT_TRUE(ORV_FAILED(db->TableExists(W("Items").get(), &exists)));
    EXPECT_TRUE(ORV_FAILED(db->Commit())) << "no transaction to commit";
}

TEST_F(DatabaseTest, RollbackUndoesRowsWrittenSinceSavePoint) {
    ComPtr<torvc_Database> db = openDatabase();
    makeItems(*db.get());
    ASSERT_EQ(db->SavePoint(), ORV_S_OK);
    addRows(*db.get(), "Items", {{{"Name", "a"}}});
    ASSERT_EQ(db->Rollback(), ORV_S_OK);
    EXPECT_EQ(rowCount(*db.get(), "Items"), 0);
    EXPECT_TRUE(ORV_FAILED(db->Rollback())) << "nothing left to roll back";
}

TEST_F(DatabaseTest, DdlTextsThroughTheInterface) {
    ComPtr<torvc_Database> db = openDatabase();
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_FieldTypeText(2, 50, out); }),
              "VARCHAR(50)");
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_SortOrderText(3, out); }), "");
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_SortOrderText(2, out); }), "DESC");
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_AlterColumnText(0, out); }),
              "ALTER COLUMN");
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_AlterColumnText(5, out); }), "");
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return db->Get_SQL(3, out); }), "");
    EXPECT_EQ(db->Get_FieldTypeText(2, 50, nullptr), ORV_E_POINTER);
}

// The connector's literals as the default renders them, with its two
// notifications recorded among the target's statements (kind -1).
class RecordingConnector : public host::DefaultDatabaseConnector {
public:
    explicit RecordingConnector(test_support::StandInState& recording) : recording_(recording) {}
    void tableCreated(IInterface*, std::string_view table) override {
        recording_.recorded.push_back({0, -1, "created " + std::string(table)});
    }
    void rowsCopied(IInterface*, std::string_view table) override {
        recording_.recorded.push_back({0, -1, "copied " + std::string(table)});
    }

private:
    test_support::StandInState& recording_;
};

struct DatabaseWholeTest : DataTest {
    void SetUp() override {
        DataTest::SetUp();
        db = openDatabase();
        host::HostServices services;
        services.connector = std::make_shared<RecordingConnector>(target->state);
        host::installHostServices(std::move(services));
    }
    void exportTo(iDatabase& into, const std::string& table) {
        ComPtr<ISystemObject> object(new TSystemObject(host::toUtf16(table)));
        ASSERT_EQ(db->ExportTable(object.get(), &into), ORV_S_OK) << host::lastErrorMessage();
        EXPECT_EQ(db->queryDepth(), 0);
        EXPECT_EQ(db->tableDepth(), 0);
    }
    // The statements sent to the target as "[kind] text", and the notifications.
    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        for (const test_support::RecordedStatement& statement : target->state.recorded) {
            lines.push_back(statement.kind < 0
                                ? statement.sql
                                : "[" + std::to_string(statement.kind) + "] " + statement.sql);
        }
        return lines;
    }
    ComPtr<torvc_Database> db;
    ComPtr<test_support::StandInDatabase> target{new test_support::StandInDatabase()};
};

// The export sends drop, create and one insert per row, each value as its
// kind writes it, and leaves the target's stack as found.
TEST_F(DatabaseWholeTest, ExportSendsDropCreateAndOneInsertPerRowByKind) {
    catalog(*db.get()).createTable("V",
                                   {testing::column("Txt", engine::JetType::Text, 20),
                                    testing::column("Yes", engine::JetType::Boolean),
                                    testing::column("No", engine::JetType::Boolean),
                                    testing::column("Day", engine::JetType::DateTime),
                                    testing::column("Pic", engine::JetType::OLE),
                                    testing::column("Num", engine::JetType::Double),
                                    testing::column("Memo", engine::JetType::Memo)},
                                   {});
    engine::TableDataset t(db->connection());
    t.setTableName("V");
    t.open();
    t.append();
    t.setText(0, "l'\u00e9t\u00e9");
    t.setBool(1, true);
    t.setBool(2, false);
    t.setDateTime(3, 45000.25);
    t.setBlob(4, {0x01, 0xAB});
    t.setDouble(5, 2.5);
    t.post();
    t.append();  // all Null but the booleans
    t.post();
    exportTo(*target.get(), "V");
    EXPECT_THAT(log(),
                ElementsAre("[1] DROP TABLE IF EXISTS `V`",
                            "[1] CREATE TABLE `V` (`Txt`  T2/21, `Yes`  T13/0, `No`  T13/0, "
                            "`Day`  T12/8, `Pic`  T9/0, `Num`  T1/8, `Memo`  T10/0);",
                            "created V",
                            "[0] INSERT INTO `V` VALUES ('l''\u00e9t\u00e9', '-1', '0', "
                            "#2023-03-15 06:00:00#, 0x01AB, '2.5', '0');",
                            "[0] INSERT INTO `V` VALUES ('0', '0', '0', NULL, NULL, '0', '0');",
                            "copied V"));
    EXPECT_EQ(target->state.depth, 0) << "the target's stack is left as found";
}

TEST_F(DatabaseWholeTest, ExportIntoARealDatabaseCopiesTheRows) {
    catalog(*db.get()).createTable("Copy",
                                   {testing::column("Id", engine::JetType::Long),
                                    testing::column("Name", engine::JetType::Text, 10)},
                                   {});
    addRows(*db.get(), "Copy", {{{"Id", "1"}, {"Name", "it's"}}, {{"Id", "2"}}});
    std::string otherPath = dir.file("target.mdb");
    engine::WorkingStore::createDatabase(otherPath);
    ComPtr<torvc_Database> other = openDatabase(otherPath);
    exportTo(*other.get(), "Copy");
    auto q = testing::pushQuery(*other.get());
    ASSERT_TRUE(testing::openSql(*q.get(), "SELECT Id, Name FROM Copy ORDER BY Id"));
    EXPECT_EQ(testing::getString(*q.get(), "Name"), "it's");
    ASSERT_EQ(q->Next(), ORV_S_OK);
    EXPECT_EQ(testing::getString(*q.get(), "Name"), "0") << "an empty text travels as '0'";
}

TEST_F(DatabaseWholeTest, ExportOfAMissingTableFails) {
    ComPtr<ISystemObject> object(new TSystemObject(u"Nowhere"));
    EXPECT_TRUE(ORV_FAILED(db->ExportTable(object.get(), target.get())));
    EXPECT_THAT(host::lastErrorMessage(), HasSubstr("Nowhere"));
    EXPECT_TRUE(log().empty());
}

// Empty deletes the rows of every table but those whose name needs
// brackets; EmptyTable those of the named table, failing quietly for a
// missing one. Both pop the query level they push.
TEST_F(DatabaseWholeTest, EmptyAndEmptyTableDeleteRows) {
    EXPECT_EQ(db->Empty(), ORV_S_OK) << "no user tables";
    for (const char* name : {"One", "Two", "Odd Name"}) {
        catalog(*db.get()).createTable(name, {testing::column("X", engine::JetType::Long)}, {});
    }
    addRows(*db.get(), "One", {{{"X", "1"}}, {{"X", "2"}}});
    addRows(*db.get(), "Two", {{{"X", "3"}}});
    addRows(*db.get(), "Odd Name", {{{"X", "4"}}});
    ASSERT_EQ(db->EmptyTable(W("One").get()), ORV_S_OK);
    EXPECT_EQ(rowCount(*db.get(), "One"), 0);
    EXPECT_EQ(rowCount(*db.get(), "Two"), 1);
    EXPECT_EQ(db->EmptyTable(W("Missing").get()), ORV_S_OK);
    ASSERT_EQ(db->Empty(), ORV_S_OK);
    EXPECT_EQ(rowCount(*db.get(), "Two"), 0);
    EXPECT_EQ(rowCount(*db.get(), "Odd Name"), 1);
    EXPECT_EQ(db->queryDepth(), 0);
}

class RecordingList : public host::TInterfacedObjectEx<IInterfaceList> {
public:
    OrvHResult Add(IInterface* item) override {
        ComPtr<ISystemObject> object = ComPtr<IInterface>(item).as<ISystemObject>();
        if (!object) {
            return ORV_E_NOINTERFACE;
        }
        OrvBstr name = nullptr;
        object->Get_Name(&name);
        names.push_back(testing::take(name));
        objects.push_back(item);
        return ORV_S_OK;
    }
    std::vector<std::string> names;
    std::vector<IInterface*> objects;
};

TEST_F(DatabaseWholeTest, TableListAddsOneNamedObjectPerUserTable) {
    for (const char* name : {"Alpha", "Beta"}) {
        catalog(*db.get()).createTable(name, {testing::column("X", engine::JetType::Long)}, {});
    }
    ComPtr<RecordingList> list(new RecordingList);
    ASSERT_EQ(db->Get_TableList(nullptr, list.get()), ORV_S_OK);
    std::vector<std::string> names = list->names;
    std::sort(names.begin(), names.end());
    EXPECT_THAT(names, ElementsAre("Alpha", "Beta"));
    ASSERT_EQ(list->objects.size(), 2u);
    EXPECT_EQ(list->objects[0], list->objects[1]) << "one object, renamed for each table";
    EXPECT_EQ(db->queryDepth(), 0);
}

// An open database answers from its catalog, a closed one reads the file;
// a missing table, field or file gives zeros.
TEST_F(DatabaseTest, FieldDefIsAnsweredFromTheCatalogOrTheFile) {
    ComPtr<torvc_Database> open = openDatabase();
    makeItems(*open.get());
    ComPtr<torvc_Database> closed(new torvc_Database(u"N", u"", u"", host::toUtf16(path), nullptr));
    ComPtr<torvc_Database> missing(
        new torvc_Database(u"N", u"", u"", host::toUtf16(dir.file("none.mdb")), nullptr));
    const struct {
        torvc_Database* db;
        const char* table;
        const char* field;
        int32_t type;
        int32_t size;
    } cases[] = {
        {open.get(), "Items", "Id", 4, 4},       {open.get(), "Items", "name", 10, 40},
        {open.get(), "Items", "Price", 5, 8},    {open.get(), "Items", "Photo", 11, 0},
        {open.get(), "Items", "Missing", 0, 0},  {open.get(), "NoTable", "Id", 0, 0},
        {closed.get(), "Items", "Name", 10, 40}, {missing.get(), "Items", "Name", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + "." + c.field);
        FieldDef def{-1, -1};
        EXPECT_EQ(c.db->Get_FieldDef(W(c.table).get(), W(c.field).get(), &def), ORV_S_OK);
        EXPECT_EQ(def.Type, c.type);
        EXPECT_EQ(def.Size, c.size);
    }
    EXPECT_FALSE(closed->connection().isOpen());
    EXPECT_EQ(missing->Get_FieldDef(W("Items").get(), W("Name").get(), nullptr), ORV_E_POINTER);
}

}  // namespace
}  // namespace orvdb::data
