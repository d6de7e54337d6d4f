// The recursive-descent parser of Access SQL (internal to the front end;
// callers use parseStatement in front_end.hpp).
#pragma once

#include "engine/sql/parse/ast.hpp"
#include "engine/sql/parse/lexer.hpp"

#include <string_view>
#include <vector>

namespace orvdb::engine::sql {

class Parser {
public:
    explicit Parser(std::string_view sql);

    // A leading PARAMETERS name type, ...; declaration (empty when there is
    // none); call before parseStatement, whose column references may then
    // use the declared names.
    std::vector<ParameterDecl> parseParameterDeclarations();
    StatementBody parseStatement();
    // A lone expression (column defaults, saved expressions).
    Expr parseStandaloneExpression();

private:
    // ---- tokens ----
    const Token& peek(size_t ahead = 0) const;
    const Token& advance();
    bool atWord(std::string_view keyword, size_t ahead = 0) const;
    bool acceptWord(std::string_view keyword);
    void expectWord(std::string_view keyword, const char* error);
    bool atSymbol(char c, size_t ahead = 0) const;
    bool acceptSymbol(char c);
    void expectSymbol(char c, const char* error);
    bool atEnd() const;  // End, or ';' that ends the statement
    [[noreturn]] void fail(const std::string& message) const;
    SourceSpan spanFrom(size_t firstToken) const;

    // ---- names ----
    bool atName(size_t ahead = 0) const;
    std::string parseName(const char* error);
    // After . or !: reserved words are unambiguous there.
    std::string parseMemberName(const char* error);

    // ---- statements (parser.cpp) ----
    SelectStatement parseSelectStatement();
    SelectStatement parseCrosstab();
    Query parseQuery(std::string* into);
    Query parseQueryTerm(std::string* into);
    std::unique_ptr<SelectCore> parseSelectCore(std::string* into);
    void parseSelectItems(SelectCore& core);
    void parseOrderBy(std::vector<OrderItem>& out);
    std::shared_ptr<const Query> parseSubquery();
    std::vector<TableRef> parseTableList(const char* error);
    TableRef parseTableRef(const char* error);
    TableRef parseTablePrimary(const char* error);
    bool atJoin() const;
    bool atQueryFollower() const;
    InsertStatement parseInsert();
    UpdateStatement parseUpdate();
    DeleteStatement parseDelete();
    void expectStatementEnd(const char* error);

    // ---- expressions (parser_expr.cpp) ----
    Expr parseTopExpression();
    Expr parseExpression();
    // Precedence climbing: parses operators that bind at least as tightly as minLevel.
    Expr parseBinary(int minLevel);
    Expr parseOperand();
    Expr parsePowerOperand();
    Expr parsePrimary();
    Expr parseColumnOrCall();
    Expr parseCall(size_t nameToken);
    Expr makeBinary(BinaryOp op, Expr left, Expr right, size_t firstToken) const;
    // The text Jet quotes in expression errors: the clause expression that
    // starts at token first, up to the next clause boundary.
    std::string_view expressionText(size_t first) const;
    [[noreturn]] void failExpression() const;
    // Raises when the token after a complete clause expression cannot follow it.
    void checkExpressionFollower(size_t first, bool allowComma) const;

    // ---- PARAMETERS (parser_parameters.cpp) ----
    // A name path such as [Forms]![Orders]![Id], joined with the separators written.
    std::string parseParameterName();
    bool isDeclaredParameter(std::string_view path) const;

    // ---- definitions (parser_ddl.cpp) ----
    StatementBody parseCreate();
    StatementBody parseAlter();
    StatementBody parseDrop();
    CreateTableStatement parseCreateTable();
    CreateIndexStatement parseCreateIndex(bool unique);
    CreateViewStatement parseCreateView();
    ColumnDef parseColumnDefinition(std::vector<TableConstraint>& constraints);
    void parseColumnType(ColumnDef& column);
    bool parseColumnConstraint(ColumnDef& column, std::vector<TableConstraint>& constraints);
    bool atTableConstraint() const;
    TableConstraint parseTableConstraint();
    void parseConstraintBody(TableConstraint& constraint, const std::string* column);
    void parseReferences(TableConstraint& constraint);
    std::vector<std::string> parseNameList(const char* error);
    int64_t parseSignedInteger(const char* error);

    // Nesting of expressions, joins and subqueries: a limit keeps absurd
    // input from exhausting the stack.
    struct DepthGuard {
        explicit DepthGuard(Parser& p);
        ~DepthGuard() { parser.depth_ -= levels; }
        // One level more until the guard ends.
        void deepen();
        Parser& parser;
        int levels = 0;
    };
    int depth_ = 0;

    std::string_view sql_;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
    size_t exprStart_ = 0;  // first token of the clause expression being parsed
    // The error for a reserved word where an operand is expected (the
    // select list has its own wording); nullptr: the expression error.
    const char* reservedWordError_ = nullptr;
    std::vector<std::string> declaredParameters_;  // names from PARAMETERS
    bool crosstab_ = false;                        // PIVOT ends the select of a TRANSFORM
};

}  // namespace orvdb::engine::sql
