// Expressions, with VBA's operator precedence (highest first): ^, unary -,
// * /, \, Mod, + -, &, comparisons (= <> < > <= >= Like Between In Is),
// Not, And, Or, Xor, Eqv, Imp.
#include "engine/sql/parse/parser.hpp"
#include "engine/sql/translate/access_functions.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/parse/reserved_words.hpp"

#include <charconv>
#include <cstdlib>

namespace orvdb::engine::sql {

namespace {

// Words that end a clause expression (the start of the next clause).
bool isBoundaryWord(const Token& token, const Token& next) {
    if (token.kind != TokenKind::Word) {
        return false;
    }
    if (token.isWord("LEFT") || token.isWord("RIGHT")) {
        return !next.is('(');
    }
    return token.isWord("FROM") || token.isWord("WHERE") || token.isWord("GROUP") ||
           token.isWord("HAVING") || token.isWord("ORDER") || token.isWord("UNION") ||
           token.isWord("INTO") || token.isWord("INNER") || token.isWord("JOIN") ||
           token.isWord("SET") || token.isWord("AS") || token.isWord("ASC") ||
           token.isWord("DESC") || token.isWord("PIVOT");
}

}  // namespace

Expr Parser::parseStandaloneExpression() {
    if (atEnd()) {
        fail(msg::queryExpression(""));
    }
    Expr expression = parseTopExpression();
    if (!atEnd()) {
        fail(msg::missingOperator(expressionText(0)));
    }
    expectStatementEnd(msg::kCharactersAfterEnd);
    return expression;
}

std::string_view Parser::expressionText(size_t first) const {
    if (first >= tokens_.size() - 1) {
        return {};
    }
    int depth = 0;
    size_t last = first;
    bool any = false;
    for (size_t i = first; i + 1 < tokens_.size(); ++i) {
        const Token& token = tokens_[i];
        if (token.is('(')) {
            ++depth;
        } else if (token.is(')')) {
            if (depth == 0) {
                break;
            }
            --depth;
        } else if (depth == 0 &&
                   (token.is(',') || token.is(';') || isBoundaryWord(token, tokens_[i + 1]))) {
            break;
        }
        last = i;
        any = true;
    }
    if (!any) {
        return {};
    }
    return sql_.substr(tokens_[first].begin, tokens_[last].end - tokens_[first].begin);
}

void Parser::failExpression() const {
    fail(msg::missingOperator(expressionText(exprStart_)));
}

void Parser::checkExpressionFollower(size_t first, bool allowComma) const {
    const Token& token = peek();
    if (token.kind == TokenKind::End || token.is(';') || token.is(')')) {
        return;
    }
    if (token.is(',')) {
        if (allowComma) {
            return;
        }
        fail(msg::commaInExpression(expressionText(first)));
    }
    if (isBoundaryWord(token, peek(1))) {
        return;
    }
    fail(msg::missingOperator(expressionText(first)));
}

Expr Parser::parseTopExpression() {
    size_t saved = exprStart_;
    exprStart_ = pos_;
    Expr expression = parseExpression();
    exprStart_ = saved;
    return expression;
}

namespace {

// Left-associative chains of these are kept flat, one node for all their
// operands (a & b & c), so a chain of any length nests no deeper than one.
bool chainsFlat(BinaryOp op) {
    switch (op) {
        case BinaryOp::Concat:
        case BinaryOp::Add:
        case BinaryOp::Subtract:
        case BinaryOp::Multiply:
        case BinaryOp::And:
        case BinaryOp::Or:
            return true;
        default:
            return false;
    }
}

bool additive(BinaryOp op) {
    return op == BinaryOp::Add || op == BinaryOp::Subtract;
}

// `left op right` continues the chain `left` is: the same operator, or + and
// - mixed (a + b - c), which Jet reads left to right as well.
bool extendsChain(const Expr& left, BinaryOp op) {
    if (left.kind != ExprKind::Binary || !chainsFlat(op)) {
        return false;
    }
    return (left.binaryOp == op && left.steps.empty()) || (additive(op) && additive(left.binaryOp));
}

}  // namespace

Expr Parser::makeBinary(BinaryOp op, Expr left, Expr right, size_t firstToken) const {
    if (extendsChain(left, op)) {
        if (left.binaryOp != op || !left.steps.empty()) {
            if (left.steps.empty()) {
                left.steps.assign(left.args.size() - 1, left.binaryOp);
            }
            left.steps.push_back(op);
        }
        left.args.push_back(std::move(right));
        left.span = spanFrom(firstToken);
        return left;
    }
    Expr expression;
    expression.kind = ExprKind::Binary;
    expression.binaryOp = op;
    expression.args.reserve(2);
    expression.args.push_back(std::move(left));
    expression.args.push_back(std::move(right));
    expression.span = spanFrom(firstToken);
    return expression;
}

namespace {

// Binding levels, loosest first (VBA's order).
enum Level : int {
    kImp = 1,
    kEqv,
    kXor,
    kOr,
    kAnd,
    kNot,
    kComparison,
    kConcat,
    kAdditive,
    kMod,
    kIntDivide,
    kMultiplicative,
    kNegation,
    kPower,
};

struct InfixOperator {
    int level = 0;  // 0: not an infix operator
    BinaryOp op = BinaryOp::Equal;
};

// The infix operator that t (followed by next) starts; predicates (Like,
// Between, In, Is, Not Like...) report kComparison with op left unset.
InfixOperator infixAt(const Token& token, const Token& next) {
    switch (token.kind) {
        case TokenKind::Symbol:
            if (token.text.size() == 2) {
                if (token.text == "<>") {
                    return {kComparison, BinaryOp::NotEqual};
                }
                if (token.text == "<=") {
                    return {kComparison, BinaryOp::LessEqual};
                }
                if (token.text == ">=") {
                    return {kComparison, BinaryOp::GreaterEqual};
                }
                return {};
            }
            switch (token.text[0]) {
                case '=':
                    return {kComparison, BinaryOp::Equal};
                case '<':
                    return {kComparison, BinaryOp::Less};
                case '>':
                    return {kComparison, BinaryOp::Greater};
                case '&':
                    return {kConcat, BinaryOp::Concat};
                case '+':
                    return {kAdditive, BinaryOp::Add};
                case '-':
                    return {kAdditive, BinaryOp::Subtract};
                case '\\':
                    return {kIntDivide, BinaryOp::IntDivide};
                case '*':
                    return {kMultiplicative, BinaryOp::Multiply};
                case '/':
                    return {kMultiplicative, BinaryOp::Divide};
                case '^':
                    return {kPower, BinaryOp::Power};
                default:
                    return {};
            }
        case TokenKind::Word:
            switch (token.text.size()) {
                case 2:
                    if (token.isWord("OR")) {
                        return {kOr, BinaryOp::Or};
                    }
                    if (token.isWord("IN") || token.isWord("IS")) {
                        return {kComparison, BinaryOp::Equal};
                    }
                    return {};
                case 3:
                    if (token.isWord("AND")) {
                        return {kAnd, BinaryOp::And};
                    }
                    if (token.isWord("MOD")) {
                        return {kMod, BinaryOp::Mod};
                    }
                    if (token.isWord("XOR")) {
                        return {kXor, BinaryOp::Xor};
                    }
                    if (token.isWord("EQV")) {
                        return {kEqv, BinaryOp::Eqv};
                    }
                    if (token.isWord("IMP")) {
                        return {kImp, BinaryOp::Imp};
                    }
                    if (token.isWord("NOT") &&
                        (next.isWord("LIKE") || next.isWord("BETWEEN") || next.isWord("IN"))) {
                        return {kComparison, BinaryOp::Equal};
                    }
                    return {};
                case 4:
                    if (token.isWord("LIKE")) {
                        return {kComparison, BinaryOp::Equal};
                    }
                    return {};
                case 7:
                    if (token.isWord("BETWEEN")) {
                        return {kComparison, BinaryOp::Equal};
                    }
                    return {};
                default:
                    return {};
            }
        default:
            return {};
    }
}

}  // namespace

Expr Parser::parseBinary(int minLevel) {
    DepthGuard guard(*this);
    size_t first = pos_;
    Expr left = parseOperand();
    for (;;) {
        InfixOperator infix = infixAt(peek(), peek(1));
        if (infix.level == 0 || infix.level < minLevel) {
            return left;
        }
        if (infix.level != kComparison || peek().kind == TokenKind::Symbol) {
            advance();
            if (infix.level == kComparison && (atWord("ANY") || atWord("SOME") || atWord("ALL")) &&
                atSymbol('(', 1)) {
                Expr expression;
                expression.kind = ExprKind::Quantified;
                expression.binaryOp = infix.op;
                expression.all = atWord("ALL");
                advance();
                advance();
                if (!atWord("SELECT") && !atSymbol('(')) {
                    failExpression();
                }
                expression.subquery = parseSubquery();
                expression.args.push_back(std::move(left));
                expression.span = spanFrom(first);
                left = std::move(expression);
                continue;
            }
            // Left-associative: the right side binds one level tighter;
            // after ^ a sign may follow directly (2^-1).
            Expr right = infix.level == kPower ? parsePowerOperand() : parseBinary(infix.level + 1);
            bool nests = !extendsChain(left, infix.op);
            left = makeBinary(infix.op, std::move(left), std::move(right), first);
            if (nests) {
                // Operators that do not chain (a / b * c) nest one level per
                // operator: they count against the depth like parentheses.
                guard.deepen();
            }
            continue;
        }
        // Like, Between, In, Is, each optionally after Not.
        Expr expression;
        expression.negated = acceptWord("NOT");
        if (acceptWord("LIKE")) {
            expression.kind = ExprKind::Like;
            expression.args.push_back(std::move(left));
            expression.args.push_back(parseBinary(kConcat));
        } else if (acceptWord("BETWEEN")) {
            expression.kind = ExprKind::Between;
            expression.args.push_back(std::move(left));
            expression.args.push_back(parseBinary(kConcat));
            if (!acceptWord("AND")) {
                failExpression();
            }
            expression.args.push_back(parseBinary(kConcat));
        } else if (acceptWord("IN")) {
            if (!acceptSymbol('(')) {
                failExpression();
            }
            expression.args.push_back(std::move(left));
            if (atWord("SELECT") || (atSymbol('(') && atWord("SELECT", 1))) {
                expression.kind = ExprKind::InQuery;
                expression.subquery = parseSubquery();
            } else {
                expression.kind = ExprKind::InList;
                do {
                    if (atSymbol(',') || atSymbol(')')) {
                        fail(msg::commaInExpression(expressionText(exprStart_)));
                    }
                    expression.args.push_back(parseExpression());
                } while (acceptSymbol(','));
                if (!acceptSymbol(')')) {
                    fail(msg::missingParenthesis(expressionText(exprStart_)));
                }
            }
        } else {
            advance();  // IS
            expression.kind = ExprKind::IsNull;
            expression.negated = acceptWord("NOT");
            if (!acceptWord("NULL")) {
                failExpression();
            }
            expression.args.push_back(std::move(left));
        }
        expression.span = spanFrom(first);
        left = std::move(expression);
    }
}

// A prefix operator and its operand, or a primary.
Expr Parser::parseOperand() {
    size_t first = pos_;
    if (atSymbol('-') || atSymbol('+') || atWord("NOT")) {
        Expr expression;
        expression.kind = ExprKind::Unary;
        if (acceptWord("NOT")) {
            // Not binds looser than comparisons: Not a = b is Not (a = b).
            expression.unaryOp = UnaryOp::Not;
            expression.args.push_back(parseBinary(kComparison));
        } else {
            // Unary minus binds looser than ^: -2^2 is -(2^2).
            expression.unaryOp = advance().is('-') ? UnaryOp::Negate : UnaryOp::Plus;
            expression.args.push_back(parseBinary(kPower));
        }
        expression.span = spanFrom(first);
        return expression;
    }
    return parsePrimary();
}

Expr Parser::parseExpression() {
    return parseBinary(kImp);
}

Expr Parser::parsePowerOperand() {
    DepthGuard guard(*this);
    size_t first = pos_;
    if (atSymbol('-') || atSymbol('+')) {
        bool minus = advance().is('-');
        Expr expression;
        expression.kind = ExprKind::Unary;
        expression.unaryOp = minus ? UnaryOp::Negate : UnaryOp::Plus;
        expression.args.push_back(parsePowerOperand());
        expression.span = spanFrom(first);
        return expression;
    }
    return parsePrimary();
}

Expr Parser::parsePrimary() {
    size_t first = pos_;
    const Token& token = peek();
    Expr expression;
    switch (token.kind) {
        case TokenKind::Integer: {
            int64_t value = 0;
            auto [p, ec] =
                std::from_chars(token.text.data(), token.text.data() + token.text.size(), value);
            if (ec == std::errc() && p == token.text.data() + token.text.size()) {
                expression.kind = ExprKind::Integer;
                expression.integer = value;
            } else {  // too large for 64 bits: a Double, as in Jet
                expression.kind = ExprKind::Number;
                expression.number = std::strtod(std::string(token.text).c_str(), nullptr);
            }
            expression.text = std::string(token.text);
            advance();
            break;
        }
        case TokenKind::Number:
            expression.kind = ExprKind::Number;
            expression.text = std::string(token.text);
            expression.number = std::strtod(expression.text.c_str(), nullptr);
            advance();
            break;
        case TokenKind::String:
            expression.kind = ExprKind::Text;
            expression.text = unquoteString(token);
            advance();
            break;
        case TokenKind::Date:
            expression.kind = ExprKind::Date;
            expression.text = std::string(token.text);
            advance();
            break;
        case TokenKind::QuotedName:
            return parseColumnOrCall();
        case TokenKind::Symbol:
            if (token.is('(')) {
                advance();
                if (atWord("SELECT") || (atSymbol('(') && atWord("SELECT", 1))) {
                    expression.kind = ExprKind::Subquery;
                    expression.subquery = parseSubquery();
                    break;
                }
                if (atSymbol(')')) {
                    failExpression();
                }
                expression = parseExpression();
                if (!acceptSymbol(')')) {
                    fail(msg::missingParenthesis(expressionText(exprStart_)));
                }
                // Keep the parenthesised span, for texts quoted in errors.
                expression.span = spanFrom(first);
                return expression;
            }
            failExpression();
        case TokenKind::Word:
            if (token.isWord("NULL")) {
                advance();
                expression.kind = ExprKind::Null;
                break;
            }
            if (!atSymbol('(', 1) && !atSymbol('.', 1) && !atSymbol('!', 1)) {
                if (token.isWord("TRUE") || token.isWord("YES") || token.isWord("ON")) {
                    advance();
                    expression.kind = ExprKind::Boolean;
                    expression.integer = -1;
                    break;
                }
                if (token.isWord("FALSE") || token.isWord("NO") || token.isWord("OFF")) {
                    advance();
                    expression.kind = ExprKind::Boolean;
                    expression.integer = 0;
                    break;
                }
            }
            if (token.isWord("EXISTS")) {
                advance();
                if (!acceptSymbol('(')) {
                    failExpression();
                }
                if (!atWord("SELECT") && !atSymbol('(')) {
                    failExpression();
                }
                expression.kind = ExprKind::Exists;
                expression.subquery = parseSubquery();
                break;
            }
            if (token.text[0] == '@') {
                if (!token.isWord("@@IDENTITY")) {
                    failExpression();
                }
                advance();
                expression.kind = ExprKind::Identity;
                break;
            }
            return parseColumnOrCall();
        case TokenKind::End:
            failExpression();
    }
    expression.span = spanFrom(first);
    return expression;
}

Expr Parser::parseColumnOrCall() {
    size_t first = pos_;
    const Token& name = peek();
    if (name.kind == TokenKind::Word && atSymbol('(', 1)) {
        return parseCall(first);
    }
    if (name.kind == TokenKind::Word && isReservedWord(name.text)) {
        if (reservedWordError_) {
            fail(reservedWordError_);
        }
        failExpression();
    }
    if (name.text.empty()) {
        fail(msg::badBracketing(name.text));
    }
    Expr expression;
    expression.kind = ExprKind::Column;
    expression.text = std::string(name.text);
    advance();
    if (atSymbol('.') || atSymbol('!')) {
        advance();
        if (atSymbol('*')) {
            failExpression();
        }
        const Token& member = peek();
        if ((member.kind != TokenKind::Word && member.kind != TokenKind::QuotedName) ||
            member.text.empty() || member.text[0] == '@') {
            failExpression();
        }
        const Token& separator = tokens_[pos_ - 1];
        expression.qualifier = std::move(expression.text);
        expression.text = std::string(advance().text);
        if (atSymbol('.') || atSymbol('!')) {
            // Only a declared parameter such as [Forms]![Orders]![Id] has more parts.
            std::string path = expression.qualifier + std::string(separator.text) + expression.text;
            while ((atSymbol('.') || atSymbol('!')) &&
                   (peek(1).kind == TokenKind::Word || peek(1).kind == TokenKind::QuotedName)) {
                path += advance().text;
                path += advance().text;
            }
            if (!isDeclaredParameter(path)) {
                fail(msg::badQualifier(expressionText(exprStart_)));
            }
            expression.qualifier.clear();
            expression.text = std::move(path);
        }
    }
    expression.span = spanFrom(first);
    return expression;
}

Expr Parser::parseCall(size_t nameToken) {
    const Token& nameTok = advance();
    const FunctionInfo* info = findFunction(nameTok.text);
    if (info == nullptr) {
        if (isReservedWord(nameTok.text)) {
            if (reservedWordError_) {
                fail(reservedWordError_);
            }
            failExpression();
        }
        fail(msg::undefinedFunction(nameTok.text));
    }
    advance();  // (
    Expr expression;
    expression.kind = ExprKind::Call;
    expression.text = std::string(info->name);
    if (!atSymbol(')')) {
        do {
            if (info->emit == FunctionEmit::Count && atSymbol('*') && atSymbol(')', 1)) {
                Expr star;
                star.kind = ExprKind::Star;
                star.span = spanFrom(pos_);
                advance();
                expression.args.push_back(std::move(star));
                continue;
            }
            // Jet has no Count(DISTINCT x) nor Sum(ALL x).
            if (atWord("DISTINCT") || atWord("ALL") || atWord("DISTINCTROW")) {
                failExpression();
            }
            if (atSymbol(',') || atSymbol(')')) {
                fail(msg::commaInExpression(expressionText(exprStart_)));
            }
            expression.args.push_back(parseExpression());
        } while (acceptSymbol(','));
    }
    if (!acceptSymbol(')')) {
        fail(msg::missingParenthesis(expressionText(exprStart_)));
    }
    expression.span = spanFrom(nameToken);
    size_t n = expression.args.size();
    bool arityOk = n >= info->minArgs && (info->maxArgs == kVariadic || n <= info->maxArgs);
    if (info->emit == FunctionEmit::Switch && n % 2 != 0) {
        arityOk = false;
    }
    if (!arityOk) {
        fail(msg::wrongArgumentCount(
            sql_.substr(expression.span.begin, expression.span.end - expression.span.begin)));
    }
    return expression;
}

}  // namespace orvdb::engine::sql
