// The saved queries of a database: MSysObjects rows of type 5 and their
// MSysQueries rows, turned into Access SQL.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "jet/read/query_text.hpp"

namespace orvdb::jet {

class JetFile;
struct CatalogObject;
struct Row;

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

// The same from MSysQueries rows that another reading of the table gives
// (the store's open decodes them once for both): `add` each row, then take
// `queries`. Does nothing when the file has no saved query.
class SavedQueryRows {
public:
    // Throws JetError when MSysQueries lacks its ObjectId or Attribute.
    explicit SavedQueryRows(const JetFile& file);

    // Whether the rows are wanted: the file has saved queries.
    bool wanted() const { return !objects_.empty(); }
    void add(const Row& row);
    // In catalog order, as readSavedQueries.
    std::vector<SavedQuery> queries();

private:
    // Where the columns read lie among MSysQueries's.
    struct Positions {
        std::optional<size_t> objectId, attribute, name1, name2, expression, flag, extra, order;
    };
    // A row and where Jet ranks it among the rows of its attribute (the
    // Order column): rows need not lie in the file in that order.
    struct RankedRow {
        QueryRow row;
        uint64_t order = 0;  // the column's bytes, most significant first
    };

    // Puts the rows of each attribute in their Order, leaving every
    // attribute's rows where they were among the others.
    static std::vector<QueryRow> inOrder(std::vector<RankedRow> ranked);

    std::vector<const CatalogObject*> objects_;
    Positions at_;
    std::map<int32_t, std::vector<RankedRow>> rowsByQuery_;
};

}  // namespace orvdb::jet
