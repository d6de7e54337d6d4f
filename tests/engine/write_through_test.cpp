// Every commit is in the Access file, whole or not at all, when the call that
// committed returns; the codec's own reader reads the file back.
#include <signal.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "../support/mdb_reader.hpp"
#include "../support/shell_command.hpp"
#include "engine/dataset/table_dataset.hpp"
#include "engine/store/journal.hpp"
#include "engine_test_support.hpp"

namespace orvdb::engine {
namespace {

using testing::checkErrors;
using testing::exitStatus;
using testing::inChild;
using testing::openFile;

namespace fs = std::filesystem;

constexpr const char* kSchema =
    "CREATE TABLE Item (ID COUNTER PRIMARY KEY, Code TEXT(60) NOT NULL, Qty LONG, Note MEMO, "
    "Price CURRENCY, Seen DATETIME)";

// The rows of Item as the file holds them, by ID, each as "Code|Qty|Note|Price".
std::map<int64_t, std::string> itemsInFile(const std::string& path) {
    jet::JetFile file = jet::JetFile::open(path);
    auto definition = file.table("Item");
    std::map<std::string, size_t> position;
    for (size_t n = 0; n < definition->columns.size(); ++n) {
        position[definition->columns[n].name] = n;
    }
    std::map<int64_t, std::string> rows;
    jet::TableReader reader = file.readTable("Item");
    while (auto row = reader.next()) {
        auto text = [&](const char* column) {
            return jet::describe(row->values[position[column]]);
        };
        rows[std::get<int64_t>(row->values[position["ID"]])] =
            text("Code") + "|" + text("Qty") + "|" + text("Note") + "|" + text("Price");
    }
    return rows;
}

// The same rows as the engine sees them.
std::map<int64_t, std::string> itemsInStore(Connection& connection) {
    QueryResult result = connection.query("SELECT ID, Code, Qty, Note, Price FROM Item");
    std::map<int64_t, std::string> rows;
    auto text = [](const SqlValue& value) -> std::string {
        if (std::holds_alternative<std::monostate>(value)) {
            return "Null";
        }
        if (const auto* number = std::get_if<int64_t>(&value)) {
            return std::to_string(*number);
        }
        if (const auto* real = std::get_if<double>(&value)) {
            return jet::Currency{static_cast<int64_t>(std::llround(*real * 10000))}.toString();
        }
        return "\"" + std::get<std::string>(value) + "\"";
    };
    for (const Row& row : result.rows) {
        rows[std::get<int64_t>(row[0])] =
            text(row[1]) + "|" + text(row[2]) + "|" + text(row[3]) + "|" + text(row[4]);
    }
    return rows;
}

// The IDs whose rows differ between two sets ("" when none do).
std::string differences(const std::map<int64_t, std::string>& expected,
                        const std::map<int64_t, std::string>& actual) {
    std::string out;
    for (const auto& [id, row] : expected) {
        auto found = actual.find(id);
        if (found == actual.end() || found->second != row) {
            out += " " + std::to_string(id);
        }
    }
    for (const auto& [id, row] : actual) {
        if (expected.count(id) == 0) {
            out += " extra " + std::to_string(id);
        }
    }
    return out;
}

std::string sqlText(const std::string& text) {
    return "'" + text + "'";
}

// Random changes of every kind, committed one by one or in transactions
// (some rolled back). Long codes split index pages; long notes take
// long-value pages and chains; growing rows move to other pages.
class RandomChanges {
public:
    explicit RandomChanges(uint32_t seed) : random_(seed) {}

    void apply(Connection& connection, int count) {
        for (int n = 0; n < count; ++n) {
            int kind = pick(10);
            if (kind < 5 || live_ < 5) {
                std::string code = codeText();
                connection.execute("INSERT INTO Item (Code, Qty, Note, Price, Seen) VALUES (" +
                                   sqlText(code) + ", " + std::to_string(pick(1000)) + ", " +
                                   noteText() + ", " + std::to_string(pick(100000)) + " / 100, " +
                                   "#2024-01-01#)");
                ++live_;
            } else if (kind < 8) {
                connection.execute("UPDATE Item SET Qty = Qty + 1, Note = " + noteText() +
                                   ", Code = " + sqlText(codeText()) +
                                   " WHERE ID = (SELECT Min(ID) FROM Item WHERE ID >= " +
                                   std::to_string(pick(nextId())) + ")");
            } else {
                int64_t deleted = connection.execute(
                    "DELETE FROM Item WHERE ID = (SELECT Min(ID) FROM Item WHERE ID >= " +
                    std::to_string(pick(nextId())) + ")");
                live_ -= static_cast<int>(deleted);
            }
        }
    }

