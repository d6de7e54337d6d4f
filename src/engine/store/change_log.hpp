// Which rows a transaction of a working store touched, table by table, as
// SQLite's pre-update hook reports them: row ids only. What a row was is in
// the file (a mirrored row's id is its row pointer), what it is now is in the
// store, so the log needs no values, and rows a rolled-back savepoint touched
// only cost a comparison that finds them unchanged.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace orvdb::engine {

class ChangeLog {
public:
    // Starts listening to `db` (the store's connection, "main" schema).
    explicit ChangeLog(sqlite3* db);
    ~ChangeLog();
    ChangeLog(const ChangeLog&) = delete;
    ChangeLog& operator=(const ChangeLog&) = delete;

    // Row ids by the store's table name (the store's own bookkeeping
    // tables, "_orv_...", are left out).
    const std::map<std::string, std::set<int64_t>>& touched() const { return touched_; }
    // A table was added, dropped or redefined (the catalog's tables of
    // columns and indexes changed).
    bool definitionsTouched() const { return definitionsTouched_; }
    // The ids of the tables added, dropped or redefined.
    const std::set<int64_t>& redefined() const { return redefined_; }
    // Tables (by id) whose autonumber counter moved.
    const std::set<int64_t>& counters() const { return counters_; }
    bool empty() const { return touched_.empty() && !definitionsTouched_ && counters_.empty(); }
    void clear() {
        touched_.clear();
        counters_.clear();
        redefined_.clear();
        definitionsTouched_ = false;
    }

    // While paused (the store being loaded from the file, row ids being
    // renumbered after a commit) nothing is recorded.
    class Pause {
    public:
        explicit Pause(ChangeLog& log) : log_(log), was_(log.paused_) { log.paused_ = true; }
        ~Pause() { log_.paused_ = was_; }

    private:
        ChangeLog& log_;
        bool was_;
    };

private:
    static void onChange(void* self, sqlite3* db, int operation, const char* schema,
                         const char* table, sqlite3_int64 oldRowid, sqlite3_int64 newRowid);

    sqlite3* db_;
    bool paused_ = false;
    bool definitionsTouched_ = false;
    std::map<std::string, std::set<int64_t>> touched_;
    std::set<int64_t> counters_;
    std::set<int64_t> redefined_;
};

}  // namespace orvdb::engine
