// Connection::query and Connection::execute: Access SQL through the front end
// onto the working store.
#include "engine/dataset/connection.hpp"
#include "engine/dataset/ddl_executor.hpp"
#include "engine/dataset/external_tables.hpp"
#include "engine/dataset/statement_cache.hpp"
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/store/sqlite_util.hpp"

namespace orvdb::engine {

namespace {

// The Jet type of an expression the translator could not type, judged from
// the values it produced.
JetType typeFromValues(const std::vector<Row>& rows, size_t column) {
    for (const auto& row : rows) {
        const SqlValue& value = row[column];
        if (std::holds_alternative<int64_t>(value)) {
            return JetType::Long;
        }
        if (std::holds_alternative<double>(value)) {
            return JetType::Double;
        }
        if (std::holds_alternative<std::string>(value)) {
            return JetType::Text;
        }
        if (std::holds_alternative<std::vector<uint8_t>>(value)) {
            return JetType::OLE;
        }
    }
    return JetType::Text;
}

void requireWritable(WorkingStore& store) {
    if (store.readOnly()) {
        throw EngineError(store.readOnlyMessage());
    }
}

[[noreturn]] void rethrowStoreError(const EngineError& e) {
    throw EngineError(msg::translateSqliteError(e.what()));
}

int64_t runChange(WorkingStore& store, sqlite3_stmt* statement) {
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        std::string message = sqlite3_errmsg(store.db());
        sqlite3_reset(statement);
        throw EngineError(msg::translateSqliteError(message));
    }
    sqlite3_reset(statement);
    return sqlite3_changes64(store.db());
}

// A change and the autonumber counters it moved. Outside a transaction both
// go into one of their own: a single commit instead of one for the change
// and another for the counters. A failure leaves nothing of either.
int64_t runChangeCommitted(WorkingStore& store, sqlite3_stmt* statement) {
    if (!sqlite3_get_autocommit(store.db())) {
        int64_t rows = runChange(store, statement);
        store.catalog().flushAutoNumbers();
        return rows;
    }
    StatementCache& cache = store.statementCache();
    cache.run(store, StatementCache::Control::Begin);
    try {
        int64_t rows = runChange(store, statement);
        store.catalog().flushAutoNumbers();
        cache.run(store, StatementCache::Control::Commit);
        return rows;
    } catch (...) {
        if (!sqlite3_get_autocommit(store.db())) {
            try {
                cache.run(store, StatementCache::Control::Rollback);
            } catch (const EngineError&) {
                // The change's own error is the one to report.
            }
        }
        throw;
    }
}

// SELECT ... INTO: the new table takes the types of the result columns.
int64_t selectInto(WorkingStore& store, const sql::Translation& translation) {
    Catalog& catalog = store.catalog();
    std::vector<ColumnDef> columns;
    for (const auto& rc : translation.columns) {
        // The new table takes names, types and sizes; defaults and rules stay behind.
        ColumnDef column;
        column.name = rc.column.name;
        column.type = rc.typeKnown ? rc.column.type : JetType::Text;
        column.size = rc.typeKnown ? rc.column.size : 255;
        column.autoNumber = rc.column.autoNumber;
        column.precision = rc.column.precision;
        column.scale = rc.column.scale;
        columns.push_back(std::move(column));
    }
    Savepoint savepoint(store.db());
    catalog.createTable(translation.targetTable, columns, {});
    const TableInfo* table = catalog.findTableInfo(translation.targetTable);
    std::string cols;
    for (size_t i = 0; i < table->columns.size(); ++i) {
        if (i) {
            cols += ", ";
        }
        cols += quoteIdent(table->columns[i].name);
    }
    Stmt insert(store.db(), "INSERT INTO " + quoteIdent(table->storedName) + " (" + cols +
                                ") SELECT * FROM (" + translation.sql + ")");
    int64_t rows = runChange(store, insert.handle());
    if (const ColumnDef* counter = table->autoNumberColumn()) {
        Stmt mx(store.db(), "SELECT max(" + quoteIdent(counter->name) + ") FROM " +
                                quoteIdent(table->storedName));
        if (mx.step() && !mx.isNull(0)) {
            catalog.noteAutoNumber(table->storedName, mx.getInt(0));
        }
        catalog.flushAutoNumbers();
    }
    savepoint.commit();
    store.schemaChanged();
    return rows;
}

// The tables a definition statement changes or checks.
std::vector<std::string> tablesDefinedBy(const sql::Statement& statement) {
    std::vector<std::string> names;
    std::visit(
        [&names](const auto& body) {
            using T = std::decay_t<decltype(body)>;
            if constexpr (std::is_same_v<T, sql::AlterTableStatement>) {
                names.push_back(body.table);
                for (const sql::TableConstraint& constraint : body.constraints) {
                    if (!constraint.referencedTable.empty()) {
                        names.push_back(constraint.referencedTable);
                    }
                }
            } else if constexpr (std::is_same_v<T, sql::CreateIndexStatement> ||
                                 std::is_same_v<T, sql::DropIndexStatement>) {
                names.push_back(body.table);
            } else if constexpr (std::is_same_v<T, sql::CreateTableStatement>) {
                for (const sql::TableConstraint& constraint : body.constraints) {
                    if (!constraint.referencedTable.empty()) {
                        names.push_back(constraint.referencedTable);
                    }
                }
            }
        },
        statement.body);
    return names;
}

// The statement from the cache (parsed and translated on first use); a
// statement with parameters cannot run, since nothing gives them values.
CachedStatement& cachedStatement(WorkingStore& workingStore, std::string_view sqlText,
                                 const std::string& workingFolder) {
    CachedStatement& cached = workingStore.statementCache().get(
        workingStore, sqlText, ExternalTables(workingStore, workingFolder));
    if (!cached.translation.parametersUsed.empty()) {
        throw SqlError(msg::missingParameter(cached.translation.parametersUsed.front()));
    }
    return cached;
}

}  // namespace

