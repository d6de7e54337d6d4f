// Statements and queries; expressions are in parser_expr.cpp, definitions in
// parser_ddl.cpp.
#include "engine/sql/parse/parser.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/names.hpp"
#include "engine/sql/parse/reserved_words.hpp"

#include <cmath>
#include <cstdlib>

namespace orvdb::engine::sql {

Parser::Parser(std::string_view sql) : sql_(sql), tokens_(tokenize(sql)) {}

namespace {
// Nesting of parentheses, calls, subqueries and alternating operators. The
// parse, the translation and SQLite's own parser each recurse per level;
// this many fit in a 1 MB stack with room to spare (SQLite refuses deeper
// nesting of calls anyway).
constexpr int kMaxDepth = 128;
}  // namespace

Parser::DepthGuard::DepthGuard(Parser& p) : parser(p) {
    deepen();
}

void Parser::DepthGuard::deepen() {
    if (parser.depth_ + 1 > kMaxDepth) {
        throw SqlError(msg::kTooComplex);
    }
    ++parser.depth_;
    ++levels;
}

// ---- tokens ----

const Token& Parser::peek(size_t ahead) const {
    size_t i = pos_ + ahead;
    return i < tokens_.size() ? tokens_[i] : tokens_.back();
}

const Token& Parser::advance() {
    const Token& token = tokens_[pos_];
    if (pos_ + 1 < tokens_.size()) {
        ++pos_;
    }
    return token;
}

bool Parser::atWord(std::string_view keyword, size_t ahead) const {
    return peek(ahead).isWord(keyword);
}

bool Parser::acceptWord(std::string_view keyword) {
    if (!atWord(keyword)) {
        return false;
    }
    advance();
    return true;
}

void Parser::expectWord(std::string_view keyword, const char* error) {
    if (!acceptWord(keyword)) {
        fail(error);
    }
}

bool Parser::atSymbol(char c, size_t ahead) const {
    return peek(ahead).is(c);
}

bool Parser::acceptSymbol(char c) {
    if (!atSymbol(c)) {
        return false;
    }
    advance();
    return true;
}

void Parser::expectSymbol(char c, const char* error) {
    if (!acceptSymbol(c)) {
        fail(error);
    }
}

bool Parser::atEnd() const {
    return peek().kind == TokenKind::End || peek().is(';');
}

void Parser::fail(const std::string& message) const {
    throw SqlError(message);
}

SourceSpan Parser::spanFrom(size_t firstToken) const {
    SourceSpan s;
    s.begin = tokens_[firstToken].begin;
    size_t last = pos_ > firstToken ? pos_ - 1 : firstToken;
    s.end = std::max(s.begin, tokens_[last].end);
    return s;
}

void Parser::expectStatementEnd(const char* error) {
    if (acceptSymbol(';')) {
        if (peek().kind != TokenKind::End) {
            fail(msg::kCharactersAfterEnd);
        }
        return;
    }
    if (peek().kind != TokenKind::End) {
        fail(error);
    }
}

// ---- names ----

bool Parser::atName(size_t ahead) const {
    const Token& token = peek(ahead);
    if (token.kind == TokenKind::QuotedName) {
        return true;
    }
    return token.kind == TokenKind::Word && token.text[0] != '@' && !isReservedWord(token.text);
}

std::string Parser::parseName(const char* error) {
    if (!atName()) {
        fail(error);
    }
    const Token& token = advance();
    if (token.text.empty()) {
        fail(error);
    }
    return std::string(token.text);
}

std::string Parser::parseMemberName(const char* error) {
    const Token& token = peek();
    if ((token.kind != TokenKind::Word || token.text[0] == '@') &&
        token.kind != TokenKind::QuotedName) {
        fail(error);
    }
    if (token.text.empty()) {
        fail(error);
    }
    advance();
    return std::string(token.text);
}

// ---- statements ----

StatementBody Parser::parseStatement() {
    const Token& first = peek();
    if (first.isWord("SELECT") || first.is('(')) {
        return parseSelectStatement();
    }
    if (first.isWord("INSERT")) {
        return parseInsert();
    }
    if (first.isWord("UPDATE")) {
        return parseUpdate();
    }
    if (first.isWord("DELETE")) {
        return parseDelete();
    }
    if (first.isWord("TRANSFORM")) {
        return parseCrosstab();
    }
    if (first.isWord("CREATE")) {
        return parseCreate();
    }
    if (first.isWord("ALTER")) {
        return parseAlter();
    }
    if (first.isWord("DROP")) {
        return parseDrop();
    }
    fail(msg::kInvalidStatement);
}

SelectStatement Parser::parseSelectStatement() {
    SelectStatement select;
    select.query = parseQuery(&select.intoTable);
    expectStatementEnd(msg::kSelectStatement);
    return select;
}

SelectStatement Parser::parseCrosstab() {
    advance();  // TRANSFORM
    Crosstab crosstab;
    if (atEnd() || atWord("SELECT")) {
        fail(msg::kTransformStatement);
    }
    crosstab.value = parseTopExpression();
    if (acceptWord("AS")) {
        crosstab.valueAlias = parseName(msg::kTransformStatement);
    }
    if (!atWord("SELECT")) {
        fail(msg::kTransformStatement);
    }
    SelectStatement select;
    crosstab_ = true;
    select.query = parseQuery(nullptr);
    crosstab_ = false;
    if (select.query.isUnion()) {
        fail(msg::kTransformStatement);
    }
    expectWord("PIVOT", msg::kTransformStatement);
    if (atEnd() || atWord("IN")) {
        fail(msg::kTransformStatement);
    }
    size_t start = pos_;
    crosstab.pivot = parseTopExpression();
    checkExpressionFollower(start, false);
    // "PIVOT p IN (a, b)" parses as the expression p In (a, b): its list is
    // the fixed columns.
    if (crosstab.pivot.kind == ExprKind::InQuery ||
        (crosstab.pivot.kind == ExprKind::InList && crosstab.pivot.negated)) {
        fail(msg::kTransformStatement);
    }
    if (crosstab.pivot.kind == ExprKind::InList) {
        crosstab.fixedColumns = true;
        crosstab.columns.assign(std::make_move_iterator(crosstab.pivot.args.begin() + 1),
                                std::make_move_iterator(crosstab.pivot.args.end()));
        Expr pivot = std::move(crosstab.pivot.args[0]);
        crosstab.pivot = std::move(pivot);
    }
    expectStatementEnd(msg::kTransformStatement);
    select.crosstab = std::move(crosstab);
    return select;
}

bool Parser::atQueryFollower() const {
    const Token& token = peek();
    if (token.kind == TokenKind::End || token.is(';') || token.is(')')) {
        return true;
    }
    return token.isWord("INTO") || token.isWord("FROM") || token.isWord("WHERE") ||
           token.isWord("GROUP") || token.isWord("HAVING") || token.isWord("ORDER") ||
           token.isWord("UNION") || (crosstab_ && token.isWord("PIVOT"));
}

Query Parser::parseQuery(std::string* into) {
    DepthGuard guard(*this);
    size_t first = pos_;
    Query query = parseQueryTerm(into);
    if (atWord("UNION")) {
        Query unionQuery;
        unionQuery.parts.push_back(std::move(query));
        while (acceptWord("UNION")) {
            unionQuery.unionAll.push_back(acceptWord("ALL"));
            if (!atWord("SELECT") && !atSymbol('(')) {
                fail(msg::kUnionQuery);
            }
            unionQuery.parts.push_back(parseQueryTerm(nullptr));
        }
        query = std::move(unionQuery);
    }
    if (atWord("ORDER")) {
        if (!query.orderBy.empty()) {
            // (SELECT ... ORDER BY a) ORDER BY b: the outer order wraps the inner query.
            Query wrapper;
            wrapper.parts.push_back(std::move(query));
            query = std::move(wrapper);
        }
        parseOrderBy(query.orderBy);
    }
    query.span = spanFrom(first);
    return query;
}

Query Parser::parseQueryTerm(std::string* into) {
    if (acceptSymbol('(')) {
        Query query = parseQuery(into);
        expectSymbol(')', msg::kSelectStatement);
        return query;
    }
    if (!atWord("SELECT")) {
        fail(msg::kSelectStatement);
    }
    Query query;
    size_t first = pos_;
    query.select = parseSelectCore(into);
    query.span = spanFrom(first);
    return query;
}

std::unique_ptr<SelectCore> Parser::parseSelectCore(std::string* into) {
    auto core = std::make_unique<SelectCore>();
    size_t first = pos_;
    expectWord("SELECT", msg::kSelectStatement);
    if (acceptWord("DISTINCT")) {
        core->quantifier = SetQuantifier::Distinct;
    } else if (acceptWord("DISTINCTROW")) {
        core->quantifier = SetQuantifier::DistinctRow;
    } else {
        acceptWord("ALL");
    }
    if (acceptWord("TOP")) {
        const Token& countToken = peek();
        if (countToken.kind != TokenKind::Integer && countToken.kind != TokenKind::Number) {
            fail(msg::kSelectStatement);
        }
        TopClause top;
        top.count = std::strtod(std::string(countToken.text).c_str(), nullptr);
        advance();
        top.percent = acceptWord("PERCENT");
        if (!(top.count > 0 && top.count <= 2147483647.0) ||
            (!top.percent && top.count != std::floor(top.count)) ||
            (top.percent && top.count > 100)) {
            fail(msg::kSelectStatement);
        }
        core->top = top;
    }
    parseSelectItems(*core);
    if (atWord("INTO")) {
        if (into == nullptr) {
            fail(msg::kSelectStatement);
        }
        advance();
        *into = parseName(msg::kSelectStatement);
    }
    if (acceptWord("FROM")) {
        core->from = parseTableList(msg::kFromClause);
        if (!atQueryFollower()) {
            fail(msg::kFromClause);
        }
    }
    if (acceptWord("WHERE")) {
        if (atQueryFollower()) {
            fail(msg::kWhereClause);
        }
        size_t start = pos_;
        core->where = parseTopExpression();
        checkExpressionFollower(start, false);
    }
    if (acceptWord("GROUP")) {
        expectWord("BY", msg::kGroupByClause);
        do {
            if (atQueryFollower()) {
                fail(msg::kGroupByClause);
            }
            size_t start = pos_;
            core->groupBy.push_back(parseTopExpression());
            checkExpressionFollower(start, true);
        } while (acceptSymbol(','));
    }
    if (acceptWord("HAVING")) {
        if (atQueryFollower()) {
            fail(msg::kSelectStatement);
        }
        size_t start = pos_;
        core->having = parseTopExpression();
        checkExpressionFollower(start, false);
    }
    core->span = spanFrom(first);
    return core;
}

void Parser::parseSelectItems(SelectCore& core) {
    do {
        size_t first = pos_;
        SelectItem item;
        if (acceptSymbol('*')) {
            item.kind = SelectItem::Kind::Star;
        } else if ((peek().kind == TokenKind::Word || peek().kind == TokenKind::QuotedName) &&
                   (atSymbol('.', 1) || atSymbol('!', 1)) && atSymbol('*', 2)) {
            item.kind = SelectItem::Kind::TableStar;
            item.table = std::string(advance().text);
            advance();
            advance();
        } else {
            if (atQueryFollower() || atSymbol(',')) {
                fail(msg::kSelectStatement);
            }
            const char* saved = reservedWordError_;
            reservedWordError_ = msg::kSelectStatement;
            item.expr = parseTopExpression();
            reservedWordError_ = saved;
            if (acceptWord("AS")) {
                item.alias = parseName(msg::kSelectStatement);
            }
            checkExpressionFollower(first, true);
        }
        if (!atSymbol(',') && !atQueryFollower()) {
            fail(msg::kSelectStatement);
        }
        item.span = spanFrom(first);
        core.items.push_back(std::move(item));
    } while (acceptSymbol(','));
}

void Parser::parseOrderBy(std::vector<OrderItem>& out) {
    advance();  // ORDER
    expectWord("BY", msg::kOrderByClause);
    do {
        if (atEnd() || atSymbol(')') || atSymbol(',')) {
            fail(msg::kOrderByClause);
        }
        size_t first = pos_;
        OrderItem item;
        item.expr = parseTopExpression();
        if (acceptWord("DESC")) {
            item.descending = true;
        } else {
            acceptWord("ASC");
        }
        if (!atSymbol(',') && !atEnd() && !atSymbol(')') && !(crosstab_ && atWord("PIVOT"))) {
            if (atWord("UNION") || atWord("ORDER") || atWord("WHERE") || atWord("FROM")) {
                fail(msg::kOrderByClause);
            }
            fail(msg::missingOperator(expressionText(first)));
        }
        out.push_back(std::move(item));
    } while (acceptSymbol(','));
}

std::shared_ptr<const Query> Parser::parseSubquery() {
    // The ( is consumed by the caller; the ) is checked here.
    size_t savedStart = exprStart_;
    const char* savedReserved = reservedWordError_;
    reservedWordError_ = nullptr;
    auto subquery = std::make_shared<Query>(parseQuery(nullptr));
    exprStart_ = savedStart;
    reservedWordError_ = savedReserved;
    if (!acceptSymbol(')')) {
        fail(msg::missingParenthesis(expressionText(exprStart_)));
    }
    return subquery;
}

// ---- FROM ----

std::vector<TableRef> Parser::parseTableList(const char* error) {
    std::vector<TableRef> refs;
    do {
        refs.push_back(parseTableRef(error));
    } while (acceptSymbol(','));
    return refs;
}

bool Parser::atJoin() const {
    if (atWord("INNER") || atWord("JOIN")) {
        return true;
    }
    return (atWord("LEFT") || atWord("RIGHT")) && !atSymbol('(', 1);
}

TableRef Parser::parseTableRef(const char* error) {
    DepthGuard guard(*this);
    size_t first = pos_;
    TableRef left = parseTablePrimary(error);
    while (atJoin()) {
        TableRef join;
        join.kind = TableRef::Kind::Join;
        if (acceptWord("INNER")) {
            join.joinType = JoinType::Inner;
        } else if (acceptWord("LEFT")) {
            join.joinType = JoinType::Left;
            acceptWord("OUTER");
        } else if (acceptWord("RIGHT")) {
            join.joinType = JoinType::Right;
            acceptWord("OUTER");
        } else {
            fail(msg::kJoinOperation);  // a bare JOIN
        }
        expectWord("JOIN", msg::kJoinOperation);
        TableRef right = parseTablePrimary(error);
        if (!acceptWord("ON")) {
            fail(msg::kJoinOperation);
        }
        size_t start = pos_;
        join.on = parseTopExpression();
        checkExpressionFollower(start, true);
        join.left = std::make_unique<TableRef>(std::move(left));
        join.right = std::make_unique<TableRef>(std::move(right));
        join.span = spanFrom(first);
        left = std::move(join);
    }
    return left;
}

TableRef Parser::parseTablePrimary(const char* error) {
    size_t first = pos_;
    TableRef ref;
    if (acceptSymbol('(')) {
        if (atWord("SELECT") || (atSymbol('(') && atWord("SELECT", 1))) {
            ref.kind = TableRef::Kind::Subquery;
            auto subquery = std::make_shared<Query>(parseQuery(nullptr));
            ref.subquery = std::move(subquery);
            expectSymbol(')', error);
        } else {
            ref = parseTableRef(error);
            expectSymbol(')', error);
            return ref;
        }
    } else {
        ref.kind = TableRef::Kind::Named;
        ref.name = parseName(error);
        if (acceptSymbol('.')) {
            ref.database = std::move(ref.name);
            ref.name = parseMemberName(error);
        }
    }
    if (acceptWord("AS")) {
        ref.alias = parseName(error);
    } else if (atName()) {
        ref.alias = parseName(error);
    }
    ref.span = spanFrom(first);
    return ref;
}

// ---- INSERT / UPDATE / DELETE ----

InsertStatement Parser::parseInsert() {
    InsertStatement insert;
    advance();  // INSERT
    expectWord("INTO", msg::kInsertStatement);
    insert.table = parseName(msg::kInsertStatement);
    if (atSymbol('(') && !atWord("SELECT", 1)) {
        insert.columns = parseNameList(msg::kInsertStatement);
    }
    if (acceptWord("VALUES")) {
        expectSymbol('(', msg::kInsertStatement);
        do {
            if (atSymbol(')') || atSymbol(',')) {
                fail(msg::kInsertStatement);
            }
            size_t start = pos_;
            insert.values.push_back(parseTopExpression());
            checkExpressionFollower(start, true);
        } while (acceptSymbol(','));
        expectSymbol(')', msg::kInsertStatement);
        if (!atEnd()) {
            fail(msg::kMissingSemicolon);
        }
        expectStatementEnd(msg::kInsertStatement);
        return insert;
    }
    if (atWord("SELECT") || atSymbol('(')) {
        insert.select = std::make_shared<Query>(parseQuery(nullptr));
        expectStatementEnd(msg::kInsertStatement);
        return insert;
    }
    fail(msg::kInsertStatement);
}

UpdateStatement Parser::parseUpdate() {
    UpdateStatement update;
    advance();  // UPDATE
    acceptWord("DISTINCTROW");
    update.tables = parseTableList(msg::kUpdateStatement);
    expectWord("SET", msg::kUpdateStatement);
    do {
        size_t first = pos_;
        Assignment assignment;
        assignment.column = parseName(msg::kUpdateStatement);
        if (acceptSymbol('.') || acceptSymbol('!')) {
            assignment.qualifier = std::move(assignment.column);
            assignment.column = parseMemberName(msg::kUpdateStatement);
        }
        expectSymbol('=', msg::kUpdateStatement);
        if (atEnd() || atSymbol(',')) {
            fail(msg::kUpdateStatement);
        }
        size_t start = pos_;
        assignment.value = parseTopExpression();
        checkExpressionFollower(start, true);
        assignment.span = spanFrom(first);
        update.assignments.push_back(std::move(assignment));
    } while (acceptSymbol(','));
    if (acceptWord("WHERE")) {
        if (atEnd()) {
            fail(msg::kWhereClause);
        }
        size_t start = pos_;
        update.where = parseTopExpression();
        checkExpressionFollower(start, false);
    }
    expectStatementEnd(msg::kUpdateStatement);
    return update;
}

DeleteStatement Parser::parseDelete() {
    DeleteStatement statement;
    advance();  // DELETE
    acceptWord("DISTINCTROW");
    if (acceptSymbol('*')) {
        // DELETE * FROM t
    } else if ((peek().kind == TokenKind::Word || peek().kind == TokenKind::QuotedName) &&
               (atSymbol('.', 1) || atSymbol('!', 1)) && atSymbol('*', 2)) {
        statement.target = std::string(advance().text);
        advance();
        advance();
    } else if ((peek().kind == TokenKind::Word || peek().kind == TokenKind::QuotedName) &&
               (atSymbol('.', 1) || atSymbol('!', 1))) {
        // DELETE t.c1, t.c2 FROM t, as Access saves it: Jet deletes whole
        // records and ignores the fields, which must all name one table.
        do {
            std::string table = parseName(msg::kDeleteTarget);
            if (!acceptSymbol('.') && !acceptSymbol('!')) {
                fail(msg::kDeleteTarget);
            }
            parseMemberName(msg::kDeleteTarget);
            if (!statement.target.empty() && !sameName(statement.target, table)) {
                fail(msg::kDeleteTarget);
            }
            statement.target = std::move(table);
        } while (acceptSymbol(','));
    }
    expectWord("FROM", msg::kFromClause);
    statement.from = parseTableList(msg::kFromClause);
    if (acceptWord("WHERE")) {
        if (atEnd()) {
            fail(msg::kWhereClause);
        }
        size_t start = pos_;
        statement.where = parseTopExpression();
        checkExpressionFollower(start, false);
    }
    expectStatementEnd(msg::kFromClause);
    return statement;
}

std::vector<std::string> Parser::parseNameList(const char* error) {
    std::vector<std::string> names;
    expectSymbol('(', error);
    do {
        names.push_back(parseName(error));
    } while (acceptSymbol(','));
    expectSymbol(')', error);
    return names;
}

}  // namespace orvdb::engine::sql
