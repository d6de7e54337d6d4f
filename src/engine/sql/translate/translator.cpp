// Queries: FROM clauses, select lists, unions, TOP and the statement entry.
#include "engine/sql/translate/translator.hpp"

#include "engine/engine_error.hpp"
#include "engine/sql/names.hpp"
#include "engine/sql/sql_messages.hpp"
#include "engine/sql/translate/access_functions.hpp"

#include <cmath>
#include <cstdio>

namespace orvdb::engine::sql {

namespace {

// Does e use an aggregate function outside of subqueries?
bool containsAggregate(const Expr& e) {
    if (e.kind == ExprKind::Call) {
        const FunctionInfo* f = findFunction(e.text);
        if (f && f->aggregate()) {
            return true;
        }
    }
    for (const Expr& a : e.args) {
        if (containsAggregate(a)) {
            return true;
        }
    }
    return false;
}

std::string formatCount(double n) {
    char buf[32];
    if (n == std::floor(n)) {
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(n));
    } else {
        std::snprintf(buf, sizeof buf, "%.17g", n);
    }
    return buf;
}

// One output column. A column of a * has no sql of its own: it is written
// from source and column when needed.
struct Item {
    std::string sql;
    ValueType type;
    std::string name;
    bool fromColumn = false;  // named after a column reference
    const Source* source = nullptr;
    size_t column = 0;
};

void appendItemSql(std::string& out, const Item& it) {
    if (!it.sql.empty() || it.source == nullptr) {
        out += it.sql;
        return;
    }
    appendQuotedName(out, it.source->sqlAlias);
    out += '.';
    appendQuotedName(out, it.source->columnName(it.column));
}

std::string itemSql(const Item& it) {
    std::string s;
    appendItemSql(s, it);
    return s;
}

}  // namespace

Translator::Translator(const SchemaResolver& schema, std::string_view text,
                       const PivotValueReader* pivotReader)
    : schema_(schema), text_(text), pivotReader_(pivotReader) {}

std::string_view Translator::textOf(const SourceSpan& span) const {
    if (span.begin >= text_.size() || span.end < span.begin) {
        return {};
    }
    return text_.substr(span.begin, std::min<size_t>(span.end, text_.size()) - span.begin);
}

void Translator::noteDependency(std::string_view name) {
    for (const auto& d : dependencies_) {
        if (sameName(d, name)) {
            return;
        }
    }
    dependencies_.emplace_back(name);
}

std::string Translator::allocateAlias(std::string_view base) {
    auto used = [&](std::string_view n) {
        for (const auto& a : aliases_) {
            if (sameName(a, n)) {
                return true;
            }
        }
        return false;
    };
    std::string name(base.empty() ? std::string_view("Query") : base);
    if (!used(name)) {
        aliases_.push_back(name);
        return name;
    }
    for (int i = 2;; ++i) {
        std::string candidate = name + "~" + std::to_string(i);
        if (!used(candidate)) {
            aliases_.push_back(candidate);
            return candidate;
        }
    }
}

Translation Translator::translateStatement(const Statement& statement) {
    Translation t;
    parameters_ = &statement.parameters;
    if (const auto* s = std::get_if<SelectStatement>(&statement.body)) {
        QueryResult r = translateSelectStatement(*s);
        t.kind = s->intoTable.empty() ? StatementKind::Select : StatementKind::SelectInto;
        t.sql = std::move(r.sql);
        t.columns = std::move(r.columns);
        t.targetTable = s->intoTable;
        if (!s->intoTable.empty()) {
            for (const auto& c : t.columns) {
                for (const auto& d : t.columns) {
                    if (&c != &d && sameName(c.column.name, d.column.name)) {
                        throw SqlError(msg::duplicateDestination(c.column.name));
                    }
                }
            }
        }
    } else if (const auto* s = std::get_if<InsertStatement>(&statement.body)) {
        t = translateInsert(*s);
    } else if (const auto* s = std::get_if<UpdateStatement>(&statement.body)) {
        t = translateUpdate(*s);
    } else if (const auto* s = std::get_if<DeleteStatement>(&statement.body)) {
        t = translateDelete(*s);
    } else {
        t.kind = StatementKind::Definition;
        return t;
    }
    t.dependencies = std::move(dependencies_);
    t.parametersUsed = std::move(parametersUsed_);
    t.columnsFromData = columnsFromData_;
    t.readsOtherDatabase = readsOtherDatabase_;
    return t;
}

