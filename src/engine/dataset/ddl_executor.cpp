#include "engine/dataset/ddl_executor.hpp"

#include "engine/engine_error.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/store/sqlite_util.hpp"

#include <cstdio>

namespace orvdb::engine {

namespace {

using sql::TableConstraint;

std::string generatedIndexName(const TableInfo* table, const std::vector<std::string>& columns) {
    // Unnamed constraints get a name of their own, unique within the table.
    std::string base = "Index_";
    for (const auto& c : columns) {
        base += c + "_";
    }
    base.pop_back();
    if (!table) {
        return base;
    }
    std::string name = base;
    for (int n = 1;; ++n) {
        bool taken = false;
        for (const auto& ix : table->indexes) {
            taken = taken || sameName(ix.name, name);
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
        for (const auto& r : catalog.relationships()) {
            taken = taken || sameName(r.name, name);
        }
        if (!taken) {
            return name;
        }
        name = base + std::to_string(n);
    }
}

int32_t grbitFor(const TableConstraint& c) {
    int32_t grbit = 0;
    if (c.onUpdate == sql::ReferentialAction::Cascade) {
        grbit |= relationship_flags::kCascadeUpdates;
    }
    if (c.onDelete == sql::ReferentialAction::Cascade) {
        grbit |= relationship_flags::kCascadeDeletes;
    }
    if (c.onDelete == sql::ReferentialAction::SetNull ||
        c.onUpdate == sql::ReferentialAction::SetNull) {
        grbit |= relationship_flags::kCascadeSetNull;
    }
    return grbit;
}

void applyConstraint(Catalog& catalog, const std::string& table, const TableConstraint& c) {
    switch (c.kind) {
        case TableConstraint::Kind::PrimaryKey:
        case TableConstraint::Kind::Unique: {
            IndexDef ix;
            bool primary = c.kind == TableConstraint::Kind::PrimaryKey;
            ix.name = !c.name.empty() ? c.name
                      : primary       ? std::string("PrimaryKey")
                                      : generatedIndexName(catalog.findTableInfo(table), c.columns);
            ix.primary = primary;
            ix.unique = true;
            for (const auto& col : c.columns) {
                ix.columns.push_back({col, false});
            }
            catalog.createIndex(table, std::move(ix));
            return;
        }
        case TableConstraint::Kind::ForeignKey: {
            Relationship rel;
            const TableInfo* child = catalog.findTableInfo(table);
            const TableInfo* parent = catalog.findTableInfo(c.referencedTable);
            rel.foreignTable = table;
            rel.primaryTable = c.referencedTable;
            rel.name = !c.name.empty() ? c.name
                                       : generatedRelationshipName(
                                             catalog, parent ? parent->name : c.referencedTable,
                                             child ? child->name : table);
            rel.foreignColumns = c.columns;
            rel.primaryColumns = c.referencedColumns;
            rel.grbit = grbitFor(c);
            catalog.addRelationship(std::move(rel));
            return;
        }
        case TableConstraint::Kind::Check:
            throw EngineError("CHECK constraints are not supported by this engine (constraint '" +
                              c.name + "' on table '" + table + "').");
    }
}

void run(const sql::Statement& statement, Catalog& catalog) {
    std::visit(
        [&](const auto& s) {
            using T = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<T, sql::CreateTableStatement>) {
                catalog.createTable(s.table, s.columns, {});
                for (const auto& c : s.constraints) {
                    applyConstraint(catalog, s.table, c);
                }
            } else if constexpr (std::is_same_v<T, sql::AlterTableStatement>) {
                using A = sql::AlterTableStatement::Action;
                switch (s.action) {
                    case A::AddColumns:
                        for (const auto& c : s.columns) {
                            catalog.addColumn(s.table, c);
                        }
                        for (const auto& c : s.constraints) {
                            applyConstraint(catalog, s.table, c);
                        }
                        break;
                    case A::AlterColumn:
                        for (const auto& c : s.columns) {
                            catalog.alterColumn(s.table, c);
                        }
                        for (const auto& c : s.constraints) {
                            applyConstraint(catalog, s.table, c);
                        }
                        break;
                    case A::DropColumn:
                        catalog.dropColumn(s.table, s.name);
                        break;
                    case A::AddConstraint:
                        for (const auto& c : s.constraints) {
                            applyConstraint(catalog, s.table, c);
                        }
                        break;
                    case A::DropConstraint:
                        catalog.dropConstraint(s.table, s.name);
                        break;
                }
            } else if constexpr (std::is_same_v<T, sql::CreateIndexStatement>) {
                catalog.createIndex(s.table, s.index);
            } else if constexpr (std::is_same_v<T, sql::DropIndexStatement>) {
                catalog.dropIndex(s.table, s.index);
            } else if constexpr (std::is_same_v<T, sql::DropTableStatement>) {
                catalog.dropTable(s.table);
            } else if constexpr (std::is_same_v<T, sql::CreateViewStatement>) {
                catalog.createView(s.view, sql::viewDefinitionSql(statement));
            } else if constexpr (std::is_same_v<T, sql::DropViewStatement>) {
                catalog.dropView(s.view);
            } else {
                throw EngineError("Not a data definition statement: " + statement.sql);
            }
        },
        statement.body);
}

}  // namespace

void executeDefinition(const sql::Statement& statement, Catalog& catalog, sqlite3* db) {
    try {
        Savepoint sp(db);
        run(statement, catalog);
        sp.commit();
    } catch (...) {
        // The savepoint rolled the store back; the model follows it.
        catalog.load();
        throw;
    }
    catalog.load();
}

}  // namespace orvdb::engine
