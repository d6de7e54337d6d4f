#include "engine/dataset/ddl_executor.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/store/sqlite_util.hpp"

#include <cstdio>

namespace orvdb::engine {

namespace {

using sql::TableConstraint;

std::string generatedIndexName(const TableInfo* table, const std::vector<std::string>& columns) {
    // Unnamed constraints get a name of their own, unique within the table.
    std::string base = "Index_";
    for (const auto& text : columns) {
        base += text + "_";
    }
    base.pop_back();
    if (!table) {
        return base;
    }
    std::string name = base;
    for (int n = 1;; ++n) {
        bool taken = false;
        for (const auto& index : table->indexes) {
            taken = taken || sameName(index.name, name);
        }
        if (!taken) {
            return name;
        }
        name = base + "_" + std::to_string(n);
    }
}

std::string generatedRelationshipName(const Catalog& catalog, const std::string& primary,
                                      const std::string& foreign) {
    std::string base = primary + foreign;
    std::string name = base;
    for (int n = 1;; ++n) {
        bool taken = false;
        for (const auto& relationship : catalog.relationships()) {
            taken = taken || sameName(relationship.name, name);
        }
        if (!taken) {
            return name;
        }
        name = base + std::to_string(n);
    }
}

int32_t grbitFor(const TableConstraint& constraint) {
    int32_t grbit = 0;
    if (constraint.onUpdate == sql::ReferentialAction::Cascade) {
        grbit |= relationship_flags::kCascadeUpdates;
    }
    if (constraint.onDelete == sql::ReferentialAction::Cascade) {
        grbit |= relationship_flags::kCascadeDeletes;
    }
    if (constraint.onDelete == sql::ReferentialAction::SetNull ||
        constraint.onUpdate == sql::ReferentialAction::SetNull) {
        grbit |= relationship_flags::kCascadeSetNull;
    }
    return grbit;
}

void applyConstraint(Catalog& catalog, const std::string& table,
                     const TableConstraint& constraint) {
    switch (constraint.kind) {
        case TableConstraint::Kind::PrimaryKey:
        case TableConstraint::Kind::Unique: {
            IndexDef index;
            bool primary = constraint.kind == TableConstraint::Kind::PrimaryKey;
            index.name = !constraint.name.empty() ? constraint.name
                         : primary
                             ? std::string("PrimaryKey")
                             : generatedIndexName(catalog.findTableInfo(table), constraint.columns);
            index.primary = primary;
            index.unique = true;
            for (const auto& text : constraint.columns) {
                index.columns.push_back({text, false});
            }
            catalog.createIndex(table, std::move(index));
            return;
        }
        case TableConstraint::Kind::ForeignKey: {
            Relationship relationship;
            const TableInfo* child = catalog.findTableInfo(table);
            const TableInfo* parent = catalog.findTableInfo(constraint.referencedTable);
            relationship.foreignTable = table;
            relationship.primaryTable = constraint.referencedTable;
            relationship.name =
                !constraint.name.empty()
                    ? constraint.name
                    : generatedRelationshipName(catalog,
                                                parent ? parent->name : constraint.referencedTable,
                                                child ? child->name : table);
            relationship.foreignColumns = constraint.columns;
            relationship.primaryColumns = constraint.referencedColumns;
            relationship.grbit = grbitFor(constraint);
            catalog.addRelationship(std::move(relationship));
            return;
        }
        case TableConstraint::Kind::Check:
            throw EngineError(msg::checkNotSupported(constraint.name, table));
    }
}

void run(const sql::Statement& statement, Catalog& catalog) {
    std::visit(
        [&](const auto& definition) {
            using T = std::decay_t<decltype(definition)>;
            if constexpr (std::is_same_v<T, sql::CreateTableStatement>) {
                catalog.createTable(definition.table, definition.columns, {});
                for (const auto& constraint : definition.constraints) {
                    applyConstraint(catalog, definition.table, constraint);
                }
            } else if constexpr (std::is_same_v<T, sql::AlterTableStatement>) {
                using A = sql::AlterTableStatement::Action;
                switch (definition.action) {
                    case A::AddColumns:
                        for (const auto& column : definition.columns) {
                            catalog.addColumn(definition.table, column);
                        }
                        for (const auto& constraint : definition.constraints) {
                            applyConstraint(catalog, definition.table, constraint);
                        }
                        break;
                    case A::AlterColumn:
                        for (const auto& column : definition.columns) {
                            catalog.alterColumn(definition.table, column);
                        }
                        for (const auto& constraint : definition.constraints) {
                            applyConstraint(catalog, definition.table, constraint);
                        }
                        break;
                    case A::DropColumn:
                        catalog.dropColumn(definition.table, definition.name);
                        break;
                    case A::AddConstraint:
                        for (const auto& constraint : definition.constraints) {
                            applyConstraint(catalog, definition.table, constraint);
                        }
                        break;
                    case A::DropConstraint:
                        catalog.dropConstraint(definition.table, definition.name);
                        break;
                }
            } else if constexpr (std::is_same_v<T, sql::CreateIndexStatement>) {
                catalog.createIndex(definition.table, definition.index);
            } else if constexpr (std::is_same_v<T, sql::DropIndexStatement>) {
                catalog.dropIndex(definition.table, definition.index);
            } else if constexpr (std::is_same_v<T, sql::DropTableStatement>) {
                catalog.dropTable(definition.table);
            } else if constexpr (std::is_same_v<T, sql::CreateViewStatement>) {
                catalog.createView(definition.view, sql::viewDefinitionSql(statement));
            } else if constexpr (std::is_same_v<T, sql::DropViewStatement>) {
                catalog.dropView(definition.view);
            } else {
                throw EngineError(msg::notDataDefinition(statement.sql));
            }
        },
        statement.body);
}

}  // namespace

void executeDefinition(const sql::Statement& statement, Catalog& catalog, sqlite3* db) {
    try {
        Savepoint savepoint(db);
        run(statement, catalog);
        savepoint.commit();
    } catch (...) {
        // The savepoint rolled the store back; the model follows it.
        catalog.load();
        throw;
    }
    catalog.load();
}

}  // namespace orvdb::engine
