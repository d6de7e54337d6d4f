// Single-row inserts, each its own statement and its own commit (no
// transaction around them, as the merge runs its export): the engine's
// Connection::execute with a new INSERT text per row against raw SQLite
// autocommit inserts with the same journal settings. Also reports the peak
// memory of each side.
//
//   bench_single_inserts [--rows=100000] [--side=both|engine|raw]
// Run one side per process for a peak resident set that belongs to it alone.
#include "bench_support.hpp"

#include "engine/dataset/connection.hpp"
#include "engine/store/working_store.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace orvdb;
using namespace orvdb::bench;

namespace {

[[noreturn]] void fail(sqlite3* db, const char* what) {
    std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db, sql);
    }
}

std::string articleName(int64_t id) {
    return "Article " + std::to_string(id);
}

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
    size_t heapBefore = 0;
    size_t heapPeak = 0;
    long rssKiB = 0;
};

// Heap sampled every so many rows: the peak of the samples.
constexpr int64_t kHeapSampleEvery = 1000;

Run engineInserts(const std::string& path, int64_t rows) {
    engine::WorkingStore::createDatabase(path);
    engine::Connection conn;
    conn.setConnectionString("Data Source=" + path);
    conn.open();
    // An autonumber key given explicitly, as the merge writes shifted keys.
    conn.execute(
        "CREATE TABLE Article (ID AUTOINCREMENT CONSTRAINT PK PRIMARY KEY, Name TEXT(50), "
        "Qty LONG, Price DOUBLE, Active BIT)");
    Run run;
    run.heapBefore = run.heapPeak = heapInUse();
    Stopwatch watch;
    for (int64_t id = 1; id <= rows; ++id) {
        conn.execute("INSERT INTO Article (ID, Name, Qty, Price, Active) VALUES (" +
                     std::to_string(id) + ", '" + articleName(id) + "', " +
                     std::to_string(id % 97) + ", " + std::to_string(id) + ".25, " +
                     (id % 2 ? "-1" : "0") + ")");
        if (id % kHeapSampleEvery == 0) {
            run.heapPeak = std::max(run.heapPeak, heapInUse());
        }
    }
    run.seconds = watch.seconds();
    run.cpuSeconds = watch.cpuSeconds();
    conn.close();
    run.rssKiB = peakRssKiB();
    return run;
}

Run rawInserts(const std::string& path, int64_t rows) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        fail(db, "open");
    }
    exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
    exec(db,
         "CREATE TABLE Article (ID INTEGER PRIMARY KEY, Name TEXT, Qty INTEGER, Price REAL, "
         "Active INTEGER)");
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO Article VALUES (?, ?, ?, ?, ?)", -1, &insert,
                           nullptr) != SQLITE_OK) {
        fail(db, "prepare");
    }
    Run run;
    run.heapBefore = run.heapPeak = heapInUse();
    Stopwatch watch;
    for (int64_t id = 1; id <= rows; ++id) {
        std::string name = articleName(id);
        sqlite3_bind_int64(insert, 1, id);
        sqlite3_bind_text(insert, 2, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 3, id % 97);
        sqlite3_bind_double(insert, 4, static_cast<double>(id) + 0.25);
        sqlite3_bind_int64(insert, 5, id % 2 ? -1 : 0);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            fail(db, "insert");
        }
        sqlite3_reset(insert);
        if (id % kHeapSampleEvery == 0) {
            run.heapPeak = std::max(run.heapPeak, heapInUse());
        }
    }
    run.seconds = watch.seconds();
    run.cpuSeconds = watch.cpuSeconds();
    sqlite3_finalize(insert);
    sqlite3_close(db);
    run.rssKiB = peakRssKiB();
    return run;
}

void print(const char* label, const Run& run, int64_t rows) {
    std::printf(
        "  %-28s cpu %7.3f s %8.0f rows/s %7.2f us/row | wall %7.3f s %8.0f rows/s | "
        "heap peak +%5.1f MiB | max RSS %6.1f MiB\n",
        label, run.cpuSeconds, static_cast<double>(rows) / run.cpuSeconds,
        run.cpuSeconds * 1e6 / static_cast<double>(rows), run.seconds,
        static_cast<double>(rows) / run.seconds,
        static_cast<double>(run.heapPeak - run.heapBefore) / (1024.0 * 1024.0),
        static_cast<double>(run.rssKiB) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    int64_t rows = countOption(argc, argv, "rows", 100000);
    std::string side = textOption(argc, argv, "side", "both");
    if (side != "both" && side != "engine" && side != "raw") {
        std::fprintf(stderr, "--side must be both, engine or raw (not '%s')\n", side.c_str());
        return 2;
    }
    ScratchDir dir;
    std::printf("single-row inserts, autocommit: %lld rows\n", static_cast<long long>(rows));
    Run raw, eng;
    if (side != "engine") {
        raw = rawInserts(dir.file("plain.sqlite"), rows);
        print("raw SQLite, prepared once", raw, rows);
    }
    if (side != "raw") {
        eng = engineInserts(dir.file("inserts.mdb"), rows);
        print("engine Connection::execute", eng, rows);
    }
    if (side == "both") {
        std::printf(
            "ratio engine / raw: cpu %.2f, wall %.2f (max RSS is cumulative when both "
            "sides run in one process)\n",
            eng.cpuSeconds / raw.cpuSeconds, eng.seconds / raw.seconds);
    }
    return 0;
}
