// The table cursor: opening a table, positioning by key, appending, posting
// and the key it reports afterwards.
#include <gmock/gmock.h>

#include "data/table_cursor.hpp"
#include "data_test_support.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using ::testing::HasSubstr;
using testing::W;

struct TableCursorTest : DataTest {
    void SetUp() override {
        DataTest::SetUp();
        db = openDatabase();
        engine::ColumnDef name = testing::column("Name", engine::JetType::Text, 20);
        name.required = true;
        engine::IndexDef byName;
        byName.name = "ByName";
        byName.columns = {{"Name", false}};
        catalog(*db.get()).createTable(
            "Items",
            {testing::autoNumber("Id"), name, testing::column("Qty", engine::JetType::Long)},
            {testing::primaryKey("Id"), byName});
        catalog(*db.get()).createTable("Notes",
                                       {testing::column("Text", engine::JetType::Text, 20)}, {});
        table = testing::pushTable(*db.get());
    }
    void open(const char* name) { ASSERT_EQ(table->Set_Tablename(W(name).get()), ORV_S_OK); }
    std::string idRow() {
        OrvBstr id = nullptr;
        EXPECT_EQ(table->Get_IdRow(&id), ORV_S_OK);
        return testing::take(id);
    }
    void set(const char* field, const char* text) {
        ASSERT_EQ(table->Setstring(W(field).get(), W(text).get()), ORV_S_OK) << field;
    }
    std::string lastError() { return dynamic_cast<torvc_Table&>(*table.get()).lastError(); }
    std::vector<std::string> namesById() {
        auto q = testing::pushQuery(*db.get());
        std::vector<std::string> names;
        testing::openSql(*q.get(), "SELECT Name FROM Items ORDER BY Id");
        while (testing::isOpened(*q.get())) {
            names.push_back(testing::getString(*q.get(), "Name"));
            q->Next();
        }
        db->PopQuery();
        return names;
    }
    ComPtr<torvc_Database> db;
    ComPtr<iTableDatabase> table;
};

TEST_F(TableCursorTest, SetTablenameOpensAndNamesTheTable) {
    EXPECT_FALSE(testing::isOpened(*table.get()));
    open("Items");
    EXPECT_TRUE(testing::isOpened(*table.get()));
    OrvBstr name = nullptr;
    ASSERT_EQ(table->Get_Tablename(&name), ORV_S_OK);
    EXPECT_EQ(testing::take(name), "Items");
    EXPECT_TRUE(ORV_FAILED(table->Set_Tablename(W("NoSuchTable").get())));
}

TEST_F(TableCursorTest, NewRowsReportTheirAutonumberKey) {
    open("Items");
    for (const char* name : {"first", "second"}) {
        ASSERT_EQ(table->Set_IdRow(W("0").get()), ORV_S_OK);
        set("Name", name);
        ASSERT_EQ(table->Post(), ORV_S_OK);
    }
    EXPECT_EQ(idRow(), "2");
    EXPECT_EQ(namesById(), (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(recorder->messageBoxes.empty());
}

TEST_F(TableCursorTest, TableWithoutIdReportsZero) {
    open("Notes");
    ASSERT_EQ(table->Set_IdRow(W("").get()), ORV_S_OK);
    set("Text", "hello");
    ASSERT_EQ(table->Post(), ORV_S_OK);
    EXPECT_EQ(idRow(), "0");
}

TEST_F(TableCursorTest, SetIdRowEditsTheRowWithThatKey) {
    addRows(*db.get(), "Items", {{{"Name", "a"}}, {{"Name", "b"}}, {{"Name", "c"}}});
    open("Items");
    ASSERT_EQ(table->Set_IdRow(W("2").get()), ORV_S_OK);
    set("Name", "B");
    ASSERT_EQ(table->Post(), ORV_S_OK);
    EXPECT_EQ(namesById(), (std::vector<std::string>{"a", "B", "c"}));
    // The key reported is the last row's, not the edited one's.
    EXPECT_EQ(idRow(), "3");
}

TEST_F(TableCursorTest, UnknownKeyEditsTheCurrentRow) {
    addRows(*db.get(), "Items", {{{"Name", "a"}}, {{"Name", "b"}}});
    open("Items");
    ASSERT_EQ(table->Set_IdRow(W("77").get()), ORV_S_OK);
    set("Name", "changed");
    ASSERT_EQ(table->Post(), ORV_S_OK);
    EXPECT_EQ(namesById(), (std::vector<std::string>{"changed", "b"}));
}

TEST_F(TableCursorTest, RefusedPostShowsTheEngineMessageAndKeepsTheKey) {
    open("Items");
    ASSERT_EQ(table->Set_IdRow(W("0").get()), ORV_S_OK);
    set("Name", "ok");
    ASSERT_EQ(table->Post(), ORV_S_OK);
    ASSERT_EQ(idRow(), "1");
    ASSERT_EQ(table->Set_IdRow(W("0").get()), ORV_S_OK);
    ASSERT_EQ(table->SetInteger(W("Qty").get(), 5), ORV_S_OK);  // Name stays empty
    EXPECT_EQ(table->Post(), ORV_S_OK);
    ASSERT_EQ(recorder->messageBoxes.size(), 1u);
    EXPECT_THAT(recorder->messageBoxes[0], HasSubstr("Name"));
    EXPECT_EQ(lastError(), recorder->messageBoxes[0]) << "the cursor keeps what it showed";
    EXPECT_EQ(idRow(), "1");
    set("Name", "fixed");
    ASSERT_EQ(table->Post(), ORV_S_OK);
    EXPECT_EQ(lastError(), "") << "a post that succeeds clears it";
    EXPECT_EQ(namesById(), (std::vector<std::string>{"ok", "fixed"}));
}

TEST_F(TableCursorTest, SetIntegerZeroStoresNull) {
    addRows(*db.get(), "Items", {{{"Name", "a"}, {"Qty", "4"}}});
    open("Items");
    ASSERT_EQ(table->Set_IdRow(W("1").get()), ORV_S_OK);
    ASSERT_EQ(table->SetInteger(W("Qty").get(), 0), ORV_S_OK);
    ASSERT_EQ(table->Post(), ORV_S_OK);
    auto q = testing::pushQuery(*db.get());
    ASSERT_TRUE(testing::openSql(*q.get(), "SELECT Qty FROM Items WHERE Qty IS NULL"));
    EXPECT_EQ(testing::getInteger(*q.get(), "Qty"), 0);
}

TEST_F(TableCursorTest, GotoKeyEditsTheFirstRowInIndexOrderWithoutPosting) {
    addRows(*db.get(), "Items", {{{"Name", "m"}}, {{"Name", "b"}}, {{"Name", "x"}}});
    open("Items");
    ASSERT_EQ(table->GotoKey(W("Qty").get(), W("ByName").get(), W("9").get()), ORV_S_OK);
    EXPECT_EQ(testing::getString(*table.get(), "Name"), "b");
    ASSERT_EQ(table->Post(), ORV_S_OK);
    auto q = testing::pushQuery(*db.get());
    ASSERT_TRUE(testing::openSql(*q.get(), "SELECT Name FROM Items WHERE Qty = 9"));
    EXPECT_EQ(testing::getString(*q.get(), "Name"), "b");
    EXPECT_TRUE(ORV_FAILED(table->GotoKey(W("Nope").get(), W("ByName").get(), W("1").get())));
    EXPECT_TRUE(ORV_FAILED(table->GotoKey(W("Qty").get(), W("NoIndex").get(), W("1").get())));
}

}  // namespace
}  // namespace orvdb::data
