// The part of the file check that walks one index: its tree, the order of
// its entries, and that it lists each row of its table once with the key
// the row's values give.
#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "jet/check/file_check.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

// The live rows of a table by where their slot is: a vector sorted once
// after reading, since a tree map of a million rows costs more than the walk.
class RowsByPointer {
public:
    using Entry = std::pair<RowPointer, std::vector<Value>>;

    void add(RowPointer where, std::vector<Value> values) {
        entries_.emplace_back(where, std::move(values));
    }
    // Call once all rows are added, before find().
    void sort();
    const std::vector<Value>* find(RowPointer where) const;

    size_t size() const { return entries_.size(); }
    std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries_.end(); }

private:
    std::vector<Entry> entries_;
};

// Adds findings about `index` of `table` to `findings` and returns the pages
// its tree was found on. Without `rows`, only the tree is checked (its pages'
// shape, links and order), not the rows it lists.
std::set<uint32_t> checkIndex(PageSource& source, const TableDefinition& table,
                              const PhysicalIndex& index, const RowsByPointer* rows,
                              std::vector<CheckFinding>& findings);

}  // namespace orvdb::jet
