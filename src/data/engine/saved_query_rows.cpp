#include "data/engine/saved_query_rows.hpp"

#include "data/engine/sql/front_end.hpp"
#include "jet/query_rows.hpp"

namespace orvdb::engine {

namespace {

using namespace jet::query_rows;

constexpr int kSelectKind = 1;

class RowWriter {
public:
    explicit RowWriter(const std::string& sql) : sql_(sql) {}

    std::string text(sql::SourceSpan span) const {
        if (span.end <= span.begin || span.end > sql_.size())
            return {};
        return std::string(std::string_view(sql_).substr(span.begin, span.end - span.begin));
    }

    // False when a table reference cannot be expressed as rows.
    bool tables(const sql::TableRef& ref, std::vector<SavedQueryRow>& tableRows,
                std::vector<SavedQueryRow>& joinRows) const {
        switch (ref.kind) {
            case sql::TableRef::Kind::Named: {
                SavedQueryRow row{kTableRow, {}, {}, ref.name, {}};
                if (!ref.alias.empty())
                    row.name2 = ref.alias;
                tableRows.push_back(row);
                return true;
            }
            case sql::TableRef::Kind::Join: {
                if (!tables(*ref.left, tableRows, joinRows) ||
                    !tables(*ref.right, tableRows, joinRows) || !ref.on)
                    return false;
                int type = ref.joinType == sql::JoinType::Inner  ? 1
                           : ref.joinType == sql::JoinType::Left ? 2
                                                                 : 3;
                joinRows.push_back(
                    {kJoinRow, text(ref.on->span), type, keyOf(*ref.left), keyOf(*ref.right)});
                return true;
            }
            case sql::TableRef::Kind::Subquery:
                return false;
        }
        return false;
    }

private:
    // The name a join row uses for one side: a table of that side.
    static std::string keyOf(const sql::TableRef& ref) {
        if (ref.kind == sql::TableRef::Kind::Join)
            return keyOf(*ref.left);
        return ref.alias.empty() ? ref.name : ref.alias;
    }

    const std::string& sql_;
};

}  // namespace

std::vector<SavedQueryRow> savedQueryRows(const std::string& selectSql) {
    std::vector<SavedQueryRow> rows{{kStartRow, {}, 0, {}, {}},
                                    {kKindRow, {}, kSelectKind, {}, {}}};
    const SavedQueryRow end{kEndRow, {}, {}, {}, {}};
    sql::Statement statement = sql::parseStatement(selectSql);
    const auto* select = std::get_if<sql::SelectStatement>(&statement.body);
    if (!select || select->crosstab || !select->intoTable.empty() || select->query.isUnion() ||
        !select->query.select) {
        rows.push_back(end);
        return rows;
    }
    // Spans index the text the parser kept.
    RowWriter writer(statement.sql);
    const sql::SelectCore& core = *select->query.select;
    std::vector<SavedQueryRow> tableRows, joinRows;
    for (const auto& ref : core.from) {
        if (!writer.tables(ref, tableRows, joinRows)) {
            rows.push_back(end);
            return rows;
        }
    }
    int options = 0;
    if (core.quantifier == sql::SetQuantifier::Distinct)
        options |= kDistinct;
    if (core.quantifier == sql::SetQuantifier::DistinctRow)
        options |= kDistinctRow;
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
                if (!item.alias.empty())
                    row.name1 = item.alias;
                columnRows.push_back(row);
                break;
            }
        }
    }
    if (options)
        rows.push_back({kOptionsRow, {}, options, topCount, {}});
    rows.insert(rows.end(), tableRows.begin(), tableRows.end());
    rows.insert(rows.end(), columnRows.begin(), columnRows.end());
    rows.insert(rows.end(), joinRows.begin(), joinRows.end());
    if (core.where)
        rows.push_back({kWhereRow, writer.text(core.where->span), {}, {}, {}});
    for (const auto& group : core.groupBy)
        rows.push_back({kGroupByRow, writer.text(group.span), 0, {}, {}});
    if (core.having)
        rows.push_back({kHavingRow, writer.text(core.having->span), {}, {}, {}});
    for (const auto& order : select->query.orderBy) {
        SavedQueryRow row{kOrderByRow, writer.text(order.expr.span), {}, {}, {}};
        if (order.descending)
            row.name1.emplace(1, 'D');
        rows.push_back(row);
    }
    rows.push_back(end);
    return rows;
}

}  // namespace orvdb::engine
