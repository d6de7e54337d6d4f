#include "jet/index/original_index_keys.hpp"

#include "base/names.hpp"
#include "jet/index/index_reader.hpp"

namespace orvdb::jet {

namespace {

std::string signatureOf(const std::string& table, const std::vector<KeyColumn>& columns) {
    std::string signature = table;
    for (const KeyColumn& column : columns) {
        signature += '\0';
        signature += column.name;
        signature += column.ascending ? '+' : '-';
    }
    return signature;
}

}  // namespace

std::optional<std::vector<uint8_t>> OriginalIndexKeys::find(const std::string& table,
                                                            const std::vector<KeyColumn>& columns,
                                                            const std::vector<Value>& values) {
    std::string signature = signatureOf(table, columns);
    auto index = indexes_.find(signature);
    if (index == indexes_.end()) {
        index = indexes_.emplace(signature, load(table, columns)).first;
    }
    auto key = index->second.find(values);
    if (key == index->second.end()) {
        return std::nullopt;
    }
    return key->second;
}

OriginalIndexKeys::Keys OriginalIndexKeys::load(const std::string& table,
                                                const std::vector<KeyColumn>& columns) const {
    Keys keys;
    std::shared_ptr<const TableDefinition> definition;
    try {
        definition = file_.table(table);
    } catch (const JetError&) {
        return keys;  // a table the file does not have
    }
    const PhysicalIndex* match = nullptr;
    std::vector<KeyColumn> fileColumns;
    for (const PhysicalIndex& index : definition->physicalIndexes) {
        std::vector<KeyColumn> candidate = keyColumnsOf(*definition, index);
        bool same = candidate.size() == columns.size();
        for (size_t n = 0; same && n < columns.size(); ++n) {
            same = base::sameName(candidate[n].name, columns[n].name) &&
                   candidate[n].ascending == columns[n].ascending &&
                   candidate[n].typeCode == columns[n].typeCode;
        }
        if (same) {
            match = &index;
            fileColumns = std::move(candidate);
            break;
        }
    }
    if (match == nullptr) {
        return keys;
    }
    // Only the entries whose key this build cannot make are kept.
    std::map<uint32_t, std::vector<Value>> unbuildable;  // raw row pointer -> key values
    TableReader reader = file_.readTable(table);
    Row row;
    while (reader.next(row)) {
        std::vector<Value> values = keyValuesOf(fileColumns, row.values);
        try {
            encodeIndexKey(fileColumns, values);
        } catch (const IndexKeyError&) {
            unbuildable.emplace(row.id.raw(), std::move(values));
        }
    }
    if (unbuildable.empty()) {
        return keys;
    }
    for (IndexEntry& entry : readIndexEntries(file_.pages(), match->rootPage, definition->page)) {
        auto values = unbuildable.find(entry.row.raw());
        if (values != unbuildable.end()) {
            keys.emplace(values->second, std::move(entry.key));
        }
    }
    return keys;
}

}  // namespace orvdb::jet
