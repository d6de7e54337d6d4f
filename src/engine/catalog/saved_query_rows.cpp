#include "engine/catalog/saved_query_rows.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/front_end.hpp"
#include "jet/format/codes.hpp"

#include <cctype>

namespace orvdb::engine {

namespace {

using namespace jet::query_rows;

class RowWriter {
public:
    explicit RowWriter(const std::string& sql) : sql_(sql) {}

    std::string text(sql::SourceSpan span) const {
        if (span.end <= span.begin || span.end > sql_.size()) {
            return {};
        }
        return std::string(std::string_view(sql_).substr(span.begin, span.end - span.begin));
    }

    // The span with the parentheses around it, when the query is written so.
    sql::SourceSpan withParentheses(sql::SourceSpan span) const {
        for (;;) {
            size_t before = span.begin, after = span.end;
            while (before > 0 && std::isspace(static_cast<unsigned char>(sql_[before - 1]))) {
                --before;
            }
            while (after < sql_.size() && std::isspace(static_cast<unsigned char>(sql_[after]))) {
                ++after;
            }
            if (before == 0 || after >= sql_.size() || sql_[before - 1] != '(' ||
                sql_[after] != ')') {
                return span;
            }
            span.begin = static_cast<uint32_t>(before - 1);
            span.end = static_cast<uint32_t>(after + 1);
        }
    }

    void tables(const sql::TableRef& ref, std::vector<SavedQueryRow>& tableRows,
                std::vector<SavedQueryRow>& joinRows) const {
        switch (ref.kind) {
            case sql::TableRef::Kind::Named: {
                SavedQueryRow row{kTableRow, {}, {}, ref.name, {}};
                // Access keeps the database of [database].name beside the name.
                if (!ref.database.empty()) {
                    row.expression = ref.database;
                }
                if (!ref.alias.empty()) {
                    row.name2 = ref.alias;
                }
                tableRows.push_back(row);
                return;
            }
            case sql::TableRef::Kind::Subquery:
                // Access keeps a derived table as a table row whose name is
                // the query's text.
                tableRows.push_back({kTableRow, {}, {}, text(ref.subquery->span), keyOf(ref)});
                return;
            case sql::TableRef::Kind::Join: {
                tables(*ref.left, tableRows, joinRows);
                tables(*ref.right, tableRows, joinRows);
                int type = ref.joinType == sql::JoinType::Inner  ? kInnerJoin
                           : ref.joinType == sql::JoinType::Left ? kLeftJoin
                                                                 : kRightJoin;
                joinRows.push_back({kJoinRow, ref.on ? text(ref.on->span) : std::string("True"),
                                    type, keyOf(*ref.left), keyOf(*ref.right)});
                return;
            }
        }
    }

private:
    // The name a join row uses for one side: a table of that side.
    static std::string keyOf(const sql::TableRef& ref) {
        if (ref.kind == sql::TableRef::Kind::Join) {
            return keyOf(*ref.left);
        }
        return ref.alias.empty() ? ref.name : ref.alias;
    }