Translator::QueryResult Translator::translateSelectStatement(const SelectStatement& s) {
    QueryOptions options;
    if (s.crosstab) {
        options.crosstab = &*s.crosstab;
    }
    return translateQuery(s.query, options);
}

Translator::QueryResult Translator::translateQuery(const Query& q, const QueryOptions& options) {
    if (!q.isUnion()) {
        return translateCore(*q.select, &q.orderBy, options);
    }
    return translateUnion(q, options);
}

Translator::QueryResult Translator::translateUnion(const Query& q, const QueryOptions& options) {
    QueryResult result;
    bool dedupe = false;
    for (bool all : q.unionAll) {
        dedupe = dedupe || !all;
    }
    for (size_t i = 0; i < q.parts.size(); ++i) {
        const Query& part = q.parts[i];
        QueryOptions partOptions = options;
        partOptions.collateOutputs = options.collateOutputs || dedupe;
        if (i > 0) {
            partOptions.naming = Naming::Jet;
        }
        QueryResult r = translateQuery(part, partOptions);
        if (i == 0) {
            result.columns = std::move(r.columns);
        } else {
            if (r.columns.size() != result.columns.size()) {
                throw SqlError(msg::kUnionColumns);
            }
            result.sql += q.unionAll[i - 1] ? " UNION ALL " : " UNION ";
        }
        // SQLite allows neither ORDER BY nor LIMIT nor parentheses inside a
        // compound member: such a member becomes a subquery.
        bool plain = !part.isUnion() && part.orderBy.empty() && !part.select->top;
        if (plain) {
            result.sql += r.sql;
        } else {
            result.sql += "SELECT * FROM (";
            result.sql += r.sql;
            result.sql += ')';
        }
    }
    if (!q.orderBy.empty()) {
        // The order of a union names its output columns (or their positions).
        result.sql += " ORDER BY ";
        for (size_t i = 0; i < q.orderBy.size(); ++i) {
            const OrderItem& item = q.orderBy[i];
            size_t position = 0;
            if (item.expr.kind == ExprKind::Integer) {
                position = static_cast<size_t>(item.expr.integer);
                if (item.expr.integer < 1 || position > result.columns.size()) {
                    throw SqlError(msg::kOrderByClause);
                }
            } else if (item.expr.kind == ExprKind::Column) {
                for (size_t c = 0; c < result.columns.size() && position == 0; ++c) {
                    const ResultColumn& rc = result.columns[c];
                    if (sameName(rc.column.name, item.expr.text) ||
                        (!rc.baseColumn.empty() && sameName(rc.baseColumn, item.expr.text))) {
                        position = c + 1;
                    }
                }
                if (position == 0) {
                    throw SqlError(msg::unknownName(textOf(item.expr.span)));
                }
            } else {
                throw SqlError(msg::kOrderByClause);
            }
            if (i) {
                result.sql += ", ";
            }
            result.sql += std::to_string(position);
            result.sql += " COLLATE JETTEXT";
            if (item.descending) {
                result.sql += " DESC";
            }
        }
    }
    return result;
}

void Translator::translateFrom(const std::vector<TableRef>& from, Scope& scope, std::string& out) {
    for (size_t i = 0; i < from.size(); ++i) {
        if (i) {
            out += ", ";
        }
        translateTableRef(from[i], scope, out);
    }
}

void Translator::translateTableRef(const TableRef& ref, Scope& scope, std::string& out) {
    switch (ref.kind) {
        case TableRef::Kind::Named:
            addNamedSource(ref, scope, out);
            return;
        case TableRef::Kind::Subquery: {
            for (const auto& s : scope.sources) {
                if (!ref.alias.empty() && sameName(s.matchName, ref.alias)) {
                    throw SqlError(msg::repeatedTable(ref.alias));
                }
            }
            QueryResult r = translateQuery(*ref.subquery, QueryOptions{});
            Source s;
            s.matchName = ref.alias;
            s.sqlAlias = allocateAlias(ref.alias);
            s.derived = std::move(r.columns);
            out += '(';
            out += r.sql;
            out += ") AS ";
            appendQuotedName(out, s.sqlAlias);
            scope.sources.push_back(std::move(s));
            return;
        }
        case TableRef::Kind::Join: {
            translateTableRef(*ref.left, scope, out);
            switch (ref.joinType) {
                case JoinType::Inner:
                    out += " INNER JOIN ";
                    break;
                case JoinType::Left:
                    out += " LEFT JOIN ";
                    break;
                case JoinType::Right:
                    out += " RIGHT JOIN ";
                    break;
            }
            bool nested = ref.right->kind == TableRef::Kind::Join;
            if (nested) {
                out += '(';
            }
            translateTableRef(*ref.right, scope, out);
            if (nested) {
                out += ')';
            }
            out += " ON ";
            ExprContext ctx;
            ctx.scope = &scope;
            ctx.clause = "JOIN";
            Tx on = translateExpr(*ref.on, ctx);
            out += on.sql;
            return;
        }
    }
}

