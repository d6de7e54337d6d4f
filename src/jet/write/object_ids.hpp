// Object ids in the rows of Jet's system tables. A table's id is its
// definition page, so when the writer moves a table every row that names it
// by id follows: its MSysObjects row, its permissions in MSysACEs, Access's
// navigation-pane tables.
//
// Queries, forms, relationships and containers have ids of their own in
// MSysObjects. Those never change, and an image may hand a new table an id
// that one of them already uses: only rows that name a table are renumbered.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "jet/format/value.hpp"

namespace orvdb::jet {

struct DatabaseImage;
struct TableImage;

// The Ids of the MSysObjects rows of `image` that are not the row of one of
// its tables (Type 1 under the Tables container, by that table's id and
// name). A table definition page must not take one of them.
std::set<uint32_t> nonTableObjectIds(const DatabaseImage& image);

class ObjectIdRemap {
public:
    // `pages`: the image's object id of each table -> its new definition page.
    ObjectIdRemap(const DatabaseImage& image, std::map<uint32_t, uint32_t> pages);

    // The rows of `table` with table ids replaced by their new pages;
    // nullopt for tables that hold no object ids.
    std::optional<std::vector<std::vector<Value>>> renumberedRows(const TableImage& table) const;
    // The new page for an object id; 0 when it names no table.
    uint32_t pageOf(uint32_t objectId) const;

private:
    // The new page for a reference to a table; nullopt to keep the value.
    std::optional<uint32_t> newId(const Value& value) const;

    std::map<uint32_t, uint32_t> pages_;
    std::map<uint32_t, std::string> tableNames_;
    // Ids that also name a non-table object: a reference outside the table's
    // own MSysObjects row cannot tell the two apart and keeps the id.
    std::set<uint32_t> otherIds_;
};

}  // namespace orvdb::jet
