// Cursors that are closed, or were never opened, refuse to move or to read
// and write fields, as ADO's closed recordsets do; asking whether they are
// open and how many rows they hold still answers.
#include <gmock/gmock.h>

#include <functional>

#include "data/query_cursor.hpp"
#include "data/table_cursor.hpp"
#include "data_test_support.hpp"
#include "engine/messages.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using ::testing::HasSubstr;
using testing::W;

struct ClosedCursorTest : DataTest {
    void SetUp() override {
        DataTest::SetUp();
        db = openDatabase();
        catalog(*db.get()).createTable("Items",
                                       {testing::column("Id", engine::JetType::Long),
                                        testing::column("Name", engine::JetType::Text, 20)},
                                       {testing::primaryKey("Id")});
        addRows(*db.get(), "Items", {{{"Id", "1"}, {"Name", "one"}}});
    }
    ComPtr<torvc_Database> db;
};

enum class State { neverOpened, closedAfterTheLastRow };

class TextList : public host::TInterfacedObjectEx<IWideStringList> {
public:
    OrvHResult Add(OrvBstr text) override {
        texts.push_back(host::toUtf8(host::bstrView(text)));
        return ORV_S_OK;
    }
    std::vector<std::string> texts;
};

struct QueryCase {
    const char* operation;
    std::function<OrvHResult(iQueryDatabase&)> call;
};

const QueryCase kQueryCases[] = {
    {"Next", [](iQueryDatabase& q) { return q.Next(); }},
    {"Getstring",
     [](iQueryDatabase& q) {
         OrvBstr text = nullptr;
         OrvHResult status = q.Getstring(W("Name").get(), &text);
         OrvBstrFree(text);
         return status;
     }},
    {"GetInteger",
     [](iQueryDatabase& q) {
         int32_t value = 0;
         return q.GetInteger(W("Id").get(), &value);
     }},
    {"Getstring of an unknown field",
     [](iQueryDatabase& q) {
         OrvBstr text = nullptr;
         OrvHResult status = q.Getstring(W("Nowhere").get(), &text);
         OrvBstrFree(text);
         return status;
     }},
    {"FillstringList",
     [](iQueryDatabase& q) {
         ComPtr<TextList> list(new TextList);
         OrvHResult status = q.FillstringList(list.get(), W("Name").get());
         EXPECT_TRUE(list->texts.empty());
         return status;
     }},
};

TEST_F(ClosedCursorTest, AClosedQueryRefusesToMoveOrRead) {
    for (State state : {State::neverOpened, State::closedAfterTheLastRow}) {
        for (const QueryCase& c : kQueryCases) {
            ComPtr<iQueryDatabase> query = testing::pushQuery(*db.get());
            if (state == State::closedAfterTheLastRow) {
                ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Id, Name FROM Items"));
                ASSERT_EQ(query->Next(), ORV_S_OK);
            }
            ASSERT_FALSE(testing::isOpened(*query.get()));
            const OrvHResult status = c.call(*query.get());
            const std::string where =
                std::string(c.operation) + (state == State::neverOpened ? " (never opened)" : "");
            EXPECT_TRUE(ORV_FAILED(status)) << where;
            EXPECT_THAT(host::lastErrorMessage(), HasSubstr(engine::msg::kObjectClosed)) << where;
            int32_t count = -1;
            EXPECT_EQ(query->Get_RecordCount(&count), ORV_S_OK) << where;
            EXPECT_EQ(count, 0) << where;
            db->PopQuery();
        }
    }
}

struct TableCase {
    const char* operation;
    std::function<OrvHResult(iTableDatabase&)> call;
};

const TableCase kTableCases[] = {
    {"Last", [](iTableDatabase& t) { return t.Last(); }},
    {"Edit", [](iTableDatabase& t) { return t.Edit(); }},
    {"Append", [](iTableDatabase& t) { return t.Append(); }},
    {"Set_IdRow", [](iTableDatabase& t) { return t.Set_IdRow(W("1").get()); }},
    {"Setstring", [](iTableDatabase& t) { return t.Setstring(W("Name").get(), W("x").get()); }},
    {"GetInteger",
     [](iTableDatabase& t) {
         int32_t value = 0;
         return t.GetInteger(W("Id").get(), &value);
     }},
};

TEST_F(ClosedCursorTest, ATableNeverOpenedOrClosedRefusesToMoveOrEdit) {
    for (bool closedByTheHost : {false, true}) {
        for (const TableCase& c : kTableCases) {
            ComPtr<iTableDatabase> table = testing::pushTable(*db.get());
            if (closedByTheHost) {
                ASSERT_EQ(table->Set_Tablename(W("Items").get()), ORV_S_OK);
                ASSERT_EQ(table->Set_Opened(ORV_WFALSE), ORV_S_OK);
            }
            const std::string where =
                std::string(c.operation) + (closedByTheHost ? " (closed)" : " (never opened)");
            EXPECT_TRUE(ORV_FAILED(c.call(*table.get()))) << where;
            EXPECT_THAT(host::lastErrorMessage(), HasSubstr(engine::msg::kObjectClosed)) << where;
            db->PopTable();
        }
    }
}

}  // namespace
}  // namespace orvdb::data
