#include "jet/write/index_source.hpp"

#include <string>

#include "jet/format/jet_error.hpp"
#include "jet/index/index_key.hpp"
#include "jet/index/original_index_keys.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

IndexKeyCollector::IndexKeyCollector(const TableDefinition& table, const PhysicalIndex& index,
                                     OriginalIndexKeys* originalKeys)
    : table_(table), index_(index), originalKeys_(originalKeys) {
    guarded([&] { columns_ = keyColumnsOf(table_, index_); });
}

template <class Work>
void IndexKeyCollector::guarded(const Work& work) const {
    try {
        work();
    } catch (const IndexKeyError& error) {
        throw IndexKeyError(place() + ": " + error.what(), error.character());
    } catch (const JetError& error) {
        throw JetError(place() + ": " + error.what());
    }
}

std::string IndexKeyCollector::place() const {
    return "table '" + table_.name + "', " + describeIndex(table_, index_);
}

void IndexKeyCollector::add(const std::vector<Value>& row, RowPointer where) {
    guarded([&] {
        if (!indexHoldsTableRow(index_, columns_, row)) {
            return;
        }
        std::vector<uint8_t>& keys = entries_.keyBytes();
        const size_t start = keys.size();
        try {
            appendIndexKey(columns_, row, keys);
        } catch (const IndexKeyError&) {
            keys.resize(start);
            std::optional<std::vector<uint8_t>> known;
            if (originalKeys_ != nullptr) {
                known = originalKeys_->find(table_.name, columns_, keyValuesOf(columns_, row));
            }
            if (!known) {
                throw;
            }
            keys.insert(keys.end(), known->begin(), known->end());
        }
        entries_.add(where);
    });
}

IndexPages IndexKeyCollector::build(uint32_t tablePage,
                                    const std::function<uint32_t()>& allocatePage) {
    IndexPages pages;
    guarded([&] {
        IndexLayout layout = layOutIndex(std::move(entries_), tablePage, allocatePage);
        entries_ = IndexEntryList();
        pages.pages = std::move(layout.pages);
        pages.rootPage = layout.rootPage;
        pages.uniqueEntryCount = layout.uniqueEntryCount;
    });
    return pages;
}

IndexPages buildIndexPages(const IndexPagesRequest& request) {
    IndexKeyCollector collector(request.table, request.index, request.originalKeys);
    if (request.rows.size() != request.rowPointers.size()) {
        throw JetError("table '" + request.table.name +
                       "': " + std::to_string(request.rows.size()) + " rows came with " +
                       std::to_string(request.rowPointers.size()) + " row pointers");
    }
    for (size_t n = 0; n < request.rows.size(); ++n) {
        collector.add(request.rows[n], request.rowPointers[n]);
    }
    return collector.build(request.tablePage, request.allocatePage);
}

}  // namespace orvdb::jet
