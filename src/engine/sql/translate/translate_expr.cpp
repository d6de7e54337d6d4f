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

void toValue(Tx& tx) {
    if (tx.form != Form::Truth) {
        return;
    }
    tx.sql.insert(0, "(-");
    tx.sql += ')';
    tx.form = Form::JetBool;
}

bool isLogical(const Tx& tx) {
    return tx.form != Form::Value;
}

void appendCollated(std::string& out, const Tx& tx) {
    out += tx.sql;
    out += " COLLATE JETTEXT";
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return out;
}

ValueType columnType(const ColumnDef& c) {
    ValueType v = ValueType::of(c.type, c.size);
    v.precision = c.precision;
    v.scale = c.scale;
    v.autoNumber = c.autoNumber;
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
void filterAggregate(Tx& t, const std::string* condition) {
    if (condition == nullptr) {
        return;
    }
    const std::string filter = " FILTER (WHERE " + *condition + ")";
    t.sql = "CASE WHEN COUNT(*)" + filter + " > 0 THEN " + t.sql + filter + " END";
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

int numericRank(JetType t) {
    switch (t) {
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
    JetType t = numericRank(a.type) >= numericRank(b.type) ? a.type : b.type;
    if (t == JetType::Boolean || t == JetType::Byte) {
        t = JetType::Integer;
    }
    // Single with anything wider than Integer needs a Double.
    if (t == JetType::Single && (a.type == JetType::Long || b.type == JetType::Long ||
                                 a.type == JetType::Double || b.type == JetType::Double)) {
        t = JetType::Double;
    }
    if (t == JetType::Currency && (a.type == JetType::Double || b.type == JetType::Double ||
                                   a.type == JetType::Single || b.type == JetType::Single)) {
        t = JetType::Double;
    }
    return ValueType::of(t);
}

// A numeric literal's value (for Between's bounds); dates count as numbers.
std::optional<double> literalNumber(const Expr& e) {
    switch (e.kind) {
        case ExprKind::Integer:
            return static_cast<double>(e.integer);
        case ExprKind::Number:
            return e.number;
        case ExprKind::Date:
            return parseJetDate(e.text);
        case ExprKind::Unary:
            if (e.unaryOp == UnaryOp::Negate) {
                if (auto v = literalNumber(e.args[0])) {
                    return -*v;
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
    std::string s(buf, ec == std::errc() ? p : buf);
    if (s.find_first_of(".eE") == std::string::npos) {
        s += ".0";
    }
    return s;
}

const char* comparisonSql(BinaryOp op) {
    switch (op) {
        case BinaryOp::Equal:
            return " = ";
        case BinaryOp::NotEqual:
            return " <> ";
        case BinaryOp::Less:
            return " < ";
        case BinaryOp::Greater:
            return " > ";
        case BinaryOp::LessEqual:
            return " <= ";
        default:
            return " >= ";
    }
}

}  // namespace

Tx Translator::translateExpr(const Expr& e, ExprContext& ctx) {
    Tx t;
    switch (e.kind) {
        case ExprKind::Column:
            t = translateColumn(e, ctx);
            break;
        case ExprKind::Unary:
            t = translateUnary(e, ctx);
            break;
        case ExprKind::Binary:
            t = translateBinary(e, ctx);
            break;
        case ExprKind::Call:
            t = translateCall(e, ctx);
            break;
        case ExprKind::Like:
        case ExprKind::Between:
        case ExprKind::InList:
        case ExprKind::InQuery:
        case ExprKind::IsNull:
        case ExprKind::Exists:
        case ExprKind::Quantified:
            t = translatePredicate(e, ctx);
            break;
        case ExprKind::Subquery:
            t = translateSubqueryExpr(e, ctx);
            break;
        case ExprKind::Star:
            throw SqlError(msg::missingOperator(textOf(e.span)));
        default:
            t = literal(e);
            break;
    }
    // In a totals query, an expression that is itself a GROUP BY key is fine.
    if (ctx.grouped && !ctx.inAggregate && !t.ungrouped.empty() && ctx.groupKeys) {
        for (const auto& key : *ctx.groupKeys) {
            if (key == t.sql) {
                t.ungrouped = {};
                break;
            }
        }
    }
    return t;
}

Tx Translator::literal(const Expr& e) {
    Tx t;
    switch (e.kind) {
        case ExprKind::Null:
            // Null takes part in logic as unknown: True Or Null is True.
            t.sql = "NULL";
            t.form = Form::JetBool;
            break;
        case ExprKind::Integer:
            t.sql = std::to_string(e.integer);
            t.type = ValueType::of(e.integer >= std::numeric_limits<int32_t>::min() &&
                                           e.integer <= std::numeric_limits<int32_t>::max()
                                       ? JetType::Long
                                       : JetType::Double);
            break;
        case ExprKind::Number:
            t.sql = std::isfinite(e.number) ? formatReal(e.number) : "NULL";
            t.type = ValueType::of(JetType::Double);
            break;
        case ExprKind::Text:
            appendQuotedText(t.sql, e.text);
            t.type = ValueType::of(JetType::Text, 255);
            break;
        case ExprKind::Date: {
            auto value = parseJetDate(e.text);
            if (!value) {
                throw SqlError(msg::badDate("#" + e.text + "#"));
            }
            t.sql = formatReal(*value);
            t.type = ValueType::of(JetType::DateTime);
            break;
        }
        case ExprKind::Boolean:
            t.sql = e.integer ? "-1" : "0";
            t.type = ValueType::of(JetType::Boolean);
            t.form = Form::JetBool;
            break;
        case ExprKind::Identity:
            t.sql = "jet_identity()";
            t.type = ValueType::of(JetType::Long);
            break;
        default:
            throw SqlError(msg::missingOperator(textOf(e.span)));
    }
    // Typed as written; the value is bound when the statement runs.
    if (e.parameter != 0) {
        t.sql = "?" + std::to_string(e.parameter);
    }
    return t;
}

std::optional<Tx> Translator::translateParameterReference(const Expr& e) {
    if (parameters_ == nullptr || parameters_->empty()) {
        return std::nullopt;
    }
    for (const ParameterDecl& p : *parameters_) {
        bool match = e.qualifier.empty() ? sameName(p.name, e.text)
                                         : sameName(p.name, e.qualifier + '!' + e.text) ||
                                               sameName(p.name, e.qualifier + '.' + e.text);
        if (!match) {
            continue;
        }
        // Values for parameters are never supplied to a statement, so running
        // one that needs a value stops with Jet's error naming it.
        bool noted = false;
        for (const std::string& used : parametersUsed_) {
            noted = noted || used == p.name;
        }
        if (!noted) {
            parametersUsed_.push_back(p.name);
        }
        Tx t;
        t.sql = "jet_missing_parameter(";
        appendQuotedText(t.sql, p.name);
        t.sql += ')';
        t.type = columnType(p.type);
        if (t.type.is(JetType::Boolean)) {
            t.form = Form::JetBool;
        }
        return t;
    }
    return std::nullopt;
}

Tx Translator::translateColumn(const Expr& e, ExprContext& ctx) {
    // A declared parameter hides a field of the same name, as in Access.
    if (std::optional<Tx> parameter = translateParameterReference(e)) {
        return *parameter;
    }
    auto make = [&](const Scope* scope, size_t sourceIndex, size_t c) {
        const Source& src = scope->sources[sourceIndex];
        Tx t;
        const std::string& name = src.columnName(c);
        t.sql.reserve(src.sqlAlias.size() + name.size() + 5);
        appendQuotedName(t.sql, src.sqlAlias);
        t.sql += '.';
        appendQuotedName(t.sql, name);
        if (src.table) {
            t.type = columnType(src.table->columns[c]);
        } else if (src.derived[c].typeKnown) {
            t.type = columnType(src.derived[c].column);
        }
        if (t.type.is(JetType::Boolean)) {
            t.form = Form::JetBool;
        }
        t.source = &src;
        t.column = c;
        if (scope == ctx.scope) {
            if (sourceIndex < 64) {
                t.sourcesUsed = uint64_t{1} << sourceIndex;
            }
            if (ctx.grouped && !ctx.inAggregate) {
                t.ungrouped = textOf(e.span);
            }
        }
        return t;
    };
    if (!e.qualifier.empty()) {
        for (const Scope* s = ctx.scope; s; s = s->parent) {
            for (size_t i = 0; i < s->sources.size(); ++i) {
                const Source& src = s->sources[i];
                if (!sameName(src.matchName, e.qualifier)) {
                    continue;
                }
                for (size_t c = 0; c < src.columnCount(); ++c) {
                    if (sameName(src.columnName(c), e.text)) {
                        return make(s, i, c);
                    }
                }
                throw SqlError(msg::unknownName(textOf(e.span)));
            }
        }
        throw SqlError(msg::unknownName(textOf(e.span)));
    }
    for (const Scope* s = ctx.scope; s; s = s->parent) {
        size_t foundSource = 0, foundColumn = 0;
        bool found = false;
        for (size_t i = 0; i < s->sources.size(); ++i) {
            const Source& src = s->sources[i];
            for (size_t c = 0; c < src.columnCount(); ++c) {
                if (!sameName(src.columnName(c), e.text)) {
                    continue;
                }
                if (found) {
                    throw SqlError(msg::ambiguousField(e.text));
                }
                found = true;
                foundSource = i;
                foundColumn = c;
                break;
            }
        }
        if (found) {
            return make(s, foundSource, foundColumn);
        }
        if (s == ctx.scope && s->aliases) {
            for (const auto& a : *s->aliases) {
                if (!sameName(a.name, e.text)) {
                    continue;
                }
                Tx t;
                t.sql = "(" + a.sql + ")";
                t.type = a.type;
                t.form = a.form;
                return t;
            }
        }
    }
    throw SqlError(msg::unknownName(e.text));
}

Tx Translator::translateUnary(const Expr& e, ExprContext& ctx) {
    Tx a = translateExpr(e.args[0], ctx);
    Tx t;
    absorb(t, a);
    switch (e.unaryOp) {
        case UnaryOp::Plus:
            toValue(a);
            t.sql = std::move(a.sql);
            t.type = a.type;
            return t;
        case UnaryOp::Negate:
            toValue(a);
            t.sql = "(-" + a.sql + ")";
            t.type = a.type.is(JetType::Boolean) ? ValueType::of(JetType::Integer) : a.type;
            return t;
        case UnaryOp::Not:
            if (isLogical(a)) {
                t.sql = "(NOT " + a.sql + ")";
                t.form = Form::Truth;
                t.type = ValueType::of(JetType::Boolean);
            } else if (a.type.isNumeric()) {
                // Not on a number is bitwise in Jet (Not 1 = -2).
                t.sql = "(~" + a.sql + ")";
                t.type = a.type.is(JetType::Byte) ? ValueType::of(JetType::Integer) : a.type;
            } else {
                t.sql = "jet_not(" + a.sql + ")";
                t.form = Form::JetBool;
                t.type = ValueType::of(JetType::Boolean);
            }
            return t;
    }
    return t;
}

void Translator::checkCriteriaTypes(const Tx& a, const Tx& b, const Expr& ea,
                                    const Expr& eb) const {
    // Jet refuses to compare a number column with a text constant ("5" included).
    auto mismatch = [](const Tx& column, const Expr& other) {
        return column.source && isJetNumber(column.type) && other.kind == ExprKind::Text;
    };
    if (mismatch(a, eb) || mismatch(b, ea)) {
        throw SqlError(msg::kTypeMismatch);
    }
}

Tx Translator::translateBinary(const Expr& e, ExprContext& ctx) {
    BinaryOp op = e.binaryOp;
    Tx a = translateExpr(e.args[0], ctx);
    Tx b = translateExpr(e.args[1], ctx);
    Tx t;
    absorb(t, a);
    absorb(t, b);
    if (sql::isLogical(op)) {
        bool logical = isLogical(a) && isLogical(b);
        t.type = ValueType::of(logical ? JetType::Boolean : JetType::Long);
        if (logical && (op == BinaryOp::And || op == BinaryOp::Or)) {
            t.sql = "(" + a.sql + (op == BinaryOp::And ? " AND " : " OR ") + b.sql + ")";
            t.form = Form::Truth;
            return t;
        }
        toValue(a);
        toValue(b);
        if (logical) {
            if (op == BinaryOp::Xor) {
                t.sql = "(" + a.sql + " <> " + b.sql + ")";
            }
            if (op == BinaryOp::Eqv) {
                t.sql = "(" + a.sql + " = " + b.sql + ")";
            }
            if (op == BinaryOp::Imp) {
                t.sql = "((NOT " + a.sql + ") OR " + b.sql + ")";
            }
            t.form = Form::Truth;
            return t;
        }
        // On numbers Jet's logical operators work bit by bit.
        std::string orSql = "(" + a.sql + " | " + b.sql + ")";
        std::string andSql = "(" + a.sql + " & " + b.sql + ")";
        switch (op) {
            case BinaryOp::And:
                t.sql = andSql;
                break;
            case BinaryOp::Or:
                t.sql = orSql;
                break;
            case BinaryOp::Xor:
                t.sql = "(" + orSql + " - " + andSql + ")";
                break;
            case BinaryOp::Eqv:
                t.sql = "(~(" + orSql + " - " + andSql + "))";
                break;
            default:  // Imp
                t.sql = "((~" + a.sql + ") | " + b.sql + ")";
                break;
        }
        return t;
    }
    toValue(a);
    toValue(b);
    if (isComparison(op)) {
        checkCriteriaTypes(a, b, e.args[0], e.args[1]);
        t.sql.reserve(a.sql.size() + b.sql.size() + 24);
        t.sql += '(';
        t.sql += a.sql;
        t.sql += comparisonSql(op);
        appendCollated(t.sql, b);
        t.sql += ')';
        t.form = Form::Truth;
        t.type = ValueType::of(JetType::Boolean);
        return t;
    }
    auto call = [&](const char* fn) { t.sql = std::string(fn) + "(" + a.sql + ", " + b.sql + ")"; };
    switch (op) {
        case BinaryOp::Power:
            call("jet_pow");
            t.type = ValueType::of(JetType::Double);
            break;
        case BinaryOp::Multiply:
            t.sql = "(" + a.sql + " * " + b.sql + ")";
            t.type = widen(a.type, b.type);
            break;
        case BinaryOp::Divide:
            call("jet_div");
            t.type = ValueType::of(JetType::Double);
            break;
        case BinaryOp::IntDivide:
            call("jet_intdiv");
            t.type = ValueType::of(JetType::Long);
            break;
        case BinaryOp::Mod:
            call("jet_mod");
            t.type = ValueType::of(JetType::Long);
            break;
        case BinaryOp::Add:
            if (a.type.isNumeric() && b.type.isNumeric()) {
                t.sql = "(" + a.sql + " + " + b.sql + ")";
            } else {
                call("jet_add");  // numbers add, texts concatenate
            }
            if (a.type.is(JetType::DateTime) || b.type.is(JetType::DateTime)) {
                t.type = (a.type.isNumeric() && b.type.isNumeric())
                             ? ValueType::of(JetType::DateTime)
                             : ValueType{};
            } else if ((a.type.is(JetType::Text) || a.type.is(JetType::Memo)) &&
                       (b.type.is(JetType::Text) || b.type.is(JetType::Memo))) {
                t.type = ValueType::of(JetType::Text, 255);
            } else {
                t.type = widen(a.type, b.type);
            }
            break;
        case BinaryOp::Subtract:
            t.sql = "(" + a.sql + " - " + b.sql + ")";
            if (a.type.is(JetType::DateTime) && b.type.is(JetType::DateTime)) {
                t.type = ValueType::of(JetType::Double);
            } else if (a.type.is(JetType::DateTime) && b.type.isNumeric()) {
                t.type = ValueType::of(JetType::DateTime);
            } else {
                t.type = widen(a.type, b.type);
            }
            break;
        case BinaryOp::Concat:
            call("jet_concat");
            t.type = (a.type.is(JetType::Memo) || b.type.is(JetType::Memo))
                         ? ValueType::of(JetType::Memo)
                         : ValueType::of(JetType::Text, 255);
            break;
        default:
            break;
    }
    return t;
}

Tx Translator::translatePredicate(const Expr& e, ExprContext& ctx) {
    Tx t;
    t.form = Form::Truth;
    t.type = ValueType::of(JetType::Boolean);
    const char* notSql = e.negated ? "NOT " : "";
    switch (e.kind) {
        case ExprKind::Like: {
            Tx a = translateExpr(e.args[0], ctx);
            Tx b = translateExpr(e.args[1], ctx);
            toValue(a);
            toValue(b);
            absorb(t, a);
            absorb(t, b);
            t.sql = "jet_like(" + a.sql + ", " + b.sql + ")";
            if (e.negated) {
                t.sql = "(NOT " + t.sql + ")";
            } else {
                t.form = Form::JetBool;  // jet_like answers -1/0/Null
            }
            return t;
        }
        case ExprKind::Between: {
            Tx x = translateExpr(e.args[0], ctx);
            Tx lo = translateExpr(e.args[1], ctx);
            Tx hi = translateExpr(e.args[2], ctx);
            toValue(x);
            toValue(lo);
            toValue(hi);
            absorb(t, x);
            absorb(t, lo);
            absorb(t, hi);
            checkCriteriaTypes(x, lo, e.args[0], e.args[1]);
            checkCriteriaTypes(x, hi, e.args[0], e.args[2]);
            t.sql = "(";
            appendCollated(t.sql, x);
            t.sql += ' ';
            t.sql += notSql;
            t.sql += "BETWEEN ";
            // Jet accepts the bounds in either order (Between 10 And 1).
            auto l = literalNumber(e.args[1]);
            auto h = literalNumber(e.args[2]);
            if (l && h) {
                if (*l > *h) {
                    std::swap(lo, hi);
                }
                t.sql += lo.sql + " AND " + hi.sql + ")";
            } else if (e.args[1].kind == ExprKind::Text && e.args[2].kind == ExprKind::Text) {
                t.sql += lo.sql + " AND " + hi.sql + ")";
            } else {
                t.sql += "min(" + lo.sql + " COLLATE JETTEXT, " + hi.sql + ") AND max(" + lo.sql +
                         " COLLATE JETTEXT, " + hi.sql + "))";
            }
            return t;
        }
        case ExprKind::InList: {
            Tx x = translateExpr(e.args[0], ctx);
            toValue(x);
            absorb(t, x);
            t.sql = "(";
            appendCollated(t.sql, x);
            t.sql += ' ';
            t.sql += notSql;
            t.sql += "IN (";
            for (size_t i = 1; i < e.args.size(); ++i) {
                Tx v = translateExpr(e.args[i], ctx);
                toValue(v);
                checkCriteriaTypes(x, v, e.args[0], e.args[i]);
                absorb(t, v);
                if (i > 1) {
                    t.sql += ", ";
                }
                t.sql += v.sql;
            }
            t.sql += "))";
            return t;
        }
        case ExprKind::InQuery: {
            Tx x = translateExpr(e.args[0], ctx);
            toValue(x);
            absorb(t, x);
            QueryResult q = translateSubquery(*e.subquery, ctx, Naming::Jet);
            if (q.columns.size() != 1) {
                throw SqlError(msg::kSubqueryOneField);
            }
            t.sql = "(";
            appendCollated(t.sql, x);
            t.sql += ' ';
            t.sql += notSql;
            t.sql += "IN (" + q.sql + "))";
            return t;
        }
        case ExprKind::IsNull: {
            Tx x = translateExpr(e.args[0], ctx);
            toValue(x);
            absorb(t, x);
            t.sql = "(" + x.sql + (e.negated ? " IS NOT NULL)" : " IS NULL)");
            return t;
        }
        case ExprKind::Exists: {
            QueryResult q = translateSubquery(*e.subquery, ctx, Naming::Jet);
            t.sql = "EXISTS (" + q.sql + ")";
            return t;
        }
        default: {  // Quantified: x op ANY|ALL (subquery)
            Tx x = translateExpr(e.args[0], ctx);
            toValue(x);
            absorb(t, x);
            QueryResult q = translateSubquery(*e.subquery, ctx, Naming::Positional);
            if (q.columns.size() != 1) {
                throw SqlError(msg::kSubqueryOneField);
            }
            std::string alias = allocateAlias("any");
            std::string test = "(" + x.sql + comparisonSql(e.binaryOp) + quoteName(alias) +
                               ".\"c0\" COLLATE JETTEXT)";
            if (e.all) {
                t.sql = "(NOT EXISTS (SELECT 1 FROM (" + q.sql + ") AS " + quoteName(alias) +
                        " WHERE NOT " + test + "))";
            } else {
                t.sql = "EXISTS (SELECT 1 FROM (" + q.sql + ") AS " + quoteName(alias) + " WHERE " +
                        test + ")";
            }
            return t;
        }
    }
}

Translator::QueryResult Translator::translateSubquery(const Query& q, ExprContext& ctx,
                                                      Naming naming) {
    QueryOptions options;
    options.parent = ctx.scope;
    options.naming = naming;
    return translateQuery(q, options);
}

Tx Translator::translateSubqueryExpr(const Expr& e, ExprContext& ctx) {
    QueryResult q = translateSubquery(*e.subquery, ctx, Naming::Jet);
    if (q.columns.size() != 1) {
        throw SqlError(msg::kSubqueryOneField);
    }
    Tx t;
    t.sql = "(" + q.sql + ")";
    if (q.columns[0].typeKnown) {
        t.type = columnType(q.columns[0].column);
    }
    if (t.type.is(JetType::Boolean)) {
        t.form = Form::JetBool;
    }
    return t;
}

Tx Translator::translateCall(const Expr& e, ExprContext& ctx) {
    const FunctionInfo* info = findFunction(e.text);
    if (info == nullptr) {
        throw SqlError(msg::undefinedFunction(e.text));
    }
    Tx t;
    if (info->aggregate()) {
        if (!ctx.aggregatesAllowed) {
            throw SqlError(msg::aggregateInClause(ctx.clause, textOf(e.span)));
        }
        if (ctx.inAggregate) {
            throw SqlError(msg::nestedAggregate(textOf(e.span)));
        }
        ExprContext inner = ctx;
        inner.inAggregate = true;
        t.aggregate = true;
        if (e.args[0].kind == ExprKind::Star) {
            t.sql = "COUNT(*)";
            t.type = ValueType::of(JetType::Long);
            filterAggregate(t, ctx.aggregateFilter);
            return t;
        }
        Tx a = translateExpr(e.args[0], inner);
        toValue(a);
        t.sourcesUsed = a.sourcesUsed;
        switch (info->emit) {
            case FunctionEmit::Count:
                t.sql = "COUNT(" + a.sql + ")";
                t.type = ValueType::of(JetType::Long);
                break;
            case FunctionEmit::Sum:
                t.sql = "SUM(" + a.sql + ")";
                // Currency and Decimal keep their type, other numbers sum as Double.
                t.type = (a.type.is(JetType::Currency) || a.type.is(JetType::Decimal))
                             ? ValueType::of(a.type.type)
                             : ValueType::of(JetType::Double);
                break;
            case FunctionEmit::Avg:
                t.sql = "AVG(" + a.sql + ")";
                t.type = a.type.is(JetType::Currency) ? ValueType::of(JetType::Currency)
                                                      : ValueType::of(JetType::Double);
                break;
            case FunctionEmit::Min:
            case FunctionEmit::Max:
                t.sql = info->emit == FunctionEmit::Min ? "MIN(" : "MAX(";
                t.sql += a.sql;
                if (!a.type.isNumeric()) {
                    t.sql += " COLLATE JETTEXT";
                }
                t.sql += ')';
                t.type = a.type;
                t.type.autoNumber = false;
                break;
            default:
                t.sql = "jet_" + lowerAscii(info->name) + "(" + a.sql + ")";
                t.type = info->result == FunctionResult::FirstArg ? a.type
                                                                  : ValueType::of(info->resultType);
                t.type.autoNumber = false;
                break;
        }
        filterAggregate(t, ctx.aggregateFilter);
        if (t.type.is(JetType::Boolean)) {
            t.form = Form::JetBool;
        }
        return t;
    }

    std::vector<Tx> args;
    args.reserve(e.args.size());
    for (const Expr& a : e.args) {
        args.push_back(translateExpr(a, ctx));
        absorb(t, args.back());
    }
    switch (info->emit) {
        case FunctionEmit::Iif:
            toValue(args[1]);
            toValue(args[2]);
            t.sql = "CASE WHEN " + args[0].sql + " THEN " + args[1].sql + " ELSE " + args[2].sql +
                    " END";
            if (args[1].type.known && args[2].type.known &&
                args[1].type.type == args[2].type.type) {
                t.type = ValueType::of(args[1].type.type,
                                       std::max(args[1].type.size, args[2].type.size));
            }
            break;
        case FunctionEmit::Switch:
            t.sql = "CASE";
            for (size_t i = 0; i + 1 < args.size(); i += 2) {
                toValue(args[i + 1]);
                t.sql += " WHEN " + args[i].sql + " THEN " + args[i + 1].sql;
            }
            t.sql += " END";
            break;
        case FunctionEmit::IsNull:
            toValue(args[0]);
            t.sql = "(" + args[0].sql + " IS NULL)";
            t.form = Form::Truth;
            t.type = ValueType::of(JetType::Boolean);
            return t;
        default: {
            t.sql = "jet_" + lowerAscii(info->name) + "(";
            for (size_t i = 0; i < args.size(); ++i) {
                toValue(args[i]);
                if (i) {
                    t.sql += ", ";
                }
                t.sql += args[i].sql;
            }
            t.sql += ')';
            if (info->result == FunctionResult::Fixed) {
                t.type =
                    ValueType::of(info->resultType, info->resultType == JetType::Text ? 255 : 0);
            } else if (info->result == FunctionResult::FirstArg && !args.empty()) {
                t.type = args[0].type;
                t.type.autoNumber = false;
            }
            break;
        }
    }
    if (t.type.is(JetType::Boolean)) {
        t.form = Form::JetBool;
    }
    return t;
}

}  // namespace orvdb::engine::sql
