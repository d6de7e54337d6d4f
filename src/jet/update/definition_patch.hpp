// Writes back the fields of a table definition that row changes move: the
// row count, the last autonumber handed out and, per physical index, its
// count of distinct keys and its root page. Every other byte of the
// definition stays as it is on the page, whatever it holds.
#pragma once

#include "jet/read/table_definition.hpp"
#include "jet/update/page_store.hpp"

namespace orvdb::jet {

// `table` as read from `pages` at table.page, with those fields changed.
// Throws JetError when the definition's pages no longer hold the table's
// definition (it has as many physical indexes as `table`, or the file is
// damaged).
void patchTableDefinition(PageStore& pages, const TableDefinition& table);

}  // namespace orvdb::jet
