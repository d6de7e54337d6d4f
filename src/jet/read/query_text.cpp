#include "jet/read/query_text.hpp"

#include <cctype>
#include <memory>

#include "base/names.hpp"
#include "jet/format/codes.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

namespace {

constexpr const char* kNewline = "\r\n";

using namespace query_rows;

std::string text(const std::optional<std::string>& value) {
    return value.value_or("");
}
int flagOf(const QueryRow& row) {
    return static_cast<uint16_t>(row.flag.value_or(0));
}

// DDL and pass-through texts are stored with a terminating NUL.
std::string withoutTrailingNul(std::string value) {
    while (!value.empty() && value.back() == '\0') {
        value.pop_back();
    }
    return value;
}

std::string trimRight(std::string value) {
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r' || value.back() == '\n' ||
                              value.back() == '\t' || value.back() == ';')) {
        value.pop_back();
    }
    return value;
}

// A subquery in FROM is kept as a table row whose name is the query's text:
// a name that reads "SELECT ... FROM ..." is one.
bool isDerivedTable(std::string_view name) {
    std::string folded;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        folded += std::isspace(u) ? ' ' : static_cast<char>(std::tolower(u));
    }
    return (folded.rfind("select ", 0) == 0 || folded.rfind("transform ", 0) == 0) &&
           folded.find(" from ") != std::string::npos;
}

std::string join(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (size_t n = 0; n < parts.size(); ++n) {
        if (n > 0) {
            out += separator;
        }
        out += parts[n];
    }
    return out;
}

std::string parameterType(const QueryRow& row) {
    switch (row.flag.value_or(0)) {
        case 0:
            return "Value";
        case 1:
            return "Bit";
        case 2:
            return "Byte";
        case 3:
            return "Short";
        case 4:
            return "Long";
        case 5:
            return "Currency";
        case 6:
            return "IEEESingle";
        case 7:
            return "IEEEDouble";
        case 8:
            return "DateTime";
        case 9:
            return "Binary";
        case 10:
            return row.extra && *row.extra > 0 ? "Text ( " + std::to_string(*row.extra) + " )"
                                               : "Text ( 255 )";
        case 11:
            return "LongBinary";
        case 12:
            return "LongText";
        case 15:
            return "Guid";
        case 16:
            return "Decimal";
        default:
            throw QueryTextError("parameter '" + text(row.name1) + "' has unknown type " +
                                 std::to_string(row.flag.value_or(0)));
    }
}

// A FROM item: a table (with its alias as key) or a join of two items.
struct Source {
    std::string key;  // alias or table name; empty for joins
    std::string expression;
    std::unique_ptr<Source> left;
    std::unique_ptr<Source> right;
    int joinType = 0;
    std::vector<std::string> conditions;

    bool contains(std::string_view name) const {
        if (!left) {
            return base::sameName(key, name);
        }
        return left->contains(name) || right->contains(name);
    }
    std::string render(bool topLevel) const {
        if (!left) {
            return expression;
        }
        // By join row flag: inner, left, right.
        static const char* kJoins[] = {"", " INNER JOIN ", " LEFT JOIN ", " RIGHT JOIN "};
        std::string on =
            conditions.size() == 1 ? conditions.front() : "(" + join(conditions, ") AND (") + ")";
        std::string out =
            left->render(false) + kJoins[joinType] + right->render(false) + " ON " + on;
        return topLevel ? out : "(" + out + ")";
    }
};

class QueryBuilder {
public:
    QueryBuilder(const std::vector<QueryRow>& rows) : rows_(rows) {}

    std::vector<const QueryRow*> rows(uint8_t attribute) const {
        std::vector<const QueryRow*> out;
        for (const QueryRow& row : rows_) {
            if (row.attribute == attribute) {
                out.push_back(&row);
            }
        }
        return out;
    }
    const QueryRow* row(uint8_t attribute) const {
        auto found = rows(attribute);
        return found.empty() ? nullptr : found.front();
    }
    int options() const {
        const QueryRow* options = row(kOptionsRow);
        return options ? flagOf(*options) : 0;
    }