    // A few statements in one transaction, committed or rolled back.
    void transaction(Connection& connection, bool commit) {
        int before = live_;
        connection.beginTransaction();
        apply(connection, 1 + pick(20));
        if (commit) {
            connection.commitTransaction();
        } else {
            connection.rollbackTransaction();
            live_ = before;
        }
    }

    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

private:
    int nextId() { return 1 + live_ * 2; }
    std::string codeText() {
        // Long common prefixes and lengths up to 60 characters.
        std::string code = "Fenêtre-" + std::to_string(pick(50)) + "-";
        code += std::string(static_cast<size_t>(pick(45)), static_cast<char>('a' + pick(26)));
        return code;
    }
    std::string noteText() {
        switch (pick(4)) {
            case 0:
                return "Null";
            case 1:
                return sqlText("short note " + std::to_string(pick(100)));
            case 2:
                return "String(" + std::to_string(200 + pick(3000)) + ", 'n')";
            default:
                return "String(" + std::to_string(4100 + pick(9000)) + ", 'c')";  // a chain
        }
    }

    std::mt19937 random_;
    int live_ = 0;
};

struct WriteThroughTest : ::testing::TestWithParam<uint32_t> {
    testing::ScratchDir dir;
    std::string path = dir.file("shop.mdb");

    void SetUp() override {
        WorkingStore::createDatabase(path);
        openFile(path)->execute(kSchema);
    }
};

TEST_P(WriteThroughTest, RandomChangesReadBackFromTheFileAndPassItsCheck) {
    RandomChanges changes(GetParam());
    auto connection = openFile(path);
    connection->execute("CREATE INDEX ByCode ON Item (Code)");
    for (int round = 0; round < 12; ++round) {
        changes.apply(*connection, 40);
        changes.transaction(*connection, changes.pick(3) != 0);
        ASSERT_EQ(differences(itemsInStore(*connection), itemsInFile(path)), "")
            << "after round " << round;
    }
    connection->execute("ALTER TABLE Item ADD COLUMN Extra TEXT(10)");
    changes.apply(*connection, 30);
    EXPECT_EQ(differences(itemsInStore(*connection), itemsInFile(path)), "")
        << "after a table rebuild";
    EXPECT_EQ(checkErrors(path), std::vector<std::string>{});
    std::map<int64_t, std::string> committed = itemsInStore(*connection);
    connection.reset();
    EXPECT_EQ(differences(committed, itemsInStore(*openFile(path))), "") << "reopened";
}

INSTANTIATE_TEST_SUITE_P(Seeds, WriteThroughTest, ::testing::Values(1u, 2u, 3u));

// The kinds of commit a host makes.
struct CommitKind {
    const char* name;
    void (*commit)(Connection& connection);
};

const CommitKind kCommitKinds[] = {
    {"autocommit insert",
     [](Connection& c) { c.execute("INSERT INTO Item (Code, Qty) VALUES ('child', 7)"); }},
    {"table post",
     [](Connection& c) {
         TableDataset table(c);
         table.setTableName("Item");
         table.open();
         table.append();
         table.setText(table.fieldIndex("Code"), "child");
         table.setText(table.fieldIndex("Qty"), "7");
         table.post();
     }},
    {"commit of a transaction",
     [](Connection& c) {
         c.beginTransaction();
         c.execute("INSERT INTO Item (Code, Qty) VALUES ('child', 6)");
         c.execute("UPDATE Item SET Qty = 7 WHERE Code = 'child'");
         c.commitTransaction();
     }},
};

TEST_F(WriteThroughTest, AChildThatCommitsAndDiesLeavesItsChangeInTheFile) {
    for (const CommitKind& kind : kCommitKinds) {
        fs::remove(path);
        SetUp();
        // The child's connection is never closed.
        ASSERT_EQ(exitStatus(inChild([&] { kind.commit(*openFile(path).release()); })), 0)
            << kind.name;
        EXPECT_EQ(itemsInFile(path), (std::map<int64_t, std::string>{{1, "\"child\"|7|Null|Null"}}))
            << kind.name;
        EXPECT_EQ(checkErrors(path), std::vector<std::string>{}) << kind.name;
        // The independent readers see the committed row too.
        if (test_support::haveCommand("mdb-export")) {
            auto exported = test_support::runCommand("mdb-export " +
                                                     test_support::shellQuote(path) + " Item 2>&1");
            ASSERT_TRUE(exported.has_value()) << kind.name;
            EXPECT_NE(exported->find("\"child\",7"), std::string::npos) << kind.name << *exported;
        }
        if (test_support::mdbReaderUnavailable().empty()) {
            auto dump = test_support::mdbReaderDump(path);
            ASSERT_TRUE(dump.has_value()) << kind.name;
            EXPECT_NE(dump->find("child"), std::string::npos) << kind.name << *dump;
        }
    }
}

// The n-th write or flush of a commit fails, for every n.
TEST_F(WriteThroughTest, AWriteOrFlushFailingAnywhereLeavesTheFileAsBefore) {
    RandomChanges changes(7);
    {
        auto connection = openFile(path);
        changes.apply(*connection, 30);
    }
    const std::map<int64_t, std::string> before = itemsInFile(path);
    const std::string saved = dir.file("saved.mdb");
    fs::copy_file(path, saved);
    for (const char* call : {"pwrite", "fsync"}) {
        for (int failing = 0;; ++failing) {
            SCOPED_TRACE(std::string(call) + " " + std::to_string(failing));
            auto connection = openFile(path);
            int seen = 0;
            bool failed = false;
            auto fails = [&] {
                bool now = seen++ == failing;
                failed = failed || now;
                return now;
            };
            StorageCalls calls;
            if (std::string(call) == "pwrite") {
                calls.pwrite = [&](int fd, const void* data, size_t size, off_t offset) -> ssize_t {
                    if (fails()) {
                        errno = ENOSPC;
                        return -1;
                    }
                    return ::pwrite(fd, data, size, offset);
                };
            } else {
                calls.fsync = [&](int fd) {
                    if (fails()) {
                        errno = EIO;
                        return -1;
                    }
                    return ::fsync(fd);
                };
            }
            connection->store().setStorageCalls(calls);
            const std::string error = testing::errorOf([&] {
                connection->beginTransaction();
                connection->execute("UPDATE Item SET Note = String(6000, 'u'), Qty = -1");
                connection->execute("DELETE FROM Item WHERE ID < 10");
                connection->execute("INSERT INTO Item (Code) VALUES ('new one')");
                connection->commitTransaction();
            });
            connection->store().setStorageCalls({});
            if (!failed) {
                // Every call of the commit has failed once; this time it went
                // through. The next kind of call starts from the same file.
                EXPECT_EQ(error, "");
                connection.reset();
                fs::copy_file(saved, path, fs::copy_options::overwrite_existing);
                break;
            }
            EXPECT_NE(error.find(path), std::string::npos) << error;
            EXPECT_EQ(differences(before, itemsInStore(*connection)), "");
            connection.reset();
            // Whatever the failure left (a journal included), the next open
            // reads the file as it was.
            EXPECT_EQ(itemsInFile(path).size(), before.size());
            auto reopened = openFile(path);
            EXPECT_FALSE(fs::exists(journalPathFor(path)));
            EXPECT_EQ(differences(before, itemsInStore(*reopened)), "");
            EXPECT_EQ(differences(before, itemsInFile(path)), "");
            EXPECT_EQ(checkErrors(path), std::vector<std::string>{});
        }
    }
    auto connection = openFile(path);
    connection->execute("INSERT INTO Item (Code) VALUES ('after')");
    EXPECT_EQ(itemsInFile(path).size(), before.size() + 1);
}

// A child commits transactions of known sizes, says which it finished, and
// is killed at a random instant: no transaction may be in the file in part.
TEST_F(WriteThroughTest, AProcessKilledWhileCommittingLeavesTheFileBeforeOrAfter) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 12; ++trial) {
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        pid_t child = inChild([&] {
            close(pipeFds[0]);
            auto connection = openFile(path);
            for (int transaction = 0;; ++transaction) {
                connection->beginTransaction();
                for (int row = 0; row <= transaction % 25; ++row) {
                    connection->execute("INSERT INTO Item (Code, Qty, Note) VALUES ('t', " +
                                        std::to_string(transaction) + ", String(" +
                                        std::to_string(100 * row) + ", 'k'))");
                }
                connection->commitTransaction();
                (void)!write(pipeFds[1], &transaction, sizeof transaction);
            }
        });
        close(pipeFds[1]);
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(5, 400)(random)));
        kill(child, SIGKILL);
        exitStatus(child);
        int finished = -1, reported = 0;
        while (read(pipeFds[0], &reported, sizeof reported) == sizeof reported) {
            finished = reported;
        }
        close(pipeFds[0]);

        auto connection = openFile(path);  // rolls back what the kill left
        EXPECT_FALSE(fs::exists(journalPathFor(path))) << "trial " << trial;
        QueryResult counts =
            connection->query("SELECT Qty, Count(*) FROM Item WHERE Code = 't' GROUP BY Qty");
        int highest = -1;
        for (const Row& row : counts.rows) {
            int transaction = static_cast<int>(std::get<int64_t>(row[0]));
            EXPECT_EQ(std::get<int64_t>(row[1]), transaction % 25 + 1)
                << "trial " << trial << ": transaction " << transaction << " is in part";
            highest = std::max(highest, transaction);
        }
        EXPECT_TRUE(highest == finished || highest == finished + 1)
            << "trial " << trial << ": finished " << finished << ", file holds up to " << highest;
        EXPECT_EQ(checkErrors(path), std::vector<std::string>{}) << "trial " << trial;
        connection->execute("DELETE FROM Item WHERE Code = 't'");
    }
}

}  // namespace
}  // namespace orvdb::engine
