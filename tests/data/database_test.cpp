// The connection object: opening and closing, paths, schema questions,
// transactions and the texts it gives for DDL.
#include <gmock/gmock.h>

#include "data/database_factory.hpp"
#include "data/jet_connection_string.hpp"
#include "data_test_support.hpp"
#include "engine/dataset/table_dataset.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using ::testing::HasSubstr;
using testing::W;

struct DatabaseTest : DataTest {
    void makeItems(torvc_Database& db) {
        catalog(db).createTable(
            "ITEMS",
            {testing::autoNumber("Id"), testing::column("Name", engine::JetType::Text, 40),
             testing::column("Qty", engine::JetType::Integer)},
            {testing::primaryKey("Id")});
    }
    bool tableExists(iDatabase& db, const std::string& name) {
        OrvWordBool exists = 7;
        EXPECT_EQ(db.TableExists(W(name).get(), &exists), ORV_S_OK);
        EXPECT_TRUE(exists == ORV_WTRUE || exists == ORV_WFALSE);
        return exists != 0;
    }
};

TEST_F(DatabaseTest, FactoryOpensOnRequestAndNamesAfterTheAlias) {
    ComPtr<iDatabase> db = createDatabase(u"XMANDATA", nullptr, true, u"", host::toUtf16(path));
    OrvWordBool opened = ORV_WFALSE;
    ASSERT_EQ(db->Get_Opened(&opened), ORV_S_OK);
    EXPECT_EQ(opened, ORV_WTRUE);
    OrvBstr name = nullptr;
    ASSERT_EQ(db->Get_dbname(&name), ORV_S_OK);
    EXPECT_EQ(testing::take(name), "XMANDATA");

    ComPtr<iDatabase> closed =
        createDatabase(u"N", u"F", u"A", false, u"", host::toUtf16(path), nullptr);
    ASSERT_EQ(closed->Get_Opened(&opened), ORV_S_OK);
    EXPECT_EQ(opened, ORV_WFALSE);
}

TEST_F(DatabaseTest, FailedOpenGoesToTheHostAndSucceedsClosed) {
    ComPtr<iDatabase> db = createDatabase(u"N", u"", u"", true, u"",
                                          host::toUtf16(dir.file("missing/none.mdb")), nullptr);
    ASSERT_TRUE(db);
    OrvWordBool opened = ORV_WTRUE;
    ASSERT_EQ(db->Get_Opened(&opened), ORV_S_OK);
    EXPECT_EQ(opened, ORV_WFALSE);
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

TEST_F(DatabaseTest, OpenResolvesSuitePathsWithBackslashesAndOtherCase) {
    std::string suitePath = dir.path().string() + "\\DATA.MDB";
    ComPtr<iDatabase> db =
        createDatabase(u"N", u"", u"", true, u"", host::toUtf16(suitePath), nullptr);
    OrvWordBool opened = ORV_WFALSE;
    ASSERT_EQ(db->Get_Opened(&opened), ORV_S_OK);
    EXPECT_EQ(opened, ORV_WTRUE) << (recorder->handedExceptions.empty()
                                         ? std::string()
                                         : recorder->handedExceptions[0]);
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

TEST_F(DatabaseTest, TableExistsIgnoresBracketsAndCase) {
    ComPtr<torvc_Database> db = openDatabase();
    makeItems(*db.get());
    EXPECT_TRUE(tableExists(*db.get(), "ITEMS"));
    EXPECT_TRUE(tableExists(*db.get(), "[items]"));
    EXPECT_TRUE(tableExists(*db.get(), "Items"));
    EXPECT_FALSE(tableExists(*db.get(), "[items"));
    EXPECT_FALSE(tableExists(*db.get(), "Item"));
    EXPECT_FALSE(tableExists(*db.get(), "MSysObjects")) << "system tables are not listed";
}

TEST_F(DatabaseTest, FieldExistsIgnoresCaseAndFailsForAMissingTable) {
    ComPtr<torvc_Database> db = openDatabase();
    makeItems(*db.get());
    OrvWordBool exists = ORV_WFALSE;
    ASSERT_EQ(db->FieldExists(W("Items").get(), W("qty").get(), &exists), ORV_S_OK);
    EXPECT_EQ(exists, ORV_WTRUE);
    ASSERT_EQ(db->FieldExists(W("Items").get(), W("Price").get(), &exists), ORV_S_OK);
    EXPECT_EQ(exists, ORV_WFALSE);
    EXPECT_TRUE(ORV_FAILED(db->FieldExists(W("Nothing").get(), W("Id").get(), &exists)));
}

TEST_F(DatabaseTest, SchemaQuestionsOnAClosedDatabaseFail) {
    ComPtr<torvc_Database> db(new torvc_Database(u"N", u"", u"", host::toUtf16(path), nullptr));
    OrvWordBool exists = ORV_WFALSE;
    EXPECT_TRUE(ORV_FAILED(db->TableExists(W("Items").get(), &exists)));
    EXPECT_TRUE(ORV_FAILED(db->Commit())) << "no transaction to commit";
}

TEST_F(DatabaseTest, RollbackUndoesRowsWrittenSinceSavePoint) {
    ComPtr<torvc_Database> db = openDatabase();
    makeItems(*db.get());
    ASSERT_EQ(db->SavePoint(), ORV_S_OK);
    addRows(*db.get(), "Items", {{{"Name", "a"}}});
    ASSERT_EQ(db->Rollback(), ORV_S_OK);
    engine::TableDataset t(db->connection());
    t.setTableName("Items");
    t.open();
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_TRUE(ORV_FAILED(db->Rollback())) << "nothing left to roll back";
}

TEST_F(DatabaseTest, DdlTextsThroughTheInterface) {
    ComPtr<torvc_Database> db = openDatabase();
    auto text = [](auto call) {
        OrvBstr out = nullptr;
        EXPECT_EQ(call(&out), ORV_S_OK);
        return testing::take(out);
    };
    EXPECT_EQ(text([&](OrvBstr* o) { return db->Get_FieldTypeText(2, 50, o); }), "VARCHAR(50)");
    EXPECT_EQ(text([&](OrvBstr* o) { return db->Get_FieldTypeText(6, 1234, o); }), "BYTE");
    EXPECT_EQ(text([&](OrvBstr* o) { return db->Get_FieldTypeText(12, 8, o); }), "");
    EXPECT_EQ(text([&](OrvBstr* o) { return db->Get_SortOrderText(3, o); }), "");
    EXPECT_EQ(text([&](OrvBstr* o) { return db->Get_SortOrderText(2, o); }), "DESC");
    EXPECT_EQ(text([&](OrvBstr* o) { return db->Get_AlterColumnText(0, o); }), "ALTER COLUMN");
    EXPECT_EQ(text([&](OrvBstr* o) { return db->Get_AlterColumnText(5, o); }), "");
    EXPECT_EQ(text([&](OrvBstr* o) { return db->Get_SQL(3, o); }), "");
    EXPECT_EQ(db->Get_FieldTypeText(2, 50, nullptr), ORV_E_POINTER);
}

}  // namespace
}  // namespace orvdb::data