    std::string parameters() const {
        std::vector<std::string> items;
        for (const QueryRow* param : rows(kParameterRow)) {
            items.push_back(quoteIdentifier(text(param->name1)) + " " + parameterType(*param));
        }
        return items.empty() ? "" : "PARAMETERS " + join(items, ", ") + ";" + kNewline;
    }

    std::string remoteDatabase(const std::optional<std::string>& path,
                               const std::optional<std::string>& type) const {
        if (!path && !type) {
            return "";
        }
        std::string out = " IN '" + text(path) + "'";
        if (type) {
            out += " [" + *type + "]";
        }
        return out;
    }

    std::string fromList() const {
        std::vector<std::unique_ptr<Source>> sources;
        for (const QueryRow* table : rows(kTableRow)) {
            auto source = std::make_unique<Source>();
            std::string name = text(table->name1);
            if (table->expression) {
                source->expression = "[" + *table->expression + "]." + quoteIdentifier(name);
            } else if (isDerivedTable(name)) {
                source->expression = "(" + trimRight(name) + ")";
            } else {
                source->expression = quoteIdentifier(name);
            }
            if (table->name2) {
                source->expression += " AS " + quoteIdentifier(*table->name2);
            }
            source->key = table->name2 ? *table->name2 : name;
            sources.push_back(std::move(source));
        }
        auto take = [&](std::string_view name) -> std::unique_ptr<Source> {
            for (auto it = sources.begin(); it != sources.end(); ++it) {
                if ((*it)->contains(name)) {
                    std::unique_ptr<Source> found = std::move(*it);
                    sources.erase(it);
                    return found;
                }
            }
            auto plain = std::make_unique<Source>();
            plain->key = std::string(name);
            plain->expression = quoteIdentifier(name);
            return plain;
        };
        for (const QueryRow* joinRow : rows(kJoinRow)) {
            int type = flagOf(*joinRow);
            if (type < kInnerJoin || type > kRightJoin) {
                throw QueryTextError("a join has unknown type " + std::to_string(type));
            }
            std::string from = text(joinRow->name1);
            std::string to = text(joinRow->name2);
            std::string condition = text(joinRow->expression);
            // A further condition between two tables already joined.
            bool extended = false;
            for (auto& source : sources) {
                if (source->left && source->contains(from) && source->contains(to)) {
                    if (source->joinType != type) {
                        throw QueryTextError("tables " + from + " and " + to +
                                             " are joined in two different ways");
                    }
                    source->conditions.push_back(condition);
                    extended = true;
                    break;
                }
            }
            if (extended) {
                continue;
            }
            auto joined = std::make_unique<Source>();
            joined->left = take(from);
            joined->right = take(to);
            joined->joinType = type;
            joined->conditions.push_back(condition);
            sources.push_back(std::move(joined));
        }
        std::vector<std::string> items;
        for (const auto& source : sources) {
            items.push_back(source->render(true));
        }
        return join(items, ", ");
    }

    std::vector<std::string> columnItems(const std::vector<const QueryRow*>& columns) const {
        std::vector<std::string> items;
        for (const QueryRow* column : columns) {
            std::string item = text(column->expression);
            if (column->name1) {
                item += " AS " + quoteIdentifier(*column->name1);
            }
            items.push_back(item);
        }
        return items;
    }

    std::string selectHead(const std::vector<const QueryRow*>& columns) const {
        int flags = options();
        std::string out = "SELECT ";
        if (flags & kDistinct) {
            out += "DISTINCT ";
        } else if (flags & kDistinctRow) {
            out += "DISTINCTROW ";
        }
        if (flags & kTop) {
            const QueryRow* optionsRow = row(kOptionsRow);
            out += "TOP " + text(optionsRow->name1) + " ";
            if (flags & kPercent) {
                out += "PERCENT ";
            }
        }
        std::vector<std::string> items = columnItems(columns);
        if ((flags & kSelectStar) || items.empty()) {
            items.push_back("*");
        }
        return out + join(items, ", ");
    }

