// Kills a process at random instants while it commits, then checks that the
// file holds exactly the commits that returned, or those and the one that
// was running: never a part of one, never a damaged file.
//
//   bench_crash_campaign WORK_DIR [trials] [seed]
//
// The campaign works on WORK_DIR/crash.mdb, a copy of the large file of
// large_file.hpp (WORK_DIR/large.mdb, generated when missing). Each trial starts a writer that
// commits batches in a loop: single-row inserts, 10,000-row transactions, a table created or
// dropped, a column added (the table written anew), old batches deleted. Before each commit it
// tells the parent what it starts, after it what it finished. The parent kills it after a random
// pause, opens the file (which rolls an interrupted commit back), runs the file check and compares
// the batches in the file with those the writer finished.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "engine/dataset/connection.hpp"
#include "jet/check/file_check.hpp"
#include "jet/read/jet_file.hpp"
#include "large_file.hpp"

namespace {

using orvdb::engine::Connection;

enum class Kind : int {
    Single = 1,
    Large = 2,
    CreateSide = 3,
    DropSide = 4,
    AddColumn = 5,
    Trim = 6
};

struct Message {
    int batch = 0;
    int kind = 0;
    int rows = 0;
    int finished = 0;  // 0: starting, 1: done
};

std::unique_ptr<Connection> openFile(const std::string& path) {
    auto connection = std::make_unique<Connection>();
    connection->setConnectionString("Data Source=" + path + ";");
    connection->open();
    return connection;
}

int64_t number(Connection& connection, const std::string& sql) {
    auto rows = connection.query(sql).rows;
    if (rows.empty() || std::holds_alternative<std::monostate>(rows[0][0])) {
        return 0;
    }
    return std::get<int64_t>(rows[0][0]);
}

[[noreturn]] void writer(const std::string& path, int firstBatch, uint32_t seed, int report) {
    std::mt19937 random(seed);
    auto connection = openFile(path);
    for (int batch = firstBatch;; ++batch) {
        auto kind = static_cast<Kind>(1 + std::uniform_int_distribution<int>(0, 9)(random) % 6);
        int rows = kind == Kind::Single ? 1 : kind == Kind::Large ? 10000 : 0;
        Message start{batch, static_cast<int>(kind), rows, 0};
        (void)!write(report, &start, sizeof start);
        switch (kind) {
            case Kind::Single:
                connection->execute("INSERT INTO CrashLog (Batch, Seq, Note) VALUES (" +
                                    std::to_string(batch) + ", 0, 'one row')");
                break;
            case Kind::Large:
                connection->beginTransaction();
                for (int row = 0; row < rows; ++row) {
                    connection->execute("INSERT INTO CrashLog (Batch, Seq, Note) VALUES (" +
                                        std::to_string(batch) + ", " + std::to_string(row) +
                                        (row % 100 == 0 ? ", String(5000, 'x'))" : ", 'row')"));
                }
                connection->commitTransaction();
                break;
            case Kind::CreateSide:
                connection->execute("CREATE TABLE Side" + std::to_string(batch) +
                                    " (ID COUNTER PRIMARY KEY, Label TEXT(20))");
                break;
            case Kind::DropSide: {
                auto tables = connection->userTableNames();
                for (const std::string& table : tables) {
                    if (table.rfind("Side", 0) == 0) {
                        connection->execute("DROP TABLE " + table);
                        break;
                    }
                }
                break;
            }
            case Kind::AddColumn:
                connection->execute("ALTER TABLE CrashLog ADD COLUMN Extra" +
                                    std::to_string(batch) + " LONG");
                break;
            case Kind::Trim:
                connection->execute("DELETE FROM CrashLog WHERE Batch < " +
                                    std::to_string(batch - 40));
                break;
        }
        Message done{batch, static_cast<int>(kind), rows, 1};
        (void)!write(report, &done, sizeof done);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_crash_campaign WORK_DIR [trials] [seed]\n");
        return 2;
    }
    std::filesystem::path dir = argv[1];
    std::string path = (dir / "crash.mdb").string();
    int trials = argc > 2 ? std::atoi(argv[2]) : 500;
    uint32_t seed = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 1;
    std::mt19937 random(seed);
    int nextBatch = 1;
    int failures = 0, interrupted = 0;
    auto campaignStart = std::chrono::steady_clock::now();
    try {
        std::filesystem::create_directories(dir);
        std::filesystem::path large = dir / "large.mdb";
        if (!std::filesystem::exists(large)) {
            std::printf("generating %s ...\n", large.c_str());
            orvdb::bench::generateLargeFile(
                std::filesystem::path(ORVDB_BENCH_FIXTURES) / "jet4" / "northwind.mdb", large,
                110 * 1000000ull);
        }
        std::filesystem::copy_file(large, path, std::filesystem::copy_options::overwrite_existing);
        campaignStart = std::chrono::steady_clock::now();
        {
            auto connection = openFile(path);
            bool present = false;
            for (const std::string& table : connection->userTableNames()) {
                present = present || table == "CrashLog";
            }
            if (!present) {
                connection->execute(
                    "CREATE TABLE CrashLog (ID COUNTER PRIMARY KEY, Batch LONG, Seq LONG, Note "
                    "MEMO)");
                connection->execute("CREATE INDEX ByBatch ON CrashLog (Batch, Seq)");
            }
            nextBatch =
                static_cast<int>(number(*connection, "SELECT Max(Batch) FROM CrashLog")) + 1;
        }
        for (int trial = 1; trial <= trials; ++trial) {
            int pipeFds[2];
            if (pipe(pipeFds) != 0) {
                throw std::runtime_error("pipe");
            }
            pid_t child = fork();
            if (child == 0) {
                close(pipeFds[0]);
                try {
                    writer(path, nextBatch, seed * 7919u + static_cast<uint32_t>(trial),
                           pipeFds[1]);
                } catch (const std::exception& error) {
                    std::fprintf(stderr, "writer: %s\n", error.what());
                    _exit(3);
                }
            }
            close(pipeFds[1]);
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::uniform_int_distribution<int>(50, 3000)(random)));
            kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);
            std::map<int, Message> started, finished;
            Message message;
            while (read(pipeFds[0], &message, sizeof message) == sizeof message) {
                (message.finished ? finished : started)[message.batch] = message;
            }
            close(pipeFds[0]);
            if (WIFEXITED(status)) {
                std::fprintf(stderr, "trial %d: the writer stopped by itself (%d)\n", trial,
                             WEXITSTATUS(status));
                ++failures;
                continue;
            }
            // The batch that was running when the kill came, if any.
            std::optional<Message> running;
            for (const auto& [batch, start] : started) {
                if (finished.count(batch) == 0) {
                    running = start;
                }
            }
            interrupted += running ? 1 : 0;

