// The syntax tree of one Access SQL statement, as the parser builds it.
// Names keep the spelling of the statement text (brackets and backquotes
// removed); the translator resolves them against the catalog.
#pragma once

#include "engine/jet_types.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace orvdb::engine::sql {

// Byte offsets [begin, end) into the statement text.
struct SourceSpan {
    uint32_t begin = 0;
    uint32_t end = 0;
};

struct Query;

enum class ExprKind : uint8_t {
    Null,
    Integer,     // integer literal (value in integer)
    Number,      // literal with a point or an exponent (value in number, spelling in text)
    Text,        // 'text' or "text" (unescaped in text)
    Date,        // #...# (contents in text)
    Boolean,     // True/False/Yes/No/On/Off (integer is -1 or 0)
    Column,      // [qualifier.]text
    Identity,    // @@IDENTITY
    Star,        // the * of Count(*)
    Unary,       // unaryOp args[0]
    Binary,      // args[0] binaryOp args[1] [binaryOp args[2] ...] (or steps)
    Like,        // args[0] [Not] Like args[1]
    Between,     // args[0] [Not] Between args[1] And args[2]
    InList,      // args[0] [Not] In (args[1..])
    InQuery,     // args[0] [Not] In (subquery)
    IsNull,      // args[0] Is [Not] Null
    Exists,      // Exists (subquery)
    Quantified,  // args[0] binaryOp Any|Some|All (subquery); all tells which
    Subquery,    // (subquery) as a value
    Call,        // text(args...), text being the function name as written
};

enum class UnaryOp : uint8_t { Negate, Plus, Not };

enum class BinaryOp : uint8_t {
    Power,
    Multiply,
    Divide,
    IntDivide,
    Mod,
    Add,
    Subtract,
    Concat,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
};