    // FROM ... WHERE ... GROUP BY ... HAVING ... ORDER BY ..., each on its line.
    std::string tail(bool groupByRowHeadingsOnly) const {
        std::string out;
        std::string from = fromList();
        if (!from.empty()) {
            const QueryRow* remote = row(kRemoteDatabaseRow);
            out += kNewline + std::string("FROM ") + from +
                   (remote ? remoteDatabase(remote->name1, remote->expression) : "");
        }
        if (const QueryRow* where = row(kWhereRow)) {
            out += kNewline + std::string("WHERE ") + text(where->expression);
        }
        std::vector<std::string> groups;
        for (const QueryRow* group : rows(kGroupByRow)) {
            if (!groupByRowHeadingsOnly || (flagOf(*group) & kPivotColumn) == 0) {
                groups.push_back(text(group->expression));
            }
        }
        if (!groups.empty()) {
            out += kNewline + std::string("GROUP BY ") + join(groups, ", ");
        }
        if (const QueryRow* having = row(kHavingRow)) {
            out += kNewline + std::string("HAVING ") + text(having->expression);
        }
        out += orderBy();
        return out;
    }

    std::string orderBy() const {
        std::vector<std::string> orders;
        for (const QueryRow* order : rows(kOrderByRow)) {
            std::string item = text(order->expression);
            if (order->name1 && base::sameName(*order->name1, "D")) {
                item += " DESC";
            }
            orders.push_back(item);
        }
        return orders.empty() ? "" : kNewline + std::string("ORDER BY ") + join(orders, ", ");
    }

    std::string ownerAccess() const {
        return (options() & kOwnerAccess) ? kNewline + std::string("WITH OWNERACCESS OPTION") : "";
    }

private:
    const std::vector<QueryRow>& rows_;
};

}  // namespace

std::string quoteIdentifier(std::string_view name) {
    bool plain = !name.empty();
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!(std::isalnum(u) || c == '_')) {
            plain = false;
        }
    }
    if (plain || (name.size() >= 2 && name.front() == '[' && name.back() == ']')) {
        return std::string(name);
    }
    return "[" + std::string(name) + "]";
}

