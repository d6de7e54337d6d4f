#include "engine/dataset/table_dataset.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine_test_support.hpp"

namespace orvdb::engine {
namespace {

using testing::column;

struct TableDatasetTest : testing::StoreFixture {
    void SetUp() override {
        StoreFixture::SetUp();
        catalog().createTable("Items",
                              {testing::autoNumber("Id"), column("Name", JetType::Text, 10),
                               column("Qty", JetType::Integer), column("Done", JetType::Boolean),
                               column("When", JetType::DateTime)},
                              {testing::primaryKey("Id"), IndexDef{"ByName", {{"Name", false}}}});
    }
};

TEST_F(TableDatasetTest, AppendPostReadsBackTheAutoNumber) {
    TableDataset t(conn);
    t.setTableName("items");
    t.open();
    EXPECT_EQ(t.recordCount(), 0);
    for (const char* name : {"b", "a"}) {
        t.append();
        t.setText(t.fieldIndex("Name"), name);
        t.setText(t.fieldIndex("qty"), "12");
        t.post();
    }
    ASSERT_TRUE(t.last());
    EXPECT_EQ(t.getInt32(t.fieldIndex("Id")), 2);
    EXPECT_EQ(t.getText(t.fieldIndex("Name")), "a");
    // Text given to a number column is converted by the engine.
    EXPECT_EQ(std::get<int64_t>(t.value(t.fieldIndex("Qty"))), 12);
    // Booleans are never Null in Jet: an untouched one reads as false.
    EXPECT_FALSE(t.getBool(t.fieldIndex("Done")));
    EXPECT_EQ(conn.session().lastIdentity, 2);
}

TEST_F(TableDatasetTest, EditLocateAndIndexOrder) {
    change("INSERT INTO Items (Id, Name) VALUES (1, 'zeta'), (2, 'Alpha'), (3, 'beta')");
    TableDataset t(conn);
    t.setTableName("Items");
    t.open();
    t.selectIndex("ByName");
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.getText(1), "Alpha") << "index order compares without case";
    // Away from the first row, then back to it.
    ASSERT_TRUE(t.locate("Name", std::string("zeta")));
    ASSERT_TRUE(t.locate("Id", int64_t{2}));
    EXPECT_EQ(t.getText(1), "Alpha") << "the first row is found too";
    ASSERT_TRUE(t.locate("Id", int64_t{3}));
    EXPECT_EQ(t.getText(1), "beta");
    t.edit();
    t.setText(1, "gamma");
    EXPECT_EQ(t.getText(1), "gamma") << "an edited row reads its new values before the post";
    t.post();
    Stmt s(db(), "SELECT Name FROM Items WHERE Id = 3");
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.getText(0), "gamma");
    EXPECT_FALSE(t.locate("Id", int64_t{99}));
}

TEST_F(TableDatasetTest, RefusedWritesKeepTheRowAndNameTheProblem) {
    TableDataset t(conn);
    t.setTableName("Items");
    t.open();
    EXPECT_THROW(t.setText(1, "x"), EngineError) << "writing needs the edit or insert state";
    t.append();
    t.setText(1, "far too long a name");
    const std::string refused = testing::errorOf([&] { t.post(); });
    EXPECT_NE(refused.find("too small"), std::string::npos) << refused;
    EXPECT_EQ(t.state(), TableDataset::State::Insert);
    EXPECT_THROW(t.setText(t.fieldIndex("Nope"), "x"), EngineError);
    t.setTableName("Missing");
    EXPECT_THROW(t.open(), EngineError);
}

}  // namespace
}  // namespace orvdb::engine
