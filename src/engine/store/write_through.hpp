// Commits of a mirrored Access file: at each commit point the rows a
// transaction touched are compared with the file and the differences are
// written into the file's pages in place (rows, long values, index entries,
// counters, usage maps), through the pager's journal.
//
// A mirrored row's store row id is its row pointer in the file. Rows the
// store added get row ids of SQLite's choosing; once written, the pointer
// each got is remembered beside its row id, so that later commits find it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/store/change_log.hpp"
#include "engine/store/pager.hpp"

namespace orvdb::jet {
class FilePages;
struct RowPointer;
}  // namespace orvdb::jet

namespace orvdb::engine {

class Catalog;

class WriteThrough {
public:
    // `password`: the one the file was opened with.
    WriteThrough(sqlite3* db, Catalog& catalog, Pager& pager, std::optional<std::string> password);
    ~WriteThrough();

    ChangeLog& log() { return log_; }
    // Whether the store holds a table's rows (a table whose rows are only in
    // the file must not be written anew from the store).
    void setLoadedCheck(std::function<bool(int64_t)> loaded) { loaded_ = std::move(loaded); }
    bool pending() const { return !log_.empty(); }
    // DDL added, dropped or redefined tables: at the commit, those whose
    // definition no longer matches the file are written anew, new ones
    // written and dropped ones given back.
    bool definitionsPending() const { return log_.definitionsTouched(); }

    // Writes what the current transaction changed into the file, before the
    // store commits it. Throws EngineError naming the file and why; the file
    // is then as it was (the caller rolls the store back).
    void commit();
    // The transaction was rolled back: nothing to write.
    void rollback() { log_.clear(); }

private:
    struct RowIds;
    struct Written;
    RowIds& rowIdsOf(int64_t tableId);
    // Tables whose definitions changed; returns the ids of the tables written whole.
    std::set<int64_t> writeDefinitions(jet::FilePages& pages, std::vector<Written>& written);
    void writeRows(jet::FilePages& pages, const std::set<int64_t>& skip,
                   std::vector<Written>& written);
    void renumber(const std::string& storedName, const std::vector<int64_t>& rowids,
                  const std::vector<jet::RowPointer>& pointers);

    sqlite3* db_;
    Catalog& catalog_;
    Pager& pager_;
    std::optional<std::string> password_;
    ChangeLog log_;
    std::function<bool(int64_t)> loaded_;
    std::map<int64_t, std::unique_ptr<RowIds>> rowIds_;  // by table id
};

}  // namespace orvdb::engine
