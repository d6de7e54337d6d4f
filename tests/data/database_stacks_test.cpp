// The cursor stacks: depth and list always agree, the active cursor is the
// top one, a pop destroys and a push creates afresh.
#include "data_test_support.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using testing::W;

struct DatabaseStacksTest : DataTest {
    void SetUp() override {
        DataTest::SetUp();
        db = openDatabase();
        catalog(*db.get()).createTable("Items",
                                       {testing::column("Id", engine::JetType::Long),
                                        testing::column("Name", engine::JetType::Text, 20)},
                                       {testing::primaryKey("Id")});
    }
    ComPtr<iQueryDatabase> activeQuery() {
        ComPtr<iQueryDatabase> q;
        EXPECT_EQ(db->Get_ActiveQuery(q.put()), ORV_S_OK);
        return q;
    }
    void expectConsistent() {
        EXPECT_EQ(db->activeQueryIndex(), db->queryDepth() - 1);
        EXPECT_EQ(db->activeTableIndex(), db->tableDepth() - 1);
    }
    ComPtr<torvc_Database> db;
};

TEST_F(DatabaseStacksTest, PushesAndPopsKeepDepthAndActiveCursorInStep) {
    EXPECT_EQ(db->queryDepth(), 0);
    EXPECT_EQ(db->tableDepth(), 0);
    EXPECT_EQ(db->procedureDepth(), 0);
    expectConsistent();
    iQueryDatabase* q = reinterpret_cast<iQueryDatabase*>(1);
    EXPECT_TRUE(ORV_FAILED(db->Get_ActiveQuery(&q)));
    EXPECT_EQ(q, nullptr);
    iTableDatabase* t = reinterpret_cast<iTableDatabase*>(1);
    EXPECT_TRUE(ORV_FAILED(db->Get_ActiveTable(&t)));
    EXPECT_EQ(t, nullptr);

    // Popping an empty stack: nothing for queries, a failure for tables.
    EXPECT_EQ(db->PopQuery(), ORV_S_OK);
    EXPECT_EQ(db->queryDepth(), 0);
    EXPECT_TRUE(ORV_FAILED(db->PopTable()));
    EXPECT_EQ(db->tableDepth(), 0) << "the failed pop changes nothing";
    expectConsistent();

    ComPtr<iQueryDatabase> first = testing::pushQuery(*db.get());
    ComPtr<iQueryDatabase> second = testing::pushQuery(*db.get());
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(db->queryDepth(), 2);
    expectConsistent();
    EXPECT_EQ(db->PopQuery(), ORV_S_OK);
    EXPECT_EQ(db->queryDepth(), 1);
    expectConsistent();
    EXPECT_EQ(activeQuery().get(), first.get());
    testing::pushTable(*db.get());
    EXPECT_EQ(db->tableDepth(), 1);
    EXPECT_EQ(db->PopTable(), ORV_S_OK);
    EXPECT_EQ(db->tableDepth(), 0);
}

TEST_F(DatabaseStacksTest, PopAndPushGiveFreshCursors) {
    ComPtr<iQueryDatabase> q = testing::pushQuery(*db.get());
    ASSERT_EQ(q->Set_TypeRequete(1), ORV_S_OK);
    q.reset();
    ASSERT_EQ(db->PopQuery(), ORV_S_OK);
    q = testing::pushQuery(*db.get());
    int32_t kind = -1;
    ASSERT_EQ(q->Get_TypeRequete(&kind), ORV_S_OK);
    EXPECT_EQ(kind, 0);

    ComPtr<iTableDatabase> t = testing::pushTable(*db.get());
    ASSERT_EQ(t->Set_Tablename(W("Items").get()), ORV_S_OK);
    EXPECT_TRUE(testing::isOpened(*t.get()));
    ASSERT_EQ(db->PopTable(), ORV_S_OK);
    // The popped cursor the test still holds was closed on the way out.
    EXPECT_FALSE(testing::isOpened(*t.get()));
    t = testing::pushTable(*db.get());
    OrvBstr name = nullptr;
    ASSERT_EQ(t->Get_Tablename(&name), ORV_S_OK);
    EXPECT_EQ(testing::take(name), "");
    EXPECT_FALSE(testing::isOpened(*t.get()));
}

// Set_Opened(false) closes the cursors and keeps the stacks; Close empties
// them but keeps the procedure count.
TEST_F(DatabaseStacksTest, SetOpenedAndCloseTreatTheStacksDifferently) {
    testing::pushQuery(*db.get());
    testing::pushQuery(*db.get());
    ComPtr<iTableDatabase> t = testing::pushTable(*db.get());
    ASSERT_EQ(t->Set_Tablename(W("Items").get()), ORV_S_OK);
    db->pushProcedure();
    ASSERT_EQ(db->Set_Opened(ORV_WFALSE), ORV_S_OK);
    EXPECT_FALSE(testing::isOpened(*t.get()));
    EXPECT_EQ(db->tableDepth(), 1);
    EXPECT_EQ(db->queryDepth(), 2);
    OrvWordBool opened = 1;
    EXPECT_EQ(db->Get_Opened(&opened), ORV_S_OK);
    EXPECT_EQ(opened, ORV_WFALSE);
    expectConsistent();

    ASSERT_EQ(db->Set_Opened(ORV_WTRUE), ORV_S_OK);
    ASSERT_TRUE(db->connection().isOpen());
    ASSERT_EQ(db->Close(), ORV_S_OK);
    EXPECT_EQ(db->queryDepth(), 0);
    EXPECT_EQ(db->tableDepth(), 0);
    EXPECT_EQ(db->procedureDepth(), 1);
    expectConsistent();
    EXPECT_FALSE(db->connection().isOpen());
}

TEST_F(DatabaseStacksTest, CursorHeldAfterTheDatabaseIsGoneFailsCleanly) {
    ComPtr<iQueryDatabase> q = testing::pushQuery(*db.get());
    db.reset();
    OrvWordBool found = ORV_WTRUE;
    EXPECT_EQ(q->OpenSQL(W("SELECT * FROM Items").get(), &found), ORV_S_OK);
    EXPECT_EQ(found, ORV_WFALSE);
    EXPECT_FALSE(recorder->debugLines.empty()) << "the closed connection is noted";
}

}  // namespace
}  // namespace orvdb::data
