// The translator from the Access SQL syntax tree to SQLite SQL (internal to
// the front end; callers use translate() in front_end.hpp).
//
// Names are resolved here, case-insensitively: tables through the schema,
// columns against the tables of the FROM clause (then enclosing queries for
// correlated subqueries, then the select list's aliases). Every table gets a
// statement-wide unique alias and every column reference is emitted as
// "alias"."column", so SQLite never has to resolve a name itself.
#pragma once

#include "engine/sql/front_end.hpp"
#include "engine/sql/parse/ast.hpp"
#include "engine/sql/translate/schema_resolver.hpp"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvdb::engine::sql {

// What the translator knows statically of a value's type.
struct ValueType {
    bool known = false;
    JetType type = JetType::Text;
    int size = 0;
    int precision = 18;
    int scale = 0;
    bool autoNumber = false;

    static ValueType of(JetType jetType, int size = 0) {
        ValueType valueType;
        valueType.known = true;
        valueType.type = jetType;
        valueType.size = size;
        return valueType;
    }
    bool isNumeric() const;  // known, and stored as a SQLite number
    bool is(JetType wanted) const { return known && type == wanted; }
};

// How an expression's SQL yields truth values.
enum class Form : uint8_t {
    Value,    // an ordinary value
    Truth,    // SQLite's 1/0/NULL (comparisons, IN, EXISTS, ...)
    JetBool,  // Jet's -1/0/NULL (Boolean columns, jet_like, ...)
};

// One table, saved query or subquery of a FROM clause.
struct Source {
    std::string matchName;    // what qualifiers match: the alias, else the table name as written
    std::string sqlAlias;     // the alias emitted (unique in the statement)
    std::string catalogName;  // table or saved query; empty for a subquery
    const ResolvedTable* table = nullptr;  // base tables
    std::vector<ResultColumn> derived;     // saved queries and subqueries

    size_t columnCount() const { return table ? table->columns.size() : derived.size(); }
    const std::string& columnName(size_t i) const {
        return table ? table->columns[i].name : derived[i].column.name;
    }
};

struct Scope {
    std::vector<Source> sources;
    const Scope* parent = nullptr;
    // The select list, for names that match no column (Jet lets WHERE and
    // ORDER BY use an output alias).
    struct Alias {
        std::string_view name;
        std::string sql;
        ValueType type;
        Form form = Form::Value;
    };
    const std::vector<Alias>* aliases = nullptr;
};

// A translated expression.
struct Tx {
    std::string sql;
    ValueType type;
    Form form = Form::Value;
    bool aggregate = false;          // contains an aggregate function
    std::string_view ungrouped;      // a column outside aggregates and GROUP BY keys
    const Source* source = nullptr;  // a bare column reference: its source
    size_t column = 0;               // and column index
    uint64_t sourcesUsed = 0;        // bit i: uses source i of the current scope
};

// One column a crosstab's pivot makes.
struct PivotColumn {
    std::string name;
    std::string condition;  // SQL: the row belongs to this column
};

class Translator {
public:
    Translator(const SchemaResolver& schema, std::string_view text,
               const PivotValueReader* pivotReader = nullptr);

    Translation translateStatement(const Statement& statement);

private:
    enum class Naming : uint8_t { Jet, Positional };

    struct QueryResult {
        std::string sql;
        std::vector<ResultColumn> columns;
    };

    // Where an expression is translated.
    struct ExprContext {
        Scope* scope = nullptr;
        bool aggregatesAllowed = false;
        bool inAggregate = false;
        bool grouped = false;  // a totals query: check columns against groupKeys
        const std::vector<std::string>* groupKeys = nullptr;
        const char* clause = "";  // for the aggregate-in-WHERE error
        // A crosstab cell: aggregates take only the rows of this SQL
        // condition, and are Null when there are none.
        const std::string* aggregateFilter = nullptr;
    };

    struct QueryOptions {
        const Scope* parent = nullptr;  // set for a correlated subquery
        Naming naming = Naming::Jet;
        bool collateOutputs = false;         // text outputs compare with JETTEXT (UNION)
        const Crosstab* crosstab = nullptr;  // the select is a TRANSFORM's
    };

