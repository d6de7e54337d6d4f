#include "engine/dataset/statement_parameters.hpp"

#include <algorithm>
#include <variant>

namespace orvdb::engine {

namespace {

using sql::Expr;
using sql::ExprKind;
using sql::Query;

// Subqueries are held as shared_ptr<const Query>. The statement being marked
// was parsed for this cache entry and is not shared yet, so its nodes may be
// written.
Query& writable(const std::shared_ptr<const Query>& query) {
    return const_cast<Query&>(*query);
}

class ParameterMarker {
public:
    explicit ParameterMarker(const StatementShape& shape)
        : shape_(shape), marked_(shape.literals.size(), false) {}

    std::vector<bool> run(sql::Statement& statement) {
        if (!shape_.literals.empty()) {
            std::visit([this](auto& body) { visit(body); }, statement.body);
        }
        return std::move(marked_);
    }

private:
    void visit(sql::SelectStatement& select) {
        // SELECT ... INTO runs its translation outside the cache's statement;
        // a crosstab reads its own conditions to learn its columns.
        if (select.intoTable.empty() && !select.crosstab) {
            query(select.query);
        }
    }

    void visit(sql::InsertStatement& insert) {
        for (Expr& value : insert.values) {
            confirm(value);
            plain(value);
        }
        if (insert.select) {
            query(writable(insert.select));
        }
    }

    void visit(sql::UpdateStatement& update) {
        for (sql::TableRef& ref : update.tables) {
            tableRef(ref);
        }
        for (sql::Assignment& assignment : update.assignments) {
            confirm(assignment.value);
            plain(assignment.value);
        }
        if (update.where) {
            criteria(*update.where);
        }
    }

    void visit(sql::DeleteStatement& statement) {
        for (sql::TableRef& ref : statement.from) {
            tableRef(ref);
        }
        if (statement.where) {
            criteria(*statement.where);
        }
    }

    // Definitions: the catalog reads their literals.
    template <typename Definition>
    void visit(Definition&) {}

    void query(Query& current) {
        if (current.select) {
            core(*current.select);
        }
        for (Query& part : current.parts) {
            query(part);
        }
        for (sql::OrderItem& item : current.orderBy) {
            plain(item.expr);
        }
    }

    void core(sql::SelectCore& c) {
        for (sql::SelectItem& item : c.items) {
            if (item.kind == sql::SelectItem::Kind::Expression) {
                plain(item.expr);
            }
        }
        for (sql::TableRef& ref : c.from) {
            tableRef(ref);
        }
        if (c.where) {
            criteria(*c.where);
        }
        for (Expr& key : c.groupBy) {
            plain(key);
        }
        if (c.having) {
            plain(*c.having);
        }
    }

    void tableRef(sql::TableRef& ref) {
        switch (ref.kind) {
            case sql::TableRef::Kind::Named:
                break;
            case sql::TableRef::Kind::Subquery:
                query(writable(ref.subquery));
                break;
            case sql::TableRef::Kind::Join:
                tableRef(*ref.left);
                tableRef(*ref.right);
                if (ref.on) {
                    criteria(*ref.on);
                }
                break;
        }
    }

    // A WHERE or ON condition: the right-hand literals of its comparisons.
    void criteria(Expr& expression) {
        if (expression.kind == ExprKind::Binary && sql::isComparison(expression.binaryOp)) {
            confirm(expression.args[1]);
        }
        for (Expr& argument : expression.args) {
            criteria(argument);
        }
        if (expression.subquery) {
            query(writable(expression.subquery));
        }
    }

    // Elsewhere only the conditions of subqueries take parameters.
    void plain(Expr& expression) {
        for (Expr& argument : expression.args) {
            plain(argument);
        }
        if (expression.subquery) {
            query(writable(expression.subquery));
        }
    }

    // e, or the literal e negates, becomes a parameter when it is a literal
    // the shape found at the same place with the same value.
    void confirm(Expr& expression) {
        Expr* target = &expression;
        if (expression.kind == ExprKind::Unary && expression.unaryOp == sql::UnaryOp::Negate &&
            expression.args.size() == 1) {
            target = &expression.args[0];
        }
        const auto& literals = shape_.literals;
        auto it = std::lower_bound(
            literals.begin(), literals.end(), target->span.begin,
            [](const ShapeLiteral& literal, uint32_t begin) { return literal.begin < begin; });
        if (it == literals.end() || it->begin != target->span.begin ||
            it->end != target->span.end || !sameValue(*target, *it)) {
            return;
        }
        size_t index = static_cast<size_t>(it - literals.begin());
        target->parameter = static_cast<uint32_t>(index + 1);
        marked_[index] = true;
    }

    static bool sameValue(const Expr& expression, const ShapeLiteral& literal) {
        switch (expression.kind) {
            case ExprKind::Integer:
                return (literal.kind == LiteralKind::Integer ||
                        literal.kind == LiteralKind::WideInteger) &&
                       expression.integer == literal.integer;
            case ExprKind::Number:
                return literal.kind == LiteralKind::Real && expression.number == literal.real;
            case ExprKind::Text:
                return literal.kind == LiteralKind::Text && expression.text == literal.text;
            default:
                return false;
        }
    }

    const StatementShape& shape_;
    std::vector<bool> marked_;
};

}  // namespace

std::vector<bool> markParameters(sql::Statement& statement, const StatementShape& shape) {
    return ParameterMarker(shape).run(statement);
}

}  // namespace orvdb::engine
