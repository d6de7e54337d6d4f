// What a commit costs now that every commit is written into the Access file:
// orvdb against SQLite's own autocommit (an on-disk database of the same
// rows, journal_mode=DELETE, synchronous=FULL), on the large file of
// large_file.hpp.
//
//   bench_commit_cost [WORK_DIR] [changes] [open [runs]]
//
// Each side runs in a child process (its own peak resident set):
//   - open + the first point select by primary key on the largest table
//     (Order Details, about 1.1 million rows);
//   - one-row autocommit UPDATE, INSERT and DELETE by key, `changes` of each
//     (default 50): the median time. orvdb loads the table's rows into its
//     store at the first change; that first change is timed on its own;
//   - one transaction inserting 10,000 rows: time, and the pages written;
//   - apart, in a child of its own: open, one point select and the first
//     change of the table (its rows, and those of the tables tied to it,
//     loaded into the store and checked): CPU time of that change and the
//     peak resident set before and after it.
// With `open`, only open + first point select, `runs` times (default 5) on
// each side, each run in a fresh child: the figures of every run and the
// medians.
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/dataset/connection.hpp"
#include "engine/store/pager.hpp"
#include "jet/read/jet_file.hpp"
#include "large_file.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int64_t kFirstNewOrder = 90000000;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The process's CPU time in seconds: on a loaded machine the figure to
// compare (each side runs in a child of its own, one thread).
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Runs `work` in a child that writes its figures to a pipe; returns them
// and the child's peak resident set in KiB.
std::vector<double> inChild(const std::function<std::vector<double>()>& work, long& peakKiB) {
    int results[2];
    if (pipe(results) != 0) {
        throw std::runtime_error("pipe");
    }
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        close(results[0]);
        try {
            std::vector<double> figures = work();
            (void)!write(results[1], figures.data(), figures.size() * sizeof(double));
            _exit(0);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s\n", error.what());
            _exit(1);
        }
    }
    close(results[1]);
    std::vector<double> figures;
    double value = 0;
    while (read(results[0], &value, sizeof value) == sizeof value) {
        figures.push_back(value);
    }
    close(results[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    peakKiB = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("a benchmark child failed");
    }
    return figures;
}

struct Key {
    int64_t order;
    int64_t product;
};

// Keys of existing rows, spread over the table.
std::vector<Key> existingKeys(const fs::path& file, size_t count) {
    orvdb::jet::JetFile jet = orvdb::jet::JetFile::open(file);
    orvdb::jet::TableReader reader = jet.readTable("Order Details");
    std::vector<Key> all;
    while (auto row = reader.next()) {
        all.push_back({std::get<int64_t>(row->values[0]), std::get<int64_t>(row->values[1])});
    }
    std::vector<Key> keys;
    for (size_t n = 0; n < count; ++n) {
        keys.push_back(all[(n * 7919 + 13) % all.size()]);
    }
    return keys;
}

void execSqlite(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(message + " [" + sql + "]");
    }
}

