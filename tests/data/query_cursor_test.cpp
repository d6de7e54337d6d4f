// The query cursor: select and action statements, their quiet failures,
// walking the rows, and the report designer's select trace.
#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

#include "../support/temp_dir.hpp"
#include "data/query_cursor.hpp"
#include "data_test_support.hpp"
#include "engine/messages.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::W;

struct QueryCursorTest : DataTest {
    void SetUp() override {
        DataTest::SetUp();
        db = openDatabase();
        catalog(*db.get()).createTable("Items",
                                       {testing::column("Id", engine::JetType::Long),
                                        testing::column("Name", engine::JetType::Text, 20)},
                                       {testing::primaryKey("Id")});
        catalog(*db.get()).createTable("Empty", {testing::column("Id", engine::JetType::Long)}, {});
        addRows(*db.get(), "Items",
                {{{"Id", "1"}, {"Name", "one"}},
                 {{"Id", "2"}, {"Name", "two"}},
                 {{"Id", "3"}, {"Name", "three"}}});
        query = testing::pushQuery(*db.get());
    }
    int32_t recordCount() {
        int32_t count = -1;
        EXPECT_EQ(query->Get_RecordCount(&count), ORV_S_OK);
        return count;
    }
    ComPtr<torvc_Database> db;
    ComPtr<iQueryDatabase> query;
};

TEST_F(QueryCursorTest, SelectOpensOnTheFirstRow) {
    EXPECT_TRUE(testing::openSql(*query.get(), "SELECT Id, Name FROM Items ORDER BY Id"));
    EXPECT_TRUE(testing::isOpened(*query.get()));
    EXPECT_EQ(recordCount(), 3);
    EXPECT_EQ(testing::getString(*query.get(), "Name"), "one");
    EXPECT_EQ(testing::getString(*query.get(), "NoSuchField"), "") << "missing field reads empty";
    EXPECT_TRUE(recorder->debugLines.empty());
}

TEST_F(QueryCursorTest, FailingActionStatementReachesTheOptInTrace) {
    host::setDebugTrace(true);
    ASSERT_EQ(query->Set_TypeRequete(1), ORV_S_OK);
    EXPECT_FALSE(testing::openSql(*query.get(), "DROP TABLE NoSuchTable"));
    ASSERT_EQ(recorder->debugLines.size(), 1u);
    EXPECT_THAT(recorder->debugLines[0], HasSubstr("DROP TABLE NoSuchTable"));
}

// lastError() holds the message of the statement that just failed quietly
// and is cleared by the next one that runs, whether it finds rows or not. A
// statement that finds nothing, and any action statement, leaves the cursor
// closed; an action statement reports whether it changed rows. Only the
// failing select reaches the debug channel, and the host hears of none.
TEST_F(QueryCursorTest, LastErrorKeepsTheQuietFailureUntilTheNextStatement) {
    struct Step {
        int32_t kind;  // 0 select, 1 action statement
        const char* sql;
        bool found;
        std::string lastError;
    };
    const Step kSteps[] = {
        {0, "SELECT Nope FROM Missing", false, engine::msg::tableNotFound("Missing")},
        {0, "SELECT * FROM Items WHERE Id = 99", false, ""},
        {1, "DROP TABLE NoSuchTable", false, engine::msg::tableNotFound("NoSuchTable")},
        {1, "DELETE FROM Empty", false, ""},
        {1, "this is not SQL", false, engine::msg::kInvalidStatement},
        {1, "DELETE FROM Items WHERE Id = 3", true, ""},
        {0, "SELECT Name FROM Items", true, ""},
    };
    auto& cursor = dynamic_cast<torvc_Query&>(*query.get());
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.sql);
        ASSERT_EQ(query->Set_TypeRequete(step.kind), ORV_S_OK);
        EXPECT_EQ(testing::openSql(*query.get(), step.sql), step.found);
        EXPECT_EQ(cursor.lastError(), step.lastError);
        EXPECT_EQ(testing::isOpened(*query.get()), step.kind == 0 && step.found);
        if (step.kind == 0) {
            EXPECT_EQ(recordCount(), step.found ? 2 : 0);
        }
    }
    // The select's failure reached the debug channel, followed by its text.
    ASSERT_EQ(recorder->debugLines.size(), 1u);
    EXPECT_EQ(recorder->debugLines[0],
              engine::msg::tableNotFound("Missing") + " SELECT Nope FROM Missing");
    EXPECT_TRUE(recorder->handedExceptions.empty());
    EXPECT_TRUE(recorder->messageBoxes.empty());
}

