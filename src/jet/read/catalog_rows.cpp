#include "jet/read/catalog_rows.hpp"

#include "base/names.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/read/table_reader.hpp"

namespace orvdb::jet {

namespace {

template <typename T>
std::optional<T> as(const Value& value) {
    if (const T* held = std::get_if<T>(&value)) {
        return *held;
    }
    return std::nullopt;
}

std::string textOf(const Value& value) {
    return as<std::string>(value).value_or("");
}

}  // namespace

Catalog Catalog::read(std::shared_ptr<PageSource> source) {
    auto definition = std::make_shared<TableDefinition>(readTableDefinition(*source, kCatalogPage));
    definition->name = "MSysObjects";
    const std::vector<std::string> wanted = {"Id",          "ParentId",   "Name",       "Type",
                                             "Flags",       "DateCreate", "DateUpdate", "Database",
                                             "ForeignName", "Connect",    "LvProp"};
    for (const char* required : {"Id", "ParentId", "Name", "Type", "Flags"}) {
        if (!definition->findColumn(required)) {
            throwCorrupt(source->name(),
                         std::string("the system catalog has no column '") + required + "'");
        }
    }
    std::vector<std::string> present;
    for (const std::string& name : wanted) {
        if (definition->findColumn(name)) {
            present.push_back(name);
        }
    }
    // Each column's position, found once: the catalog has hundreds of rows.
    auto indexOf = [&](std::string_view name) -> std::optional<size_t> {
        for (size_t n = 0; n < definition->columns.size(); ++n) {
            if (base::sameName(definition->columns[n].name, name)) {
                return n;
            }
        }
        return std::nullopt;
    };
    std::vector<std::optional<size_t>> positions;
    for (const std::string& name : wanted) {
        positions.push_back(indexOf(name));
    }
    auto value = [&](const Row& row, size_t column) -> const Value& {
        static const Value null;
        return positions[column] ? row.values[*positions[column]] : null;
    };
    enum : size_t {
        Id,
        ParentId,
        Name,
        Type,
        Flags,
        DateCreate,
        DateUpdate,
        Database,
        ForeignName,
        Connect,
        LvProp
    };

    TableReader reader(source, definition);
    reader.selectColumns(present);
    Catalog catalog;
    while (std::optional<Row> row = reader.next()) {
        CatalogObject object;
        object.id = static_cast<int32_t>(as<int64_t>(value(*row, Id)).value_or(0));
        object.parentId = static_cast<int32_t>(as<int64_t>(value(*row, ParentId)).value_or(0));
        object.name = textOf(value(*row, Name));
        object.type = static_cast<int16_t>(as<int64_t>(value(*row, Type)).value_or(0));
        object.flags = static_cast<uint32_t>(as<int64_t>(value(*row, Flags)).value_or(0));
        if (auto date = as<DateTime>(value(*row, DateCreate))) {
            object.dateCreate = date->days;
        }
        if (auto date = as<DateTime>(value(*row, DateUpdate))) {
            object.dateUpdate = date->days;
        }
        object.database = textOf(value(*row, Database));
        object.foreignName = textOf(value(*row, ForeignName));
        object.connect = textOf(value(*row, Connect));
        object.lvProp = as<Bytes>(value(*row, LvProp)).value_or(Bytes{});
        catalog.objects_.push_back(std::move(object));
    }
    return catalog;
}

const CatalogObject* Catalog::findTable(std::string_view name) const {
    for (const CatalogObject& object : objects_) {
        if (object.isTable() && base::sameName(object.name, name)) {
            return &object;
        }
    }
    return nullptr;
}

const CatalogObject* Catalog::findById(int32_t id) const {
    for (const CatalogObject& object : objects_) {
        if (object.id == id) {
            return &object;
        }
    }
    return nullptr;
}

const CatalogObject* Catalog::find(std::string_view name, ObjectType type) const {
    for (const CatalogObject& object : objects_) {
        if (object.type == typeCode(type) && base::sameName(object.name, name)) {
            return &object;
        }
    }
    return nullptr;
}

std::vector<const CatalogObject*> Catalog::tables(bool includeSystem) const {
    std::vector<const CatalogObject*> result;
    for (const CatalogObject& object : objects_) {
        if (object.isTable() && (includeSystem || !object.isSystemTable())) {
            result.push_back(&object);
        }
    }
    return result;
}

std::vector<const CatalogObject*> Catalog::queries() const {
    std::vector<const CatalogObject*> result;
    for (const CatalogObject& object : objects_) {
        if (object.isQuery()) {
            result.push_back(&object);
        }
    }
    return result;
}

}  // namespace orvdb::jet
