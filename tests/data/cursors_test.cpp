// The cursors a database hands out: the stacks they live on, the query
// cursor's statements and quiet failures, the table cursor's keys and posts,
// and closed cursors, which refuse to move or to read and write fields (as
// ADO's closed recordsets do) but still say whether they are open.
#include <gmock/gmock.h>

#include <fstream>
#include <functional>

#include "data/query_cursor.hpp"
#include "data/table_cursor.hpp"
#include "data_test_support.hpp"
#include "engine/messages.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::W;

// Items holds "one" (Qty 4), "two" and "three" under keys 1 to 3; Notes has
// no Id column and Empty no rows.
struct CursorTest : DataTest {
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
        catalog(*db.get()).createTable("Empty", {testing::column("Id", engine::JetType::Long)}, {});
        addRows(*db.get(), "Items",
                {{{"Name", "one"}, {"Qty", "4"}}, {{"Name", "two"}}, {{"Name", "three"}}});
    }
    // The Name of the current row and of every following one; the cursor
    // ends closed.
    static std::vector<std::string> restOfNames(iQueryDatabase& query) {
        std::vector<std::string> names;
        while (testing::isOpened(query)) {
            names.push_back(testing::getString(query, "Name"));
            if (query.Next() != ORV_S_OK) {
                ADD_FAILURE() << "Next failed";
                break;
            }
        }
        return names;
    }
    std::vector<std::string> namesById() {
        auto query = testing::pushQuery(*db.get());
        testing::openSql(*query.get(), "SELECT Name FROM Items ORDER BY Id");
        std::vector<std::string> names = restOfNames(*query.get());
        db->PopQuery();
        return names;
    }
    ComPtr<torvc_Database> db;
};

class TextList : public host::TInterfacedObjectEx<IWideStringList> {
public:
    OrvHResult Add(OrvBstr text) override {
        texts.push_back(host::toUtf8(host::bstrView(text)));
        return ORV_S_OK;
    }
    std::vector<std::string> texts;
};

// Depth and list always agree, the active cursor is the top one, a pop
// destroys and a push creates afresh.
using DatabaseStacksTest = CursorTest;

void expectConsistent(torvc_Database& db) {
    EXPECT_EQ(db.activeQueryIndex(), db.queryDepth() - 1);
    EXPECT_EQ(db.activeTableIndex(), db.tableDepth() - 1);
}

TEST_F(DatabaseStacksTest, PushesAndPopsKeepDepthAndActiveCursorInStep) {
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
    expectConsistent(*db.get());

    ComPtr<iQueryDatabase> first = testing::pushQuery(*db.get());
    ComPtr<iQueryDatabase> second = testing::pushQuery(*db.get());
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(db->queryDepth(), 2);
    expectConsistent(*db.get());
    EXPECT_EQ(db->PopQuery(), ORV_S_OK);
    EXPECT_EQ(db->queryDepth(), 1);
    expectConsistent(*db.get());
    ComPtr<iQueryDatabase> active;
    EXPECT_EQ(db->Get_ActiveQuery(active.put()), ORV_S_OK);
    EXPECT_EQ(active.get(), first.get());
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
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return t->Get_Tablename(out); }), "");
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
    expectConsistent(*db.get());

    ASSERT_EQ(db->Set_Opened(ORV_WTRUE), ORV_S_OK);
    ASSERT_TRUE(db->connection().isOpen());
    ASSERT_EQ(db->Close(), ORV_S_OK);
    EXPECT_EQ(db->queryDepth(), 0);
    EXPECT_EQ(db->tableDepth(), 0);
    EXPECT_EQ(db->procedureDepth(), 1);
    expectConsistent(*db.get());
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

struct QueryCursorTest : CursorTest {
    void SetUp() override {
        CursorTest::SetUp();
        query = testing::pushQuery(*db.get());
    }
    int32_t recordCount() {
        int32_t count = -1;
        EXPECT_EQ(query->Get_RecordCount(&count), ORV_S_OK);
        return count;
    }
    ComPtr<iQueryDatabase> query;
};

