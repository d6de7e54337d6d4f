// INSERT, UPDATE and DELETE. Every value written into a column goes through
// jet_coerce (Jet's conversions and errors); autonumbers come from the
// catalog (jet_next_autonumber) or are recorded when given
// (jet_note_autonumber).
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/names.hpp"
#include "engine/sql/translate/translator.hpp"

namespace orvdb::engine::sql {

namespace {

const ColumnDef* findColumn(const ResolvedTable& table, std::string_view name) {
    for (const auto& column : table.columns) {
        if (sameName(column.name, name)) {
            return &column;
        }
    }
    return nullptr;
}

const ColumnDef* autoNumberColumn(const ResolvedTable& table) {
    for (const auto& column : table.columns) {
        if (column.autoNumber) {
            return &column;
        }
    }
    return nullptr;
}

std::string nextAutoNumber(const ResolvedTable& table) {
    return "jet_next_autonumber(" + quoteText(table.storedName) + ")";
}

}  // namespace

const ResolvedTable& Translator::requireTable(std::string_view name) {
    if (auto table = schema_.findTable(name)) {
        tables_.push_back(std::move(*table));
        noteDependency(tables_.back().name);
        return tables_.back();
    }
    if (schema_.findView(name)) {
        throw SqlError(msg::kUpdatableQuery);
    }
    throw SqlError(msg::tableNotFound(name));
}

std::string Translator::coerce(std::string_view valueSql, const ResolvedTable& table,
                               const ColumnDef& column) const {
    std::string sql = "jet_coerce(";
    sql += valueSql;
    sql += ", " + std::to_string(static_cast<int>(column.type)) + ", " +
           std::to_string(column.size) + ", ";
    appendQuotedText(sql, table.name + "." + column.name);
    if (column.type == JetType::Decimal) {
        sql += ", " + std::to_string(column.precision) + ", " + std::to_string(column.scale);
    }
    sql += ')';
    if (column.autoNumber) {
        // An autonumber given explicitly: the catalog notes it (the next one follows it).
        return "jet_note_autonumber(" + quoteText(table.storedName) + ", " + sql + ")";
    }
    return sql;
}

Translation Translator::translateInsert(const InsertStatement& insert) {
    const ResolvedTable& table = requireTable(insert.table);
    std::vector<const ColumnDef*> targets;
    if (insert.columns.empty()) {
        for (const auto& column : table.columns) {
            targets.push_back(&column);
        }
    } else {
        for (const auto& name : insert.columns) {
            const ColumnDef* column = findColumn(table, name);
            if (column == nullptr) {
                throw SqlError(msg::unknownInsertField(name));
            }
            for (const ColumnDef* target : targets) {
                if (target == column) {
                    throw SqlError(msg::duplicateDestination(name));
                }
            }
            targets.push_back(column);
        }
    }

    Translation translation;
    translation.kind = StatementKind::Insert;
    translation.targetTable = table.name;

    std::vector<std::string> values;
    std::string fromSelect;
    if (insert.select) {
        const Query& query = *insert.select;
        // Jet will not append the values of a query without a table.
        const Query* first = &query;
        while (first->isUnion()) {
            first = &first->parts[0];
        }
        if (first->select->from.empty()) {
            throw SqlError(msg::kNeedsTable);
        }
        QueryOptions options;
        options.naming = Naming::Positional;
        QueryResult result = translateQuery(query, options);
        if (insert.columns.empty()) {
            // INSERT INTO t SELECT ...: fields of the same name go together
            // (SELECT * from a table of another column order); otherwise by position.
            std::vector<const ColumnDef*> byName;
            for (const auto& rc : result.columns) {
                const ColumnDef* column = findColumn(table, rc.column.name);
                if (column == nullptr) {
                    break;
                }
                bool repeated = false;
                for (const ColumnDef* other : byName) {
                    repeated = repeated || other == column;
                }
                if (repeated) {
                    break;
                }
                byName.push_back(column);
            }
            if (byName.size() == result.columns.size()) {
                targets = std::move(byName);
            }
        }
        if (result.columns.size() != targets.size()) {
            throw SqlError(msg::kQueryValuesCount);
        }
        std::string alias = allocateAlias("src");
        for (size_t i = 0; i < targets.size(); ++i) {
            values.push_back(
                coerce(quoteName(alias) + ".\"c" + std::to_string(i) + "\"", table, *targets[i]));
        }
        fromSelect = " FROM (" + result.sql + ") AS " + quoteName(alias);
    } else {
        if (insert.values.size() != targets.size()) {
            throw SqlError(msg::kQueryValuesCount);
        }
        Scope empty;
        ExprContext ctx;
        ctx.scope = &empty;
        ctx.clause = "VALUES";
        for (size_t i = 0; i < targets.size(); ++i) {
            // Null given for an autonumber: Jet numbers the row as if none was given.
            if (targets[i]->autoNumber && insert.values[i].kind == ExprKind::Null) {
                values.push_back(nextAutoNumber(table));
                continue;
            }
            Tx value = translateExpr(insert.values[i], ctx);
            toValue(value);
            values.push_back(coerce(value.sql, table, *targets[i]));
        }
    }

    const ColumnDef* autoColumn = autoNumberColumn(table);
    bool autoGiven = false;
    for (const ColumnDef* column : targets) {
        autoGiven = autoGiven || column == autoColumn;
    }

    std::string& sql = translation.sql;
    sql = "INSERT INTO ";
    appendQuotedName(sql, table.storedName);
    sql += " (";
    for (size_t i = 0; i < targets.size(); ++i) {
        if (i) {
            sql += ", ";
        }
        appendQuotedName(sql, targets[i]->name);
    }
    if (autoColumn && !autoGiven) {
        if (!targets.empty()) {
            sql += ", ";
        }
        appendQuotedName(sql, autoColumn->name);
    }
    sql += insert.select ? ") SELECT " : ") VALUES (";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) {
            sql += ", ";
        }
        sql += values[i];
    }
    if (autoColumn && !autoGiven) {
        if (!values.empty()) {
            sql += ", ";
        }
        sql += nextAutoNumber(table);
    }
    sql += insert.select ? fromSelect : ")";
    return translation;
}

