// Writes parsed expressions as S-expressions, so tests can state the
// structure the parser must build: "a + b * c" is "(+ a (* b c))".
#pragma once

#include "engine/sql/parse/ast.hpp"

#include <map>
#include <string>

namespace orvdb::engine::sql::testing {

inline std::string binaryOpText(BinaryOp op) {
    static const std::map<BinaryOp, std::string> names = {
        {BinaryOp::Power, "^"},      {BinaryOp::Multiply, "*"},      {BinaryOp::Divide, "/"},
        {BinaryOp::IntDivide, "\\"}, {BinaryOp::Mod, "mod"},         {BinaryOp::Add, "+"},
        {BinaryOp::Subtract, "-"},   {BinaryOp::Concat, "&"},        {BinaryOp::Equal, "="},
        {BinaryOp::NotEqual, "<>"},  {BinaryOp::Less, "<"},          {BinaryOp::Greater, ">"},
        {BinaryOp::LessEqual, "<="}, {BinaryOp::GreaterEqual, ">="}, {BinaryOp::And, "and"},
        {BinaryOp::Or, "or"},        {BinaryOp::Xor, "xor"},         {BinaryOp::Eqv, "eqv"},
        {BinaryOp::Imp, "imp"}};
    return names.at(op);
}

inline std::string exprText(const Expr& e) {
    auto args = [&](size_t from) {
        std::string s;
        for (size_t i = from; i < e.args.size(); ++i) {
            s += " " + exprText(e.args[i]);
        }
        return s;
    };
    switch (e.kind) {
        case ExprKind::Null:
            return "NULL";
        case ExprKind::Integer:
            return std::to_string(e.integer);
        case ExprKind::Number:
            return e.text;
        case ExprKind::Text:
            return "'" + e.text + "'";
        case ExprKind::Date:
            return "#" + e.text + "#";
        case ExprKind::Boolean:
            return e.integer ? "TRUE" : "FALSE";
        case ExprKind::Column:
            return e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        case ExprKind::Identity:
            return "@@IDENTITY";
        case ExprKind::Star:
            return "*";
        case ExprKind::Unary:
            return std::string("(") +
                   (e.unaryOp == UnaryOp::Negate ? "neg"
                    : e.unaryOp == UnaryOp::Not  ? "not"
                                                 : "pos") +
                   args(0) + ")";
        case ExprKind::Binary: {
            // A chain of + and - shows its operators in order: (+- a b c).
            std::string ops = e.steps.empty() ? binaryOpText(e.binaryOp) : "";
            for (BinaryOp step : e.steps) {
                ops += binaryOpText(step);
            }
            return "(" + ops + args(0) + ")";
        }
        case ExprKind::Like:
            return std::string(e.negated ? "(notlike" : "(like") + args(0) + ")";
        case ExprKind::Between:
            return std::string(e.negated ? "(notbetween" : "(between") + args(0) + ")";
        case ExprKind::InList:
            return std::string(e.negated ? "(notin" : "(in") + args(0) + ")";
        case ExprKind::InQuery:
            return std::string(e.negated ? "(notin" : "(in") + args(0) + " <select>)";
        case ExprKind::IsNull:
            return std::string(e.negated ? "(isnotnull" : "(isnull") + args(0) + ")";
        case ExprKind::Exists:
            return "(exists <select>)";
        case ExprKind::Quantified:
            return "(" + binaryOpText(e.binaryOp) + (e.all ? " all" : " any") + args(0) +
                   " <select>)";
        case ExprKind::Subquery:
            return "<select>";
        case ExprKind::Call: {
            std::string s = e.text + "(";
            for (size_t i = 0; i < e.args.size(); ++i) {
                s += (i ? " " : "") + exprText(e.args[i]);
            }
            return s + ")";
        }
    }
    return "?";
}

}  // namespace orvdb::engine::sql::testing
