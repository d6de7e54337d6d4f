// Connection::query and Connection::execute: Access SQL through the front end
// onto the working store.
#include "engine/dataset/connection.hpp"
#include "engine/dataset/ddl_executor.hpp"
#include "engine/dataset/external_tables.hpp"
#include "engine/dataset/statement_cache.hpp"
#include "engine/engine_error.hpp"
#include "engine/jet_errors.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/sql/sql_messages.hpp"
#include "engine/store/sqlite_util.hpp"

namespace orvdb::engine {

namespace {

// The Jet type of an expression the translator could not type, judged from
// the values it produced.
JetType typeFromValues(const std::vector<Row>& rows, size_t column) {
    for (const auto& row : rows) {
        const SqlValue& v = row[column];
        if (std::holds_alternative<int64_t>(v)) {
            return JetType::Long;
        }
        if (std::holds_alternative<double>(v)) {
            return JetType::Double;
        }
        if (std::holds_alternative<std::string>(v)) {
            return JetType::Text;
        }
        if (std::holds_alternative<std::vector<uint8_t>>(v)) {
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
    throw EngineError(jet::translateSqliteError(e.what()));
}

int64_t runChange(WorkingStore& store, sqlite3_stmt* stmt) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        std::string message = sqlite3_errmsg(store.db());
        sqlite3_reset(stmt);
        throw EngineError(jet::translateSqliteError(message));
    }
    sqlite3_reset(stmt);
    return sqlite3_changes64(store.db());
}

// A change and the autonumber counters it moved. Outside a transaction both
// go into one of their own: a single commit instead of one for the change
// and another for the counters. A failure leaves nothing of either.
int64_t runChangeCommitted(WorkingStore& store, sqlite3_stmt* stmt) {
    if (!sqlite3_get_autocommit(store.db())) {
        int64_t rows = runChange(store, stmt);
        store.catalog().flushAutoNumbers();
        return rows;
    }
    StatementCache& cache = store.statementCache();
    cache.run(store, StatementCache::Control::Begin);
    try {
        int64_t rows = runChange(store, stmt);
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
int64_t selectInto(WorkingStore& store, const sql::Translation& tr) {
    Catalog& catalog = store.catalog();
    std::vector<ColumnDef> columns;
    for (const auto& rc : tr.columns) {
        // The new table takes names, types and sizes; defaults and rules stay behind.
        ColumnDef c;
        c.name = rc.column.name;
        c.type = rc.typeKnown ? rc.column.type : JetType::Text;
        c.size = rc.typeKnown ? rc.column.size : 255;
        c.autoNumber = rc.column.autoNumber;
        c.precision = rc.column.precision;
        c.scale = rc.column.scale;
        columns.push_back(std::move(c));
    }
    Savepoint sp(store.db());
    catalog.createTable(tr.targetTable, columns, {});
    const TableInfo* t = catalog.findTableInfo(tr.targetTable);
    std::string cols;
    for (size_t i = 0; i < t->columns.size(); ++i) {
        if (i) {
            cols += ", ";
        }
        cols += quoteIdent(t->columns[i].name);
    }
    Stmt insert(store.db(), "INSERT INTO " + quoteIdent(t->storedName) + " (" + cols +
                                ") SELECT * FROM (" + tr.sql + ")");
    int64_t rows = runChange(store, insert.handle());
    if (const ColumnDef* a = t->autoNumberColumn()) {
        Stmt mx(store.db(),
                "SELECT max(" + quoteIdent(a->name) + ") FROM " + quoteIdent(t->storedName));
        if (mx.step() && !mx.isNull(0)) {
            catalog.noteAutoNumber(t->storedName, mx.getInt(0));
        }
        catalog.flushAutoNumbers();
    }
    sp.commit();
    store.schemaChanged();
    return rows;
}

}  // namespace

QueryResult Connection::query(std::string_view sqlText) {
    WorkingStore& st = store();
    SessionScope scope(st, session_);
    CachedStatement& cached =
        st.statementCache().get(st, sqlText, ExternalTables(st, workingFolder_));
    const sql::Translation& tr = cached.translation;
    if (!tr.parametersUsed.empty()) {
        throw SqlError(sql::msg::missingParameter(tr.parametersUsed.front()));
    }
    if (tr.kind != sql::StatementKind::Select) {
        execute(sqlText);
        throw EngineError(
            "Operation is not allowed when the object is closed. (the statement "
            "returns no rows: " +
            std::string(sqlText) + ")");
    }
    QueryResult result;
    sqlite3_stmt* s = cached.prepared;
    int n = sqlite3_column_count(s);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        Row row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            row.push_back(readColumnValue(s, i));
        }
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        std::string message = sqlite3_errmsg(st.db());
        sqlite3_reset(s);
        throw EngineError(jet::translateSqliteError(message));
    }
    sqlite3_reset(s);
    if (cached.fieldsFixed) {
        result.fields = cached.fields;
        return result;
    }
    bool allKnown = true;
    for (size_t i = 0; i < tr.columns.size(); ++i) {
        const sql::ResultColumn& rc = tr.columns[i];
        if (rc.typeKnown) {
            result.fields.push_back(fieldInfoFor(rc.column.name, rc.column));
        } else {
            allKnown = false;
            JetType t = typeFromValues(result.rows, i);
            result.fields.push_back(fieldInfoFor(rc.column.name, t, t == JetType::Text ? 255 : 0));
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
    WorkingStore& st = store();
    SessionScope scope(st, session_);
    CachedStatement& cached =
        st.statementCache().get(st, sqlText, ExternalTables(st, workingFolder_));
    const sql::Translation& tr = cached.translation;
    if (!tr.parametersUsed.empty()) {
        throw SqlError(sql::msg::missingParameter(tr.parametersUsed.front()));
    }
    switch (tr.kind) {
        case sql::StatementKind::Select:
            // Executing a select runs it and changes nothing.
            query(sqlText);
            return 0;
        case sql::StatementKind::Definition: {
            requireWritable(st);
            sql::Statement statement = std::move(cached.statement);
            st.statementCache().clear();
            try {
                executeDefinition(statement, st.catalog(), st.db());
            } catch (const EngineError& e) {
                st.schemaChanged();
                rethrowStoreError(e);
            }
            st.schemaChanged();
            return 0;
        }
        case sql::StatementKind::SelectInto: {
            requireWritable(st);
            sql::Translation copy = tr;
            st.statementCache().clear();
            return selectInto(st, copy);
        }
        case sql::StatementKind::Insert:
        case sql::StatementKind::Update:
        case sql::StatementKind::Delete:
            requireWritable(st);
            return runChangeCommitted(st, cached.prepared);
    }
    return 0;
}

}  // namespace orvdb::engine
