// The catalog's model and lookups: tables, views and relationships by name,
// the rules for new names, and the triggers generated from the definitions.
// DDL, loading, system rows and counters live in the files named in
// catalog.hpp.
#include "engine/catalog/catalog.hpp"

#include "engine/catalog/catalog_sql.hpp"
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

namespace orvdb::engine {

const ColumnDef* TableInfo::findColumn(std::string_view columnName) const {
    for (const auto& column : columns) {
        if (sameName(column.name, columnName)) {
            return &column;
        }
    }
    return nullptr;
}

const IndexDef* TableInfo::primaryKey() const {
    for (const auto& index : indexes) {
        if (index.primary) {
            return &index;
        }
    }
    return nullptr;
}

const ColumnDef* TableInfo::autoNumberColumn() const {
    for (const auto& column : columns) {
        if (column.autoNumber) {
            return &column;
        }
    }
    return nullptr;
}

Catalog::Catalog(sqlite3* db) : db_(db) {}

std::string Catalog::storedNameFor(const std::string& name) {
    // SQLite reserves its own prefix, the catalog keeps its tables under _orv_.
    const std::string folded = foldName(name);
    if (folded.rfind("sqlite_", 0) == 0 || folded.rfind("_orv_", 0) == 0) {
        return "orv_t_" + name;
    }
    return name;
}

const TableInfo* Catalog::findTableInfo(std::string_view name) const {
    auto found = tableIndex_.find(foldName(name));
    return found == tableIndex_.end() ? nullptr : &tables_[found->second];
}

TableInfo* Catalog::mutableTable(std::string_view name) {
    auto found = tableIndex_.find(foldName(name));
    return found == tableIndex_.end() ? nullptr : &tables_[found->second];
}

TableInfo& Catalog::requireTable(std::string_view name) {
    TableInfo* table = mutableTable(name);
    if (!table) {
        throw EngineError(msg::tableNotFound(name));
    }
    return *table;
}

const ViewInfo* Catalog::findViewInfo(std::string_view name) const {
    const std::string key = foldName(name);
    for (const auto& view : views_) {
        if (foldName(view.name) == key) {
            return &view;
        }
    }
    return nullptr;
}

std::vector<const TableInfo*> Catalog::tables() const {
    std::vector<const TableInfo*> out;
    for (const auto& table : tables_) {
        out.push_back(&table);
    }
    return out;
}

std::vector<const ViewInfo*> Catalog::views() const {
    std::vector<const ViewInfo*> out;
    for (const auto& view : views_) {
        out.push_back(&view);
    }
    return out;
}

std::vector<std::string> Catalog::userTableNames() const {
    std::vector<std::string> out;
    for (const auto& table : tables_) {
        if (!table.system) {
            out.push_back(table.name);
        }
    }
    return out;
}

std::optional<sql::ResolvedTable> Catalog::findTable(std::string_view name) const {
    const TableInfo* table = findTableInfo(name);
    if (!table) {
        return std::nullopt;
    }
    std::string stored =
        tableNameSource_ ? tableNameSource_(*table, changesData_) : table->storedName;
    return sql::ResolvedTable{table->name, std::move(stored), table->columns};
}

std::optional<sql::ResolvedView> Catalog::findView(std::string_view name) const {
    const ViewInfo* view = findViewInfo(name);
    // Only select, union and crosstab queries can be read from.
    if (!view || !view->returnsRows()) {
        return std::nullopt;
    }
    return sql::ResolvedView{view->name, view->sql};
}

void Catalog::checkValidName(std::string_view name) {
    // At most 64 characters (counted in UTF-8 lead bytes).
    bool valid = !name.empty() && name.size() <= 64 * 3 && name.front() != ' ';
    size_t characters = 0;
    for (unsigned char byte : name) {
        if ((byte & 0xC0) != 0x80) {
            ++characters;
        }
        if (byte < 0x20 || byte == '.' || byte == '!' || byte == '`' || byte == '[' ||
            byte == ']') {
            valid = false;
        }
    }
    if (!valid || characters > 64) {
        throw EngineError(msg::invalidName(name));
    }
}

void Catalog::checkNewObjectName(std::string_view name) const {
    checkValidName(name);
    if (findTableInfo(name) || findViewInfo(name)) {
        throw EngineError(msg::tableExists(name));
    }
}

void Catalog::rebuildTriggers(const TableInfo& table) {
    if (!rowsPresent(table.id)) {
        // Nothing changes its rows before they are loaded, with their rules;
        // a table never loaded has no triggers (nor a store table) to drop.
        return;
    }
    catalog_sql::dropTableTriggers(db_, table);
    for (const auto& sql : catalog_sql::triggerSql(table, *this)) {
        execSql(db_, sql);
    }
}

void Catalog::rebuildTriggersNear(std::initializer_list<std::string_view> names) {
    std::set<std::string> near;
    for (std::string_view name : names) {
        near.insert(foldName(name));
    }
    for (const auto& relationship : relationships_) {
        std::string child = foldName(relationship.foreignTable);
        std::string parent = foldName(relationship.primaryTable);
        if (near.count(child) != 0 || near.count(parent) != 0) {
            near.insert(std::move(child));
            near.insert(std::move(parent));
        }
    }
    for (const auto& name : near) {
        if (const TableInfo* table = findTableInfo(name)) {
            rebuildTriggers(*table);
        }
    }
}

std::vector<std::string> Catalog::rowsLoaded(const std::set<int64_t>& ids) {
    std::vector<std::string> problems;
    for (const auto& table : tables_) {
        if (ids.count(table.id) != 0) {
            std::vector<std::string> found = materializeIndexes(table);
            problems.insert(problems.end(), found.begin(), found.end());
            rebuildTriggers(table);
        }
    }
    return problems;
}

}  // namespace orvdb::engine