// A comparison as SQL writes it, spaced (SQLite and MariaDB spell them
// alike); any other operator reads as GreaterEqual.
inline const char* comparisonSql(BinaryOp op) {
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

inline bool isComparison(BinaryOp op) {
    return op >= BinaryOp::Equal && op <= BinaryOp::GreaterEqual;
}
inline bool isLogical(BinaryOp op) {
    return op >= BinaryOp::And;
}

struct Expr {
    ExprKind kind = ExprKind::Null;
    UnaryOp unaryOp = UnaryOp::Negate;
    BinaryOp binaryOp = BinaryOp::Equal;
    bool negated = false;  // Not Like / Not Between / Not In / Is Not Null
    bool all = false;      // Quantified: All (otherwise Any/Some)
    int64_t integer = 0;
    double number = 0;
    std::string text;
    std::string qualifier;  // Column: the table or alias before . or !
    std::vector<Expr> args;
    // Binary chains of + and - mixed: the operator before each operand after
    // the first (empty: binaryOp between all of them).
    std::vector<BinaryOp> steps;
    std::shared_ptr<const Query> subquery;
    SourceSpan span;
    // Integer, Number, Text: when not 0, the translation writes SQL parameter
    // ?parameter in place of the value and the statement cache binds it, so
    // the translation of such a literal must not depend on its value.
    uint32_t parameter = 0;
};

enum class SetQuantifier : uint8_t { All, Distinct, DistinctRow };

struct TopClause {
    double count = 0;
    bool percent = false;
};

struct SelectItem {
    enum class Kind : uint8_t { Expression, Star, TableStar } kind = Kind::Expression;
    Expr expr;
    std::string alias;  // empty when none was given
    std::string table;  // TableStar: the qualifier of t.*
    SourceSpan span;
};

enum class JoinType : uint8_t { Inner, Left, Right };

struct TableRef {
    enum class Kind : uint8_t { Named, Subquery, Join } kind = Kind::Named;
    std::string name;  // Named: table or saved query
    // Named: the database file of [database].name, a table of another
    // database; empty for this database.
    std::string database;
    std::string alias;  // empty when none was given
    std::shared_ptr<const Query> subquery;
    JoinType joinType = JoinType::Inner;
    std::unique_ptr<TableRef> left, right;
    std::optional<Expr> on;
    SourceSpan span;
};

struct OrderItem {
    Expr expr;
    bool descending = false;
};

struct SelectCore {
    SetQuantifier quantifier = SetQuantifier::All;
    std::optional<TopClause> top;
    std::vector<SelectItem> items;
    std::vector<TableRef> from;  // comma-separated table references
    std::optional<Expr> where;
    std::vector<Expr> groupBy;
    std::optional<Expr> having;
    SourceSpan span;
};

// A SELECT, or a UNION chain of parts; orderBy applies to the whole.
struct Query {
    std::unique_ptr<SelectCore> select;  // set for a single SELECT
    std::vector<Query> parts;            // set for a union (two or more)
    std::vector<bool> unionAll;          // between parts: parts.size() - 1 entries
    std::vector<OrderItem> orderBy;
    SourceSpan span;

    bool isUnion() const { return !parts.empty(); }
};

// ---- data manipulation ----

// TRANSFORM value SELECT ... PIVOT pivot [IN (columns)]: the select's
// items are the row headings, each pivot value adds a column.
struct Crosstab {
    Expr value;
    std::string valueAlias;  // Access saves one; the output names columns by pivot value
    Expr pivot;
    std::vector<Expr> columns;  // the IN list
    bool fixedColumns = false;  // an IN list was given
};

struct SelectStatement {
    Query query;
    std::string intoTable;  // SELECT ... INTO target; empty otherwise
    std::optional<Crosstab> crosstab;
};

struct InsertStatement {
    std::string table;
    std::vector<std::string> columns;     // empty: all columns in order
    std::vector<Expr> values;             // VALUES (...)
    std::shared_ptr<const Query> select;  // or INSERT ... SELECT
};

struct Assignment {
    std::string qualifier;
    std::string column;
    Expr value;
    SourceSpan span;
};

struct UpdateStatement {
    std::vector<TableRef> tables;  // comma-separated, joins allowed
    std::vector<Assignment> assignments;
    std::optional<Expr> where;
};

struct DeleteStatement {
    std::string target;  // the t of DELETE t.* FROM ...; empty otherwise
    std::vector<TableRef> from;
    std::optional<Expr> where;
};

// ---- data definition ----

enum class ReferentialAction : uint8_t { NoAction, Cascade, SetNull };

struct TableConstraint {
    enum class Kind : uint8_t { PrimaryKey, Unique, ForeignKey, Check } kind = Kind::PrimaryKey;
    std::string name;  // empty when the statement gave none
    std::vector<std::string> columns;
    std::string referencedTable;                 // ForeignKey
    std::vector<std::string> referencedColumns;  // ForeignKey; empty: the primary key
    ReferentialAction onUpdate = ReferentialAction::NoAction;
    ReferentialAction onDelete = ReferentialAction::NoAction;
    std::string checkText;  // Check: the condition's text
};

struct CreateTableStatement {
    std::string table;
    std::vector<ColumnDef> columns;
    // Column constraints (PRIMARY KEY after a column, ...) come out here too,
    // with that one column.
    std::vector<TableConstraint> constraints;
};

struct AlterTableStatement {
    enum class Action : uint8_t {
        AddColumns,
        AlterColumn,
        DropColumn,
        AddConstraint,
        DropConstraint
    } action = Action::AddColumns;
    std::string table;
    std::vector<ColumnDef> columns;  // AddColumns (one or more), AlterColumn (one)
    std::vector<TableConstraint>
        constraints;   // AddConstraint, or column constraints of added columns
    std::string name;  // DropColumn, DropConstraint
};

struct CreateIndexStatement {
    std::string table;
    IndexDef index;
};

struct DropIndexStatement {
    std::string table;
    std::string index;
};

struct DropTableStatement {
    std::string table;
};

struct CreateViewStatement {
    std::string view;
    std::vector<std::string> columns;  // the optional (col, ...) list
    std::string selectText;            // the SELECT as written
    std::shared_ptr<const Query> query;
};

struct DropViewStatement {
    std::string view;
};

using StatementBody =
    std::variant<SelectStatement, InsertStatement, UpdateStatement, DeleteStatement,
                 CreateTableStatement, AlterTableStatement, CreateIndexStatement,
                 DropIndexStatement, DropTableStatement, CreateViewStatement, DropViewStatement>;

// One entry of a leading PARAMETERS declaration. name is the whole reference
// as written, brackets removed ("User Name", "Forms!Orders!Id").
struct ParameterDecl {
    std::string name;
    ColumnDef type;
};

struct Statement {
    std::string sql;  // the text as given
    std::vector<ParameterDecl> parameters;
    StatementBody body;

    bool isSelect() const { return std::holds_alternative<SelectStatement>(body); }
    bool isDefinition() const { return body.index() >= 4; }
};

}  // namespace orvdb::engine::sql
