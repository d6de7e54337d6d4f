// A forward cursor over the rows of one table. It walks the table's
// owned-pages usage map page by page, so memory stays flat whatever the size
// of the table. Deleted rows are skipped; rows moved to another page
// (overflow rows) are read where they live.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jet/format/row_pointer.hpp"
#include "jet/format/value.hpp"
#include "jet/read/data_page.hpp"
#include "jet/read/row_decoder.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/read/usage_map.hpp"

namespace orvdb::jet {

struct Row {
    RowPointer id;              // where the row's slot is
    std::vector<Value> values;  // one per column, in the table's column order
};

// A data page naming a table that its owned-pages map does not list, and
// the live rows on it.
struct UnlistedPage {
    uint32_t page = 0;
    size_t liveRows = 0;
};
// Reads every page of the file: for the rare table whose row count
// disagrees with its map.
std::vector<UnlistedPage> unlistedDataPages(PageSource& source, const TableDefinition& table);

// "a data page of the table at page 12", "a long-value page", ...
std::string describePage(const Page& page);

class TableReader {
public:
    TableReader(std::shared_ptr<PageSource> source, std::shared_ptr<const TableDefinition> table);

    // The next live row, nullopt after the last. Throws JetError naming the
    // file and the table when the table's pages are damaged: a page its map
    // lists that is not its own, a row, long value or overflow pointer that
    // contradicts itself, rows its map lost.
    std::optional<Row> next();
    // The same into `row`, reusing its buffers: false after the last row
    // (`row` is then left as it was).
    bool next(Row& row);

    const TableDefinition& definition() const { return *table_; }

    // Decodes only the named columns (ASCII case-insensitive); the others
    // read as Null. Throws JetError for a name the table does not have.
    void selectColumns(const std::vector<std::string>& names);

private:
    bool advance(Row& row);
    void verifyRowCount();

    std::shared_ptr<PageSource> source_;
    std::shared_ptr<const TableDefinition> table_;
    RowDecoder decoder_;
    UsageMap pages_;
    std::optional<DataPage> current_;
    uint16_t nextRow_ = 0;
    bool finished_ = false;
    uint32_t rowsRead_ = 0;
    bool countVerified_ = false;
};

}  // namespace orvdb::jet
