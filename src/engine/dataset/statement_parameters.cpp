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
    void visit(sql::SelectStatement& s) {
        // SELECT ... INTO runs its translation outside the cache's statement;
        // a crosstab reads its own conditions to learn its columns.
        if (s.intoTable.empty() && !s.crosstab) {
            query(s.query);
        }
    }

    void visit(sql::InsertStatement& s) {
        for (Expr& value : s.values) {
            confirm(value);
            plain(value);
        }
        if (s.select) {
            query(writable(s.select));
        }
    }

    void visit(sql::UpdateStatement& s) {
        for (sql::TableRef& ref : s.tables) {
            tableRef(ref);
        }
        for (sql::Assignment& a : s.assignments) {
            confirm(a.value);
            plain(a.value);
        }
        if (s.where) {
            criteria(*s.where);
        }
    }

    void visit(sql::DeleteStatement& s) {
        for (sql::TableRef& ref : s.from) {
            tableRef(ref);
        }
        if (s.where) {
            criteria(*s.where);
        }
    }

    // Definitions: the catalog reads their literals.
    template <typename Definition>
    void visit(Definition&) {}

    void query(Query& q) {
        if (q.select) {
            core(*q.select);
        }
        for (Query& part : q.parts) {
            query(part);
        }
        for (sql::OrderItem& item : q.orderBy) {
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
    void criteria(Expr& e) {
        if (e.kind == ExprKind::Binary && sql::isComparison(e.binaryOp)) {
            confirm(e.args[1]);
        }
        for (Expr& arg : e.args) {
            criteria(arg);
        }
        if (e.subquery) {
            query(writable(e.subquery));
        }
    }

    // Elsewhere only the conditions of subqueries take parameters.
    void plain(Expr& e) {
        for (Expr& arg : e.args) {
            plain(arg);
        }
        if (e.subquery) {
            query(writable(e.subquery));
        }
    }

    // e, or the literal e negates, becomes a parameter when it is a literal
    // the shape found at the same place with the same value.
    void confirm(Expr& e) {
        Expr* target = &e;
        if (e.kind == ExprKind::Unary && e.unaryOp == sql::UnaryOp::Negate && e.args.size() == 1) {
            target = &e.args[0];
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

    static bool sameValue(const Expr& e, const ShapeLiteral& literal) {
        switch (e.kind) {
            case ExprKind::Integer:
                return (literal.kind == LiteralKind::Integer ||
                        literal.kind == LiteralKind::WideInteger) &&
                       e.integer == literal.integer;
            case ExprKind::Number:
                return literal.kind == LiteralKind::Real && e.number == literal.real;
            case ExprKind::Text:
                return literal.kind == LiteralKind::Text && e.text == literal.text;
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