// The same rows in an SQLite database on disk.
void makeSqliteCopy(const fs::path& jetFile, const fs::path& target) {
    sqlite3* db = nullptr;
    sqlite3_open(target.c_str(), &db);
    execSqlite(db,
               "CREATE TABLE \"Order Details\" (OrderID INTEGER NOT NULL, ProductID INTEGER NOT "
               "NULL, UnitPrice REAL, Quantity INTEGER, Discount REAL, PRIMARY KEY (OrderID, "
               "ProductID))");
    execSqlite(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO \"Order Details\" VALUES (?, ?, ?, ?, ?)", -1, &insert,
                       nullptr);
    orvdb::jet::JetFile jet = orvdb::jet::JetFile::open(jetFile);
    orvdb::jet::TableReader reader = jet.readTable("Order Details");
    while (auto row = reader.next()) {
        sqlite3_bind_int64(insert, 1, std::get<int64_t>(row->values[0]));
        sqlite3_bind_int64(insert, 2, std::get<int64_t>(row->values[1]));
        sqlite3_bind_double(
            insert, 3,
            static_cast<double>(std::get<orvdb::jet::Currency>(row->values[2]).scaled) / 10000);
        sqlite3_bind_int64(insert, 4, std::get<int64_t>(row->values[3]));
        sqlite3_bind_double(insert, 5, std::get<double>(row->values[4]));
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    execSqlite(db, "COMMIT");
    sqlite3_close(db);
}

std::string pointSelect(const Key& key) {
    return "SELECT Quantity FROM [Order Details] WHERE OrderID = " + std::to_string(key.order) +
           " AND ProductID = " + std::to_string(key.product);
}

// Figures, in order: open+select, first change (load), update, insert,
// delete (medians), 10,000-row transaction, pages written by it.
std::vector<double> orvdbSide(const fs::path& file, const std::vector<Key>& keys) {
    std::vector<double> figures;
    auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    orvdb::engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string() + ";");
    connection.open();
    connection.query(pointSelect(keys[0]));
    figures.push_back(since(start));
    figures.push_back(cpuSeconds() - cpuStart);

    start = Clock::now();
    connection.execute("UPDATE [Order Details] SET Quantity = Quantity WHERE OrderID = " +
                       std::to_string(keys[0].order) +
                       " AND ProductID = " + std::to_string(keys[0].product));
    figures.push_back(since(start));

    // The orders the new rows belong to (a relationship requires them); not timed.
    connection.beginTransaction();
    for (size_t n = 1; n < keys.size(); ++n) {
        connection.execute("INSERT INTO Orders (OrderID) VALUES (" +
                           std::to_string(kFirstNewOrder + static_cast<int64_t>(n)) + ")");
    }
    for (int n = 0; n < 10000 / 77 + 1; ++n) {
        connection.execute("INSERT INTO Orders (OrderID) VALUES (" +
                           std::to_string(kFirstNewOrder * 2 + n) + ")");
    }
    connection.commitTransaction();

    std::vector<double> updates, inserts, deletes;
    for (size_t n = 1; n < keys.size(); ++n) {
        start = Clock::now();
        connection.execute("UPDATE [Order Details] SET Quantity = Quantity + 1 WHERE OrderID = " +
                           std::to_string(keys[n].order) +
                           " AND ProductID = " + std::to_string(keys[n].product));
        updates.push_back(since(start));
    }
    for (size_t n = 1; n < keys.size(); ++n) {
        start = Clock::now();
        connection.execute(
            "INSERT INTO [Order Details] (OrderID, ProductID, UnitPrice, Quantity, Discount) "
            "VALUES (" +
            std::to_string(kFirstNewOrder + static_cast<int64_t>(n)) + ", 1, 9.5, 3, 0)");
        inserts.push_back(since(start));
    }
    for (size_t n = 1; n < keys.size(); ++n) {
        start = Clock::now();
        connection.execute("DELETE FROM [Order Details] WHERE OrderID = " +
                           std::to_string(kFirstNewOrder + static_cast<int64_t>(n)));
        deletes.push_back(since(start));
    }
    figures.push_back(median(updates));
    figures.push_back(median(inserts));
    figures.push_back(median(deletes));

    uint64_t pagesBefore = connection.store().pager()->statistics().pagesWritten;
    start = Clock::now();
    connection.beginTransaction();
    for (int n = 0; n < 10000; ++n) {
        connection.execute(
            "INSERT INTO [Order Details] (OrderID, ProductID, UnitPrice, Quantity, Discount) "
            "VALUES (" +
            std::to_string(kFirstNewOrder * 2 + n / 77) + ", " + std::to_string(1 + n % 77) +
            ", 1.5, 1, 0)");
    }
    connection.commitTransaction();
    figures.push_back(since(start));
    figures.push_back(
        static_cast<double>(connection.store().pager()->statistics().pagesWritten - pagesBefore));
    return figures;
}

// Open + first point select alone: wall and CPU seconds.
std::vector<double> orvdbOpen(const fs::path& file, const Key& key) {
    auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    orvdb::engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string() + ";");
    connection.open();
    connection.query(pointSelect(key));
    return {since(start), cpuSeconds() - cpuStart};
}

std::vector<double> sqliteOpen(const fs::path& file, const Key& key) {
    auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT Quantity FROM \"Order Details\" WHERE OrderID = ? AND ProductID = ?",
                       -1, &select, nullptr);
    sqlite3_bind_int64(select, 1, key.order);
    sqlite3_bind_int64(select, 2, key.product);
    sqlite3_step(select);
    sqlite3_finalize(select);
    std::vector<double> figures{since(start), cpuSeconds() - cpuStart};
    sqlite3_close(db);
    return figures;
}

