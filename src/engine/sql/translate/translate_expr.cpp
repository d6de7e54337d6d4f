// Expressions. Each translation comes back in its natural form (a
// comparison as SQLite's 1/0): a condition uses it as it is, a value context
// turns it into Jet's -1/0 with toValue(). Comparisons, ordering and
// grouping carry COLLATE JETTEXT: the indexes of the working store use that
// collation, and on numbers it changes nothing.
#include "engine/engine_error.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/messages.hpp"
#include "engine/sql/names.hpp"
#include "engine/sql/translate/access_functions.hpp"
#include "engine/sql/translate/translator.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace orvdb::engine::sql {

bool ValueType::isNumeric() const {
    if (!known) {
        return false;
    }
    switch (type) {
        case JetType::Boolean:
        case JetType::Byte:
        case JetType::Integer:
        case JetType::Long:
        case JetType::Currency:
        case JetType::Single:
        case JetType::Double:
        case JetType::DateTime:
            return true;
        default:
            return false;
    }
}

void toValue(Tx& translated) {
    if (translated.form != Form::Truth) {
        return;
    }
    translated.sql.insert(0, "(-");
    translated.sql += ')';
    translated.form = Form::JetBool;
}

bool isLogical(const Tx& translated) {
    return translated.form != Form::Value;
}

void appendCollated(std::string& out, const Tx& translated) {
    out += translated.sql;
    out += " COLLATE JETTEXT";
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return out;
}

ValueType columnType(const ColumnDef& column) {
    ValueType v = ValueType::of(column.type, column.size);
    v.precision = column.precision;
    v.scale = column.scale;
    v.autoNumber = column.autoNumber;
    return v;
}

ResultColumn resultColumn(std::string name, const ValueType& type) {
    ResultColumn rc;
    rc.column.name = std::move(name);
    if (type.known) {
        rc.typeKnown = true;
        rc.column.type = type.type;
        rc.column.size = type.type == JetType::Text && type.size <= 0 ? 255 : type.size;
        rc.column.precision = type.precision;
        rc.column.scale = type.scale;
        rc.column.autoNumber = type.autoNumber;
    }
    return rc;
}