QueryResult Connection::query(std::string_view sqlText) {
    WorkingStore& workingStore = store();
    WorkingStore::Access access(workingStore, false);
    SessionScope scope(workingStore, session_);
    CachedStatement& cached = cachedStatement(workingStore, sqlText, workingFolder_);
    const sql::Translation& translation = cached.translation;
    if (translation.kind != sql::StatementKind::Select) {
        execute(sqlText);
        throw EngineError(msg::returnsNoRows(sqlText));
    }
    QueryResult result;
    sqlite3_stmt* statement = cached.prepared;
    int n = sqlite3_column_count(statement);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        Row row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            row.push_back(readColumnValue(statement, i));
        }
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        std::string message = sqlite3_errmsg(workingStore.db());
        sqlite3_reset(statement);
        throw EngineError(msg::translateSqliteError(message));
    }
    sqlite3_reset(statement);
    if (cached.fieldsFixed) {
        result.fields = cached.fields;
        return result;
    }
    bool allKnown = true;
    for (size_t i = 0; i < translation.columns.size(); ++i) {
        const sql::ResultColumn& rc = translation.columns[i];
        if (rc.typeKnown) {
            result.fields.push_back(fieldInfoFor(rc.column.name, rc.column));
        } else {
            allKnown = false;
            JetType type = typeFromValues(result.rows, i);
            result.fields.push_back(
                fieldInfoFor(rc.column.name, type, type == JetType::Text ? 255 : 0));
        }
    }
    if (allKnown) {
        // The same for every run of this statement: worked out once.
        cached.fields = result.fields;
        cached.fieldsFixed = true;
    }
    return result;
}

int64_t Connection::execute(std::string_view sqlText) {
    WorkingStore& workingStore = store();
    WorkingStore::Access access(workingStore, true);
    SessionScope scope(workingStore, session_);
    CachedStatement& cached = cachedStatement(workingStore, sqlText, workingFolder_);
    const sql::Translation& translation = cached.translation;
    switch (translation.kind) {
        case sql::StatementKind::Select:
            // Executing a select runs it and changes nothing.
            query(sqlText);
            return 0;
        case sql::StatementKind::Definition: {
            requireWritable(workingStore);
            sql::Statement statement = std::move(cached.statement);
            workingStore.statementCache().clear();
            // Definitions are rebuilt from the store's rows: those must be there.
            workingStore.loadForChange(tablesDefinedBy(statement));
            try {
                executeDefinition(statement, workingStore.catalog(), workingStore.db());
            } catch (const EngineError& e) {
                workingStore.schemaChanged();
                rethrowStoreError(e);
            }
            workingStore.schemaChanged();
            return 0;
        }
        case sql::StatementKind::SelectInto: {
            requireWritable(workingStore);
            sql::Translation copy = translation;
            workingStore.statementCache().clear();
            return selectInto(workingStore, copy);
        }
        case sql::StatementKind::Insert:
        case sql::StatementKind::Update:
        case sql::StatementKind::Delete:
            requireWritable(workingStore);
            return runChangeCommitted(workingStore, cached.prepared);
    }
    return 0;
}

}  // namespace orvdb::engine