// Open, one point select, then the first change: wall and CPU seconds of
// the change, and the peak resident set (KiB) before it.
std::vector<double> firstChange(const fs::path& file, const Key& key) {
    orvdb::engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string() + ";");
    connection.open();
    connection.query(pointSelect(key));
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    connection.execute("UPDATE [Order Details] SET Quantity = Quantity WHERE OrderID = " +
                       std::to_string(key.order) +
                       " AND ProductID = " + std::to_string(key.product));
    return {since(start), cpuSeconds() - cpuStart, static_cast<double>(before.ru_maxrss)};
}

// `open` mode: open + first point select, `runs` fresh children per side.
void openRuns(const fs::path& work, const fs::path& workSqlite, const Key& key, int runs) {
    std::vector<double> oursWall, oursCpu, theirsWall, theirsCpu;
    for (int run = 0; run < runs; ++run) {
        long peak = 0;
        std::vector<double> ours = inChild([&] { return orvdbOpen(work, key); }, peak);
        std::vector<double> theirs = inChild([&] { return sqliteOpen(workSqlite, key); }, peak);
        std::printf("run %d: orvdb %.2f ms wall, %.2f ms CPU; SQLite %.2f ms wall, %.2f ms CPU\n",
                    run + 1, ours[0] * 1000, ours[1] * 1000, theirs[0] * 1000, theirs[1] * 1000);
        oursWall.push_back(ours[0]);
        oursCpu.push_back(ours[1]);
        theirsWall.push_back(theirs[0]);
        theirsCpu.push_back(theirs[1]);
    }
    std::printf(
        "medians: orvdb %.2f ms wall, %.2f ms CPU; SQLite %.2f ms wall, %.2f ms CPU; "
        "ratio %.2f wall, %.2f CPU\n",
        median(oursWall) * 1000, median(oursCpu) * 1000, median(theirsWall) * 1000,
        median(theirsCpu) * 1000, median(oursWall) / median(theirsWall),
        median(oursCpu) / median(theirsCpu));
}

