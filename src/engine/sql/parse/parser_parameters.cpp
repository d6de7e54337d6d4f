// The PARAMETERS declaration that may open a saved query:
//   PARAMETERS [User Name] Text (255), [Forms]![Orders]![Id] Long;
#include "engine/messages.hpp"
#include "engine/sql/names.hpp"
#include "engine/sql/parse/parser.hpp"

namespace orvdb::engine::sql {

std::vector<ParameterDecl> Parser::parseParameterDeclarations() {
    std::vector<ParameterDecl> out;
    if (!atWord("PARAMETERS")) {
        return out;
    }
    advance();
    do {
        ParameterDecl parameter;
        parameter.name = parseParameterName();
        parameter.type.name = parameter.name;
        // The type words are those of a column definition; any (n) they take too.
        const Token& typeWord = peek();
        if (typeWord.kind != TokenKind::Word) {
            fail(msg::kParameterClause);
        }
        parseColumnType(parameter.type);
        out.push_back(std::move(parameter));
    } while (acceptSymbol(','));
    if (!acceptSymbol(';')) {
        fail(msg::kParameterClause);
    }
    if (peek().kind == TokenKind::End) {
        fail(msg::kParameterClause);
    }
    declaredParameters_.reserve(out.size());
    for (const ParameterDecl& parameter : out) {
        declaredParameters_.push_back(parameter.name);
    }
    return out;
}

std::string Parser::parseParameterName() {
    const Token& first = peek();
    if ((first.kind != TokenKind::Word && first.kind != TokenKind::QuotedName) ||
        first.text.empty()) {
        fail(msg::kParameterClause);
    }
    std::string path(advance().text);
    while (atSymbol('.') || atSymbol('!')) {
        path += advance().text;
        const Token& member = peek();
        if ((member.kind != TokenKind::Word && member.kind != TokenKind::QuotedName) ||
            member.text.empty()) {
            fail(msg::kParameterClause);
        }
        path += advance().text;
    }
    return path;
}

bool Parser::isDeclaredParameter(std::string_view path) const {
    for (const std::string& name : declaredParameters_) {
        if (sameName(name, path)) {
            return true;
        }
    }
    return false;
}

}  // namespace orvdb::engine::sql
