#include "jet/write_object_ids.hpp"

#include <algorithm>
#include <string_view>

#include "jet/database_image.hpp"

namespace orvdb::jet {

namespace {

struct IdColumn {
    std::string_view table;
    std::string_view column;
};

// The columns Jet and Access fill with object ids.
constexpr IdColumn kIdColumns[] = {
    {"MSysObjects", "Id"},          {"MSysObjects", "ParentId"},
    {"MSysACEs", "ObjectId"},       {"MSysNavPaneGroupToObjects", "ObjectID"},
    {"MSysNavPaneObjectIDs", "Id"},
};

}  // namespace

std::vector<size_t> ObjectIdRemap::idColumns(const TableImage& table) const {
    std::vector<size_t> positions;
    for (const IdColumn& entry : kIdColumns) {
        if (!sameName(table.name(), entry.table)) {
            continue;
        }
        for (size_t n = 0; n < table.definition.columns.size(); ++n) {
            const Column& column = table.definition.columns[n];
            if (sameName(column.name, entry.column) && column.type() == ColumnType::Long) {
                positions.push_back(n);
            }
        }
    }
    return positions;
}

void ObjectIdRemap::apply(const std::vector<size_t>& columns, std::vector<Value>& row) const {
    for (size_t position : columns) {
        auto* id = std::get_if<int64_t>(&row[position]);
        if (!id || *id <= 0) {
            continue;
        }
        auto found = pages_.find(static_cast<uint32_t>(*id));
        if (found != pages_.end()) {
            *id = found->second;
        }
    }
}

uint32_t ObjectIdRemap::pageOf(uint32_t objectId) const {
    auto found = pages_.find(objectId);
    return found == pages_.end() ? 0 : found->second;
}

bool ObjectIdRemap::changesAnything() const {
    return std::any_of(pages_.begin(), pages_.end(),
                       [](const auto& entry) { return entry.first != entry.second; });
}

}  // namespace orvdb::jet