Translation Translator::translateUpdate(const UpdateStatement& update) {
    Scope scope;
    scope.sources.reserve(update.tables.size() + 2);
    std::string from;
    translateFrom(update.tables, scope, from);

    // Which source does each SET name? All must name the same base table.
    const Source* target = nullptr;
    std::vector<const ColumnDef*> columns;
    for (const Assignment& assignment : update.assignments) {
        const Source* found = nullptr;
        const ColumnDef* column = nullptr;
        for (size_t i = 0; i < scope.sources.size(); ++i) {
            const Source& source = scope.sources[i];
            if (!assignment.qualifier.empty() &&
                !sameName(source.matchName, assignment.qualifier)) {
                continue;
            }
            for (size_t c = 0; c < source.columnCount(); ++c) {
                if (!sameName(source.columnName(c), assignment.column)) {
                    continue;
                }
                if (found) {
                    throw SqlError(msg::ambiguousField(assignment.column));
                }
                found = &source;
                if (source.table) {
                    column = &source.table->columns[c];
                }
                break;
            }
        }
        if (!found) {
            throw SqlError(msg::unknownName(assignment.qualifier.empty()
                                                ? assignment.column
                                                : assignment.qualifier + "." + assignment.column));
        }
        if (!column) {
            throw SqlError(msg::kUpdatableQuery);
        }
        if (target && target != found) {
            throw SqlError(msg::kUpdatableQuery);
        }
        if (column->autoNumber) {
            throw SqlError(msg::notUpdatable(column->name));
        }
        target = found;
        columns.push_back(column);
    }
    const ResolvedTable& table = *target->table;

    ExprContext ctx;
    ctx.scope = &scope;
    ctx.clause = "UPDATE";
    std::vector<std::string> values;
    for (size_t i = 0; i < update.assignments.size(); ++i) {
        Tx value = translateExpr(update.assignments[i].value, ctx);
        toValue(value);
        values.push_back(std::move(value.sql));
    }
    std::string where;
    if (update.where) {
        ExprContext wctx;
        wctx.scope = &scope;
        wctx.clause = "WHERE";
        where = translateExpr(*update.where, wctx).sql;
    }

    Translation translation;
    translation.kind = StatementKind::Update;
    translation.targetTable = table.name;
    std::string& sql = translation.sql;
    sql = "UPDATE ";
    appendQuotedName(sql, table.storedName);
    bool single = scope.sources.size() == 1 && update.tables[0].kind == TableRef::Kind::Named;
    if (single) {
        sql += " AS ";
        appendQuotedName(sql, target->sqlAlias);
        sql += " SET ";
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i) {
                sql += ", ";
            }
            appendQuotedName(sql, columns[i]->name);
            sql += " = ";
            sql += coerce(values[i], table, *columns[i]);
        }
        if (!where.empty()) {
            sql += " WHERE " + where;
        }
        return translation;
    }
    // Several tables: the new values are computed by a query over the whole
    // FROM clause, which also gives the rowid of the row to change.
    std::string joined = allocateAlias("upd");
    std::string updated = allocateAlias("target");
    sql += " AS ";
    appendQuotedName(sql, updated);
    sql += " SET ";
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i) {
            sql += ", ";
        }
        appendQuotedName(sql, columns[i]->name);
        sql += " = ";
        sql += coerce(quoteName(joined) + ".\"v" + std::to_string(i) + "\"", table, *columns[i]);
    }
    sql += " FROM (SELECT ";
    appendQuotedName(sql, target->sqlAlias);
    sql += ".rowid AS \"rid\"";
    for (size_t i = 0; i < values.size(); ++i) {
        sql += ", " + values[i] + " AS \"v" + std::to_string(i) + '"';
    }
    sql += " FROM " + from;
    if (!where.empty()) {
        sql += " WHERE " + where;
    }
    sql += ") AS ";
    appendQuotedName(sql, joined);
    sql += " WHERE ";
    appendQuotedName(sql, updated);
    sql += ".rowid = ";
    appendQuotedName(sql, joined);
    sql += ".\"rid\"";
    return translation;
}

