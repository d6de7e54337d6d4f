// Crosstabs: the columns a PIVOT makes and the TRANSFORM value in each;
// translateCore adds them after the row headings it builds as for any
// grouped select.
#include "engine/engine_error.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/messages.hpp"
#include "engine/sql/names.hpp"
#include "engine/sql/translate/translator.hpp"

#include <cmath>
#include <cstdio>

namespace orvdb::engine::sql {

namespace {

// Jet's heading for rows whose pivot value is Null.
constexpr const char* kNullHeading = "<>";

std::string valueLiteral(const SqlValue& value) {
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        if (!std::isfinite(*d)) {
            return std::isnan(*d) ? "NULL" : (*d > 0 ? "9e999" : "-9e999");  // SQLite's infinity
        }
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", *d);
        return buf;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return quoteText(*text);
    }
    static const char* kHex = "0123456789ABCDEF";
    std::string out = "X'";
    for (uint8_t b : std::get<std::vector<uint8_t>>(value)) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out + "'";
}

// Columns of one heading share it: values Jet shows alike fall together.
void addColumn(std::vector<PivotColumn>& columns, std::string name, std::string condition) {
    for (auto& c : columns) {
        if (sameName(c.name, name)) {
            c.condition = "(" + c.condition + " OR " + condition + ")";
            return;
        }
    }
    columns.push_back({std::move(name), std::move(condition)});
}

}  // namespace

std::string expressionSignature(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '[' || c == ']' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        }
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    return out;
}

std::vector<Translator::PivotCell> Translator::pivotCells(const Crosstab& crosstab, Scope& scope,
                                                          const ExprContext& itemContext,
                                                          const std::vector<OrderItem>* orderBy,
                                                          const std::string& from,
                                                          const std::string& where) {
    ExprContext pivotContext;
    pivotContext.scope = &scope;
    pivotContext.clause = "PIVOT";
    Tx pivot = translateExpr(crosstab.pivot, pivotContext);
    toValue(pivot);
    const std::string signature = expressionSignature(textOf(crosstab.pivot.span));
    bool descending = false;
    if (orderBy) {
        for (const OrderItem& order : *orderBy) {
            if (expressionSignature(textOf(order.expr.span)) == signature) {
                descending = order.descending;
            }
        }
    }
    std::vector<PivotCell> cells;
    for (const PivotColumn& column : pivotColumns(crosstab, pivot, from, where, descending)) {
        ExprContext context = itemContext;
        context.clause = "TRANSFORM";
        context.aggregateFilter = &column.condition;
        Tx translated = translateExpr(crosstab.value, context);
        toValue(translated);
        if (!translated.ungrouped.empty()) {
            throw SqlError(msg::notInAggregate(translated.ungrouped));
        }
        if (!translated.aggregate) {
            throw SqlError(msg::kTransformStatement);
        }
        cells.push_back({column.name, std::move(translated.sql), translated.type});
    }
    return cells;
}

std::vector<PivotColumn> Translator::pivotColumns(const Crosstab& crosstab, const Tx& pivot,
                                                  const std::string& from, const std::string& where,
                                                  bool descending) {
    if (crosstab.fixedColumns) {
        return fixedPivotColumns(crosstab, pivot);
    }
    if (pivotReader_ == nullptr) {
        throw SqlError(msg::kCrosstabNeedsData);
    }
    std::string probe = "SELECT DISTINCT " + pivot.sql + " COLLATE JETTEXT";
    if (!from.empty()) {
        probe += " FROM " + from;
    }
    if (!where.empty()) {
        probe += " WHERE " + where;
    }
    probe += descending ? " ORDER BY 1 DESC" : " ORDER BY 1";
    std::vector<SqlValue> values = (*pivotReader_)(probe);
    columnsFromData_ = true;
    std::vector<PivotColumn> columns;
    for (const SqlValue& value : values) {
        if (isNull(value)) {
            addColumn(columns, kNullHeading, "(" + pivot.sql + " IS NULL)");
            continue;
        }
        std::string name =
            pivot.type.known ? valueToText(value, pivot.type.type) : valueToText(value);
        addColumn(columns, std::move(name),
                  "(" + pivot.sql + " = " + valueLiteral(value) + " COLLATE JETTEXT)");
    }
    return columns;
}

// IN (v1, v2, ...): exactly those columns, in that order. A value matches
// the pivot as a value or as the text of its heading, so PIVOT Year(d)
// IN ("1996") finds the year 1996.
std::vector<PivotColumn> Translator::fixedPivotColumns(const Crosstab& crosstab, const Tx& pivot) {
    std::vector<PivotColumn> columns;
    for (const Expr& item : crosstab.columns) {
        const Expr* expression = &item;
        std::string sign;
        if (expression->kind == ExprKind::Unary && expression->unaryOp == UnaryOp::Negate &&
            expression->args.size() == 1 &&
            (expression->args[0].kind == ExprKind::Integer ||
             expression->args[0].kind == ExprKind::Number)) {
            sign = "-";
            expression = &expression->args[0];
        }
        std::string name;
        switch (expression->kind) {
            case ExprKind::Null:
                addColumn(columns, kNullHeading, "(" + pivot.sql + " IS NULL)");
                continue;
            case ExprKind::Text:
            case ExprKind::Number:
                name = sign + expression->text;
                break;
            case ExprKind::Date:
                // Headed as a probed date would be.
                if (auto day = parseJetDate(expression->text)) {
                    name = formatJetDate(*day);
                } else {
                    throw SqlError(msg::badDate("#" + expression->text + "#"));
                }
                break;
            case ExprKind::Integer:
                name = sign + std::to_string(expression->integer);
                break;
            case ExprKind::Boolean:
                name = expression->integer ? "True" : "False";
                break;
            default:
                throw SqlError(msg::kTransformStatement);
        }
        std::string value = "(" + sign + literal(*expression).sql + ")";
        addColumn(columns, name,
                  "(" + pivot.sql + " = " + value + " COLLATE JETTEXT OR CAST(" + pivot.sql +
                      " AS TEXT) = " + quoteText(name) + " COLLATE JETTEXT)");
    }
    return columns;
}

}  // namespace orvdb::engine::sql
