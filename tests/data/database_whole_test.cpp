// Whole-database operations: emptying, listing tables, exporting a table to
// another database, and stored column definitions.
#include <gmock/gmock.h>

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

int64_t rowCount(torvc_Database& db, const std::string& table) {
    engine::TableDataset t(db.connection());
    t.setTableName(table);
    t.open();
    return t.recordCount();
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

TEST_F(DatabaseWholeTest, EmptyDeletesEveryRowExceptWhereTheNameNeedsBrackets) {
    for (const char* name : {"One", "Two", "Odd Name"}) {
        catalog(*db.get()).createTable(name, {testing::column("X", engine::JetType::Long)}, {});
    }
    addRows(*db.get(), "One", {{{"X", "1"}}, {{"X", "2"}}});
    addRows(*db.get(), "Two", {{{"X", "3"}}});
    addRows(*db.get(), "Odd Name", {{{"X", "4"}}});
    ASSERT_EQ(db->Empty(), ORV_S_OK);
    EXPECT_EQ(rowCount(*db.get(), "One"), 0);
    EXPECT_EQ(rowCount(*db.get(), "Two"), 0);
    EXPECT_EQ(rowCount(*db.get(), "Odd Name"), 1);
    EXPECT_EQ(db->queryDepth(), 0);
}

TEST_F(DatabaseWholeTest, EmptyWithoutUserTablesSucceeds) {
    EXPECT_EQ(db->Empty(), ORV_S_OK);
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

TEST_F(DatabaseWholeTest, EmptyTableDeletesTheNamedTableAndPopsItsLevel) {
    for (const char* name : {"Keep", "Clear"}) {
        catalog(*db.get()).createTable(name, {testing::column("X", engine::JetType::Long)}, {});
    }
    addRows(*db.get(), "Keep", {{{"X", "1"}}});
    addRows(*db.get(), "Clear", {{{"X", "1"}}, {{"X", "2"}}});
    ASSERT_EQ(db->EmptyTable(W("Clear").get()), ORV_S_OK);
    EXPECT_EQ(rowCount(*db.get(), "Clear"), 0);
    EXPECT_EQ(rowCount(*db.get(), "Keep"), 1);
    EXPECT_EQ(db->queryDepth(), 0);
    EXPECT_EQ(db->EmptyTable(W("Missing").get()), ORV_S_OK) << "fails quietly like any delete";
}

struct FieldDefTest : DataTest {
    void SetUp() override {
        DataTest::SetUp();
        ComPtr<torvc_Database> maker = openDatabase();
        catalog(*maker.get())
            .createTable(
                "Parts",
                {testing::autoNumber("Id"), testing::column("Label", engine::JetType::Text, 40),
                 testing::column("Price", engine::JetType::Currency),
                 testing::column("Photo", engine::JetType::OLE)},
                {testing::primaryKey("Id")});
    }
    FieldDef read(iDatabase& db, const char* table, const char* field) {
        FieldDef def{-1, -1};
        EXPECT_EQ(db.Get_FieldDef(W(table).get(), W(field).get(), &def), ORV_S_OK);
        return def;
    }
};

TEST_F(FieldDefTest, OpenDatabaseAnswersFromItsCatalog) {
    ComPtr<torvc_Database> db = openDatabase();
    const struct {
        const char* field;
        int32_t type;
        int32_t size;
    } cases[] = {
        {"Id", 4, 4}, {"label", 10, 40}, {"Price", 5, 8}, {"Photo", 11, 0}, {"Missing", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        FieldDef def = read(*db.get(), "Parts", c.field);
        EXPECT_EQ(def.Type, c.type);
        EXPECT_EQ(def.Size, c.size);
    }
    FieldDef none = read(*db.get(), "NoTable", "Id");
    EXPECT_EQ(none.Type, 0);
    EXPECT_EQ(none.Size, 0);
}

TEST_F(FieldDefTest, ClosedDatabaseStillReadsTheFile) {
    ComPtr<torvc_Database> db(new torvc_Database(u"N", u"", u"", host::toUtf16(path), nullptr));
    FieldDef def = read(*db.get(), "Parts", "Label");
    EXPECT_EQ(def.Type, 10);
    EXPECT_EQ(def.Size, 40);
    EXPECT_FALSE(db->connection().isOpen());
}

TEST_F(FieldDefTest, MissingFileGivesZeros) {
    std::u16string missing = host::toUtf16(dir.file("none.mdb"));
    ComPtr<torvc_Database> db(new torvc_Database(u"N", u"", u"", missing, nullptr));
    FieldDef def = read(*db.get(), "Parts", "Label");
    EXPECT_EQ(def.Type, 0);
    EXPECT_EQ(def.Size, 0);
    EXPECT_EQ(db->Get_FieldDef(W("Parts").get(), W("Label").get(), nullptr), ORV_E_POINTER);
}

}  // namespace
}  // namespace orvdb::data