Translation Translator::translateDelete(const DeleteStatement& statement) {
    Scope scope;
    scope.sources.reserve(statement.from.size() + 2);
    std::string from;
    translateFrom(statement.from, scope, from);
    const Source* target = nullptr;
    if (!statement.target.empty()) {
        for (const auto& source : scope.sources) {
            if (sameName(source.matchName, statement.target)) {
                target = &source;
            }
        }
        if (target == nullptr) {
            throw SqlError(msg::kDeleteTarget);
        }
    } else if (scope.sources.size() == 1) {
        target = &scope.sources[0];
    } else {
        throw SqlError(msg::kDeleteTarget);
    }
    if (target->table == nullptr) {
        throw SqlError(msg::kUpdatableQuery);
    }
    const ResolvedTable& table = *target->table;

    std::string where;
    if (statement.where) {
        ExprContext ctx;
        ctx.scope = &scope;
        ctx.clause = "WHERE";
        where = translateExpr(*statement.where, ctx).sql;
    }

    Translation translation;
    translation.kind = StatementKind::Delete;
    translation.targetTable = table.name;
    std::string& sql = translation.sql;
    sql = "DELETE FROM ";
    appendQuotedName(sql, table.storedName);
    bool single = scope.sources.size() == 1 && statement.from[0].kind == TableRef::Kind::Named;
    if (single) {
        sql += " AS ";
        appendQuotedName(sql, target->sqlAlias);
        if (!where.empty()) {
            sql += " WHERE " + where;
        }
        return translation;
    }
    sql += " WHERE rowid IN (SELECT ";
    appendQuotedName(sql, target->sqlAlias);
    sql += ".rowid FROM " + from;
    if (!where.empty()) {
        sql += " WHERE " + where;
    }
    sql += ')';
    return translation;
}

}  // namespace orvdb::engine::sql