QueryText buildQueryText(const std::vector<QueryRow>& rows, uint32_t objectFlags) {
    QueryBuilder builder(rows);
    static const QueryRow kNoKindRow;
    const QueryRow* kindRow = builder.row(kKindRow);
    QueryText result;
    if (kindRow && kindRow->flag) {
        int code = *kindRow->flag;
        if (code < 1 || code > 9) {
            throw QueryTextError("the query has unknown kind " + std::to_string(code));
        }
        result.kind = static_cast<QueryKind>(code);
    } else if (auto kind = queryKindFromObjectFlags(objectFlags)) {
        result.kind = *kind;
    } else {
        throw QueryTextError("the query has unknown object flags " + std::to_string(objectFlags));
    }
    if (!kindRow) {
        kindRow = &kNoKindRow;
    }

    auto columns = builder.rows(kColumnRow);
    std::string sql;
    switch (result.kind) {
        case QueryKind::DataDefinition:
            result.sql = withoutTrailingNul(text(kindRow->expression));
            return result;
        case QueryKind::PassThrough:
            result.sql = withoutTrailingNul(text(kindRow->expression));
            result.connect = withoutTrailingNul(text(kindRow->name1));
            return result;
        case QueryKind::Union: {
            std::string first;
            std::string second;
            for (const QueryRow* part : builder.rows(kTableRow)) {
                if (part->name2 == kUnionFirstPart) {
                    first = trimRight(text(part->expression));
                } else if (part->name2 == kUnionSecondPart) {
                    second = trimRight(text(part->expression));
                }
            }
            if (first.empty() || second.empty()) {
                throw QueryTextError("the union query lacks one of its two parts");
            }
            bool distinct = (builder.options() & kDistinct) != 0;
            sql = first + kNewline + (distinct ? "UNION " : "UNION ALL ") + second +
                  builder.orderBy();
            break;
        }
        case QueryKind::Select:
            sql = builder.parameters() + builder.selectHead(columns) + builder.tail(false) +
                  builder.ownerAccess();
            break;
        case QueryKind::MakeTable:
            sql = builder.parameters() + builder.selectHead(columns) + " INTO " +
                  quoteIdentifier(text(kindRow->name1)) +
                  builder.remoteDatabase(kindRow->name2, kindRow->expression) +
                  builder.tail(false) + builder.ownerAccess();
            break;
        case QueryKind::Append: {
            std::vector<const QueryRow*> values;
            std::vector<const QueryRow*> selected;
            for (const QueryRow* column : columns) {
                (flagOf(*column) & kAppendValue ? values : selected).push_back(column);
            }
            std::vector<std::string> targets;
            for (const QueryRow* column : values.empty() ? selected : values) {
                if (column->name2) {
                    targets.push_back(*column->name2);
                }
            }
            sql = builder.parameters() + "INSERT INTO " + quoteIdentifier(text(kindRow->name1));
            if (!targets.empty() && targets.size() == (values.empty() ? selected : values).size()) {
                sql += " ( " + join(targets, ", ") + " )";
            }
            sql += builder.remoteDatabase(kindRow->name2, kindRow->expression);
            if (!values.empty()) {
                std::vector<std::string> items;
                for (const QueryRow* value : values) {
                    items.push_back(text(value->expression));
                }
                sql += kNewline + std::string("VALUES (") + join(items, ", ") + ")";
            } else {
                sql += kNewline + builder.selectHead(selected) + builder.tail(false);
            }
            sql += builder.ownerAccess();
            break;
        }
        case QueryKind::Update: {
            std::vector<std::string> assignments;
            for (const QueryRow* column : columns) {
                assignments.push_back(text(column->name2) + " = " + text(column->expression));
            }
            sql = builder.parameters() + "UPDATE " + builder.fromList() + kNewline + "SET " +
                  join(assignments, ", ");
            if (const QueryRow* where = builder.row(kWhereRow)) {
                sql += kNewline + std::string("WHERE ") + text(where->expression);
            }
            sql += builder.ownerAccess();
            break;
        }
        case QueryKind::Delete: {
            std::vector<std::string> items = builder.columnItems(columns);
            if (items.empty()) {
                items.push_back("*");
            }
            sql = builder.parameters() + "DELETE " + join(items, ", ") + builder.tail(false) +
                  builder.ownerAccess();
            break;
        }
        case QueryKind::Crosstab: {
            std::vector<const QueryRow*> values;
            std::vector<const QueryRow*> headings;
            const QueryRow* pivot = nullptr;
            for (const QueryRow* column : columns) {
                int flag = flagOf(*column);
                if (flag & kPivotColumn) {
                    pivot = column;
                } else if (flag & kRowHeading) {
                    headings.push_back(column);
                } else {
                    values.push_back(column);
                }
            }
            if (values.empty() || !pivot) {
                throw QueryTextError("the crosstab query lacks its value or its pivot column");
            }
            // The options row may mark DISTINCT etc.; selectHead reads them.
            sql = builder.parameters() + "TRANSFORM " + join(builder.columnItems(values), ", ") +
                  kNewline + builder.selectHead(headings) + builder.tail(true) + kNewline +
                  "PIVOT " + text(pivot->expression);
            break;
        }
    }
    result.sql = sql + ";";
    return result;
}

}  // namespace orvdb::jet
