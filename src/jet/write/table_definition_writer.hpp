// The table definition (TDEF) of a table as stored: the header, physical
// index counts, columns, column names, physical and logical indexes, index
// names, the long-value column maps; split over continuation pages when it is
// longer than a page.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/write/page_set.hpp"

namespace orvdb::jet {

// `table` must carry everything the writer decided: row count, autonumber
// counter, usage-map pointers (table, long-value columns, indexes), index
// roots and entry counts. Columns are stored in `definitionOrder`.
// Throws JetError naming the table for names that are too long.
Bytes encodeTableDefinition(const TableDefinition& table);

// Writes the encoded definition at `firstPage`, taking continuation pages
// from `pages` as needed.
void writeTableDefinitionPages(const Bytes& definition, uint32_t firstPage, PageSink& pages);

}  // namespace orvdb::jet
