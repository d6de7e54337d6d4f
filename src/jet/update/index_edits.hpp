// Entries of one index tree as the table editor changes them. The index's
// root page and count of distinct keys live in `index` (the caller writes
// the table definition back).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "jet/format/index_definition.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/update/page_store.hpp"

namespace orvdb::jet {

void insertIndexEntry(PageStore& pages, const TableDefinition& table, PhysicalIndex& index,
                      std::span<const uint8_t> key, RowPointer row);
// Throws JetError naming the table and the index when the entry is absent.
void eraseIndexEntry(PageStore& pages, const TableDefinition& table, PhysicalIndex& index,
                     std::span<const uint8_t> key, RowPointer row);
bool indexHasKey(PageStore& pages, const TableDefinition& table, const PhysicalIndex& index,
                 std::span<const uint8_t> key);
// The key of `row`'s entry, found by walking the whole index: for a row
// whose key cannot be built here (a text with characters of unknown sort
// code, whose key Access wrote).
std::optional<std::vector<uint8_t>> findKeyOfRow(PageStore& pages, const TableDefinition& table,
                                                 const PhysicalIndex& index, RowPointer row);

}  // namespace orvdb::jet