            auto connection = openFile(path);  // rolls an interrupted commit back
            std::vector<std::string> problems;
            for (const auto& finding :
                 orvdb::jet::checkJetFile(orvdb::jet::JetFile::open(path)).findings) {
                if (finding.severity == orvdb::jet::CheckSeverity::Error) {
                    problems.push_back(finding.text);
                }
            }
            // Every batch of rows is whole: as many rows as it wrote, or none
            // (deleted by a later trim, or the running one rolled back).
            auto counts =
                connection->query("SELECT Batch, Count(*), Sum(Seq) FROM CrashLog GROUP BY Batch");
            std::set<int> present;
            for (const auto& row : counts.rows) {
                int batch = static_cast<int>(std::get<int64_t>(row[0]));
                int64_t rows = std::get<int64_t>(row[1]);
                present.insert(batch);
                auto expected = finished.count(batch)                  ? finished[batch]
                                : (running && running->batch == batch) ? *running
                                                                       : Message{};
                bool whole =
                    expected.rows == 0 ||
                    (rows == expected.rows &&
                     std::get<int64_t>(row[2]) == int64_t{expected.rows} * (expected.rows - 1) / 2);
                if (batch >= nextBatch && !whole) {
                    problems.push_back("batch " + std::to_string(batch) + " has " +
                                       std::to_string(rows) + " rows of " +
                                       std::to_string(expected.rows));
                }
            }
            for (const auto& [batch, done] : finished) {
                if (done.rows > 0 && present.count(batch) == 0) {
                    bool trimmedLater = running && running->kind == static_cast<int>(Kind::Trim) &&
                                        batch < running->batch - 40;
                    for (const auto& [other, later] : finished) {
                        trimmedLater =
                            trimmedLater || (later.kind == static_cast<int>(Kind::Trim) &&
                                             other > batch && batch < other - 40);
                    }
                    if (!trimmedLater) {
                        problems.push_back("finished batch " + std::to_string(batch) +
                                           " is missing");
                    }
                }
            }
            if (!problems.empty()) {
                ++failures;
                std::fprintf(stderr, "trial %d: %zu problem(s), first: %s\n", trial,
                             problems.size(), problems.front().c_str());
            }
            int highest = started.empty() ? nextBatch - 1 : started.rbegin()->first;
            nextBatch = highest + 1;
            if (trial % 10 == 0) {
                std::printf("%d trials, %d killed mid-commit, %d failures\n", trial, interrupted,
                            failures);
                std::fflush(stdout);
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_crash_campaign: %s\n", error.what());
        return 1;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - campaignStart).count();
    std::printf("%d trials in %.0f s: %d killed mid-commit, %d failures\n", trials, seconds,
                interrupted, failures);
    return failures == 0 ? 0 : 1;
}
