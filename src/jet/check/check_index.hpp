// The part of the file check that walks one index: its tree, the order of
// its entries, and that it lists each row of its table once with the key
// the row's values give.
//
// The rows are not kept: while they are read, each index gets the entries
// they call for (key bytes side by side in one buffer, and where the row
// is), sorted like the tree once the rows are in. The tree is then walked
// and compared with them entry by entry, so a table of a million rows costs
// a few bytes more than its keys per index instead of every row's values.
#pragma once

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "jet/check/file_check.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/format/value.hpp"
#include "jet/index/index_key.hpp"
#include "jet/read/page_source.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

// The entries one index must hold according to the table's rows.
class ExpectedEntries {
public:
    ExpectedEntries(const TableDefinition& table, const PhysicalIndex& index);

    // One live row (its values in column order).
    void add(RowPointer where, const std::vector<Value>& row);
    // Call once all rows are added: sorts the entries like the tree.
    void finish();

    // Empty when the key columns are known; else why they are not.
    const std::string& columnsError() const { return columnsError_; }

    size_t size() const { return refs_.size(); }
    std::span<const uint8_t> key(size_t n) const {
        return {bytes_.data() + refs_[n].offset, refs_[n].length};
    }
    uint32_t row(size_t n) const { return refs_[n].row; }

    // Rows the index leaves out (all key columns Null, the index ignoring
    // Nulls); rows whose key cannot be built (a character without a sort
    // code); rows with a Null key column (a unique index may list those
    // twice). Each sorted by row pointer (RowPointer::raw).
    const std::vector<uint32_t>& leftOut() const { return leftOut_; }
    const std::vector<uint32_t>& unknownKey() const { return unknownKey_; }
    const std::vector<uint32_t>& someNull() const { return someNull_; }

private:
    struct Ref {
        uint32_t offset = 0;
        uint32_t row = 0;  // RowPointer::raw()
        uint16_t length = 0;
    };

    const PhysicalIndex* index_;
    std::vector<KeyColumn> columns_;
    std::string columnsError_;
    std::vector<uint8_t> bytes_;
    std::vector<Ref> refs_;
    std::vector<uint32_t> leftOut_;
    std::vector<uint32_t> unknownKey_;
    std::vector<uint32_t> someNull_;
};

// The rows of one table as the index checks need them: how many are live,
// and each physical index's expected entries (every live row is among an
// index's entries, left-out or unknown-key rows).
class TableRows {
public:
    explicit TableRows(const TableDefinition& table);

    void add(RowPointer where, const std::vector<Value>& row);
    // Call once all rows are added (also after the reading stopped).
    void finish();

    size_t size() const { return live_; }
    // In the order of the table's physical indexes.
    const ExpectedEntries& index(size_t n) const { return indexes_[n]; }

private:
    size_t live_ = 0;
    std::vector<ExpectedEntries> indexes_;
};

// Adds findings about `index` of `table` to `findings` and returns the pages
// its tree was found on. Without `expected`, only the tree is checked (its
// pages' shape, links and order), not the rows it lists.
std::set<uint32_t> checkIndex(PageSource& source, const TableDefinition& table,
                              const PhysicalIndex& index, const ExpectedEntries* expected,
                              std::vector<CheckFinding>& findings);

}  // namespace orvdb::jet
