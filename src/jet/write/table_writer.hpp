// Writes one table whole: its data pages, long values, index trees, usage
// maps and definition, on pages taken from a sink. The file writer writes
// every table of a new file with it; a change made in place rebuilds a table
// whose definition changed with it, on free pages of the existing file.
#pragma once

#include <functional>
#include <vector>

#include "jet/format/row_pointer.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/write/database_image.hpp"
#include "jet/write/index_source.hpp"
#include "jet/write/page_set.hpp"

namespace orvdb::jet {

// Where usage-map rows go (they live on data pages of their own).
class MapRowSink {
public:
    virtual ~MapRowSink() = default;
    virtual RowPointer add(Bytes row) = 0;
};

struct TableWriteOptions {
    // Builds an index's pages from all rows at once (a seam for tests);
    // empty: the keys are gathered as the rows are written.
    IndexPageSource indexPages;
    OriginalIndexKeys* originalKeys = nullptr;
};

using RowFeed = std::function<void(const RowVisitor&)>;

// Writes the rows `feed` gives (each visit passes one row, one value per
// column of `definition`) and then the definition at `tablePage`.
// `definition` comes back as written: its page, row count, autonumber,
// usage maps, index roots and counts. `beforeDefinition`, when given, may
// adjust the definition just before it is encoded; `rowPointers`, when
// given, receives where each row went, in feed order. Throws JetError naming
// the table, row and column of a value the table cannot hold.
void writeTablePages(TableDefinition& definition, uint32_t tablePage, const RowFeed& feed,
                     PageSink& pages, MapRowSink& mapRows, const TableWriteOptions& options,
                     const std::function<void(TableDefinition&)>& beforeDefinition = {},
                     std::vector<RowPointer>* rowPointers = nullptr);

}  // namespace orvdb::jet
