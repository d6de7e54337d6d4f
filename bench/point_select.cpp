// Point selects by primary key: the engine's query dataset, given a new SQL
// text for every lookup as callers build them, against raw SQLite prepared
// statements (prepared once, bound, stepped) reading the same rows.
//
//   bench_point_select [--rows=100000] [--lookups=100000]
#include "bench_support.hpp"

#include "engine/dataset/connection.hpp"
#include "engine/dataset/query_dataset.hpp"
#include "engine/store/working_store.hpp"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace orvdb;
using namespace orvdb::bench;

namespace {

constexpr const char* kSelectColumns = "SELECT ID, Name, Qty, Price FROM Article";

[[noreturn]] void fail(sqlite3* db, const char* what) {
    std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db, sql);
    }
}

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        fail(db, "prepare");
    }
    return stmt;
}

std::string articleName(int64_t id) {
    return "Article " + std::to_string(id);
}

void fillEngine(engine::Connection& conn, int64_t rows) {
    conn.execute(
        "CREATE TABLE Article (ID LONG CONSTRAINT PK PRIMARY KEY, Name TEXT(50), Qty LONG, "
        "Price DOUBLE)");
    conn.beginTransaction();
    for (int64_t id = 1; id <= rows; ++id) {
        conn.execute("INSERT INTO Article (ID, Name, Qty, Price) VALUES (" + std::to_string(id) +
                     ", '" + articleName(id) + "', " + std::to_string(id % 97) + ", " +
                     std::to_string(id) + ".25)");
    }
    conn.commitTransaction();
}

// The same rows in a plain SQLite table keyed by its rowid.
void fillPlain(sqlite3* db, int64_t rows) {
    exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
    exec(db, "CREATE TABLE Article (ID INTEGER PRIMARY KEY, Name TEXT, Qty INTEGER, Price REAL)");
    exec(db, "BEGIN");
    sqlite3_stmt* insert = prepare(db, "INSERT INTO Article VALUES (?, ?, ?, ?)");
    for (int64_t id = 1; id <= rows; ++id) {
        std::string name = articleName(id);
        sqlite3_bind_int64(insert, 1, id);
        sqlite3_bind_text(insert, 2, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 3, id % 97);
        sqlite3_bind_double(insert, 4, static_cast<double>(id) + 0.25);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            fail(db, "insert");
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "COMMIT");
}

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
    int64_t checksum = 0;
};

Run engineLookups(engine::Connection& conn, int64_t rows, int64_t lookups) {
    KeySequence keys(rows);
    engine::QueryDataset query(conn);
    Run run;
    Stopwatch watch;
    for (int64_t i = 0; i < lookups; ++i) {
        query.setSql(std::string(kSelectColumns) + " WHERE ID = " + std::to_string(keys.next()));
        query.open();
        run.checksum += query.getInt32(0) + static_cast<int64_t>(query.getText(1).size()) +
                        query.getInt32(2) + static_cast<int64_t>(query.getDouble(3));
    }
    run.seconds = watch.seconds();
    run.cpuSeconds = watch.cpuSeconds();
    return run;
}

Run rawLookups(sqlite3* db, const std::string& sql, int64_t rows, int64_t lookups) {
    KeySequence keys(rows);
    sqlite3_stmt* stmt = prepare(db, sql);
    Run run;
    Stopwatch watch;
    for (int64_t i = 0; i < lookups; ++i) {
        sqlite3_bind_int64(stmt, 1, keys.next());
        if (sqlite3_step(stmt) != SQLITE_ROW) {
            fail(db, "lookup");
        }
        // Read as a caller would: the text is copied out of SQLite's buffer.
        std::string name(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                         static_cast<size_t>(sqlite3_column_bytes(stmt, 1)));
        run.checksum += sqlite3_column_int64(stmt, 0) + static_cast<int64_t>(name.size()) +
                        sqlite3_column_int64(stmt, 2) +
                        static_cast<int64_t>(sqlite3_column_double(stmt, 3));
        sqlite3_reset(stmt);
    }
    run.seconds = watch.seconds();
    run.cpuSeconds = watch.cpuSeconds();
    sqlite3_finalize(stmt);
    return run;
}

void print(const char* label, const Run& run, int64_t lookups, const Run& reference) {
    std::printf("  %-46s cpu %7.3f s %7.2f us/lookup %5.2fx | wall %7.3f s %5.2fx\n", label,
                run.cpuSeconds, run.cpuSeconds * 1e6 / static_cast<double>(lookups),
                run.cpuSeconds / reference.cpuSeconds, run.seconds,
                run.seconds / reference.seconds);
}

}  // namespace

int main(int argc, char** argv) {
    int64_t rows = countOption(argc, argv, "rows", 100000);
    int64_t lookups = countOption(argc, argv, "lookups", 100000);
    ScratchDir dir;

    std::string storePath = dir.file("point.mdb");
    engine::WorkingStore::createDatabase(storePath);
    engine::Connection conn;
    conn.setConnectionString("Data Source=" + storePath);
    conn.open();
    Stopwatch fillWatch;
    fillEngine(conn, rows);
    double fillSeconds = fillWatch.seconds();

    sqlite3* plain = nullptr;
    if (sqlite3_open(dir.file("plain.sqlite").c_str(), &plain) != SQLITE_OK) {
        fail(plain, "open");
    }
    fillPlain(plain, rows);

    // Warm the page caches of both files before timing.
    rawLookups(conn.store().db(), std::string(kSelectColumns) + " WHERE ID = ? COLLATE JETTEXT",
               rows, rows);
    rawLookups(plain, std::string(kSelectColumns) + " WHERE ID = ?", rows, rows);

    Run engineRun = engineLookups(conn, rows, lookups);
    // The engine's own store and index, without the engine: what its
    // translation costs when prepared once.
    Run sameStore =
        rawLookups(conn.store().db(), std::string(kSelectColumns) + " WHERE ID = ? COLLATE JETTEXT",
                   rows, lookups);
    Run plainRun = rawLookups(plain, std::string(kSelectColumns) + " WHERE ID = ?", rows, lookups);
    sqlite3_close(plain);

    if (engineRun.checksum != sameStore.checksum || engineRun.checksum != plainRun.checksum) {
        std::fprintf(stderr, "checksums differ: engine %lld, store %lld, plain %lld\n",
                     static_cast<long long>(engineRun.checksum),
                     static_cast<long long>(sameStore.checksum),
                     static_cast<long long>(plainRun.checksum));
        return 1;
    }
    std::printf("point selects: %lld lookups on %lld rows (fill through the engine: %.2f s)\n",
                static_cast<long long>(lookups), static_cast<long long>(rows), fillSeconds);
    print("raw SQLite, same store and index", sameStore, lookups, sameStore);
    print("raw SQLite, plain table (INTEGER PRIMARY KEY)", plainRun, lookups, sameStore);
    print("engine QueryDataset, new SQL text each", engineRun, lookups, sameStore);
    std::printf("ratio (cpu) engine / raw same store: %.2f   engine / raw plain table: %.2f\n",
                engineRun.cpuSeconds / sameStore.cpuSeconds,
                engineRun.cpuSeconds / plainRun.cpuSeconds);
    return 0;
}