void Translator::addNamedSource(const TableRef& ref, Scope& scope, std::string& out) {
    std::string_view match = ref.alias.empty() ? std::string_view(ref.name) : ref.alias;
    for (const auto& s : scope.sources) {
        if (sameName(s.matchName, match)) {
            throw SqlError(msg::repeatedTable(match));
        }
    }
    Source s;
    s.matchName = std::string(match);
    std::optional<ResolvedTable> table;
    if (!ref.database.empty()) {
        table = schema_.findExternalTable(ref.database, ref.name);
        if (!table) {
            throw SqlError(msg::unknownTable(ref.name));
        }
        readsOtherDatabase_ = true;
    } else {
        table = schema_.findTable(ref.name);
    }
    if (table) {
        tables_.push_back(std::move(*table));
        const ResolvedTable& t = tables_.back();
        noteDependency(t.name);
        s.sqlAlias = allocateAlias(match);
        s.catalogName = t.name;
        s.table = &t;
        appendQuotedName(out, t.storedName);
        out += " AS ";
        appendQuotedName(out, s.sqlAlias);
    } else if (auto view = schema_.findView(ref.name)) {
        noteDependency(view->name);
        QueryResult r = translateView(*view);
        s.sqlAlias = allocateAlias(match);
        s.catalogName = view->name;
        s.derived = std::move(r.columns);
        out += '(';
        out += r.sql;
        out += ") AS ";
        appendQuotedName(out, s.sqlAlias);
    } else {
        throw SqlError(msg::unknownTable(ref.name));
    }
    scope.sources.push_back(std::move(s));
}

Translator::QueryResult Translator::translateView(const ResolvedView& view) {
    for (const auto& v : viewStack_) {
        if (sameName(v, view.name)) {
            throw SqlError(msg::circularView(view.name));
        }
    }
    Statement st = parseStatement(view.accessSql);
    const auto* select = std::get_if<SelectStatement>(&st.body);
    if (select == nullptr || !select->intoTable.empty()) {
        throw SqlError(msg::kSimpleViewsOnly);
    }
    viewStack_.push_back(view.name);
    std::string_view savedText = text_;
    const std::vector<ParameterDecl>* savedParameters = parameters_;
    text_ = st.sql;
    parameters_ = &st.parameters;
    QueryResult r = translateSelectStatement(*select);
    text_ = savedText;
    parameters_ = savedParameters;
    viewStack_.pop_back();
    return r;
}