TEST_F(QueryCursorTest, ASecondOpenSqlReplacesTheFirstResult) {
    ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Name FROM Items WHERE Id = 2"));
    ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Id FROM Items ORDER BY Id DESC"));
    EXPECT_EQ(testing::getInteger(*query.get(), "Id"), 3);
    EXPECT_EQ(testing::getString(*query.get(), "Name"), "") << "the first result is gone";
    int32_t fields = 0;
    ASSERT_EQ(query->FieldCount(&fields), ORV_S_OK);
    EXPECT_EQ(fields, 1);
}

TEST_F(QueryCursorTest, NextClosesTheCursorAfterTheLastRow) {
    ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Name FROM Items ORDER BY Id"));
    std::vector<std::string> names;
    while (testing::isOpened(*query.get())) {
        names.push_back(testing::getString(*query.get(), "Name"));
        ASSERT_EQ(query->Next(), ORV_S_OK);
    }
    EXPECT_THAT(names, ElementsAre("one", "two", "three"));
    EXPECT_EQ(recordCount(), 0);
}

class StringList : public host::TInterfacedObjectEx<IWideStringList> {
public:
    OrvHResult Add(OrvBstr text) override {
        items.push_back(host::toUtf8(host::bstrView(text)));
        return ORV_S_OK;
    }
    std::vector<std::string> items;
};

TEST_F(QueryCursorTest, FillstringListTakesTheCurrentAndAllFollowingRows) {
    ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Name FROM Items ORDER BY Id"));
    ASSERT_EQ(query->Next(), ORV_S_OK);
    ComPtr<StringList> list(new StringList);
    ASSERT_EQ(query->FillstringList(list.get(), W("name").get()), ORV_S_OK);
    EXPECT_THAT(list->items, ElementsAre("two", "three"));
    EXPECT_TRUE(testing::isOpened(*query.get())) << "stays on the last row";
    EXPECT_EQ(testing::getString(*query.get(), "Name"), "three");
    EXPECT_TRUE(ORV_FAILED(query->FillstringList(list.get(), W("Nope").get())));
}

// The trace folder is the suite's Windows path, looked up (without regard to
// case) under the current folder.
struct QueryTraceTest : QueryCursorTest {
    void SetUp() override {
        QueryCursorTest::SetUp();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        QueryCursorTest::TearDown();
    }
    std::filesystem::path traceFolder() const {
        return dir.path() / "c:" / "program files (x86)" / "HALVO" / "2.0.1.x" / "XMan" /
               "Reports" / "Models";
    }
    std::filesystem::path previous;
};

TEST_F(QueryTraceTest, SelectsAreAppendedWhenTheTraceFileExists) {
    std::filesystem::create_directories(traceFolder());
    auto trace = traceFolder() / "ACTIVEQUERY.TXT";
    std::ofstream(trace, std::ios::binary) << "old\r\n";
    testing::openSql(*query.get(), "SELECT Name FROM Items");
    testing::openSql(*query.get(), "SELECT Missing FROM Nowhere");
    ASSERT_EQ(query->Set_TypeRequete(1), ORV_S_OK);
    testing::openSql(*query.get(), "DELETE FROM Empty");
    EXPECT_EQ(test::readFile(trace),
              "old\r\nSELECT Name FROM Items\r\nSELECT Missing FROM Nowhere\r\n");
}

TEST_F(QueryTraceTest, WithoutTheTraceFileNothingIsWritten) {
    std::filesystem::create_directories(traceFolder());
    testing::openSql(*query.get(), "SELECT Name FROM Items");
    EXPECT_TRUE(std::filesystem::is_empty(traceFolder()));
}

TEST_F(QueryTraceTest, ATraceThatCannotBeWrittenFailsTheSelect) {
    // The check finds the file "activeQuery.Txt"; the write goes to
    // "activeQuery.txt", which here is a folder.
    std::filesystem::create_directories(traceFolder() / "activeQuery.txt");
    std::ofstream(traceFolder() / "activeQuery.Txt") << "";
    OrvWordBool found = ORV_WTRUE;
    EXPECT_TRUE(ORV_FAILED(query->OpenSQL(W("SELECT Name FROM Items").get(), &found)));
    EXPECT_THAT(host::lastErrorMessage(), HasSubstr("activeQuery.txt"));
}

}  // namespace
}  // namespace orvdb::data
