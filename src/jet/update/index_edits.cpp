#include "jet/update/index_edits.hpp"

#include "jet/update/index_tree.hpp"

namespace orvdb::jet {

void insertIndexEntry(PageStore& pages, const TableDefinition& table, PhysicalIndex& index,
                      std::span<const uint8_t> key, RowPointer row) {
    IndexTreeEditor(pages, table, index).insert(key, row);
}

void eraseIndexEntry(PageStore& pages, const TableDefinition& table, PhysicalIndex& index,
                     std::span<const uint8_t> key, RowPointer row) {
    IndexTreeEditor(pages, table, index).erase(key, row);
}

bool indexHasKey(PageStore& pages, const TableDefinition& table, const PhysicalIndex& index,
                 std::span<const uint8_t> key) {
    PhysicalIndex copy = index;
    return IndexTreeEditor(pages, table, copy).containsKey(key);
}

std::optional<std::vector<uint8_t>> findKeyOfRow(PageStore& pages, const TableDefinition& table,
                                                 const PhysicalIndex& index, RowPointer row) {
    PhysicalIndex copy = index;
    IndexCursor cursor = IndexTreeEditor(pages, table, copy).seek({});
    while (std::optional<IndexEntry> entry = cursor.next()) {
        if (entry->row == row) {
            return entry->key;
        }
    }
    return std::nullopt;
}

}  // namespace orvdb::jet
