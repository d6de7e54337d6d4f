// Relationships: ALTER TABLE ... ADD CONSTRAINT ... FOREIGN KEY and DROP
// CONSTRAINT, kept as Jet keeps them in MSysRelationships (one row per
// column pair), with the index Jet adds on the referring columns.
#include "engine/catalog/catalog.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

#include <algorithm>

namespace orvdb::engine {

namespace {

// Whether `index` holds exactly `columns`, in any order.
bool indexHoldsColumns(const IndexDef& index, const std::vector<std::string>& columns) {
    if (index.columns.size() != columns.size()) {
        return false;
    }
    return std::all_of(columns.begin(), columns.end(), [&](const std::string& column) {
        return std::any_of(
            index.columns.begin(), index.columns.end(),
            [&](const IndexColumn& indexColumn) { return sameName(indexColumn.column, column); });
    });
}

}  // namespace

void Catalog::loadRelationships() {
    if (!findTableInfo("MSysRelationships")) {
        return;
    }
    Stmt query(db_,
               "SELECT szRelationship, grbit, icolumn, szObject, szColumn, szReferencedObject, "
               "szReferencedColumn FROM MSysRelationships ORDER BY rowid");
    std::map<std::string, size_t> byName;  // folded name -> position in relationships_
    while (query.step()) {
        const std::string name = query.getText(0);
        const std::string key = foldName(name);
        auto found = byName.find(key);
        if (found == byName.end()) {
            Relationship relationship;
            relationship.name = name;
            relationship.grbit = static_cast<int32_t>(query.getInt(1));
            relationship.foreignTable = query.getText(3);
            relationship.primaryTable = query.getText(5);
            relationships_.push_back(std::move(relationship));
            found = byName.emplace(key, relationships_.size() - 1).first;
        }
        Relationship& relationship = relationships_[found->second];
        const auto pair = static_cast<size_t>(std::max<int64_t>(0, query.getInt(2)));
        if (relationship.foreignColumns.size() <= pair) {
            relationship.foreignColumns.resize(pair + 1);
            relationship.primaryColumns.resize(pair + 1);
        }
        relationship.foreignColumns[pair] = query.getText(4);
        relationship.primaryColumns[pair] = query.getText(6);
    }
}

void Catalog::checkRelationshipHolds(const Relationship& relationship) {
    const TableInfo* child = findTableInfo(relationship.foreignTable);
    const TableInfo* parent = findTableInfo(relationship.primaryTable);
    std::string notNull;
    std::string match;
    for (size_t pair = 0; pair < relationship.foreignColumns.size(); ++pair) {
        if (pair) {
            notNull += " AND ";
            match += " AND ";
        }
        notNull += "c." + quoteIdent(relationship.foreignColumns[pair]) + " IS NOT NULL";
        match += "p." + quoteIdent(relationship.primaryColumns[pair]) + " = c." +
                 quoteIdent(relationship.foreignColumns[pair]) + " COLLATE JETTEXT";
    }
    Stmt orphan(db_, "SELECT 1 FROM " + quoteIdent(child->storedName) + " AS c WHERE " + notNull +
                         " AND NOT EXISTS (SELECT 1 FROM " + quoteIdent(parent->storedName) +
                         " AS p WHERE " + match + ") LIMIT 1");
    if (orphan.step()) {
        throw EngineError(msg::integrityViolated(child->name, relationship.name, parent->name));
    }
}

void Catalog::saveRelationship(const Relationship& relationship) {
    Stmt insert(db_,
                "INSERT INTO MSysRelationships (ccolumn, grbit, icolumn, szColumn, szObject, "
                "szReferencedColumn, szReferencedObject, szRelationship) VALUES (?,?,?,?,?,?,?,?)");
    for (size_t pair = 0; pair < relationship.foreignColumns.size(); ++pair) {
        insert.reset();
        insert.bind(1, static_cast<int64_t>(relationship.foreignColumns.size()))
            .bind(2, int64_t{relationship.grbit})
            .bind(3, static_cast<int64_t>(pair))
            .bind(4, relationship.foreignColumns[pair])
            .bind(5, relationship.foreignTable)
            .bind(6, relationship.primaryColumns[pair])
            .bind(7, relationship.primaryTable)
            .bind(8, relationship.name);
        insert.run();
    }
}

void Catalog::addRelationship(Relationship relationship) {
    TableInfo& child = requireTable(relationship.foreignTable);
    TableInfo& parent = requireTable(relationship.primaryTable);
    relationship.foreignTable = child.name;
    relationship.primaryTable = parent.name;
    checkValidName(relationship.name);
    for (const auto& other : relationships_) {
        if (sameName(other.name, relationship.name)) {
            throw EngineError(msg::relationshipExists(relationship.name));
        }
    }
    // Without referenced columns the primary key is meant.
    if (relationship.primaryColumns.empty()) {
        const IndexDef* primaryKey = parent.primaryKey();
        if (!primaryKey) {
            throw EngineError(msg::kNoUniqueIndex);
        }
        for (const auto& indexColumn : primaryKey->columns) {
            relationship.primaryColumns.push_back(indexColumn.column);
        }
    }
    if (relationship.primaryColumns.size() != relationship.foreignColumns.size()) {
        throw EngineError(msg::kConstraintClause);
    }
    // The columns as the tables spell them.
    for (auto& columnName : relationship.foreignColumns) {
        const ColumnDef* column = child.findColumn(columnName);
        if (!column) {
            throw EngineError(msg::fieldNotFound(child.name, columnName));
        }
        columnName = column->name;
    }
    for (auto& columnName : relationship.primaryColumns) {
        const ColumnDef* column = parent.findColumn(columnName);
        if (!column) {
            throw EngineError(msg::fieldNotFound(parent.name, columnName));
        }
        columnName = column->name;
    }
    // The referenced columns must carry a unique index (in any order).
    const bool uniqueFound =
        std::any_of(parent.indexes.begin(), parent.indexes.end(), [&](const IndexDef& index) {
            return index.unique && indexHoldsColumns(index, relationship.primaryColumns);
        });
    if (!uniqueFound) {
        throw EngineError(msg::noUniqueIndex(parent.name));
    }
    Savepoint savepoint(db_);
    if (!(relationship.grbit & relationship_flags::kNoIntegrity)) {
        checkRelationshipHolds(relationship);
    }
    saveRelationship(relationship);
    // Jet keeps an index on the foreign key columns of the referring table.
    IndexDef foreignKey;
    foreignKey.name = relationship.name;
    foreignKey.foreignKey = true;
    for (const auto& columnName : relationship.foreignColumns) {
        foreignKey.columns.push_back({columnName, false});
    }
    const bool nameTaken =
        std::any_of(child.indexes.begin(), child.indexes.end(),
                    [&](const IndexDef& index) { return sameName(index.name, foreignKey.name); });
    if (!nameTaken) {
        createSqliteIndex(child, foreignKey);
        child.indexes.push_back(foreignKey);
        saveTableDefinition(child);
    }
    insertMSysObject(allocateObjectId(), kRelationshipsContainerId, relationship.name,
                     ObjectType::Relationship, 0);
    relationships_.push_back(relationship);
    rebuildTriggersNear({relationship.foreignTable, relationship.primaryTable});
    savepoint.commit();
    load();
}

void Catalog::dropConstraint(std::string_view tableName, std::string_view name) {
    TableInfo& table = requireTable(tableName);
    for (const auto& relationship : relationships_) {
        if (!sameName(relationship.name, name)) {
            continue;
        }
        Savepoint savepoint(db_);
        const std::string relationshipName = relationship.name;
        const std::string foreignTable = relationship.foreignTable;
        const std::string primaryTable = relationship.primaryTable;
        Stmt query(db_, "SELECT rowid, szRelationship FROM MSysRelationships");
        std::vector<int64_t> rowids;
        while (query.step()) {
            if (sameName(query.getText(1), relationshipName)) {
                rowids.push_back(query.getInt(0));
            }
        }
        for (int64_t rowid : rowids) {
            Stmt(db_, "DELETE FROM MSysRelationships WHERE rowid=?").bind(1, rowid).run();
        }
        deleteMSysObject(relationshipName, kRelationshipsContainerId);
        if (TableInfo* child = mutableTable(foreignTable)) {
            auto index = std::find_if(
                child->indexes.begin(), child->indexes.end(), [&](const IndexDef& other) {
                    return other.foreignKey && sameName(other.name, relationshipName);
                });
            if (index != child->indexes.end()) {
                dropSqliteIndex(*child, *index);
                child->indexes.erase(index);
                restoreLookupIndexes(*child);
                saveTableDefinition(*child);
            }
        }
        load();
        rebuildTriggersNear({foreignTable, primaryTable});
        savepoint.commit();
        return;
    }
    for (const auto& index : table.indexes) {
        if (sameName(index.name, name)) {
            dropIndex(tableName, name);
            return;
        }
    }
    throw EngineError(msg::constraintNotFound(name, table.name));
}

}  // namespace orvdb::engine
