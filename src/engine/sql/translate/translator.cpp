// Queries: FROM clauses, select lists, unions, TOP and the statement entry.
#include "engine/sql/translate/translator.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/names.hpp"
#include "engine/sql/translate/access_functions.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvdb::engine::sql {

namespace {

// Does e use an aggregate function outside of subqueries?
bool containsAggregate(const Expr& expression) {
    if (expression.kind == ExprKind::Call) {
        const FunctionInfo* function = findFunction(expression.text);
        if (function && function->aggregate()) {
            return true;
        }
    }
    for (const Expr& argument : expression.args) {
        if (containsAggregate(argument)) {
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

void appendItemSql(std::string& out, const Item& item) {
    if (!item.sql.empty() || item.source == nullptr) {
        out += item.sql;
        return;
    }
    appendQuotedName(out, item.source->sqlAlias);
    out += '.';
    appendQuotedName(out, item.source->columnName(item.column));
}

std::string itemSql(const Item& item) {
    std::string sql;
    appendItemSql(sql, item);
    return sql;
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
    for (const auto& text : dependencies_) {
        if (sameName(text, name)) {
            return;
        }
    }
    dependencies_.emplace_back(name);
}

// Sets and counters by folded name: a union of thousands of selects of one
// table asks for thousands of aliases of one base.
std::string Translator::allocateAlias(std::string_view base) {
    std::string name(base.empty() ? std::string_view("Query") : base);
    std::string folded = orvdb::base::foldName(name);
    if (aliasesUsed_.insert(folded).second) {
        return name;
    }
    int& next = aliasSuffixes_[folded];
    for (next = std::max(next, 2);; ++next) {
        std::string candidate = name + "~" + std::to_string(next);
        if (aliasesUsed_.insert(orvdb::base::foldName(candidate)).second) {
            ++next;
            return candidate;
        }
    }
}

Translation Translator::translateStatement(const Statement& statement) {
    Translation translation;
    parameters_ = &statement.parameters;
    if (const auto* select = std::get_if<SelectStatement>(&statement.body)) {
        QueryResult result = translateSelectStatement(*select);
        translation.kind =
            select->intoTable.empty() ? StatementKind::Select : StatementKind::SelectInto;
        translation.sql = std::move(result.sql);
        translation.columns = std::move(result.columns);
        translation.targetTable = select->intoTable;
        if (!select->intoTable.empty()) {
            for (const auto& c : translation.columns) {
                for (const auto& d : translation.columns) {
                    if (&c != &d && sameName(c.column.name, d.column.name)) {
                        throw SqlError(msg::duplicateDestination(c.column.name));
                    }
                }
            }
        }
    } else if (const auto* insert = std::get_if<InsertStatement>(&statement.body)) {
        translation = translateInsert(*insert);
    } else if (const auto* update = std::get_if<UpdateStatement>(&statement.body)) {
        translation = translateUpdate(*update);
    } else if (const auto* deletion = std::get_if<DeleteStatement>(&statement.body)) {
        translation = translateDelete(*deletion);
    } else {
        translation.kind = StatementKind::Definition;
        return translation;
    }
    translation.dependencies = std::move(dependencies_);
    translation.parametersUsed = std::move(parametersUsed_);
    translation.columnsFromData = columnsFromData_;
    translation.readsOtherDatabase = readsOtherDatabase_;
    return translation;
}

Translator::QueryResult Translator::translateSelectStatement(const SelectStatement& select) {
    QueryOptions options;
    if (select.crosstab) {
        options.crosstab = &*select.crosstab;
    }
    return translateQuery(select.query, options);
}

Translator::QueryResult Translator::translateQuery(const Query& query,
                                                   const QueryOptions& options) {
    if (!query.isUnion()) {
        return translateCore(*query.select, &query.orderBy, options);
    }
    return translateUnion(query, options);
}

Translator::QueryResult Translator::translateUnion(const Query& query,
                                                   const QueryOptions& options) {
    QueryResult result;
    bool dedupe = false;
    for (bool all : query.unionAll) {
        dedupe = dedupe || !all;
    }
    for (size_t i = 0; i < query.parts.size(); ++i) {
        const Query& part = query.parts[i];
        QueryOptions partOptions = options;
        partOptions.collateOutputs = options.collateOutputs || dedupe;
        if (i > 0) {
            partOptions.naming = Naming::Jet;
        }
        QueryResult partResult = translateQuery(part, partOptions);
        if (i == 0) {
            result.columns = std::move(partResult.columns);
        } else {
            if (partResult.columns.size() != result.columns.size()) {
                throw SqlError(msg::kUnionColumns);
            }
            result.sql += query.unionAll[i - 1] ? " UNION ALL " : " UNION ";
        }
        // SQLite allows neither ORDER BY nor LIMIT nor parentheses inside a
        // compound member: such a member becomes a subquery.
        bool plain = !part.isUnion() && part.orderBy.empty() && !part.select->top;
        if (plain) {
            result.sql += partResult.sql;
        } else {
            result.sql += "SELECT * FROM (";
            result.sql += partResult.sql;
            result.sql += ')';
        }
    }
    if (!query.orderBy.empty()) {
        // The order of a union names its output columns (or their positions).
        result.sql += " ORDER BY ";
        for (size_t i = 0; i < query.orderBy.size(); ++i) {
            const OrderItem& item = query.orderBy[i];
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
            for (const auto& source : scope.sources) {
                if (!ref.alias.empty() && sameName(source.matchName, ref.alias)) {
                    throw SqlError(msg::repeatedTable(ref.alias));
                }
            }
            QueryResult result = translateQuery(*ref.subquery, QueryOptions{});
            Source source;
            source.matchName = ref.alias;
            source.sqlAlias = allocateAlias(ref.alias);
            source.derived = std::move(result.columns);
            out += '(';
            out += result.sql;
            out += ") AS ";
            appendQuotedName(out, source.sqlAlias);
            scope.sources.push_back(std::move(source));
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
    for (const auto& source : scope.sources) {
        if (sameName(source.matchName, match)) {
            throw SqlError(msg::repeatedTable(match));
        }
    }
    Source source;
    source.matchName = std::string(match);
    std::optional<ResolvedTable> table;
    if (!ref.database.empty()) {
        table = schema_.findExternalTable(ref.database, ref.name);
        if (!table) {
            throw SqlError(msg::tableNotFound(ref.name));
        }
        readsOtherDatabase_ = true;
    } else {
        table = schema_.findTable(ref.name);
    }
    if (table) {
        tables_.push_back(std::move(*table));
        const ResolvedTable& resolved = tables_.back();
        noteDependency(resolved.name);
        source.sqlAlias = allocateAlias(match);
        source.catalogName = resolved.name;
        source.table = &resolved;
        appendQuotedName(out, resolved.storedName);
        out += " AS ";
        appendQuotedName(out, source.sqlAlias);
    } else if (auto view = schema_.findView(ref.name)) {
        noteDependency(view->name);
        QueryResult result = translateView(*view);
        source.sqlAlias = allocateAlias(match);
        source.catalogName = view->name;
        source.derived = std::move(result.columns);
        out += '(';
        out += result.sql;
        out += ") AS ";
        appendQuotedName(out, source.sqlAlias);
    } else {
        throw SqlError(msg::tableNotFound(ref.name));
    }
    scope.sources.push_back(std::move(source));
}

Translator::QueryResult Translator::translateView(const ResolvedView& view) {
    // Saved queries built on saved queries: each level is a whole statement
    // translated inside the one that uses it, so the depth is limited.
    constexpr size_t kMaxViewNesting = 50;
    if (viewStack_.size() >= kMaxViewNesting) {
        throw SqlError(msg::kTooComplex);
    }
    for (const auto& text : viewStack_) {
        if (sameName(text, view.name)) {
            throw SqlError(msg::circularView(view.name));
        }
    }
    Statement statement = parseStatement(view.accessSql);
    const auto* select = std::get_if<SelectStatement>(&statement.body);
    if (select == nullptr || !select->intoTable.empty()) {
        throw SqlError(msg::kSimpleViewsOnly);
    }
    viewStack_.push_back(view.name);
    std::string_view savedText = text_;
    const std::vector<ParameterDecl>* savedParameters = parameters_;
    text_ = statement.sql;
    parameters_ = &statement.parameters;
    QueryResult result = translateSelectStatement(*select);
    text_ = savedText;
    parameters_ = savedParameters;
    viewStack_.pop_back();
    return result;
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
        for (const OrderItem& order : *orderBy) {
            if (containsAggregate(order.expr)) {
                grouped = true;
            }
        }
    }

    // GROUP BY first: the select list is checked against its keys.
    std::vector<std::string> groupKeys;
    groupKeys.reserve(core.groupBy.size());
    for (const Expr& groupExpression : core.groupBy) {
        ExprContext ctx;
        ctx.scope = &scope;
        ctx.clause = "GROUP BY";
        Tx translated = translateExpr(groupExpression, ctx);
        toValue(translated);
        groupKeys.push_back(std::move(translated.sql));
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
                for (const auto& source : scope.sources) {
                    expected += source.columnCount();
                }
            }
        }
        items.reserve(expected);
    }
    uint64_t sourcesUsed = 0;
    int exprNumber = 1000;
    auto addColumn = [&](size_t sourceIndex, size_t c) {
        const Source& source = scope.sources[sourceIndex];
        Item item;
        item.type = source.table
                        ? columnType(source.table->columns[c])
                        : (source.derived[c].typeKnown ? columnType(source.derived[c].column)
                                                       : ValueType{});
        item.name = source.columnName(c);
        item.fromColumn = true;
        item.source = &source;
        item.column = c;
        items.push_back(std::move(item));
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
                    throw SqlError(msg::tableNotFound(item.table));
                }
                for (size_t c = 0; c < scope.sources[s].columnCount(); ++c) {
                    addColumn(s, c);
                }
                break;
            }
            case SelectItem::Kind::Expression: {
                Tx translated = translateExpr(item.expr, itemCtx);
                toValue(translated);
                if (grouped && !translated.ungrouped.empty()) {
                    throw SqlError(msg::notInAggregate(translated.ungrouped));
                }
                Item output;
                output.sql = std::move(translated.sql);
                output.type = translated.type;
                sourcesUsed |= translated.sourcesUsed;
                if (!item.alias.empty()) {
                    output.name = item.alias;
                } else if (translated.source) {
                    output.name = translated.source->columnName(translated.column);
                    output.fromColumn = true;
                } else {
                    output.name = "Expr" + std::to_string(exprNumber++);
                }
                output.source = translated.source;
                output.column = translated.column;
                items.push_back(std::move(output));
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
                    for (const auto& source : scope.sources) {
                        n += source.columnCount();
                    }
                } else {
                    for (const auto& source : scope.sources) {
                        if (sameName(source.matchName, item.table)) {
                            n = source.columnCount();
                        }
                    }
                }
                k += n;
                continue;
            }
            if (!item.alias.empty()) {
                Scope::Alias alias;
                alias.name = item.alias;
                alias.sql = items[k].sql;
                alias.type = items[k].type;
                aliases.push_back(std::move(alias));
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
            Item item;
            item.sql = std::move(cell.sql);
            item.type = cell.type;
            item.name = std::move(cell.name);
            items.push_back(std::move(item));
        }
    }

