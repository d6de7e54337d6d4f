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
    for (const auto& c : table.columns) {
        if (sameName(c.name, name)) {
            return &c;
        }
    }
    return nullptr;
}

const ColumnDef* autoNumberColumn(const ResolvedTable& table) {
    for (const auto& c : table.columns) {
        if (c.autoNumber) {
            return &c;
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

Translation Translator::translateInsert(const InsertStatement& s) {
    const ResolvedTable& table = requireTable(s.table);
    std::vector<const ColumnDef*> targets;
    if (s.columns.empty()) {
        for (const auto& c : table.columns) {
            targets.push_back(&c);
        }
    } else {
        for (const auto& name : s.columns) {
            const ColumnDef* c = findColumn(table, name);
            if (c == nullptr) {
                throw SqlError(msg::unknownInsertField(name));
            }
            for (const ColumnDef* t : targets) {
                if (t == c) {
                    throw SqlError(msg::duplicateDestination(name));
                }
            }
            targets.push_back(c);
        }
    }

    Translation t;
    t.kind = StatementKind::Insert;
    t.targetTable = table.name;

    std::vector<std::string> values;
    std::string fromSelect;
    if (s.select) {
        const Query& q = *s.select;
        // Jet will not append the values of a query without a table.
        const Query* first = &q;
        while (first->isUnion()) {
            first = &first->parts[0];
        }
        if (first->select->from.empty()) {
            throw SqlError(msg::kNeedsTable);
        }
        QueryOptions options;
        options.naming = Naming::Positional;
        QueryResult r = translateQuery(q, options);
        if (s.columns.empty()) {
            // INSERT INTO t SELECT ...: fields of the same name go together
            // (SELECT * from a table of another column order); otherwise by position.
            std::vector<const ColumnDef*> byName;
            for (const auto& rc : r.columns) {
                const ColumnDef* c = findColumn(table, rc.column.name);
                if (c == nullptr) {
                    break;
                }
                bool repeated = false;
                for (const ColumnDef* b : byName) {
                    repeated = repeated || b == c;
                }
                if (repeated) {
                    break;
                }
                byName.push_back(c);
            }
            if (byName.size() == r.columns.size()) {
                targets = std::move(byName);
            }
        }
        if (r.columns.size() != targets.size()) {
            throw SqlError(msg::kQueryValuesCount);
        }
        std::string alias = allocateAlias("src");
        for (size_t i = 0; i < targets.size(); ++i) {
            values.push_back(
                coerce(quoteName(alias) + ".\"c" + std::to_string(i) + "\"", table, *targets[i]));
        }
        fromSelect = " FROM (" + r.sql + ") AS " + quoteName(alias);
    } else {
        if (s.values.size() != targets.size()) {
            throw SqlError(msg::kQueryValuesCount);
        }
        Scope empty;
        ExprContext ctx;
        ctx.scope = &empty;
        ctx.clause = "VALUES";
        for (size_t i = 0; i < targets.size(); ++i) {
            // Null given for an autonumber: Jet numbers the row as if none was given.
            if (targets[i]->autoNumber && s.values[i].kind == ExprKind::Null) {
                values.push_back(nextAutoNumber(table));
                continue;
            }
            Tx v = translateExpr(s.values[i], ctx);
            toValue(v);
            values.push_back(coerce(v.sql, table, *targets[i]));
        }
    }

    const ColumnDef* autoColumn = autoNumberColumn(table);
    bool autoGiven = false;
    for (const ColumnDef* c : targets) {
        autoGiven = autoGiven || c == autoColumn;
    }

    std::string& sql = t.sql;
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
    sql += s.select ? ") SELECT " : ") VALUES (";
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
    sql += s.select ? fromSelect : ")";
    return t;
}

Translation Translator::translateUpdate(const UpdateStatement& s) {
    Scope scope;
    scope.sources.reserve(s.tables.size() + 2);
    std::string from;
    translateFrom(s.tables, scope, from);

    // Which source does each SET name? All must name the same base table.
    const Source* target = nullptr;
    std::vector<const ColumnDef*> columns;
    for (const Assignment& a : s.assignments) {
        const Source* found = nullptr;
        const ColumnDef* column = nullptr;
        for (size_t i = 0; i < scope.sources.size(); ++i) {
            const Source& src = scope.sources[i];
            if (!a.qualifier.empty() && !sameName(src.matchName, a.qualifier)) {
                continue;
            }
            for (size_t c = 0; c < src.columnCount(); ++c) {
                if (!sameName(src.columnName(c), a.column)) {
                    continue;
                }
                if (found) {
                    throw SqlError(msg::ambiguousField(a.column));
                }
                found = &src;
                if (src.table) {
                    column = &src.table->columns[c];
                }
                break;
            }
        }
        if (!found) {
            throw SqlError(
                msg::unknownName(a.qualifier.empty() ? a.column : a.qualifier + "." + a.column));
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
    for (size_t i = 0; i < s.assignments.size(); ++i) {
        Tx v = translateExpr(s.assignments[i].value, ctx);
        toValue(v);
        values.push_back(std::move(v.sql));
    }
    std::string where;
    if (s.where) {
        ExprContext wctx;
        wctx.scope = &scope;
        wctx.clause = "WHERE";
        where = translateExpr(*s.where, wctx).sql;
    }

    Translation t;
    t.kind = StatementKind::Update;
    t.targetTable = table.name;
    std::string& sql = t.sql;
    sql = "UPDATE ";
    appendQuotedName(sql, table.storedName);
    bool single = scope.sources.size() == 1 && s.tables[0].kind == TableRef::Kind::Named;
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
        return t;
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
    return t;
}

Translation Translator::translateDelete(const DeleteStatement& s) {
    Scope scope;
    scope.sources.reserve(s.from.size() + 2);
    std::string from;
    translateFrom(s.from, scope, from);
    const Source* target = nullptr;
    if (!s.target.empty()) {
        for (const auto& src : scope.sources) {
            if (sameName(src.matchName, s.target)) {
                target = &src;
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
    if (s.where) {
        ExprContext ctx;
        ctx.scope = &scope;
        ctx.clause = "WHERE";
        where = translateExpr(*s.where, ctx).sql;
    }

    Translation t;
    t.kind = StatementKind::Delete;
    t.targetTable = table.name;
    std::string& sql = t.sql;
    sql = "DELETE FROM ";
    appendQuotedName(sql, table.storedName);
    bool single = scope.sources.size() == 1 && s.from[0].kind == TableRef::Kind::Named;
    if (single) {
        sql += " AS ";
        appendQuotedName(sql, target->sqlAlias);
        if (!where.empty()) {
            sql += " WHERE " + where;
        }
        return t;
    }
    sql += " WHERE rowid IN (SELECT ";
    appendQuotedName(sql, target->sqlAlias);
    sql += ".rowid FROM " + from;
    if (!where.empty()) {
        sql += " WHERE " + where;
    }
    sql += ')';
    return t;
}

}  // namespace orvdb::engine::sql
