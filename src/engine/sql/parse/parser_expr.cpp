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
bool isBoundaryWord(const Token& t, const Token& next) {
    if (t.kind != TokenKind::Word) {
        return false;
    }
    if (t.isWord("LEFT") || t.isWord("RIGHT")) {
        return !next.is('(');
    }
    return t.isWord("FROM") || t.isWord("WHERE") || t.isWord("GROUP") || t.isWord("HAVING") ||
           t.isWord("ORDER") || t.isWord("UNION") || t.isWord("INTO") || t.isWord("INNER") ||
           t.isWord("JOIN") || t.isWord("SET") || t.isWord("AS") || t.isWord("ASC") ||
           t.isWord("DESC") || t.isWord("PIVOT");
}

}  // namespace

Expr Parser::parseStandaloneExpression() {
    if (atEnd()) {
        fail(msg::queryExpression(""));
    }
    Expr e = parseTopExpression();
    if (!atEnd()) {
        fail(msg::missingOperator(expressionText(0)));
    }
    expectStatementEnd(msg::kCharactersAfterEnd);
    return e;
}

std::string_view Parser::expressionText(size_t first) const {
    if (first >= tokens_.size() - 1) {
        return {};
    }
    int depth = 0;
    size_t last = first;
    bool any = false;
    for (size_t i = first; i + 1 < tokens_.size(); ++i) {
        const Token& t = tokens_[i];
        if (t.is('(')) {
            ++depth;
        } else if (t.is(')')) {
            if (depth == 0) {
                break;
            }
            --depth;
        } else if (depth == 0 && (t.is(',') || t.is(';') || isBoundaryWord(t, tokens_[i + 1]))) {
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
    const Token& t = peek();
    if (t.kind == TokenKind::End || t.is(';') || t.is(')')) {
        return;
    }
    if (t.is(',')) {
        if (allowComma) {
            return;
        }
        fail(msg::commaInExpression(expressionText(first)));
    }
    if (isBoundaryWord(t, peek(1))) {
        return;
    }
    fail(msg::missingOperator(expressionText(first)));
}

Expr Parser::parseTopExpression() {
    size_t saved = exprStart_;
    exprStart_ = pos_;
    Expr e = parseExpression();
    exprStart_ = saved;
    return e;
}

Expr Parser::makeBinary(BinaryOp op, Expr left, Expr right, size_t firstToken) const {
    Expr e;
    e.kind = ExprKind::Binary;
    e.binaryOp = op;
    e.args.reserve(2);
    e.args.push_back(std::move(left));
    e.args.push_back(std::move(right));
    e.span = spanFrom(firstToken);
    return e;
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
InfixOperator infixAt(const Token& t, const Token& next) {
    switch (t.kind) {
        case TokenKind::Symbol:
            if (t.text.size() == 2) {
                if (t.text == "<>") {
                    return {kComparison, BinaryOp::NotEqual};
                }
                if (t.text == "<=") {
                    return {kComparison, BinaryOp::LessEqual};
                }
                if (t.text == ">=") {
                    return {kComparison, BinaryOp::GreaterEqual};
                }
                return {};
            }
            switch (t.text[0]) {
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
            switch (t.text.size()) {
                case 2:
                    if (t.isWord("OR")) {
                        return {kOr, BinaryOp::Or};
                    }
                    if (t.isWord("IN") || t.isWord("IS")) {
                        return {kComparison, BinaryOp::Equal};
                    }
                    return {};
                case 3:
                    if (t.isWord("AND")) {
                        return {kAnd, BinaryOp::And};
                    }
                    if (t.isWord("MOD")) {
                        return {kMod, BinaryOp::Mod};
                    }
                    if (t.isWord("XOR")) {
                        return {kXor, BinaryOp::Xor};
                    }
                    if (t.isWord("EQV")) {
                        return {kEqv, BinaryOp::Eqv};
                    }
                    if (t.isWord("IMP")) {
                        return {kImp, BinaryOp::Imp};
                    }
                    if (t.isWord("NOT") &&
                        (next.isWord("LIKE") || next.isWord("BETWEEN") || next.isWord("IN"))) {
                        return {kComparison, BinaryOp::Equal};
                    }
                    return {};
                case 4:
                    if (t.isWord("LIKE")) {
                        return {kComparison, BinaryOp::Equal};
                    }
                    return {};
                case 7:
                    if (t.isWord("BETWEEN")) {
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
                Expr q;
                q.kind = ExprKind::Quantified;
                q.binaryOp = infix.op;
                q.all = atWord("ALL");
                advance();
                advance();
                if (!atWord("SELECT") && !atSymbol('(')) {
                    failExpression();
                }
                q.subquery = parseSubquery();
                q.args.push_back(std::move(left));
                q.span = spanFrom(first);
                left = std::move(q);
                continue;
            }
            // Left-associative: the right side binds one level tighter;
            // after ^ a sign may follow directly (2^-1).
            Expr right = infix.level == kPower ? parsePowerOperand() : parseBinary(infix.level + 1);
            left = makeBinary(infix.op, std::move(left), std::move(right), first);
            continue;
        }
        // Like, Between, In, Is, each optionally after Not.
        Expr e;
        e.negated = acceptWord("NOT");
        if (acceptWord("LIKE")) {
            e.kind = ExprKind::Like;
            e.args.push_back(std::move(left));
            e.args.push_back(parseBinary(kConcat));
        } else if (acceptWord("BETWEEN")) {
            e.kind = ExprKind::Between;
            e.args.push_back(std::move(left));
            e.args.push_back(parseBinary(kConcat));
            if (!acceptWord("AND")) {
                failExpression();
            }
            e.args.push_back(parseBinary(kConcat));
        } else if (acceptWord("IN")) {
            if (!acceptSymbol('(')) {
                failExpression();
            }
            e.args.push_back(std::move(left));
            if (atWord("SELECT") || (atSymbol('(') && atWord("SELECT", 1))) {
                e.kind = ExprKind::InQuery;
                e.subquery = parseSubquery();
            } else {
                e.kind = ExprKind::InList;
                do {
                    if (atSymbol(',') || atSymbol(')')) {
                        fail(msg::commaInExpression(expressionText(exprStart_)));
                    }
                    e.args.push_back(parseExpression());
                } while (acceptSymbol(','));
                if (!acceptSymbol(')')) {
                    fail(msg::missingParenthesis(expressionText(exprStart_)));
                }
            }
        } else {
            advance();  // IS
            e.kind = ExprKind::IsNull;
            e.negated = acceptWord("NOT");
            if (!acceptWord("NULL")) {
                failExpression();
            }
            e.args.push_back(std::move(left));
        }
        e.span = spanFrom(first);
        left = std::move(e);
    }
}

// A prefix operator and its operand, or a primary.
Expr Parser::parseOperand() {
    size_t first = pos_;
    if (atSymbol('-') || atSymbol('+') || atWord("NOT")) {
        Expr e;
        e.kind = ExprKind::Unary;
        if (acceptWord("NOT")) {
            // Not binds looser than comparisons: Not a = b is Not (a = b).
            e.unaryOp = UnaryOp::Not;
            e.args.push_back(parseBinary(kComparison));
        } else {
            // Unary minus binds looser than ^: -2^2 is -(2^2).
            e.unaryOp = advance().is('-') ? UnaryOp::Negate : UnaryOp::Plus;
            e.args.push_back(parseBinary(kPower));
        }
        e.span = spanFrom(first);
        return e;
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
        Expr e;
        e.kind = ExprKind::Unary;
        e.unaryOp = minus ? UnaryOp::Negate : UnaryOp::Plus;
        e.args.push_back(parsePowerOperand());
        e.span = spanFrom(first);
        return e;
    }
    return parsePrimary();
}

Expr Parser::parsePrimary() {
    size_t first = pos_;
    const Token& t = peek();
    Expr e;
    switch (t.kind) {
        case TokenKind::Integer: {
            int64_t value = 0;
            auto [p, ec] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), value);
            if (ec == std::errc() && p == t.text.data() + t.text.size()) {
                e.kind = ExprKind::Integer;
                e.integer = value;
            } else {  // too large for 64 bits: a Double, as in Jet
                e.kind = ExprKind::Number;
                e.number = std::strtod(std::string(t.text).c_str(), nullptr);
            }
            e.text = std::string(t.text);
            advance();
            break;
        }
        case TokenKind::Number:
            e.kind = ExprKind::Number;
            e.text = std::string(t.text);
            e.number = std::strtod(e.text.c_str(), nullptr);
            advance();
            break;
        case TokenKind::String:
            e.kind = ExprKind::Text;
            e.text = unquoteString(t);
            advance();
            break;
        case TokenKind::Date:
            e.kind = ExprKind::Date;
            e.text = std::string(t.text);
            advance();
            break;
        case TokenKind::QuotedName:
            return parseColumnOrCall();
        case TokenKind::Symbol:
            if (t.is('(')) {
                advance();
                if (atWord("SELECT") || (atSymbol('(') && atWord("SELECT", 1))) {
                    e.kind = ExprKind::Subquery;
                    e.subquery = parseSubquery();
                    break;
                }
                if (atSymbol(')')) {
                    failExpression();
                }
                e = parseExpression();
                if (!acceptSymbol(')')) {
                    fail(msg::missingParenthesis(expressionText(exprStart_)));
                }
                // Keep the parenthesised span, for texts quoted in errors.
                e.span = spanFrom(first);
                return e;
            }
            failExpression();
        case TokenKind::Word:
            if (t.isWord("NULL")) {
                advance();
                e.kind = ExprKind::Null;
                break;
            }
            if (!atSymbol('(', 1) && !atSymbol('.', 1) && !atSymbol('!', 1)) {
                if (t.isWord("TRUE") || t.isWord("YES") || t.isWord("ON")) {
                    advance();
                    e.kind = ExprKind::Boolean;
                    e.integer = -1;
                    break;
                }
                if (t.isWord("FALSE") || t.isWord("NO") || t.isWord("OFF")) {
                    advance();
                    e.kind = ExprKind::Boolean;
                    e.integer = 0;
                    break;
                }
            }
            if (t.isWord("EXISTS")) {
                advance();
                if (!acceptSymbol('(')) {
                    failExpression();
                }
                if (!atWord("SELECT") && !atSymbol('(')) {
                    failExpression();
                }
                e.kind = ExprKind::Exists;
                e.subquery = parseSubquery();
                break;
            }
            if (t.text[0] == '@') {
                if (!t.isWord("@@IDENTITY")) {
                    failExpression();
                }
                advance();
                e.kind = ExprKind::Identity;
                break;
            }
            return parseColumnOrCall();
        case TokenKind::End:
            failExpression();
    }
    e.span = spanFrom(first);
    return e;
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
    Expr e;
    e.kind = ExprKind::Column;
    e.text = std::string(name.text);
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
        e.qualifier = std::move(e.text);
        e.text = std::string(advance().text);
        if (atSymbol('.') || atSymbol('!')) {
            // Only a declared parameter such as [Forms]![Orders]![Id] has more parts.
            std::string path = e.qualifier + std::string(separator.text) + e.text;
            while ((atSymbol('.') || atSymbol('!')) &&
                   (peek(1).kind == TokenKind::Word || peek(1).kind == TokenKind::QuotedName)) {
                path += advance().text;
                path += advance().text;
            }
            if (!isDeclaredParameter(path)) {
                fail(msg::badQualifier(expressionText(exprStart_)));
            }
            e.qualifier.clear();
            e.text = std::move(path);
        }
    }
    e.span = spanFrom(first);
    return e;
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
    Expr e;
    e.kind = ExprKind::Call;
    e.text = std::string(info->name);
    if (!atSymbol(')')) {
        do {
            if (info->emit == FunctionEmit::Count && atSymbol('*') && atSymbol(')', 1)) {
                Expr star;
                star.kind = ExprKind::Star;
                star.span = spanFrom(pos_);
                advance();
                e.args.push_back(std::move(star));
                continue;
            }
            // Jet has no Count(DISTINCT x) nor Sum(ALL x).
            if (atWord("DISTINCT") || atWord("ALL") || atWord("DISTINCTROW")) {
                failExpression();
            }
            if (atSymbol(',') || atSymbol(')')) {
                fail(msg::commaInExpression(expressionText(exprStart_)));
            }
            e.args.push_back(parseExpression());
        } while (acceptSymbol(','));
    }
    if (!acceptSymbol(')')) {
        fail(msg::missingParenthesis(expressionText(exprStart_)));
    }
    e.span = spanFrom(nameToken);
    size_t n = e.args.size();
    bool arityOk = n >= info->minArgs && (info->maxArgs == kVariadic || n <= info->maxArgs);
    if (info->emit == FunctionEmit::Switch && n % 2 != 0) {
        arityOk = false;
    }
    if (!arityOk) {
        fail(msg::wrongArgumentCount(sql_.substr(e.span.begin, e.span.end - e.span.begin)));
    }
    return e;
}

}  // namespace orvdb::engine::sql