namespace {

// In a crosstab cell the aggregate covers the cell's rows only, and a cell
// without rows is Null (Count included), as in Jet, where such a cell has
// no group at all.
void filterAggregate(Tx& translated, const std::string* condition) {
    if (condition == nullptr) {
        return;
    }
    const std::string filter = " FILTER (WHERE " + *condition + ")";
    translated.sql =
        "CASE WHEN COUNT(*)" + filter + " > 0 THEN " + translated.sql + filter + " END";
}

void absorb(Tx& into, const Tx& from) {
    into.aggregate = into.aggregate || from.aggregate;
    if (into.ungrouped.empty()) {
        into.ungrouped = from.ungrouped;
    }
    into.sourcesUsed |= from.sourcesUsed;
}

// Types whose values are numbers in Jet's eyes (Decimal is stored as text).
bool isJetNumber(const ValueType& t) {
    return t.known && (t.isNumeric() || t.type == JetType::Decimal) && t.type != JetType::DateTime;
}

int numericRank(JetType type) {
    switch (type) {
        case JetType::Boolean:
        case JetType::Byte:
            return 1;
        case JetType::Integer:
            return 2;
        case JetType::Long:
            return 3;
        case JetType::Single:
            return 4;
        case JetType::Double:
            return 5;
        case JetType::Currency:
            return 6;
        case JetType::Decimal:
            return 7;
        default:
            return 5;
    }
}

// The type of a + b, a - b, a * b for two numbers (Jet widens).
ValueType widen(const ValueType& a, const ValueType& b) {
    if (!isJetNumber(a) || !isJetNumber(b)) {
        return {};
    }
    JetType type = numericRank(a.type) >= numericRank(b.type) ? a.type : b.type;
    if (type == JetType::Boolean || type == JetType::Byte) {
        type = JetType::Integer;
    }
    // Single with anything wider than Integer needs a Double.
    if (type == JetType::Single && (a.type == JetType::Long || b.type == JetType::Long ||
                                    a.type == JetType::Double || b.type == JetType::Double)) {
        type = JetType::Double;
    }
    if (type == JetType::Currency && (a.type == JetType::Double || b.type == JetType::Double ||
                                      a.type == JetType::Single || b.type == JetType::Single)) {
        type = JetType::Double;
    }
    return ValueType::of(type);
}

// A numeric literal's value (for Between's bounds); dates count as numbers.
std::optional<double> literalNumber(const Expr& expression) {
    switch (expression.kind) {
        case ExprKind::Integer:
            return static_cast<double>(expression.integer);
        case ExprKind::Number:
            return expression.number;
        case ExprKind::Date:
            return parseJetDate(expression.text);
        case ExprKind::Unary:
            if (expression.unaryOp == UnaryOp::Negate) {
                if (auto number = literalNumber(expression.args[0])) {
                    return -*number;
                }
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::string formatReal(double value) {
    char buf[40];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string text(buf, ec == std::errc() ? p : buf);
    if (text.find_first_of(".eE") == std::string::npos) {
        text += ".0";
    }
    return text;
}

}  // namespace

Tx Translator::translateExpr(const Expr& expression, ExprContext& ctx) {
    Tx translated;
    switch (expression.kind) {
        case ExprKind::Column:
            translated = translateColumn(expression, ctx);
            break;
        case ExprKind::Unary:
            translated = translateUnary(expression, ctx);
            break;
        case ExprKind::Binary:
            translated = translateBinary(expression, ctx);
            break;
        case ExprKind::Call:
            translated = translateCall(expression, ctx);
            break;
        case ExprKind::Like:
        case ExprKind::Between:
        case ExprKind::InList:
        case ExprKind::InQuery:
        case ExprKind::IsNull:
        case ExprKind::Exists:
        case ExprKind::Quantified:
            translated = translatePredicate(expression, ctx);
            break;
        case ExprKind::Subquery:
            translated = translateSubqueryExpr(expression, ctx);
            break;
        case ExprKind::Star:
            throw SqlError(msg::missingOperator(textOf(expression.span)));
        default:
            translated = literal(expression);
            break;
    }
    // In a totals query, an expression that is itself a GROUP BY key is fine.
    if (ctx.grouped && !ctx.inAggregate && !translated.ungrouped.empty() && ctx.groupKeys) {
        for (const auto& key : *ctx.groupKeys) {
            if (key == translated.sql) {
                translated.ungrouped = {};
                break;
            }
        }
    }
    return translated;
}

Tx Translator::literal(const Expr& expression) {
    Tx translated;
    switch (expression.kind) {
        case ExprKind::Null:
            // Null takes part in logic as unknown: True Or Null is True.
            translated.sql = "NULL";
            translated.form = Form::JetBool;
            break;
        case ExprKind::Integer:
            translated.sql = std::to_string(expression.integer);
            translated.type =
                ValueType::of(expression.integer >= std::numeric_limits<int32_t>::min() &&
                                      expression.integer <= std::numeric_limits<int32_t>::max()
                                  ? JetType::Long
                                  : JetType::Double);
            break;
        case ExprKind::Number:
            translated.sql =
                std::isfinite(expression.number) ? formatReal(expression.number) : "NULL";
            translated.type = ValueType::of(JetType::Double);
            break;
        case ExprKind::Text:
            appendQuotedText(translated.sql, expression.text);
            translated.type = ValueType::of(JetType::Text, 255);
            break;
        case ExprKind::Date: {
            auto value = parseJetDate(expression.text);
            if (!value) {
                throw SqlError(msg::badDate("#" + expression.text + "#"));
            }
            translated.sql = formatReal(*value);
            translated.type = ValueType::of(JetType::DateTime);
            break;
        }
        case ExprKind::Boolean:
            translated.sql = expression.integer ? "-1" : "0";
            translated.type = ValueType::of(JetType::Boolean);
            translated.form = Form::JetBool;
            break;
        case ExprKind::Identity:
            translated.sql = "jet_identity()";
            translated.type = ValueType::of(JetType::Long);
            break;
        default:
            throw SqlError(msg::missingOperator(textOf(expression.span)));
    }
    // Typed as written; the value is bound when the statement runs.
    if (expression.parameter != 0) {
        translated.sql = "?" + std::to_string(expression.parameter);
    }
    return translated;
}

std::optional<Tx> Translator::translateParameterReference(const Expr& expression) {
    if (parameters_ == nullptr || parameters_->empty()) {
        return std::nullopt;
    }
    for (const ParameterDecl& parameter : *parameters_) {
        bool match =
            expression.qualifier.empty()
                ? sameName(parameter.name, expression.text)
                : sameName(parameter.name, expression.qualifier + '!' + expression.text) ||
                      sameName(parameter.name, expression.qualifier + '.' + expression.text);
        if (!match) {
            continue;
        }
        // Values for parameters are never supplied to a statement, so running
        // one that needs a value stops with Jet's error naming it.
        bool noted = false;
        for (const std::string& used : parametersUsed_) {
            noted = noted || used == parameter.name;
        }
        if (!noted) {
            parametersUsed_.push_back(parameter.name);
        }
        Tx translated;
        translated.sql = "jet_missing_parameter(";
        appendQuotedText(translated.sql, parameter.name);
        translated.sql += ')';
        translated.type = columnType(parameter.type);
        if (translated.type.is(JetType::Boolean)) {
            translated.form = Form::JetBool;
        }
        return translated;
    }
    return std::nullopt;
}

Tx Translator::translateColumn(const Expr& expression, ExprContext& ctx) {
    // A declared parameter hides a field of the same name, as in Access.
    if (std::optional<Tx> parameter = translateParameterReference(expression)) {
        return *parameter;
    }
    auto make = [&](const Scope* scope, size_t sourceIndex, size_t c) {
        const Source& source = scope->sources[sourceIndex];
        Tx translated;
        const std::string& name = source.columnName(c);
        translated.sql.reserve(source.sqlAlias.size() + name.size() + 5);
        appendQuotedName(translated.sql, source.sqlAlias);
        translated.sql += '.';
        appendQuotedName(translated.sql, name);
        if (source.table) {
            translated.type = columnType(source.table->columns[c]);
        } else if (source.derived[c].typeKnown) {
            translated.type = columnType(source.derived[c].column);
        }
        if (translated.type.is(JetType::Boolean)) {
            translated.form = Form::JetBool;
        }
        translated.source = &source;
        translated.column = c;
        if (scope == ctx.scope) {
            if (sourceIndex < 64) {
                translated.sourcesUsed = uint64_t{1} << sourceIndex;
            }
            if (ctx.grouped && !ctx.inAggregate) {
                translated.ungrouped = textOf(expression.span);
            }
        }
        return translated;
    };
    if (!expression.qualifier.empty()) {
        for (const Scope* scope = ctx.scope; scope; scope = scope->parent) {
            for (size_t i = 0; i < scope->sources.size(); ++i) {
                const Source& source = scope->sources[i];
                if (!sameName(source.matchName, expression.qualifier)) {
                    continue;
                }
                for (size_t c = 0; c < source.columnCount(); ++c) {
                    if (sameName(source.columnName(c), expression.text)) {
                        return make(scope, i, c);
                    }
                }
                throw SqlError(msg::unknownName(textOf(expression.span)));
            }
        }
        throw SqlError(msg::unknownName(textOf(expression.span)));
    }
    for (const Scope* scope = ctx.scope; scope; scope = scope->parent) {
        size_t foundSource = 0, foundColumn = 0;
        bool found = false;
        for (size_t i = 0; i < scope->sources.size(); ++i) {
            const Source& source = scope->sources[i];
            for (size_t c = 0; c < source.columnCount(); ++c) {
                if (!sameName(source.columnName(c), expression.text)) {
                    continue;
                }
                if (found) {
                    throw SqlError(msg::ambiguousField(expression.text));
                }
                found = true;
                foundSource = i;
                foundColumn = c;
                break;
            }
        }
        if (found) {
            return make(scope, foundSource, foundColumn);
        }
        if (scope == ctx.scope && scope->aliases) {
            for (const auto& alias : *scope->aliases) {
                if (!sameName(alias.name, expression.text)) {
                    continue;
                }
                Tx translated;
                translated.sql = "(" + alias.sql + ")";
                translated.type = alias.type;
                translated.form = alias.form;
                return translated;
            }
        }
    }
    throw SqlError(msg::unknownName(expression.text));
}

Tx Translator::translateUnary(const Expr& expression, ExprContext& ctx) {
    Tx operand = translateExpr(expression.args[0], ctx);
    Tx translated;
    absorb(translated, operand);
    switch (expression.unaryOp) {
        case UnaryOp::Plus:
            toValue(operand);
            translated.sql = std::move(operand.sql);
            translated.type = operand.type;
            return translated;
        case UnaryOp::Negate:
            toValue(operand);
            translated.sql = "(-" + operand.sql + ")";
            translated.type =
                operand.type.is(JetType::Boolean) ? ValueType::of(JetType::Integer) : operand.type;
            return translated;
        case UnaryOp::Not:
            if (isLogical(operand)) {
                translated.sql = "(NOT " + operand.sql + ")";
                translated.form = Form::Truth;
                translated.type = ValueType::of(JetType::Boolean);
            } else if (operand.type.isNumeric()) {
                // Not on a number is bitwise in Jet (Not 1 = -2).
                translated.sql = "(~" + operand.sql + ")";
                translated.type =
                    operand.type.is(JetType::Byte) ? ValueType::of(JetType::Integer) : operand.type;
            } else {
                translated.sql = "jet_not(" + operand.sql + ")";
                translated.form = Form::JetBool;
                translated.type = ValueType::of(JetType::Boolean);
            }
            return translated;
    }
    return translated;
}

void Translator::checkCriteriaTypes(const Tx& left, const Tx& right, const Expr& leftExpression,
                                    const Expr& rightExpression) const {
    // Jet refuses to compare a number column with a text constant ("5" included).
    auto mismatch = [](const Tx& column, const Expr& other) {
        return column.source && isJetNumber(column.type) && other.kind == ExprKind::Text;
    };
    if (mismatch(left, rightExpression) || mismatch(right, leftExpression)) {
        throw SqlError(msg::kTypeMismatch);
    }
}

namespace {

// `parts` joined by `separator` in groups of at most `size`, each inside
// `open`..`close`.
std::vector<std::string> joinGroups(const std::vector<std::string>& parts, std::string_view open,
                                    std::string_view separator, std::string_view close,
                                    size_t size) {
    std::vector<std::string> groups;
    for (size_t start = 0; start < parts.size(); start += size) {
        size_t end = std::min(parts.size(), start + size);
        size_t length = open.size() + close.size();
        for (size_t index = start; index < end; ++index) {
            length += parts[index].size() + separator.size();
        }
        std::string joined;
        joined.reserve(length);
        joined += open;
        for (size_t index = start; index < end; ++index) {
            if (index > start) {
                joined += separator;
            }
            joined += parts[index];
        }
        joined += close;
        groups.push_back(std::move(joined));
    }
    return groups;
}

// Terms joined by `separator` inside `open`..`close`, as a tree of groups of
// at most 64: neither SQLite's parser stack nor its expression depth then
// grows with the number of terms (for operations where grouping does not
// change the result).
std::string groupedJoin(std::vector<std::string> parts, std::string_view open,
                        std::string_view separator, std::string_view close) {
    constexpr size_t kGroup = 64;
    do {
        parts = joinGroups(parts, open, separator, close, kGroup);
    } while (parts.size() > 1);
    return std::move(parts.front());
}

// jet_fold(ops, terms...): the terms folded from the left in one call, in
// groups (jet_terms) below the arguments SQLite lets a call take.
std::string foldCall(std::string_view ops, std::vector<std::string> parts) {
    constexpr size_t kArguments = 100;
    while (parts.size() > kArguments) {
        parts = joinGroups(parts, "jet_terms(", ", ", ")", kArguments);
    }
    std::string open = "jet_fold('";
    open += ops;
    open += "', ";
    return std::move(joinGroups(parts, open, ", ", ")", kArguments).front());
}

// Longer chains of numbers than this are folded by one call: SQLite's
// expression depth grows with each operator it reads.
constexpr size_t kNativeChain = 200;

std::vector<std::string> takeSql(std::vector<Tx>& terms) {
    std::vector<std::string> parts;
    parts.reserve(terms.size());
    for (Tx& term : terms) {
        parts.push_back(std::move(term.sql));
    }
    return parts;
}

}  // namespace

Tx Translator::translateBinary(const Expr& expression, ExprContext& ctx) {
    if (expression.args.size() > 2) {
        return translateChain(expression, ctx);
    }
    Tx left = translateExpr(expression.args[0], ctx);
    Tx right = translateExpr(expression.args[1], ctx);
    return combineBinary(expression.binaryOp, std::move(left), std::move(right), expression.args[0],
                         expression.args[1]);
}

// a & b & c ..., a Or b Or c ...: one flat node of the parser. Each term is
// translated once, and the SQL written without nesting per operator; the
// result is what combineBinary gives operator by operator.
Tx Translator::translateChain(const Expr& expression, ExprContext& ctx) {
    BinaryOp op = expression.binaryOp;
    std::vector<Tx> terms;
    terms.reserve(expression.args.size());
    for (const Expr& argument : expression.args) {
        terms.push_back(translateExpr(argument, ctx));
    }
    Tx translated;
    bool allNumbers = true;
    bool anyMemo = false;
    size_t firstValue = terms.size();  // the first term that is no condition
    for (size_t index = 0; index < terms.size(); ++index) {
        const Tx& term = terms[index];
        absorb(translated, term);
        if (!isLogical(term) && firstValue == terms.size()) {
            firstValue = index;
        }
        allNumbers = allNumbers && term.type.known && term.type.isNumeric() &&
                     !term.type.is(JetType::DateTime);
        anyMemo = anyMemo || term.type.is(JetType::Memo);
    }
    if (op == BinaryOp::And || op == BinaryOp::Or) {
        const char* logical = op == BinaryOp::And ? " AND " : " OR ";
        if (firstValue == terms.size()) {
            translated.sql = groupedJoin(takeSql(terms), "(", logical, ")");
            translated.form = Form::Truth;
            translated.type = ValueType::of(JetType::Boolean);
            return translated;
        }
        // The conditions before the first number combine as conditions; from
        // that number on Jet works bit by bit.
        std::vector<std::string> parts;
        if (firstValue > 0) {
            Tx conditions;
            std::vector<Tx> leading(std::make_move_iterator(terms.begin()),
                                    std::make_move_iterator(terms.begin() + firstValue));
            conditions.sql = firstValue == 1 ? std::move(leading.front().sql)
                                             : groupedJoin(takeSql(leading), "(", logical, ")");
            conditions.form = firstValue == 1 ? leading.front().form : Form::Truth;
            toValue(conditions);
            parts.push_back(std::move(conditions.sql));
        }
        for (size_t index = firstValue; index < terms.size(); ++index) {
            toValue(terms[index]);
            parts.push_back(std::move(terms[index].sql));
        }
        translated.sql =
            groupedJoin(std::move(parts), "(", op == BinaryOp::And ? " & " : " | ", ")");
        translated.type = ValueType::of(JetType::Long);
        return translated;
    }
    for (Tx& term : terms) {
        toValue(term);
    }
    if (op == BinaryOp::Concat) {
        translated.sql = groupedJoin(takeSql(terms), "jet_concat(", ", ", ")");
        translated.type =
            anyMemo ? ValueType::of(JetType::Memo) : ValueType::of(JetType::Text, 255);
        return translated;
    }
    // + - *: folded from the left, as Jet evaluates them; a chain of + and -
    // has an operator per step.
    auto stepOp = [&expression, op](size_t index) {
        return expression.steps.empty() ? op : expression.steps[index - 1];
    };
    auto symbol = [](BinaryOp step) {
        return step == BinaryOp::Add ? '+' : step == BinaryOp::Subtract ? '-' : '*';
    };
    ValueType type = terms.front().type;
    std::string ops;
    for (size_t index = 1; index < terms.size(); ++index) {
        type = arithmeticType(stepOp(index), type, terms[index].type);
        if (!expression.steps.empty() || index == 1) {
            ops += symbol(stepOp(index));
        }
    }
    translated.type = type;
    if (allNumbers && terms.size() <= kNativeChain) {
        // SQLite reads a + b - c as (a + b) - c, as Jet does.
        std::vector<std::string> parts = takeSql(terms);
        size_t length = 2;
        for (const std::string& part : parts) {
            length += part.size() + 3;
        }
        translated.sql.reserve(length);
        translated.sql += '(';
        for (size_t index = 0; index < parts.size(); ++index) {
            if (index > 0) {
                translated.sql += ' ';
                translated.sql += symbol(stepOp(index));
                translated.sql += ' ';
            }
            translated.sql += parts[index];
        }
        translated.sql += ')';
        return translated;
    }
    translated.sql = foldCall(ops, takeSql(terms));
    return translated;
}

// The type of a + b, a - b, a * b.
ValueType Translator::arithmeticType(BinaryOp op, const ValueType& left, const ValueType& right) {
    switch (op) {
        case BinaryOp::Add:
            if (left.is(JetType::DateTime) || right.is(JetType::DateTime)) {
                return (left.isNumeric() && right.isNumeric()) ? ValueType::of(JetType::DateTime)
                                                               : ValueType{};
            }
            if ((left.is(JetType::Text) || left.is(JetType::Memo)) &&
                (right.is(JetType::Text) || right.is(JetType::Memo))) {
                return ValueType::of(JetType::Text, 255);
            }
            return widen(left, right);
        case BinaryOp::Subtract:
            if (left.is(JetType::DateTime) && right.is(JetType::DateTime)) {
                return ValueType::of(JetType::Double);
            }
            if (left.is(JetType::DateTime) && right.isNumeric()) {
                return ValueType::of(JetType::DateTime);
            }
            return widen(left, right);
        default:
            return widen(left, right);
    }
}

Tx Translator::combineBinary(BinaryOp op, Tx left, Tx right, const Expr& leftExpression,
                             const Expr& rightExpression) {
    Tx translated;
    absorb(translated, left);
    absorb(translated, right);
    if (sql::isLogical(op)) {
        bool logical = isLogical(left) && isLogical(right);
        translated.type = ValueType::of(logical ? JetType::Boolean : JetType::Long);
        if (logical && (op == BinaryOp::And || op == BinaryOp::Or)) {
            translated.sql =
                "(" + left.sql + (op == BinaryOp::And ? " AND " : " OR ") + right.sql + ")";
            translated.form = Form::Truth;
            return translated;
        }
        toValue(left);
        toValue(right);
        if (logical) {
            if (op == BinaryOp::Xor) {
                translated.sql = "(" + left.sql + " <> " + right.sql + ")";
            }
            if (op == BinaryOp::Eqv) {
                translated.sql = "(" + left.sql + " = " + right.sql + ")";
            }
            if (op == BinaryOp::Imp) {
                translated.sql = "((NOT " + left.sql + ") OR " + right.sql + ")";
            }
            translated.form = Form::Truth;
            return translated;
        }
        // On numbers Jet's logical operators work bit by bit.
        std::string orSql = "(" + left.sql + " | " + right.sql + ")";
        std::string andSql = "(" + left.sql + " & " + right.sql + ")";
        switch (op) {
            case BinaryOp::And:
                translated.sql = andSql;
                break;
            case BinaryOp::Or:
                translated.sql = orSql;
                break;
            case BinaryOp::Xor:
                translated.sql = "(" + orSql + " - " + andSql + ")";
                break;
            case BinaryOp::Eqv:
                translated.sql = "(~(" + orSql + " - " + andSql + "))";
                break;
            default:  // Imp
                translated.sql = "((~" + left.sql + ") | " + right.sql + ")";
                break;
        }
        return translated;
    }
    toValue(left);
    toValue(right);
    if (isComparison(op)) {
        checkCriteriaTypes(left, right, leftExpression, rightExpression);
        translated.sql.reserve(left.sql.size() + right.sql.size() + 24);
        translated.sql += '(';
        translated.sql += left.sql;
        translated.sql += comparisonSql(op);
        appendCollated(translated.sql, right);
        translated.sql += ')';
        translated.form = Form::Truth;
        translated.type = ValueType::of(JetType::Boolean);
        return translated;
    }
    auto call = [&](const char* fn) {
        translated.sql = std::string(fn) + "(" + left.sql + ", " + right.sql + ")";
    };
    switch (op) {
        case BinaryOp::Power:
            call("jet_pow");
            translated.type = ValueType::of(JetType::Double);
            break;
        case BinaryOp::Multiply:
            translated.sql = "(" + left.sql + " * " + right.sql + ")";
            translated.type = widen(left.type, right.type);
            break;
        case BinaryOp::Divide:
            call("jet_div");
            translated.type = ValueType::of(JetType::Double);
            break;
        case BinaryOp::IntDivide:
            call("jet_intdiv");
            translated.type = ValueType::of(JetType::Long);
            break;
        case BinaryOp::Mod:
            call("jet_mod");
            translated.type = ValueType::of(JetType::Long);
            break;
        case BinaryOp::Add:
            if (left.type.isNumeric() && right.type.isNumeric()) {
                translated.sql = "(" + left.sql + " + " + right.sql + ")";
            } else {
                call("jet_add");  // numbers add, texts concatenate
            }
            translated.type = arithmeticType(op, left.type, right.type);
            break;
        case BinaryOp::Subtract:
            translated.sql = "(" + left.sql + " - " + right.sql + ")";
            translated.type = arithmeticType(op, left.type, right.type);
            break;
        case BinaryOp::Concat:
            call("jet_concat");
            translated.type = (left.type.is(JetType::Memo) || right.type.is(JetType::Memo))
                                  ? ValueType::of(JetType::Memo)
                                  : ValueType::of(JetType::Text, 255);
            break;
        default:
            break;
    }
    return translated;
}

Tx Translator::translatePredicate(const Expr& expression, ExprContext& ctx) {
    Tx translated;
    translated.form = Form::Truth;
    translated.type = ValueType::of(JetType::Boolean);
    const char* notSql = expression.negated ? "NOT " : "";
    switch (expression.kind) {
        case ExprKind::Like: {
            Tx value = translateExpr(expression.args[0], ctx);
            Tx pattern = translateExpr(expression.args[1], ctx);
            toValue(value);
            toValue(pattern);
            absorb(translated, value);
            absorb(translated, pattern);
            translated.sql = "jet_like(" + value.sql + ", " + pattern.sql + ")";
            if (expression.negated) {
                translated.sql = "(NOT " + translated.sql + ")";
            } else {
                translated.form = Form::JetBool;  // jet_like answers -1/0/Null
            }
            return translated;
        }
        case ExprKind::Between: {
            Tx operand = translateExpr(expression.args[0], ctx);
            Tx low = translateExpr(expression.args[1], ctx);
            Tx high = translateExpr(expression.args[2], ctx);
            toValue(operand);
            toValue(low);
            toValue(high);
            absorb(translated, operand);
            absorb(translated, low);
            absorb(translated, high);
            checkCriteriaTypes(operand, low, expression.args[0], expression.args[1]);
            checkCriteriaTypes(operand, high, expression.args[0], expression.args[2]);
            translated.sql = "(";
            appendCollated(translated.sql, operand);
            translated.sql += ' ';
            translated.sql += notSql;
            translated.sql += "BETWEEN ";
            // Jet accepts the bounds in either order (Between 10 And 1).
            auto lowNumber = literalNumber(expression.args[1]);
            auto highNumber = literalNumber(expression.args[2]);
            if (lowNumber && highNumber) {
                if (*lowNumber > *highNumber) {
                    std::swap(low, high);
                }
                translated.sql += low.sql + " AND " + high.sql + ")";
            } else if (expression.args[1].kind == ExprKind::Text &&
                       expression.args[2].kind == ExprKind::Text) {
                translated.sql += low.sql + " AND " + high.sql + ")";
            } else {
                translated.sql += "min(" + low.sql + " COLLATE JETTEXT, " + high.sql +
                                  ") AND max(" + low.sql + " COLLATE JETTEXT, " + high.sql + "))";
            }
            return translated;
        }
        case ExprKind::InList: {
            Tx operand = translateExpr(expression.args[0], ctx);
            toValue(operand);
            absorb(translated, operand);
            translated.sql = "(";
            appendCollated(translated.sql, operand);
            translated.sql += ' ';
            translated.sql += notSql;
            translated.sql += "IN (";
            for (size_t i = 1; i < expression.args.size(); ++i) {
                Tx item = translateExpr(expression.args[i], ctx);
                toValue(item);
                checkCriteriaTypes(operand, item, expression.args[0], expression.args[i]);
                absorb(translated, item);
                if (i > 1) {
                    translated.sql += ", ";
                }
                translated.sql += item.sql;
            }
            translated.sql += "))";
            return translated;
        }
        case ExprKind::InQuery: {
            Tx operand = translateExpr(expression.args[0], ctx);
            toValue(operand);
            absorb(translated, operand);
            QueryResult result = translateSubquery(*expression.subquery, ctx, Naming::Jet);
            if (result.columns.size() != 1) {
                throw SqlError(msg::kSubqueryOneField);
            }
            translated.sql = "(";
            appendCollated(translated.sql, operand);
            translated.sql += ' ';
            translated.sql += notSql;
            translated.sql += "IN (" + result.sql + "))";
            return translated;
        }
        case ExprKind::IsNull: {
            Tx operand = translateExpr(expression.args[0], ctx);
            toValue(operand);
            absorb(translated, operand);
            translated.sql =
                "(" + operand.sql + (expression.negated ? " IS NOT NULL)" : " IS NULL)");
            return translated;
        }
        case ExprKind::Exists: {
            QueryResult result = translateSubquery(*expression.subquery, ctx, Naming::Jet);
            translated.sql = "EXISTS (" + result.sql + ")";
            return translated;
        }
        default: {  // Quantified: x op ANY|ALL (subquery)
            Tx operand = translateExpr(expression.args[0], ctx);
            toValue(operand);
            absorb(translated, operand);
            QueryResult result = translateSubquery(*expression.subquery, ctx, Naming::Positional);
            if (result.columns.size() != 1) {
                throw SqlError(msg::kSubqueryOneField);
            }
            std::string alias = allocateAlias("any");
            std::string test = "(" + operand.sql + comparisonSql(expression.binaryOp) +
                               quoteName(alias) + ".\"c0\" COLLATE JETTEXT)";
            if (expression.all) {
                translated.sql = "(NOT EXISTS (SELECT 1 FROM (" + result.sql + ") AS " +
                                 quoteName(alias) + " WHERE NOT " + test + "))";
            } else {
                translated.sql = "EXISTS (SELECT 1 FROM (" + result.sql + ") AS " +
                                 quoteName(alias) + " WHERE " + test + ")";
            }
            return translated;
        }
    }
}

Translator::QueryResult Translator::translateSubquery(const Query& query, ExprContext& ctx,
                                                      Naming naming) {
    QueryOptions options;
    options.parent = ctx.scope;
    options.naming = naming;
    return translateQuery(query, options);
}

Tx Translator::translateSubqueryExpr(const Expr& expression, ExprContext& ctx) {
    QueryResult result = translateSubquery(*expression.subquery, ctx, Naming::Jet);
    if (result.columns.size() != 1) {
        throw SqlError(msg::kSubqueryOneField);
    }
    Tx translated;
    translated.sql = "(" + result.sql + ")";
    if (result.columns[0].typeKnown) {
        translated.type = columnType(result.columns[0].column);
    }
    if (translated.type.is(JetType::Boolean)) {
        translated.form = Form::JetBool;
    }
    return translated;
}

Tx Translator::translateCall(const Expr& expression, ExprContext& ctx) {
    const FunctionInfo* info = findFunction(expression.text);
    if (info == nullptr) {
        throw SqlError(msg::undefinedFunction(expression.text));
    }
    Tx translated;
    if (info->aggregate()) {
        if (!ctx.aggregatesAllowed) {
            throw SqlError(msg::aggregateInClause(ctx.clause, textOf(expression.span)));
        }
        if (ctx.inAggregate) {
            throw SqlError(msg::nestedAggregate(textOf(expression.span)));
        }
        ExprContext inner = ctx;
        inner.inAggregate = true;
        translated.aggregate = true;
        if (expression.args[0].kind == ExprKind::Star) {
            translated.sql = "COUNT(*)";
            translated.type = ValueType::of(JetType::Long);
            filterAggregate(translated, ctx.aggregateFilter);
            return translated;
        }
        Tx argument = translateExpr(expression.args[0], inner);
        toValue(argument);
        translated.sourcesUsed = argument.sourcesUsed;
        switch (info->emit) {
            case FunctionEmit::Count:
                translated.sql = "COUNT(" + argument.sql + ")";
                translated.type = ValueType::of(JetType::Long);
                break;
            case FunctionEmit::Sum:
                translated.sql = "SUM(" + argument.sql + ")";
                // Currency and Decimal keep their type, other numbers sum as Double.
                translated.type =
                    (argument.type.is(JetType::Currency) || argument.type.is(JetType::Decimal))
                        ? ValueType::of(argument.type.type)
                        : ValueType::of(JetType::Double);
                break;
            case FunctionEmit::Avg:
                translated.sql = "AVG(" + argument.sql + ")";
                translated.type = argument.type.is(JetType::Currency)
                                      ? ValueType::of(JetType::Currency)
                                      : ValueType::of(JetType::Double);
                break;
            case FunctionEmit::Min:
            case FunctionEmit::Max:
                translated.sql = info->emit == FunctionEmit::Min ? "MIN(" : "MAX(";
                translated.sql += argument.sql;
                if (!argument.type.isNumeric()) {
                    translated.sql += " COLLATE JETTEXT";
                }
                translated.sql += ')';
                translated.type = argument.type;
                translated.type.autoNumber = false;
                break;
            default:
                translated.sql = "jet_" + lowerAscii(info->name) + "(" + argument.sql + ")";
                translated.type = info->result == FunctionResult::FirstArg
                                      ? argument.type
                                      : ValueType::of(info->resultType);
                translated.type.autoNumber = false;
                break;
        }
        filterAggregate(translated, ctx.aggregateFilter);
        if (translated.type.is(JetType::Boolean)) {
            translated.form = Form::JetBool;
        }
        return translated;
    }

    std::vector<Tx> args;
    args.reserve(expression.args.size());
    for (const Expr& argument : expression.args) {
        args.push_back(translateExpr(argument, ctx));
        absorb(translated, args.back());
    }
    switch (info->emit) {
        case FunctionEmit::Iif:
            toValue(args[1]);
            toValue(args[2]);
            translated.sql = "CASE WHEN " + args[0].sql + " THEN " + args[1].sql + " ELSE " +
                             args[2].sql + " END";
            if (args[1].type.known && args[2].type.known &&
                args[1].type.type == args[2].type.type) {
                translated.type = ValueType::of(args[1].type.type,
                                                std::max(args[1].type.size, args[2].type.size));
            }
            break;
        case FunctionEmit::Switch:
            translated.sql = "CASE";
            for (size_t i = 0; i + 1 < args.size(); i += 2) {
                toValue(args[i + 1]);
                translated.sql += " WHEN " + args[i].sql + " THEN " + args[i + 1].sql;
            }
            translated.sql += " END";
            break;
        case FunctionEmit::IsNull:
            toValue(args[0]);
            translated.sql = "(" + args[0].sql + " IS NULL)";
            translated.form = Form::Truth;
            translated.type = ValueType::of(JetType::Boolean);
            return translated;
        default: {
            translated.sql = "jet_" + lowerAscii(info->name) + "(";
            for (size_t i = 0; i < args.size(); ++i) {
                toValue(args[i]);
                if (i) {
                    translated.sql += ", ";
                }
                translated.sql += args[i].sql;
            }
            translated.sql += ')';
            if (info->result == FunctionResult::Fixed) {
                translated.type =
                    ValueType::of(info->resultType, info->resultType == JetType::Text ? 255 : 0);
            } else if (info->result == FunctionResult::FirstArg && !args.empty()) {
                translated.type = args[0].type;
                translated.type.autoNumber = false;
            }
            break;
        }
    }
    if (translated.type.is(JetType::Boolean)) {
        translated.form = Form::JetBool;
    }
    return translated;
}

}  // namespace orvdb::engine::sql
