// The pre-update hook is declared only when asked for (Debian's SQLite is
// built with it).
#define SQLITE_ENABLE_PREUPDATE_HOOK 1
#include <sqlite3.h>

#include <cstdio>
#include <cstring>

#include "engine/store/change_log.hpp"

namespace orvdb::engine {

ChangeLog::ChangeLog(sqlite3* db) : db_(db) {
    sqlite3_preupdate_hook(db_, &ChangeLog::onChange, this);
}

ChangeLog::~ChangeLog() {
    sqlite3_preupdate_hook(db_, nullptr, nullptr);
}

void ChangeLog::onChange(void* self, sqlite3* db, int operation, const char* schema,
                         const char* table, sqlite3_int64 oldRowid, sqlite3_int64 newRowid) {
    auto* log = static_cast<ChangeLog*>(self);
    if (log->paused_ || std::strcmp(schema, "main") != 0) {
        return;
    }
    if (std::strncmp(table, "_orv_", 5) == 0) {
        // Counters move on every insert; columns and indexes only with DDL.
        if (std::strcmp(table, "_orv_columns") == 0 || std::strcmp(table, "_orv_indexes") == 0) {
            // Column 0 of both is the table's id.
            log->definitionsTouched_ = true;
            sqlite3_value* id = nullptr;
            if (operation != SQLITE_INSERT && sqlite3_preupdate_old(db, 0, &id) == SQLITE_OK) {
                log->redefined_.insert(sqlite3_value_int64(id));
            }
            if (operation != SQLITE_DELETE && sqlite3_preupdate_new(db, 0, &id) == SQLITE_OK) {
                log->redefined_.insert(sqlite3_value_int64(id));
            }
        } else if (std::strcmp(table, "_orv_tables") == 0 && operation != SQLITE_UPDATE) {
            log->definitionsTouched_ = true;
            log->redefined_.insert(operation == SQLITE_DELETE ? oldRowid : newRowid);
        } else if (std::strcmp(table, "_orv_tables") == 0) {
            log->counters_.insert(newRowid);  // its row id is the table's id
        }
        return;
    }
    if (std::strncmp(table, "sqlite_", 7) == 0) {
        return;
    }
    std::set<int64_t>& rows = log->touched_[table];
    if (operation != SQLITE_INSERT) {
        rows.insert(oldRowid);
    }
    if (operation != SQLITE_DELETE) {
        rows.insert(newRowid);
    }
}

}  // namespace orvdb::engine
