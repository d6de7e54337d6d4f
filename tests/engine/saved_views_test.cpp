// Views are kept in an Access file as MSysQueries rows only, which must give
// back the same query, of its kind, to every reader.
#include "engine/engine_error.hpp"
#include "engine_test_support.hpp"
#include "jet/read/saved_queries.hpp"

#include <map>

namespace orvdb::engine {
namespace {

using Texts = std::vector<std::string>;
using testing::rows;

struct SavedViewsTest : testing::StoreFixture {
    void SetUp() override {
        testing::StoreFixture::SetUp();
        for (const char* statement : {
                 "CREATE TABLE Frame (ID LONG PRIMARY KEY, Code TEXT(10), Width LONG)",
                 "CREATE TABLE Glass (ID LONG PRIMARY KEY, FrameID LONG, Kind TEXT(10))",
                 "INSERT INTO Frame VALUES (1, 'F1', 1200)",
                 "INSERT INTO Frame VALUES (2, 'F2', 800)",
                 "INSERT INTO Frame VALUES (3, 'F3', 2400)",
                 "INSERT INTO Glass VALUES (1, 1, 'Double')",
                 "INSERT INTO Glass VALUES (2, 3, 'Triple')",
                 "INSERT INTO Glass VALUES (3, 3, 'Double')",
             }) {
            conn.execute(statement);
        }
    }
};

TEST_F(SavedViewsTest, EveryViewShapeReadsTheSameAfterTheFileIsWritten) {
    const std::map<std::string, std::string> views = {
        {"Wide", "SELECT TOP 2 Code, Width AS W FROM Frame WHERE Width > 900 ORDER BY Width DESC"},
        {"Glazed",
         "SELECT DISTINCT F.Code FROM Frame AS F INNER JOIN Glass AS G ON G.FrameID = F.ID "
         "ORDER BY F.Code"},
        {"Unglazed",
         "SELECT Frame.Code FROM Frame LEFT JOIN Glass ON Glass.FrameID = Frame.ID "
         "WHERE Glass.ID Is Null"},
        {"Kinds", "SELECT Kind, Count(*) AS N FROM Glass GROUP BY Kind HAVING Count(*) > 0"},
        {"AllCodes", "SELECT Code FROM Frame UNION SELECT Kind FROM Glass ORDER BY Code DESC"},
        {"Repeated",
         "SELECT FrameID FROM Glass UNION ALL SELECT ID FROM Frame WHERE ID > 2 "
         "UNION ALL SELECT 7 FROM Frame WHERE ID = 1"},
        {"Bracketed",
         "(SELECT Code FROM Frame WHERE ID = 1) UNION (SELECT Kind FROM Glass) UNION "
         "SELECT 'x' FROM Frame"},
        {"BigFrames",
         "SELECT T.Code, T.Width FROM (SELECT Code, Width FROM Frame) AS T "
         "WHERE T.Width > 1000"},
        {"PerFrame",
         "SELECT F.Code, C.N FROM Frame AS F INNER JOIN (SELECT FrameID, Count(*) AS N FROM "
         "Glass GROUP BY FrameID) AS C ON C.FrameID = F.ID"},
    };
    std::map<std::string, Texts> before;
    for (const auto& [name, sql] : views) {
        conn.execute("CREATE VIEW " + name + " AS " + sql);
        before[name] = rows(conn, "SELECT * FROM " + name);
        ASSERT_FALSE(before[name].empty()) << name;
    }
    conn.store().flush();
    conn.close();

    jet::JetFile file = jet::JetFile::open(path);
    std::map<std::string, jet::SavedQuery> saved;
    for (auto& query : jet::readSavedQueries(file)) {
        saved[query.name] = query;
    }
    for (const auto& [name, sql] : views) {
        ASSERT_TRUE(saved.count(name)) << name << " is not in the file";
        EXPECT_EQ(saved[name].problem, "") << name;
        const bool isUnion = sql.find("UNION") != std::string::npos;
        EXPECT_EQ(saved[name].kind, isUnion ? jet::QueryKind::Union : jet::QueryKind::Select)
            << name;
        EXPECT_EQ(saved[name].flags, isUnion ? 128u : 0u) << name;
    }

    auto reopened = testing::openFile(path);
    for (const auto& [name, sql] : views) {
        EXPECT_EQ(rows(*reopened, "SELECT * FROM " + name), before[name])
            << name << " as rebuilt: " << saved[name].sql;
    }
}

TEST_F(SavedViewsTest, ViewsOnlyTakeQueriesThatReturnRows) {
    for (const char* statement : {
             "CREATE VIEW V AS SELECT Code INTO Copy FROM Frame",
             "CREATE VIEW V AS TRANSFORM Count(*) SELECT Kind FROM Glass GROUP BY Kind PIVOT "
             "FrameID",
             "CREATE VIEW V AS DELETE FROM Frame",
         }) {
        EXPECT_THROW(conn.execute(statement), EngineError) << statement;
    }
    EXPECT_EQ(catalog().findViewInfo("V"), nullptr);
}

}  // namespace
}  // namespace orvdb::engine
