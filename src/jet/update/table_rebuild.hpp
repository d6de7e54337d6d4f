// Whole tables changed in place: a table whose definition changed is written
// anew at its definition page on free pages of the file (its old pages given
// back first), a new table is written at the page reserved for it, a dropped
// table gives every page back. Usage-map rows of the table are deleted from,
// and new ones added to, the file's map pages (data pages owned by nobody).
#pragma once

#include <cstdint>
#include <vector>

#include "jet/format/row_pointer.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/update/file_pages.hpp"
#include "jet/write/table_writer.hpp"

namespace orvdb::jet {

// Gives back every page of `table` (its data, long-value and index pages, the
// map pages of its usage maps and its definition pages; the first definition
// page only unless `keepDefinitionPage`) and deletes its usage-map rows.
// Data and index pages that do not name the table are left alone: Access's
// maps sometimes keep bits for pages another table took since. Returns the
// pages that held its map rows (they have room now).
std::vector<uint32_t> releaseTable(FilePages& pages, const TableDefinition& table,
                                   bool keepDefinitionPage);

// Writes `definition` and the rows `feed` gives at `tablePage`, which the
// caller owns (claimed, or kept by releaseTable); `mapPages` are pages to
// try first for its usage-map rows. Returns where each row went, in feed
// order.
std::vector<RowPointer> writeTableInPlace(FilePages& pages, TableDefinition& definition,
                                          uint32_t tablePage, const RowFeed& feed,
                                          const std::vector<uint32_t>& mapPages,
                                          OriginalIndexKeys* originalKeys);

}  // namespace orvdb::jet
