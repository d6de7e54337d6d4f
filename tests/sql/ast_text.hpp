// Writes parsed expressions as S-expressions, so tests can state the
// structure the parser must build: "a + b * c" is "(+ a (* b c))".
#pragma once

#include "engine/sql/parse/ast.hpp"

#include <string>

namespace orvdb::engine::sql::testing {

inline std::string binaryOpText(BinaryOp op) {
    switch (op) {
        case BinaryOp::Power:
            return "^";
        case BinaryOp::Multiply:
            return "*";
        case BinaryOp::Divide:
            return "/";
        case BinaryOp::IntDivide:
            return "\\";
        case BinaryOp::Mod:
            return "mod";
        case BinaryOp::Add:
            return "+";
        case BinaryOp::Subtract:
            return "-";
        case BinaryOp::Concat:
            return "&";
        case BinaryOp::Equal:
            return "=";
        case BinaryOp::NotEqual:
            return "<>";
        case BinaryOp::Less:
            return "<";
        case BinaryOp::Greater:
            return ">";
        case BinaryOp::LessEqual:
            return "<=";
        case BinaryOp::GreaterEqual:
            return ">=";
        case BinaryOp::And:
            return "and";
        case BinaryOp::Or:
            return "or";
        case BinaryOp::Xor:
            return "xor";
        case BinaryOp::Eqv:
            return "eqv";
        case BinaryOp::Imp:
            return "imp";
    }
    return "?";
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
        case ExprKind::Binary:
            return "(" + binaryOpText(e.binaryOp) + args(0) + ")";
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
