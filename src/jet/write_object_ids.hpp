// Object ids in the rows of Jet's system tables. A table's id is its
// definition page, so when the writer moves a table every row that names it
// by id follows: its MSysObjects row, its permissions in MSysACEs, Access's
// navigation-pane tables.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "jet/value.hpp"

namespace orvdb::jet {

struct TableImage;

class ObjectIdRemap {
public:
    // `pages`: the image's object id of each table -> its new definition page.
    explicit ObjectIdRemap(std::map<uint32_t, uint32_t> pages) : pages_(std::move(pages)) {}

    // Positions of the columns of `table` that hold object ids (empty for
    // tables that hold none).
    std::vector<size_t> idColumns(const TableImage& table) const;
    // Replaces ids in those columns of `row`.
    void apply(const std::vector<size_t>& columns, std::vector<Value>& row) const;
    // The new page for an object id; 0 when it names no table.
    uint32_t pageOf(uint32_t objectId) const;
    // True when some id changes.
    bool changesAnything() const;

private:
    std::map<uint32_t, uint32_t> pages_;
};

}  // namespace orvdb::jet