TEST_F(QueryCursorTest, SelectOpensOnTheFirstRowAndASecondReplacesTheFirstResult) {
    ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Id, Name FROM Items ORDER BY Id"));
    EXPECT_EQ(recordCount(), 3);
    EXPECT_EQ(testing::getString(*query.get(), "Name"), "one");
    ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Id FROM Items ORDER BY Id DESC"));
    EXPECT_EQ(testing::getInteger(*query.get(), "Id"), 3);
    EXPECT_EQ(testing::getString(*query.get(), "Name"), "")
        << "the first result is gone, and a missing field reads empty";
    int32_t fields = 0;
    ASSERT_EQ(query->FieldCount(&fields), ORV_S_OK);
    EXPECT_EQ(fields, 1);
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

// Next closes the cursor after the last row; FillstringList takes the
// current row and all the following ones, and stays on the last.
TEST_F(QueryCursorTest, WalkingTheRows) {
    ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Name FROM Items ORDER BY Id"));
    EXPECT_THAT(restOfNames(*query.get()), ElementsAre("one", "two", "three"));
    EXPECT_EQ(recordCount(), 0);
    ASSERT_TRUE(testing::openSql(*query.get(), "SELECT Name FROM Items ORDER BY Id"));
    ASSERT_EQ(query->Next(), ORV_S_OK);
    ComPtr<TextList> list(new TextList);
    ASSERT_EQ(query->FillstringList(list.get(), W("name").get()), ORV_S_OK);
    EXPECT_THAT(list->texts, ElementsAre("two", "three"));
    EXPECT_TRUE(testing::isOpened(*query.get()));
    EXPECT_EQ(testing::getString(*query.get(), "Name"), "three");
    EXPECT_TRUE(ORV_FAILED(query->FillstringList(list.get(), W("Nope").get())));
}

// The report designer's select trace: the suite's Windows path, looked up
// (without regard to case) under the current folder.
struct QueryTraceTest : QueryCursorTest {
    void SetUp() override {
        QueryCursorTest::SetUp();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        std::filesystem::create_directories(traceFolder());
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

TEST_F(QueryTraceTest, SelectsAreAppendedOnlyWhenTheTraceFileExists) {
    testing::openSql(*query.get(), "SELECT Name FROM Items");
    EXPECT_TRUE(std::filesystem::is_empty(traceFolder()));
    auto trace = traceFolder() / "ACTIVEQUERY.TXT";
    std::ofstream(trace, std::ios::binary) << "old\r\n";
    testing::openSql(*query.get(), "SELECT Name FROM Items");
    testing::openSql(*query.get(), "SELECT Missing FROM Nowhere");
    ASSERT_EQ(query->Set_TypeRequete(1), ORV_S_OK);
    testing::openSql(*query.get(), "DELETE FROM Empty");
    EXPECT_EQ(test::readFile(trace),
              "old\r\nSELECT Name FROM Items\r\nSELECT Missing FROM Nowhere\r\n");
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

struct TableCursorTest : CursorTest {
    void SetUp() override {
        CursorTest::SetUp();
        table = testing::pushTable(*db.get());
        open("Items");
    }
    void open(const char* name) { ASSERT_EQ(table->Set_Tablename(W(name).get()), ORV_S_OK); }
    std::string idRow() {
        return testing::textOf([&](OrvBstr* out) { return table->Get_IdRow(out); });
    }
    void set(const char* field, const char* text) {
        ASSERT_EQ(table->Setstring(W(field).get(), W(text).get()), ORV_S_OK) << field;
    }
    // Key "0" appends a row, another key edits the row with that key.
    void post(const char* key, const char* field, const char* text) {
        ASSERT_EQ(table->Set_IdRow(W(key).get()), ORV_S_OK);
        set(field, text);
        ASSERT_EQ(table->Post(), ORV_S_OK);
    }
    std::string lastError() { return dynamic_cast<torvc_Table&>(*table.get()).lastError(); }
    ComPtr<iTableDatabase> table;
};

TEST_F(TableCursorTest, SetTablenameOpensAndNamesTheTable) {
    EXPECT_TRUE(testing::isOpened(*table.get()));
    EXPECT_EQ(testing::textOf([&](OrvBstr* out) { return table->Get_Tablename(out); }), "Items");
    EXPECT_TRUE(ORV_FAILED(table->Set_Tablename(W("NoSuchTable").get())));
}

TEST_F(TableCursorTest, NewRowsReportTheirAutonumberKeyOrZeroWithoutAnId) {
    post("0", "Name", "fourth");
    post("0", "Name", "fifth");
    EXPECT_EQ(idRow(), "5");
    EXPECT_EQ(namesById(), (std::vector<std::string>{"one", "two", "three", "fourth", "fifth"}));
    EXPECT_TRUE(recorder->messageBoxes.empty());
    open("Notes");
    post("", "Text", "hello");
    EXPECT_EQ(idRow(), "0");
}

// An unknown key edits the current row; the key reported afterwards is the
// last row's, not the edited one's.
TEST_F(TableCursorTest, SetIdRowEditsTheRowWithThatKey) {
    post("77", "Name", "changed");
    post("2", "Name", "B");
    EXPECT_EQ(namesById(), (std::vector<std::string>{"changed", "B", "three"}));
    EXPECT_EQ(idRow(), "3");
}

TEST_F(TableCursorTest, RefusedPostShowsTheEngineMessageAndKeepsTheKey) {
    post("0", "Name", "ok");
    ASSERT_EQ(idRow(), "4");
    ASSERT_EQ(table->Set_IdRow(W("0").get()), ORV_S_OK);
    ASSERT_EQ(table->SetInteger(W("Qty").get(), 5), ORV_S_OK);  // Name stays empty
    EXPECT_EQ(table->Post(), ORV_S_OK);
    ASSERT_EQ(recorder->messageBoxes.size(), 1u);
    EXPECT_THAT(recorder->messageBoxes[0], HasSubstr("Name"));
    EXPECT_EQ(lastError(), recorder->messageBoxes[0]) << "the cursor keeps what it showed";
    EXPECT_EQ(idRow(), "4");
    set("Name", "fixed");
    ASSERT_EQ(table->Post(), ORV_S_OK);
    EXPECT_EQ(lastError(), "") << "a post that succeeds clears it";
    EXPECT_EQ(namesById(), (std::vector<std::string>{"one", "two", "three", "ok", "fixed"}));
}

TEST_F(TableCursorTest, SetIntegerZeroStoresNull) {
    ASSERT_EQ(table->Set_IdRow(W("1").get()), ORV_S_OK);
    ASSERT_EQ(table->SetInteger(W("Qty").get(), 0), ORV_S_OK);
    ASSERT_EQ(table->Post(), ORV_S_OK);
    auto q = testing::pushQuery(*db.get());
    ASSERT_TRUE(testing::openSql(*q.get(), "SELECT Name FROM Items WHERE Qty IS NULL AND Id = 1"));
}

TEST_F(TableCursorTest, GotoKeyEditsTheFirstRowInIndexOrderWithoutPosting) {
    ASSERT_EQ(table->GotoKey(W("Qty").get(), W("ByName").get(), W("9").get()), ORV_S_OK);
    EXPECT_EQ(testing::getString(*table.get(), "Name"), "one");
    ASSERT_EQ(table->Post(), ORV_S_OK);
    auto q = testing::pushQuery(*db.get());
    ASSERT_TRUE(testing::openSql(*q.get(), "SELECT Name FROM Items WHERE Qty = 9"));
    EXPECT_EQ(testing::getString(*q.get(), "Name"), "one");
    EXPECT_TRUE(ORV_FAILED(table->GotoKey(W("Nope").get(), W("ByName").get(), W("1").get())));
    EXPECT_TRUE(ORV_FAILED(table->GotoKey(W("Qty").get(), W("NoIndex").get(), W("1").get())));
}

// An operation on a closed cursor of kind Cursor.
template <typename Cursor>
struct Refused {
    const char* operation;
    std::function<OrvHResult(Cursor&)> call;
};

OrvHResult readText(iRecordDatabase& cursor, const char* field) {
    OrvBstr text = nullptr;
    OrvHResult status = cursor.Getstring(W(field).get(), &text);
    OrvBstrFree(text);
    return status;
}

OrvHResult readInteger(iRecordDatabase& cursor, const char* field) {
    int32_t value = 0;
    return cursor.GetInteger(W(field).get(), &value);
}

const Refused<iQueryDatabase> kQueryCases[] = {
    {"Next", [](iQueryDatabase& q) { return q.Next(); }},
    {"Getstring", [](iQueryDatabase& q) { return readText(q, "Name"); }},
    {"GetInteger", [](iQueryDatabase& q) { return readInteger(q, "Id"); }},
    {"Getstring of an unknown field", [](iQueryDatabase& q) { return readText(q, "Nowhere"); }},
    {"FillstringList",
     [](iQueryDatabase& q) {
         ComPtr<TextList> list(new TextList);
         OrvHResult status = q.FillstringList(list.get(), W("Name").get());
         EXPECT_TRUE(list->texts.empty());
         return status;
     }},
};

// A query closed after its last row; a table closed by the host.
using ClosedCursorTest = CursorTest;

TEST_F(ClosedCursorTest, AClosedQueryRefusesToMoveOrRead) {
    for (bool closed : {false, true}) {
        for (const auto& c : kQueryCases) {
            ComPtr<iQueryDatabase> query = testing::pushQuery(*db.get());
            if (closed) {
                ASSERT_TRUE(
                    testing::openSql(*query.get(), "SELECT Id, Name FROM Items WHERE Id = 1"));
                ASSERT_EQ(query->Next(), ORV_S_OK);
            }
            ASSERT_FALSE(testing::isOpened(*query.get()));
            const OrvHResult status = c.call(*query.get());
            const std::string where =
                std::string(c.operation) + (closed ? " (closed)" : " (never opened)");
            EXPECT_TRUE(ORV_FAILED(status)) << where;
            EXPECT_THAT(host::lastErrorMessage(), HasSubstr(engine::msg::kObjectClosed)) << where;
            int32_t count = -1;
            EXPECT_EQ(query->Get_RecordCount(&count), ORV_S_OK) << where;
            EXPECT_EQ(count, 0) << where;
            db->PopQuery();
        }
    }
}

const Refused<iTableDatabase> kTableCases[] = {
    {"Last", [](iTableDatabase& t) { return t.Last(); }},
    {"Edit", [](iTableDatabase& t) { return t.Edit(); }},
    {"Append", [](iTableDatabase& t) { return t.Append(); }},
    {"Set_IdRow", [](iTableDatabase& t) { return t.Set_IdRow(W("1").get()); }},
    {"Setstring", [](iTableDatabase& t) { return t.Setstring(W("Name").get(), W("x").get()); }},
    {"GetInteger", [](iTableDatabase& t) { return readInteger(t, "Id"); }},
};

TEST_F(ClosedCursorTest, ATableNeverOpenedOrClosedRefusesToMoveOrEdit) {
    for (bool closed : {false, true}) {
        for (const auto& c : kTableCases) {
            ComPtr<iTableDatabase> table = testing::pushTable(*db.get());
            if (closed) {
                ASSERT_EQ(table->Set_Tablename(W("Items").get()), ORV_S_OK);
                ASSERT_EQ(table->Set_Opened(ORV_WFALSE), ORV_S_OK);
            }
            const std::string where =
                std::string(c.operation) + (closed ? " (closed)" : " (never opened)");
            EXPECT_TRUE(ORV_FAILED(c.call(*table.get()))) << where;
            EXPECT_THAT(host::lastErrorMessage(), HasSubstr(engine::msg::kObjectClosed)) << where;
            db->PopTable();
        }
    }
}

}  // namespace
}  // namespace orvdb::data