Translator::QueryResult Translator::translateCore(const SelectCore& core,
                                                  const std::vector<OrderItem>* orderBy,
                                                  const QueryOptions& options) {
    Scope scope;
    scope.parent = options.parent;
    scope.sources.reserve(core.from.size() + 2);
    std::string from;
    translateFrom(core.from, scope, from);

    const Crosstab* crosstab = options.crosstab;
    bool grouped = crosstab || !core.groupBy.empty() || core.having.has_value();
    for (const SelectItem& item : core.items) {
        if (!grouped && item.kind == SelectItem::Kind::Expression && containsAggregate(item.expr)) {
            grouped = true;
        }
    }
    if (!grouped && orderBy) {
        for (const OrderItem& o : *orderBy) {
            if (containsAggregate(o.expr)) {
                grouped = true;
            }
        }
    }

    // GROUP BY first: the select list is checked against its keys.
    std::vector<std::string> groupKeys;
    groupKeys.reserve(core.groupBy.size());
    for (const Expr& g : core.groupBy) {
        ExprContext ctx;
        ctx.scope = &scope;
        ctx.clause = "GROUP BY";
        Tx t = translateExpr(g, ctx);
        toValue(t);
        groupKeys.push_back(std::move(t.sql));
    }

    ExprContext itemCtx;
    itemCtx.scope = &scope;
    itemCtx.aggregatesAllowed = true;
    itemCtx.grouped = grouped;
    itemCtx.groupKeys = &groupKeys;

    std::vector<Item> items;
    {
        size_t expected = 0;
        for (const SelectItem& item : core.items) {
            if (item.kind == SelectItem::Kind::Expression) {
                ++expected;
            } else {
                for (const auto& s : scope.sources) {
                    expected += s.columnCount();
                }
            }
        }
        items.reserve(expected);
    }
    uint64_t sourcesUsed = 0;
    int exprNumber = 1000;
    auto addColumn = [&](size_t sourceIndex, size_t c) {
        const Source& src = scope.sources[sourceIndex];
        Item it;
        it.type = src.table ? columnType(src.table->columns[c])
                            : (src.derived[c].typeKnown ? columnType(src.derived[c].column)
                                                        : ValueType{});
        it.name = src.columnName(c);
        it.fromColumn = true;
        it.source = &src;
        it.column = c;
        items.push_back(std::move(it));
        if (sourceIndex < 64) {
            sourcesUsed |= uint64_t{1} << sourceIndex;
        }
    };
    for (const SelectItem& item : core.items) {
        switch (item.kind) {
            case SelectItem::Kind::Star:
                if (grouped) {
                    throw SqlError(msg::kStarWithGroup);
                }
                if (scope.sources.empty()) {
                    throw SqlError(msg::kNeedsTable);
                }
                for (size_t s = 0; s < scope.sources.size(); ++s) {
                    for (size_t c = 0; c < scope.sources[s].columnCount(); ++c) {
                        addColumn(s, c);
                    }
                }
                break;
            case SelectItem::Kind::TableStar: {
                if (grouped) {
                    throw SqlError(msg::kStarWithGroup);
                }
                size_t s = 0;
                while (s < scope.sources.size() &&
                       !sameName(scope.sources[s].matchName, item.table)) {
                    ++s;
                }
                if (s == scope.sources.size()) {
                    throw SqlError(msg::unknownTable(item.table));
                }
                for (size_t c = 0; c < scope.sources[s].columnCount(); ++c) {
                    addColumn(s, c);
                }
                break;
            }
            case SelectItem::Kind::Expression: {
                Tx t = translateExpr(item.expr, itemCtx);
                toValue(t);
                if (grouped && !t.ungrouped.empty()) {
                    throw SqlError(msg::notInAggregate(t.ungrouped));
                }
                Item it;
                it.sql = std::move(t.sql);
                it.type = t.type;
                sourcesUsed |= t.sourcesUsed;
                if (!item.alias.empty()) {
                    it.name = item.alias;
                } else if (t.source) {
                    it.name = t.source->columnName(t.column);
                    it.fromColumn = true;
                } else {
                    it.name = "Expr" + std::to_string(exprNumber++);
                }
                it.source = t.source;
                it.column = t.column;
                items.push_back(std::move(it));
                break;
            }
        }
    }
    // Two columns of the same name from different tables: Jet names them
    // "T1.Id" and "T2.Id".
    if (scope.sources.size() > 1) {
        std::vector<bool> clash(items.size(), false);
        for (size_t i = 0; i < items.size(); ++i) {
            if (!items[i].fromColumn) {
                continue;
            }
            for (size_t j = i + 1; j < items.size(); ++j) {
                if (items[j].fromColumn && items[i].source != items[j].source &&
                    sameName(items[i].name, items[j].name)) {
                    clash[i] = clash[j] = true;
                }
            }
        }
        for (size_t i = 0; i < items.size(); ++i) {
            if (clash[i]) {
                items[i].name = items[i].source->matchName + "." + items[i].name;
            }
        }
    }

    // Output aliases, for WHERE and ORDER BY (k: the item an alias names).
    std::vector<Scope::Alias> aliases;
    {
        size_t k = 0;
        for (const SelectItem& item : core.items) {
            if (item.kind != SelectItem::Kind::Expression) {
                // A star: skip the columns it expanded to.
                size_t n = 0;
                if (item.kind == SelectItem::Kind::Star) {
                    for (const auto& s : scope.sources) {
                        n += s.columnCount();
                    }
                } else {
                    for (const auto& s : scope.sources) {
                        if (sameName(s.matchName, item.table)) {
                            n = s.columnCount();
                        }
                    }
                }
                k += n;
                continue;
            }
            if (!item.alias.empty()) {
                Scope::Alias a;
                a.name = item.alias;
                a.sql = items[k].sql;
                a.type = items[k].type;
                aliases.push_back(std::move(a));
            }
            ++k;
        }
    }
    scope.aliases = &aliases;

    std::string where;
    if (core.where) {
        ExprContext ctx;
        ctx.scope = &scope;
        ctx.clause = "WHERE";
        where = translateExpr(*core.where, ctx).sql;
    }
    // A crosstab: one more column per pivot value. ORDER BY on the pivot
    // itself orders these columns, not the rows.
    std::string pivotSignature;
    if (crosstab) {
        pivotSignature = expressionSignature(textOf(crosstab->pivot.span));
        for (PivotCell& cell : pivotCells(*crosstab, scope, itemCtx, orderBy, from, where)) {
            Item it;
            it.sql = std::move(cell.sql);
            it.type = cell.type;
            it.name = std::move(cell.name);
            items.push_back(std::move(it));
        }
    }

    std::string having;
    if (core.having) {
        ExprContext ctx = itemCtx;
        ctx.clause = "HAVING";
        Tx t = translateExpr(*core.having, ctx);
        if (!t.ungrouped.empty()) {
            throw SqlError(msg::notInAggregate(t.ungrouped));
        }
        having = std::move(t.sql);
    }

    // ORDER BY terms (with COLLATE and direction) and their bare expressions.
    std::vector<std::string> orderTerms;
    std::vector<std::string> orderExprs;
    std::vector<bool> orderDesc;
    if (orderBy) {
        for (const OrderItem& o : *orderBy) {
            // The pivot orders the crosstab's columns (above). With an IN list it
            // is no grouping, and ordering by it fails as in Jet.
            if (crosstab && !crosstab->fixedColumns &&
                expressionSignature(textOf(o.expr.span)) == pivotSignature) {
                continue;
            }
            std::string sql;
            if (o.expr.kind == ExprKind::Integer) {
                // ORDER BY 2: the second output column.
                if (o.expr.integer < 1 || static_cast<size_t>(o.expr.integer) > items.size()) {
                    throw SqlError(msg::kOrderByClause);
                }
                sql = itemSql(items[static_cast<size_t>(o.expr.integer) - 1]);
            } else {
                ExprContext ctx = itemCtx;
                ctx.aggregatesAllowed = grouped;
                ctx.clause = "ORDER BY";
                Tx t = translateExpr(o.expr, ctx);
                toValue(t);
                if (grouped && !t.ungrouped.empty()) {
                    throw SqlError(msg::notInAggregate(t.ungrouped));
                }
                sql = std::move(t.sql);
            }
            std::string term = sql + " COLLATE JETTEXT";
            if (o.descending) {
                term += " DESC";
            }
            orderExprs.push_back(std::move(sql));
            orderTerms.push_back(std::move(term));
            orderDesc.push_back(o.descending);
        }
    }

    // Crosstab rows come out in the order of their row headings.
    if (crosstab) {
        for (const std::string& key : groupKeys) {
            orderExprs.push_back(key);
            orderTerms.push_back(key + " COLLATE JETTEXT");
            orderDesc.push_back(false);
        }
    }

    // DISTINCTROW: distinct rows of the tables whose columns are selected.
    // One table: the rows are distinct already.
    bool distinct = core.quantifier == SetQuantifier::Distinct;
    std::string distinctRowGroup;
    if (core.quantifier == SetQuantifier::DistinctRow && !grouped && scope.sources.size() > 1) {
        bool derived = false;
        for (size_t s = 0; s < scope.sources.size() && s < 64; ++s) {
            if ((sourcesUsed >> s) & 1) {
                derived = derived || scope.sources[s].table == nullptr;
            }
        }
        if (derived || sourcesUsed == 0) {
            distinct = true;
        } else {
            for (size_t s = 0; s < scope.sources.size() && s < 64; ++s) {
                if (!((sourcesUsed >> s) & 1)) {
                    continue;
                }
                if (!distinctRowGroup.empty()) {
                    distinctRowGroup += ", ";
                }
                appendQuotedName(distinctRowGroup, scope.sources[s].sqlAlias);
                distinctRowGroup += ".rowid";
            }
        }
    }
    bool collate = distinct || options.collateOutputs;

    QueryResult result;
    result.columns.reserve(items.size());
    for (const Item& it : items) {
        ResultColumn rc = resultColumn(it.name, it.type);
        if (it.source) {
            const Source& src = *it.source;
            if (src.table) {
                rc.baseTable = src.table->name;
                rc.baseColumn = src.table->columns[it.column].name;
            } else {
                rc.baseTable = src.derived[it.column].baseTable;
                rc.baseColumn = src.derived[it.column].baseColumn;
            }
        }
        result.columns.push_back(std::move(rc));
    }

    bool topWrapper = core.top && (core.top->percent || !orderTerms.empty());
    auto outputName = [&](size_t i) -> std::string {
        if (topWrapper) {
            return "c" + std::to_string(i);
        }
        if (options.naming == Naming::Positional) {
            return "c" + std::to_string(i);
        }
        return items[i].name;
    };

    std::string& sql = result.sql;
    {
        size_t expected = 64 + from.size() + where.size() + having.size();
        for (const Item& it : items) {
            expected += it.sql.size() + 2 * it.name.size() + 32;
        }
        sql.reserve(expected);
    }
    sql += distinct ? "SELECT DISTINCT " : "SELECT ";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) {
            sql += ", ";
        }
        appendItemSql(sql, items[i]);
        if (collate && !items[i].type.isNumeric()) {
            sql += " COLLATE JETTEXT";
        }
        sql += " AS ";
        appendQuotedName(sql, outputName(i));
    }
    if (topWrapper) {
        for (size_t i = 0; i < orderExprs.size(); ++i) {
            sql += ", ";
            sql += orderExprs[i];
            sql += " AS \"k" + std::to_string(i) + '"';
        }
    }
    if (!from.empty()) {
        sql += " FROM ";
        sql += from;
    }
    if (!where.empty()) {
        sql += " WHERE ";
        sql += where;
    }
    if (!groupKeys.empty() || !distinctRowGroup.empty()) {
        sql += " GROUP BY ";
        for (size_t i = 0; i < groupKeys.size(); ++i) {
            if (i) {
                sql += ", ";
            }
            sql += groupKeys[i];
            sql += " COLLATE JETTEXT";
        }
        sql += distinctRowGroup;
    }
    if (!having.empty()) {
        sql += " HAVING ";
        sql += having;
    }
    if (!topWrapper) {
        if (!orderTerms.empty()) {
            sql += " ORDER BY ";
            for (size_t i = 0; i < orderTerms.size(); ++i) {
                if (i) {
                    sql += ", ";
                }
                sql += orderTerms[i];
            }
        }
        if (core.top) {
            sql += " LIMIT ";
            sql += formatCount(core.top->count);
        }
        return result;
    }

    // TOP with ORDER BY keeps the rows tied with the last one, as Jet does:
    // rank() over the order, then keep the ranks within the count.
    std::string keys;
    for (size_t i = 0; i < orderExprs.size(); ++i) {
        if (i) {
            keys += ", ";
        }
        keys += "\"k" + std::to_string(i) + "\" COLLATE JETTEXT";
        if (orderDesc[i]) {
            keys += " DESC";
        }
    }
    std::string ranked = "SELECT *, ";
    ranked += keys.empty() ? "row_number() OVER ()" : "rank() OVER (ORDER BY " + keys + ")";
    ranked += " AS \"__rank\", count(*) OVER () AS \"__count\" FROM (" + sql + ")";
    std::string outer = "SELECT ";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) {
            outer += ", ";
        }
        outer += "\"c" + std::to_string(i) + "\" AS ";
        appendQuotedName(
            outer, options.naming == Naming::Positional ? "c" + std::to_string(i) : items[i].name);
    }
    outer += " FROM (" + ranked + ") WHERE ";
    if (core.top->percent) {
        outer += "(\"__rank\" - 1) * 100 < \"__count\" * " + formatCount(core.top->count);
    } else {
        outer += "\"__rank\" <= " + formatCount(core.top->count);
    }
    if (!keys.empty()) {
        outer += " ORDER BY " + keys;
    }
    result.sql = std::move(outer);
    return result;
}

}  // namespace orvdb::engine::sql