    const std::string& sql_;
};

void appendOrderBy(const RowWriter& writer, const std::vector<sql::OrderItem>& orderBy,
                   std::vector<SavedQueryRow>& rows) {
    for (const auto& order : orderBy) {
        SavedQueryRow row{kOrderByRow, writer.text(order.expr.span), {}, {}, {}};
        if (order.descending) {
            row.name1.emplace(1, 'D');
        }
        rows.push_back(row);
    }
}

// The rows between the kind row and the end row of a single SELECT.
void appendSelectRows(const RowWriter& writer, const sql::SelectCore& core,
                      const std::vector<sql::OrderItem>& orderBy,
                      std::vector<SavedQueryRow>& rows) {
    std::vector<SavedQueryRow> tableRows, joinRows;
    for (const auto& ref : core.from) {
        writer.tables(ref, tableRows, joinRows);
    }
    int options = 0;
    if (core.quantifier == sql::SetQuantifier::Distinct) {
        options |= kDistinct;
    }
    if (core.quantifier == sql::SetQuantifier::DistinctRow) {
        options |= kDistinctRow;
    }
    std::optional<std::string> topCount;
    if (core.top) {
        options |= kTop | (core.top->percent ? kPercent : 0);
        double count = core.top->count;
        topCount = count == static_cast<double>(static_cast<int64_t>(count))
                       ? std::to_string(static_cast<int64_t>(count))
                       : std::to_string(count);
    }
    std::vector<SavedQueryRow> columnRows;
    for (const auto& item : core.items) {
        switch (item.kind) {
            case sql::SelectItem::Kind::Star:
                options |= kSelectStar;
                break;
            case sql::SelectItem::Kind::TableStar: {
                std::string all = item.table;
                all.append(".*");
                columnRows.push_back({kColumnRow, all, 0, {}, {}});
                break;
            }
            case sql::SelectItem::Kind::Expression: {
                SavedQueryRow row{kColumnRow, writer.text(item.expr.span), 0, {}, {}};
                if (!item.alias.empty()) {
                    row.name1 = item.alias;
                }
                columnRows.push_back(row);
                break;
            }
        }
    }
    if (options) {
        rows.push_back({kOptionsRow, {}, options, topCount, {}});
    }
    rows.insert(rows.end(), tableRows.begin(), tableRows.end());
    rows.insert(rows.end(), columnRows.begin(), columnRows.end());
    rows.insert(rows.end(), joinRows.begin(), joinRows.end());
    if (core.where) {
        rows.push_back({kWhereRow, writer.text(core.where->span), {}, {}, {}});
    }
    for (const auto& group : core.groupBy) {
        rows.push_back({kGroupByRow, writer.text(group.span), 0, {}, {}});
    }
    if (core.having) {
        rows.push_back({kHavingRow, writer.text(core.having->span), {}, {}, {}});
    }
    appendOrderBy(writer, orderBy, rows);
}

// A union keeps two sides: the last select, and everything before it as one
// text (itself a union when there are more than two parts). The options flag
// tells UNION from UNION ALL for the last operator.
void appendUnionRows(const RowWriter& writer, const sql::Query& query,
                     std::vector<SavedQueryRow>& rows) {
    const sql::Query& last = query.parts.back();
    const sql::Query& beforeLast = query.parts[query.parts.size() - 2];
    sql::SourceSpan first{writer.withParentheses(query.parts.front().span).begin,
                          writer.withParentheses(beforeLast.span).end};
    rows.push_back(
        {kOptionsRow, {}, kSelectStar | (query.unionAll.back() ? 0 : kDistinct), {}, {}});
    rows.push_back({kTableRow, writer.text(first), {}, {}, std::string(kUnionFirstPart)});
    rows.push_back({kTableRow, writer.text(last.span), {}, {}, std::string(kUnionSecondPart)});
    appendOrderBy(writer, query.orderBy, rows);
}

}  // namespace

SavedQueryDefinition savedQueryDefinition(const std::string& sql) {
    sql::Statement statement = sql::parseStatement(sql);
    const auto* select = std::get_if<sql::SelectStatement>(&statement.body);
    if (!select || select->crosstab || !select->intoTable.empty()) {
        throw SqlError(msg::kSimpleViewsOnly);
    }
    // Spans index the text the parser kept.
    RowWriter writer(statement.sql);
    SavedQueryDefinition definition;
    const sql::Query& query = select->query;
    definition.kind = query.isUnion() ? jet::QueryKind::Union : jet::QueryKind::Select;
    definition.rows = {{kStartRow, {}, 0, {}, {}},
                       {kKindRow, {}, static_cast<int>(definition.kind), {}, {}}};
    if (query.isUnion()) {
        appendUnionRows(writer, query, definition.rows);
    } else {
        appendSelectRows(writer, *query.select, query.orderBy, definition.rows);
    }
    definition.rows.push_back({kEndRow, {}, {}, {}, {}});
    return definition;
}

}  // namespace orvdb::engine