    // ---- queries (translator.cpp) ----
    QueryResult translateQuery(const Query& query, const QueryOptions& options);
    QueryResult translateCore(const SelectCore& core, const std::vector<OrderItem>* orderBy,
                              const QueryOptions& options);
    QueryResult translateUnion(const Query& query, const QueryOptions& options);
    void translateFrom(const std::vector<TableRef>& from, Scope& scope, std::string& out);
    void translateTableRef(const TableRef& ref, Scope& scope, std::string& out);
    void addNamedSource(const TableRef& ref, Scope& scope, std::string& out);
    QueryResult translateView(const ResolvedView& view);
    QueryResult translateSelectStatement(const SelectStatement& select);

    // ---- crosstabs (translate_crosstab.cpp) ----
    struct PivotCell {
        std::string name;
        std::string sql;
        ValueType type;
    };
    // The columns a crosstab adds after its row headings, each the TRANSFORM
    // value over the rows of its group with that pivot value.
    std::vector<PivotCell> pivotCells(const Crosstab& crosstab, Scope& scope,
                                      const ExprContext& itemContext,
                                      const std::vector<OrderItem>* orderBy,
                                      const std::string& from, const std::string& where);
    // The pivot's columns: the IN list, or the distinct values the FROM and
    // WHERE give (ascending unless ORDER BY sorts the pivot descending).
    std::vector<PivotColumn> pivotColumns(const Crosstab& crosstab, const Tx& pivot,
                                          const std::string& from, const std::string& where,
                                          bool descending);
    std::vector<PivotColumn> fixedPivotColumns(const Crosstab& crosstab, const Tx& pivot);
    std::string allocateAlias(std::string_view base);
    std::string_view textOf(const SourceSpan& span) const;
    void noteDependency(std::string_view name);

    // ---- expressions (translate_expr.cpp) ----
    Tx translateExpr(const Expr& expression, ExprContext& ctx);
    Tx translateColumn(const Expr& expression, ExprContext& ctx);
    // A reference to a declared parameter; nullopt for any other name.
    std::optional<Tx> translateParameterReference(const Expr& expression);
    Tx translateUnary(const Expr& expression, ExprContext& ctx);
    Tx translateBinary(const Expr& expression, ExprContext& ctx);
    Tx translateChain(const Expr& expression, ExprContext& ctx);
    Tx combineBinary(BinaryOp op, Tx left, Tx right, const Expr& leftExpression,
                     const Expr& rightExpression);
    static ValueType arithmeticType(BinaryOp op, const ValueType& left, const ValueType& right);
    Tx translateCall(const Expr& expression, ExprContext& ctx);
    Tx translatePredicate(const Expr& expression, ExprContext& ctx);
    Tx translateSubqueryExpr(const Expr& expression, ExprContext& ctx);
    QueryResult translateSubquery(const Query& query, ExprContext& ctx, Naming naming);
    Tx literal(const Expr& expression);
    void checkCriteriaTypes(const Tx& left, const Tx& right, const Expr& leftExpression,
                            const Expr& rightExpression) const;

    // ---- data manipulation (translate_dml.cpp) ----
    Translation translateInsert(const InsertStatement& insert);
    Translation translateUpdate(const UpdateStatement& update);
    Translation translateDelete(const DeleteStatement& statement);
    const ResolvedTable& requireTable(std::string_view name);
    std::string coerce(std::string_view valueSql, const ResolvedTable& table,
                       const ColumnDef& column) const;

    const SchemaResolver& schema_;
    std::string_view text_;  // the statement (or saved query) being translated
    // Its PARAMETERS declaration.
    const std::vector<ParameterDecl>* parameters_ = nullptr;
    std::vector<std::string> parametersUsed_;
    std::deque<ResolvedTable> tables_;
    std::unordered_set<std::string> aliasesUsed_;         // folded
    std::unordered_map<std::string, int> aliasSuffixes_;  // folded base -> next ~n to try
    std::vector<std::string> viewStack_;
    std::vector<std::string> dependencies_;
    const PivotValueReader* pivotReader_ = nullptr;
    bool columnsFromData_ = false;
    bool readsOtherDatabase_ = false;
};

// The signature Jet compares clause expressions by: the text without
// brackets or spaces, letter case ignored.
std::string expressionSignature(std::string_view text);

// SQL helpers shared by the translator's files.
void toValue(Tx& translated);  // a Truth becomes Jet's -1/0
bool isLogical(const Tx& translated);
void appendCollated(std::string& out, const Tx& translated);  // sql COLLATE JETTEXT
std::string lowerAscii(std::string_view s);
ValueType columnType(const ColumnDef& column);
ResultColumn resultColumn(std::string name, const ValueType& type);

}  // namespace orvdb::engine::sql
