// The part of the file check that walks one index: its tree, the order of
// its entries, and that it lists each row of its table once with the key
// the row's values give.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "jet/check/file_check.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

// The live rows of a table by where their slot is.
using RowsByPointer = std::map<RowPointer, std::vector<Value>>;

// Adds findings about `index` of `table` to `findings` and returns the pages
// its tree was found on.
std::set<uint32_t> checkIndex(PageSource& source, const TableDefinition& table,
                              const PhysicalIndex& index, const RowsByPointer& rows,
                              std::vector<CheckFinding>& findings);

}  // namespace orvdb::jet