std::vector<double> sqliteSide(const fs::path& file, const std::vector<Key>& keys) {
    std::vector<double> figures;
    auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    execSqlite(db, "PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL");
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT Quantity FROM \"Order Details\" WHERE OrderID = ? AND ProductID = ?",
                       -1, &select, nullptr);
    sqlite3_bind_int64(select, 1, keys[0].order);
    sqlite3_bind_int64(select, 2, keys[0].product);
    sqlite3_step(select);
    sqlite3_finalize(select);
    figures.push_back(since(start));
    figures.push_back(cpuSeconds() - cpuStart);
    figures.push_back(0);  // nothing to load
    std::vector<double> updates, inserts, deletes;
    for (size_t n = 1; n < keys.size(); ++n) {
        start = Clock::now();
        execSqlite(db, "UPDATE \"Order Details\" SET Quantity = Quantity + 1 WHERE OrderID = " +
                           std::to_string(keys[n].order) +
                           " AND ProductID = " + std::to_string(keys[n].product));
        updates.push_back(since(start));
    }
    for (size_t n = 1; n < keys.size(); ++n) {
        start = Clock::now();
        execSqlite(db, "INSERT INTO \"Order Details\" VALUES (" +
                           std::to_string(kFirstNewOrder + static_cast<int64_t>(n)) +
                           ", 1, 9.5, 3, 0)");
        inserts.push_back(since(start));
    }
    for (size_t n = 1; n < keys.size(); ++n) {
        start = Clock::now();
        execSqlite(db, "DELETE FROM \"Order Details\" WHERE OrderID = " +
                           std::to_string(kFirstNewOrder + static_cast<int64_t>(n)));
        deletes.push_back(since(start));
    }
    figures.push_back(median(updates));
    figures.push_back(median(inserts));
    figures.push_back(median(deletes));
    start = Clock::now();
    execSqlite(db, "BEGIN");
    for (int n = 0; n < 10000; ++n) {
        execSqlite(db, "INSERT INTO \"Order Details\" VALUES (" +
                           std::to_string(kFirstNewOrder * 2 + n / 77) + ", " +
                           std::to_string(1 + n % 77) + ", 1.5, 1, 0)");
    }
    execSqlite(db, "COMMIT");
    figures.push_back(since(start));
    figures.push_back(0);
    sqlite3_close(db);
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "orvdb-bench";
    size_t changes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 50;
    const bool openOnly = argc > 3 && std::string(argv[3]) == "open";
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    fs::create_directories(dir);
    fs::path source = fs::path(ORVDB_BENCH_FIXTURES) / "jet4" / "northwind.mdb";
    fs::path large = dir / "large.mdb";
    fs::path sqliteCopy = dir / "large.sqlite";
    try {
        if (!fs::exists(large)) {
            std::printf("generating %s ...\n", large.c_str());
            orvdb::bench::generateLargeFile(source, large, 110 * 1000000ull);
        }
        if (!fs::exists(sqliteCopy)) {
            std::printf("copying its rows into %s ...\n", sqliteCopy.c_str());
            makeSqliteCopy(large, sqliteCopy);
        }
        std::vector<Key> keys = existingKeys(large, changes + 1);
        fs::path work = dir / "work.mdb", workSqlite = dir / "work.sqlite";
        fs::copy_file(large, work, fs::copy_options::overwrite_existing);
        fs::copy_file(sqliteCopy, workSqlite, fs::copy_options::overwrite_existing);
        if (openOnly) {
            openRuns(work, workSqlite, keys[0], runs);
            fs::remove(work);
            fs::remove(workSqlite);
            return 0;
        }
        // Open and one point select alone first: the memory that takes.
        long openPeak = 0, sqliteOpenPeak = 0, orvdbPeak = 0, sqlitePeak = 0;
        std::vector<Key> first(keys.begin(), keys.begin() + 1);
        inChild(
            [&] {
                orvdb::engine::Connection connection;
                connection.setConnectionString("Data Source=" + work.string() + ";");
                connection.open();
                connection.query(pointSelect(first[0]));
                return std::vector<double>{};
            },
            openPeak);
        inChild(
            [&] {
                sqlite3* db = nullptr;
                sqlite3_open(workSqlite.c_str(), &db);
                execSqlite(db, "SELECT Quantity FROM \"Order Details\" WHERE OrderID = " +
                                   std::to_string(first[0].order) +
                                   " AND ProductID = " + std::to_string(first[0].product));
                sqlite3_close(db);
                return std::vector<double>{};
            },
            sqliteOpenPeak);
        long changePeak = 0;
        std::vector<double> change =
            inChild([&] { return firstChange(work, keys[0]); }, changePeak);
        std::vector<double> ours = inChild([&] { return orvdbSide(work, keys); }, orvdbPeak);
        std::vector<double> theirs =
            inChild([&] { return sqliteSide(workSqlite, keys); }, sqlitePeak);
        double megabytes = static_cast<double>(fs::file_size(large)) / 1e6;
        std::printf("file: %.1f MB; %zu changes of each kind\n", megabytes, changes);
        std::printf("%-40s %12s %12s %8s\n", "", "orvdb", "SQLite", "ratio");
        const char* names[] = {
            "open + first point select (ms)", "open + first point select, CPU (ms)",
            "first change, loading (ms)",     "one-row UPDATE, median (ms)",
            "one-row INSERT, median (ms)",    "one-row DELETE, median (ms)",
            "10,000-row transaction (ms)"};
        for (size_t n = 0; n < 7; ++n) {
            std::printf("%-40s %12.2f %12.2f %8.2f\n", names[n], ours[n] * 1000, theirs[n] * 1000,
                        theirs[n] > 0 ? ours[n] / theirs[n] : 0.0);
        }
        std::printf("%-40s %12.0f\n", "pages written by the 10,000 rows", ours[7]);
        std::printf("%-40s %12.1f %12.1f\n", "peak resident set, open + select (MB)",
                    openPeak / 1024.0, sqliteOpenPeak / 1024.0);
        std::printf("%-40s %12.2f\n", "first change alone, wall (s)", change[0]);
        std::printf("%-40s %12.2f\n", "first change alone, CPU (s)", change[1]);
        std::printf("%-40s %12.1f\n", "peak resident set before it (MB)", change[2] / 1024.0);
        std::printf("%-40s %12.1f\n", "peak resident set after it (MB)", changePeak / 1024.0);
        std::printf("%-40s %12.1f %12.1f\n", "peak resident set, all of it (MB)",
                    orvdbPeak / 1024.0, sqlitePeak / 1024.0);
        fs::remove(work);
        fs::remove(workSqlite);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_commit_cost: %s\n", error.what());
        return 1;
    }
    return 0;
}