    std::string having;
    if (core.having) {
        ExprContext ctx = itemCtx;
        ctx.clause = "HAVING";
        Tx translated = translateExpr(*core.having, ctx);
        if (!translated.ungrouped.empty()) {
            throw SqlError(msg::notInAggregate(translated.ungrouped));
        }
        having = std::move(translated.sql);
    }

    // ORDER BY terms (with COLLATE and direction) and their bare expressions.
    std::vector<std::string> orderTerms;
    std::vector<std::string> orderExprs;
    std::vector<bool> orderDesc;
    if (orderBy) {
        for (const OrderItem& order : *orderBy) {
            // The pivot orders the crosstab's columns (above). With an IN list it
            // is no grouping, and ordering by it fails as in Jet.
            if (crosstab && !crosstab->fixedColumns &&
                expressionSignature(textOf(order.expr.span)) == pivotSignature) {
                continue;
            }
            std::string sql;
            if (order.expr.kind == ExprKind::Integer) {
                // ORDER BY 2: the second output column.
                if (order.expr.integer < 1 ||
                    static_cast<size_t>(order.expr.integer) > items.size()) {
                    throw SqlError(msg::kOrderByClause);
                }
                sql = itemSql(items[static_cast<size_t>(order.expr.integer) - 1]);
            } else {
                ExprContext ctx = itemCtx;
                ctx.aggregatesAllowed = grouped;
                ctx.clause = "ORDER BY";
                Tx translated = translateExpr(order.expr, ctx);
                toValue(translated);
                if (grouped && !translated.ungrouped.empty()) {
                    throw SqlError(msg::notInAggregate(translated.ungrouped));
                }
                sql = std::move(translated.sql);
            }
            std::string term = sql + " COLLATE JETTEXT";
            if (order.descending) {
                term += " DESC";
            }
            orderExprs.push_back(std::move(sql));
            orderTerms.push_back(std::move(term));
            orderDesc.push_back(order.descending);
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
    for (const Item& item : items) {
        ResultColumn rc = resultColumn(item.name, item.type);
        if (item.source) {
            const Source& source = *item.source;
            if (source.table) {
                rc.baseTable = source.table->name;
                rc.baseColumn = source.table->columns[item.column].name;
            } else {
                rc.baseTable = source.derived[item.column].baseTable;
                rc.baseColumn = source.derived[item.column].baseColumn;
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
        for (const Item& item : items) {
            expected += item.sql.size() + 2 * item.name.size() + 32;
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
