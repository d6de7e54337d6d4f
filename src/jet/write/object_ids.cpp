#include "jet/write/object_ids.hpp"

#include <string_view>

#include "base/names.hpp"
#include "jet/read/catalog_rows.hpp"
#include "jet/write/database_image.hpp"

namespace orvdb::jet {

namespace {

struct IdColumn {
    std::string_view table;
    std::string_view column;
};

// The columns Jet and Access fill with object ids, besides MSysObjects.Id.
constexpr IdColumn kReferenceColumns[] = {
    {"MSysObjects", "ParentId"},
    {"MSysACEs", "ObjectId"},
    {"MSysNavPaneGroupToObjects", "ObjectID"},
    {"MSysNavPaneObjectIDs", "Id"},
};

std::optional<size_t> longColumn(const TableImage& table, std::string_view name) {
    for (size_t n = 0; n < table.definition.columns.size(); ++n) {
        const Column& column = table.definition.columns[n];
        if (base::sameName(column.name, name) && column.type() == ColumnType::Long) {
            return n;
        }
    }
    return std::nullopt;
}

std::optional<size_t> anyColumn(const TableImage& table, std::string_view name) {
    for (size_t n = 0; n < table.definition.columns.size(); ++n) {
        if (base::sameName(table.definition.columns[n].name, name)) {
            return n;
        }
    }
    return std::nullopt;
}

int64_t integerAt(const std::vector<Value>& row, std::optional<size_t> position) {
    if (!position || *position >= row.size()) {
        return 0;
    }
    const auto* held = std::get_if<int64_t>(&row[*position]);
    return held ? *held : 0;
}

// MSysObjects columns that tell a table's row from other objects' rows.
struct CatalogColumns {
    explicit CatalogColumns(const TableImage& catalog)
        : id(longColumn(catalog, "Id")),
          parent(anyColumn(catalog, "ParentId")),
          type(anyColumn(catalog, "Type")),
          name(anyColumn(catalog, "Name")) {}

    // True for the row of the table `names` gives for the row's id.
    bool isTableRow(const std::vector<Value>& row,
                    const std::map<uint32_t, std::string>& names) const {
        if (integerAt(row, type) != static_cast<int16_t>(ObjectType::Table) ||
            integerAt(row, parent) != kTablesContainerId || !name || *name >= row.size()) {
            return false;
        }
        auto table = names.find(static_cast<uint32_t>(integerAt(row, id)));
        const auto* rowName = std::get_if<std::string>(&row[*name]);
        return table != names.end() && rowName && base::sameName(*rowName, table->second);
    }

    std::optional<size_t> id, parent, type, name;
};

std::map<uint32_t, std::string> tableNamesById(const DatabaseImage& image) {
    std::map<uint32_t, std::string> names;
    for (const TableImage& table : image.tables) {
        names[table.objectId] = table.name();
    }
    return names;
}

}  // namespace

std::set<uint32_t> nonTableObjectIds(const DatabaseImage& image) {
    std::set<uint32_t> ids;
    const TableImage* catalog = image.findTable(kCatalogTableName);
    if (!catalog) {
        return ids;
    }
    CatalogColumns columns(*catalog);
    std::map<uint32_t, std::string> names = tableNamesById(image);
    for (const std::vector<Value>& row : catalog->rows) {
        int64_t id = integerAt(row, columns.id);
        if (id > 0 && !columns.isTableRow(row, names)) {
            ids.insert(static_cast<uint32_t>(id));
        }
    }
    return ids;
}

ObjectIdRemap::ObjectIdRemap(const DatabaseImage& image, std::map<uint32_t, uint32_t> pages)
    : pages_(std::move(pages)),
      tableNames_(tableNamesById(image)),
      otherIds_(nonTableObjectIds(image)) {}

std::optional<uint32_t> ObjectIdRemap::newId(const Value& value) const {
    const auto* id = std::get_if<int64_t>(&value);
    if (!id || *id <= 0 || otherIds_.count(static_cast<uint32_t>(*id)) != 0) {
        return std::nullopt;
    }
    auto found = pages_.find(static_cast<uint32_t>(*id));
    if (found == pages_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::vector<std::vector<Value>>> ObjectIdRemap::renumberedRows(
    const TableImage& table) const {
    std::vector<size_t> references;
    for (const IdColumn& entry : kReferenceColumns) {
        if (base::sameName(table.name(), entry.table)) {
            if (auto position = longColumn(table, entry.column)) {
                references.push_back(*position);
            }
        }
    }
    bool isCatalog = base::sameName(table.name(), kCatalogTableName);
    if (references.empty() && !isCatalog) {
        return std::nullopt;
    }
    std::optional<CatalogColumns> catalog;
    if (isCatalog) {
        catalog.emplace(table);
    }
    std::vector<std::vector<Value>> rows = table.rows;
    for (std::vector<Value>& row : rows) {
        // A table's own row is told by its Type and ParentId, so it is
        // renumbered before ParentId could change.
        if (catalog && catalog->id && catalog->isTableRow(row, tableNames_)) {
            auto* id = std::get_if<int64_t>(&row[*catalog->id]);
            *id = pages_.at(static_cast<uint32_t>(*id));
        }
        for (size_t position : references) {
            if (position >= row.size()) {
                continue;
            }
            if (auto page = newId(row[position])) {
                *std::get_if<int64_t>(&row[position]) = *page;
            }
        }
    }
    return rows;
}

uint32_t ObjectIdRemap::pageOf(uint32_t objectId) const {
    auto found = pages_.find(objectId);
    return found == pages_.end() ? 0 : found->second;
}

}  // namespace orvdb::jet
