// Opening an Access file reads its catalog only: a large table is read in
// place until a statement changes it, and answers the same either way.
#include "engine/store/sqlite_util.hpp"
#include "engine/store/working_store.hpp"
#include "engine_test_support.hpp"

namespace orvdb::engine {
namespace {

using testing::column;
using testing::openFile;

constexpr int kLargeRows = static_cast<int>(WorkingStore::kLoadedWhenRead) + 500;

struct LazyTablesTest : ::testing::Test {
    testing::ScratchDir dir;
    std::string path = dir.file("big.mdb");

    void SetUp() override {
        WorkingStore::createDatabase(path);
        auto connection = openFile(path);
        connection->execute(
            "CREATE TABLE Article (ID LONG PRIMARY KEY, Code TEXT(20), Family LONG, "
            "Label TEXT(50))");
        connection->execute("CREATE INDEX ByCode ON Article (Code)");
        connection->execute("CREATE TABLE Family (ID LONG PRIMARY KEY, Name TEXT(20))");
        connection->beginTransaction();
        for (int id = 1; id <= kLargeRows; ++id) {
            connection->execute("INSERT INTO Article VALUES (" + std::to_string(id) + ", 'code" +
                                std::to_string(id) + "', " + std::to_string(id % 7) +
                                ", 'Fenêtre " + std::to_string(id) + "')");
        }
        for (int id = 0; id < 7; ++id) {
            connection->execute("INSERT INTO Family VALUES (" + std::to_string(id) + ", 'family " +
                                std::to_string(id) + "')");
        }
        connection->execute("INSERT INTO Article VALUES (0, 'àbc', 1, 'accent')");
        connection->execute("INSERT INTO Article VALUES (-1, 'ABC', 1, 'upper')");
        connection->commitTransaction();
    }
    static int64_t articleId(Connection& connection) {
        return connection.store().catalog().findTableInfo("Article")->id;
    }
};

TEST_F(LazyTablesTest, ReadingInPlaceAnswersAsTheLoadedTable) {
    const std::vector<std::string> queries = {
        "SELECT Label FROM Article WHERE ID = 4242",
        "SELECT Label FROM Article WHERE ID = 4242.0",
        "SELECT Count(*) FROM Article WHERE ID = 99999",
        "SELECT Label FROM Article WHERE Code = 'CODE77'",
        "SELECT Label FROM Article WHERE Code = 'abc' ORDER BY Label",
        "SELECT Count(*) FROM Article WHERE Code IS NULL",
        "SELECT Count(*) FROM Article WHERE Family = 3",
        "SELECT Max(ID) FROM Article",
        "SELECT F.Name FROM Article AS A INNER JOIN Family AS F ON F.ID = A.Family "
        "WHERE A.ID = 5001",
        "SELECT A.ID FROM Family AS F INNER JOIN Article AS A ON A.ID = F.ID + 100 ORDER BY 1",
    };
    std::vector<std::vector<std::string>> inPlace;
    {
        auto connection = openFile(path);
        for (const std::string& query : queries) {
            inPlace.push_back(column(*connection, query));
        }
        EXPECT_FALSE(connection->store().loaded(articleId(*connection)))
            << "reads alone never load a large table";
        EXPECT_TRUE(
            connection->store().loaded(connection->store().catalog().findTableInfo("Family")->id))
            << "a small table is loaded when first read";
    }
    EXPECT_EQ(inPlace[0], std::vector<std::string>{"Fenêtre 4242"});
    EXPECT_EQ(inPlace[1], inPlace[0]);
    EXPECT_EQ(inPlace[2], std::vector<std::string>{"0"});
    EXPECT_EQ(inPlace[4], (std::vector<std::string>{"upper"})) << "case ignored, accents not";

    auto connection = openFile(path);
    connection->execute("UPDATE Article SET Label = Label WHERE ID = 1");
    ASSERT_TRUE(connection->store().loaded(articleId(*connection)));
    for (size_t n = 0; n < queries.size(); ++n) {
        EXPECT_EQ(column(*connection, queries[n]), inPlace[n]) << queries[n];
    }
}

// A table loaded inside a transaction that is rolled back is read from the
// file again: the rows the rollback took out of the store are still there.
TEST_F(LazyTablesTest, ARolledBackLoadLeavesTheTableReadable) {
    auto connection = openFile(path);
    connection->beginTransaction();
    connection->execute("DELETE FROM Article WHERE ID > 100");
    connection->rollbackTransaction();
    EXPECT_FALSE(connection->store().loaded(articleId(*connection)));
    EXPECT_EQ(column(*connection, "SELECT Count(*) FROM Article"),
              std::vector<std::string>{std::to_string(kLargeRows + 2)});
    connection->execute("DELETE FROM Article WHERE ID > 100");
    connection.reset();
    EXPECT_EQ(column(*openFile(path), "SELECT Count(*) FROM Article"),
              std::vector<std::string>{"102"});
}

// The rules keep MSysObjects' ids unique, also inside a transaction begun
// before any change; reading needs none.
TEST_F(LazyTablesTest, CatalogRulesComeWithTheFirstChange) {
    for (bool inTransaction : {false, true}) {
        SCOPED_TRACE(inTransaction ? "in a transaction" : "autocommit");
        auto connection = openFile(path);
        sqlite3* db = connection->store().db();
        const std::string objects =
            connection->store().catalog().findTableInfo("MSysObjects")->storedName;
        auto indexCount = [&] {
            Stmt count(db,
                       "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = '" +
                           objects + "'");
            return count.step() ? count.getInt(0) : -1;
        };
        EXPECT_EQ(column(*connection, "SELECT Count(*) FROM Family"),
                  std::vector<std::string>{"7"});
        EXPECT_EQ(indexCount(), 0);
        if (inTransaction) {
            connection->beginTransaction();
        }
        connection->execute("UPDATE Family SET Name = Name WHERE ID = 1");
        EXPECT_GT(indexCount(), 0);
        const std::string duplicate = "INSERT INTO \"" + objects +
                                      "\" (Id, ParentId, Name) SELECT " +
                                      "Id, ParentId, Name || 'x' FROM \"" + objects + "\" LIMIT 1";
        EXPECT_EQ(sqlite3_exec(db, duplicate.c_str(), nullptr, nullptr, nullptr) & 0xff,
                  SQLITE_CONSTRAINT);
        if (inTransaction) {
            connection->rollbackTransaction();
        }
    }
}

}  // namespace
}  // namespace orvdb::engine
