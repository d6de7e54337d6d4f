// Several processes share one Access file.
#include <fcntl.h>
#include <signal.h>

#include <cstdlib>

#include "engine/store/change_counter.hpp"
#include "engine_test_support.hpp"

namespace orvdb::engine {
namespace {

using testing::checkErrors;
using testing::exitStatus;
using testing::inChild;
using testing::openFile;

namespace fs = std::filesystem;

int64_t number(Connection& connection, const std::string& sql) {
    return std::get<int64_t>(connection.query(sql).rows.at(0).at(0));
}

// The long campaigns of scripts/campaigns.sh run these tests with bigger
// counts through the environment; the suite runs the short defaults.
int campaignSize(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

struct SharingTest : ::testing::Test {
    testing::ScratchDir dir;
    std::string path = dir.file("shared.mdb");

    void SetUp() override {
        WorkingStore::createDatabase(path);
        openFile(path)->execute(
            "CREATE TABLE Log (ID COUNTER PRIMARY KEY, Writer LONG, Line LONG, Text TEXT(40))");
    }
};

// Two writers insert in turns while a third process counts: every row
// arrives, autonumbers never repeat, the count never goes down.
TEST_F(SharingTest, WritersTakeTurnsAndAReaderSeesEveryCommit) {
    const int kRows = campaignSize("ORVDB_SHARING_ROWS", 150);
    int stop[2];
    ASSERT_EQ(pipe(stop), 0);
    pid_t reader = inChild([&] {
        close(stop[1]);
        fcntl(stop[0], F_SETFL, O_NONBLOCK);
        auto connection = openFile(path);
        int64_t last = 0;
        char byte = 0;
        while (read(stop[0], &byte, 1) != 1) {
            int64_t count = number(*connection, "SELECT Count(*) FROM Log");
            if (count < last) {
                throw std::runtime_error("the count went down");
            }
            last = count;
        }
    });
    close(stop[0]);
    std::vector<pid_t> writers;
    for (int writer = 1; writer <= 2; ++writer) {
        writers.push_back(inChild([&, writer] {
            auto connection = openFile(path);
            for (int line = 0; line < kRows; ++line) {
                connection->execute("INSERT INTO Log (Writer, Line, Text) VALUES (" +
                                    std::to_string(writer) + ", " + std::to_string(line) +
                                    ", 'line " + std::to_string(line) + "')");
            }
        }));
    }
    for (pid_t writer : writers) {
        EXPECT_EQ(exitStatus(writer), 0);
    }
    char byte = 1;
    ASSERT_EQ(write(stop[1], &byte, 1), 1);
    close(stop[1]);
    EXPECT_EQ(exitStatus(reader), 0);

    auto connection = openFile(path);
    EXPECT_EQ(number(*connection, "SELECT Count(*) FROM Log"), 2 * kRows);
    EXPECT_EQ(number(*connection, "SELECT Count(*) FROM (SELECT DISTINCT ID FROM Log)"), 2 * kRows);
    EXPECT_EQ(number(*connection, "SELECT Count(*) FROM (SELECT DISTINCT Writer, Line FROM Log)"),
              2 * kRows);
    connection.reset();
    EXPECT_EQ(checkErrors(path), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(ChangeCounter::pathFor(path))) << "the last process tidied up";
}

// Processes that open the file at the same instant and insert one row each,
// many rounds: every insert that reported success is in the file.
TEST_F(SharingTest, ManyProcessesInsertingAtOnceLoseNothing) {
    constexpr int kProcesses = 8;
    const int kRounds = campaignSize("ORVDB_SHARING_ROUNDS", 6);
    for (int round = 0; round < kRounds; ++round) {
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        std::vector<pid_t> children;
        for (int process = 0; process < kProcesses; ++process) {
            children.push_back(inChild([&, process] {
                close(go[1]);
                char byte = 0;
                (void)!read(go[0], &byte, 1);  // all start together
                auto connection = openFile(path);
                connection->execute("INSERT INTO Log (Writer, Line) VALUES (" +
                                    std::to_string(process) + ", " + std::to_string(round) + ")");
            }));
        }
        close(go[0]);
        close(go[1]);  // the read returns at once in every child
        for (pid_t child : children) {
            EXPECT_EQ(exitStatus(child), 0) << "round " << round;
        }
    }
    auto connection = openFile(path);
    EXPECT_EQ(number(*connection, "SELECT Count(*) FROM Log"), kProcesses * kRounds);
}

// Once the holder dies its locks are gone.
TEST_F(SharingTest, AWriterKeptWaitingIsToldWhoHoldsTheFile) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = inChild([&] {
        auto connection = openFile(path);
        connection->beginTransaction();
        connection->execute("INSERT INTO Log (Writer) VALUES (9)");
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        pause();  // killed below, its transaction open
    });
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    setenv("ORVDB_LOCK_TIMEOUT_MS", "300", 1);
    {
        auto connection = openFile(path);
        const std::string message =
            testing::errorOf([&] { connection->execute("INSERT INTO Log (Writer) VALUES (1)"); });
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_NE(message.find("process " + std::to_string(holder)), std::string::npos) << message;
        EXPECT_EQ(number(*connection, "SELECT Count(*) FROM Log"), 0) << "reading goes on";
        kill(holder, SIGKILL);
        exitStatus(holder);
        connection->execute("INSERT INTO Log (Writer) VALUES (1)");
        EXPECT_EQ(number(*connection, "SELECT Count(*) FROM Log"), 1)
            << "the dead holder's uncommitted row is not there";
    }
    unsetenv("ORVDB_LOCK_TIMEOUT_MS");
    close(ready[0]);
    close(ready[1]);
}

// No lock, counter or journal file is needed to read.
TEST_F(SharingTest, ReadingNeedsNoWriteAccess) {
    openFile(path)->execute("INSERT INTO Log (Writer) VALUES (5)");
    fs::path folder = fs::path(path).parent_path();
    auto readAsNobody = [&] {
        return exitStatus(inChild([&] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                throw std::runtime_error("cannot become another user");
            }
            if (number(*openFile(path), "SELECT Count(*) FROM Log") != 1) {
                throw std::runtime_error("wrong count");
            }
        }));
    };
    if (geteuid() == 0) {
        // Root writes anywhere: read as another user of a folder root owns.
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write |
                                  fs::perms::group_read | fs::perms::others_read);
        EXPECT_EQ(readAsNobody(), 0);
    } else {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(readAsNobody(), 0);
        fs::permissions(folder, fs::perms::owner_all);
    }
    EXPECT_FALSE(fs::exists(ChangeCounter::pathFor(path)));
}

}  // namespace
}  // namespace orvdb::engine
