// Whole databases between an Access file and a MariaDB database: tables
// with their rows, primary keys, indexes and relationships (as foreign
// keys), and the saved selects MariaDB can hold as views. Each column keeps
// its Access type in its comment on the server, so that a database copied
// there comes back with the same types.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/mariadb/settings.hpp"

namespace orvdb::data::mariadb {

// One line of progress: which table, how many rows so far of how many.
struct CopyProgress {
    std::string table;
    size_t tableNumber = 0;  // 1-based
    size_t tableCount = 0;
    int64_t rowsDone = 0;
    int64_t rowsTotal = 0;  // -1 when not known
};
using ProgressSink = std::function<void(const CopyProgress&)>;

struct CopyReport {
    size_t tables = 0;
    int64_t rows = 0;
    size_t indexes = 0;
    size_t foreignKeys = 0;
    size_t views = 0;
    // Indexes and relationships that could not be carried (a key longer
    // than MariaDB allows, ...): one line each naming the object and why.
    // Rows and tables never end up here: a table that cannot be copied
    // whole fails the copy.
    std::vector<std::string> leftOut;
    // Saved queries and views the other side cannot express, the same way.
    std::vector<std::string> queriesLeftOut;
};

// Copies the Access file into the database the settings name (created when
// absent). Tables of the same names there are replaced. Raises naming the
// table (and statement) on the first failure.
CopyReport copyToServer(const std::string& accessFile, const Settings& server,
                        const ProgressSink& progress = {});

// Copies the server database into a new Access file (which must not exist).
CopyReport copyFromServer(const Settings& server, const std::string& accessFile,
                          const ProgressSink& progress = {});

// Copies one database of a server into another of the same server (made
// when absent, emptied when not): tables with their rows, keys, indexes and
// comments, foreign keys, views. Raises naming the object that failed.
void copyOnServer(const Settings& from, const Settings& to);

// Drops the database the settings name (nothing when there is none).
void dropServerDatabase(const Settings& settings);

}  // namespace orvdb::data::mariadb
