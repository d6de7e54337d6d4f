#include "jet/write_index_source.hpp"

#include <string>

#include "jet/index_key.hpp"
#include "jet/index_pages.hpp"
#include "jet/jet_error.hpp"
#include "jet/table_definition.hpp"

namespace orvdb::jet {

IndexPages buildIndexPages(const IndexPagesRequest& request) {
    const std::string where =
        "table '" + request.table.name + "', " + describeIndex(request.table, request.index);
    try {
        IndexEntryList entries;
        std::vector<KeyColumn> columns = keyColumnsOf(request.table, request.index);
        if (request.rows.size() != request.rowPointers.size()) {
            throw JetError(std::to_string(request.rows.size()) + " rows came with " +
                           std::to_string(request.rowPointers.size()) + " row pointers");
        }
        entries.reserve(request.rows.size());
        for (size_t n = 0; n < request.rows.size(); ++n) {
            if (indexHoldsTableRow(request.index, columns, request.rows[n])) {
                appendIndexKey(columns, request.rows[n], entries.keyBytes());
                entries.add(request.rowPointers[n]);
            }
        }
        IndexLayout layout =
            layOutIndex(std::move(entries), request.tablePage, request.allocatePage);
        IndexPages pages;
        pages.pages = std::move(layout.pages);
        pages.rootPage = layout.rootPage;
        pages.uniqueEntryCount = layout.uniqueEntryCount;
        return pages;
    } catch (const IndexKeyError& error) {
        throw IndexKeyError(where + ": " + error.what(), error.character());
    } catch (const JetError& error) {
        throw JetError(where + ": " + error.what());
    }
}

}  // namespace orvdb::jet
