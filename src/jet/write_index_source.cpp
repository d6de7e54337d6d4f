#include "jet/write_index_source.hpp"

#include <string>

#include "jet/index_key.hpp"
#include "jet/index_pages.hpp"
#include "jet/jet_error.hpp"
#include "jet/original_index_keys.hpp"
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
            const std::vector<Value>& row = request.rows[n];
            if (!indexHoldsTableRow(request.index, columns, row)) {
                continue;
            }
            std::vector<uint8_t>& keys = entries.keyBytes();
            const size_t start = keys.size();
            try {
                appendIndexKey(columns, row, keys);
            } catch (const IndexKeyError&) {
                keys.resize(start);
                std::optional<std::vector<uint8_t>> known;
                if (request.originalKeys != nullptr) {
                    known = request.originalKeys->find(request.table.name, columns,
                                                       keyValuesOf(columns, row));
                }
                if (!known) {
                    throw;
                }
                keys.insert(keys.end(), known->begin(), known->end());
            }
            entries.add(request.rowPointers[n]);
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
