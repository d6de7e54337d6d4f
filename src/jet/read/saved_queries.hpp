// The saved queries of a database: MSysObjects rows of type 5 and their
// MSysQueries rows, turned into Access SQL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/read/query_text.hpp"

namespace orvdb::jet {

class JetFile;

struct SavedQuery {
    std::string name;
    int32_t id = 0;
    uint32_t flags = 0;  // MSysObjects flags
    QueryKind kind = QueryKind::Select;
    std::string sql;      // empty when `problem` is set
    std::string connect;  // pass-through queries
    std::string problem;  // why the text could not be rebuilt

    bool isHidden() const { return (flags & kHiddenObjectFlag) != 0; }
    // Queries Access makes for form and report record sources ("~sq_...").
    bool isInternal() const { return name.rfind("~sq_", 0) == 0; }
};

// In catalog order. A query whose rows cannot be turned into SQL is still
// listed, with `problem` saying why.
std::vector<SavedQuery> readSavedQueries(const JetFile& file);

}  // namespace orvdb::jet
