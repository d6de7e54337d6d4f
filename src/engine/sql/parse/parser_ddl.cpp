// CREATE / ALTER / DROP. The parser only builds the definitions; the catalog
// carries them out.
#include "engine/sql/parse/parser.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/translate/type_words.hpp"

#include <charconv>

namespace orvdb::engine::sql {

StatementBody Parser::parseCreate() {
    advance();  // CREATE
    if (acceptWord("TABLE")) {
        return parseCreateTable();
    }
    if (acceptWord("UNIQUE")) {
        expectWord("INDEX", msg::kCreateIndex);
        return parseCreateIndex(true);
    }
    if (acceptWord("INDEX")) {
        return parseCreateIndex(false);
    }
    if (acceptWord("VIEW")) {
        return parseCreateView();
    }
    fail(msg::kCreateTable);
}

CreateTableStatement Parser::parseCreateTable() {
    CreateTableStatement statement;
    statement.table = parseName(msg::kCreateTable);
    expectSymbol('(', msg::kCreateTable);
    do {
        if (atTableConstraint()) {
            statement.constraints.push_back(parseTableConstraint());
        } else {
            statement.columns.push_back(parseColumnDefinition(statement.constraints));
        }
        if (atEnd()) {
            fail(msg::kCreateTable);
        }
        if (!atSymbol(',') && !atSymbol(')')) {
            fail(msg::kFieldDefinition);
        }
    } while (acceptSymbol(','));
    expectSymbol(')', msg::kCreateTable);
    if (statement.columns.empty()) {
        fail(msg::kCreateTable);
    }
    expectStatementEnd(msg::kCreateTable);
    return statement;
}

ColumnDef Parser::parseColumnDefinition(std::vector<TableConstraint>& constraints) {
    ColumnDef column;
    // Text columns made by DDL are not compressed unless WITH COMPRESSION says so.
    column.compressedUnicode = false;
    column.name = parseName(msg::kFieldDefinition);
    parseColumnType(column);
    while (parseColumnConstraint(column, constraints)) {
    }
    return column;
}

void Parser::parseColumnType(ColumnDef& column) {
    const Token& word = peek();
    if (word.kind != TokenKind::Word) {
        fail(msg::kFieldDefinition);
    }
    auto info = lookupTypeWord(word.text);
    if (!info) {
        fail(msg::kFieldDefinition);
    }
    advance();
    column.type = info->type;
    column.autoNumber = info->autoNumber;
    using P = TypeWord::Parameters;
    if (acceptSymbol('(')) {
        switch (info->parameters) {
            case P::None:
                fail(msg::kFieldDefinition);
            case P::Length: {
                int64_t n = parseSignedInteger(msg::kFieldDefinition);
                int max = info->type == JetType::Binary ? kMaxBinaryLength : kMaxTextLength;
                if (n <= 0) {
                    fail(msg::kFieldDefinition);
                }
                if (n > max) {
                    fail(msg::fieldTooLong(column.name));
                }
                column.size = static_cast<int>(n);
                break;
            }
            case P::PrecisionScale: {
                int64_t p = parseSignedInteger(msg::kFieldDefinition);
                int64_t s = 0;
                if (acceptSymbol(',')) {
                    s = parseSignedInteger(msg::kFieldDefinition);
                }
                if (p < 1 || p > kMaxDecimalPrecision || s < 0 || s > p) {
                    fail(msg::kFieldDefinition);
                }
                column.precision = static_cast<int>(p);
                column.scale = static_cast<int>(s);
                break;
            }
            case P::SeedStep: {
                column.autoSeed = parseSignedInteger(msg::kFieldDefinition);
                expectSymbol(',', msg::kFieldDefinition);
                column.autoStep = parseSignedInteger(msg::kFieldDefinition);
                if (column.autoStep == 0) {
                    fail(msg::kFieldDefinition);
                }
                break;
            }
        }
        expectSymbol(')', msg::kFieldDefinition);
    } else {
        if (info->memoWithoutLength) {
            column.type = JetType::Memo;
        }
        if (column.type == JetType::Text) {
            column.size = kMaxTextLength;
        }
        if (column.type == JetType::Binary) {
            column.size = kMaxBinaryLength;
        }
        if (column.type == JetType::Decimal) {
            column.precision = 18;
            column.scale = 0;
        }
    }
    if (atWord("WITH") && (atWord("COMP", 1) || atWord("COMPRESSION", 1))) {
        if (column.type != JetType::Text && column.type != JetType::Memo) {
            fail(msg::kFieldDefinition);
        }
        advance();
        advance();
        column.compressedUnicode = true;
    }
}

int64_t Parser::parseSignedInteger(const char* error) {
    bool negative = acceptSymbol('-');
    if (!negative) {
        acceptSymbol('+');
    }
    const Token& token = peek();
    if (token.kind != TokenKind::Integer) {
        fail(error);
    }
    int64_t value = 0;
    auto [p, ec] = std::from_chars(token.text.data(), token.text.data() + token.text.size(), value);
    if (ec != std::errc() || p != token.text.data() + token.text.size()) {
        fail(error);
    }
    advance();
    return negative ? -value : value;
}

bool Parser::parseColumnConstraint(ColumnDef& column, std::vector<TableConstraint>& constraints) {
    if (atWord("NOT") && atWord("NULL", 1)) {
        advance();
        advance();
        column.required = true;
        return true;
    }
    if (acceptWord("NULL")) {
        return true;
    }
    if (acceptWord("DEFAULT")) {
        if (atSymbol(',') || atSymbol(')') || atEnd()) {
            fail(msg::kFieldDefinition);
        }
        size_t first = pos_;
        size_t saved = exprStart_;
        exprStart_ = first;
        parseExpression();
        exprStart_ = saved;
        SourceSpan span = spanFrom(first);
        column.defaultValue = std::string(sql_.substr(span.begin, span.end - span.begin));
        return true;
    }
    if (atWord("CONSTRAINT") || atWord("PRIMARY") || atWord("UNIQUE") || atWord("REFERENCES") ||
        atWord("CHECK")) {
        TableConstraint constraint;
        if (acceptWord("CONSTRAINT")) {
            constraint.name = parseName(msg::kConstraintClause);
        }
        parseConstraintBody(constraint, &column.name);
        constraints.push_back(std::move(constraint));
        return true;
    }
    return false;
}

bool Parser::atTableConstraint() const {
    return atWord("CONSTRAINT") || atWord("PRIMARY") || atWord("UNIQUE") || atWord("FOREIGN") ||
           atWord("CHECK");
}

TableConstraint Parser::parseTableConstraint() {
    TableConstraint constraint;
    if (acceptWord("CONSTRAINT")) {
        constraint.name = parseName(msg::kConstraintClause);
    }
    parseConstraintBody(constraint, nullptr);
    return constraint;
}

// The part after CONSTRAINT name. For a column constraint (column set) the
// column lists are implied.
void Parser::parseConstraintBody(TableConstraint& constraint, const std::string* column) {
    using K = TableConstraint::Kind;
    if (acceptWord("PRIMARY")) {
        expectWord("KEY", msg::kConstraintClause);
        constraint.kind = K::PrimaryKey;
    } else if (acceptWord("UNIQUE")) {
        constraint.kind = K::Unique;
    } else if (column == nullptr && acceptWord("FOREIGN")) {
        expectWord("KEY", msg::kConstraintClause);
        constraint.kind = K::ForeignKey;
        constraint.columns = parseNameList(msg::kConstraintClause);
        parseReferences(constraint);
        return;
    } else if (atWord("REFERENCES") && column != nullptr) {
        constraint.kind = K::ForeignKey;
        constraint.columns.push_back(*column);
        parseReferences(constraint);
        return;
    } else if (acceptWord("CHECK")) {
        constraint.kind = K::Check;
        expectSymbol('(', msg::kConstraintClause);
        size_t first = pos_;
        size_t saved = exprStart_;
        exprStart_ = first;
        parseExpression();
        exprStart_ = saved;
        SourceSpan span = spanFrom(first);
        constraint.checkText = std::string(sql_.substr(span.begin, span.end - span.begin));
        expectSymbol(')', msg::kConstraintClause);
        return;
    } else {
        fail(msg::kConstraintClause);
    }
    if (column != nullptr) {
        constraint.columns.push_back(*column);
    } else {
        constraint.columns = parseNameList(msg::kConstraintClause);
    }
}

void Parser::parseReferences(TableConstraint& constraint) {
    expectWord("REFERENCES", msg::kConstraintClause);
    constraint.referencedTable = parseName(msg::kConstraintClause);
    if (atSymbol('(')) {
        constraint.referencedColumns = parseNameList(msg::kConstraintClause);
    }
    if (!constraint.referencedColumns.empty() &&
        constraint.referencedColumns.size() != constraint.columns.size()) {
        fail(msg::kConstraintClause);
    }
    while (atWord("ON")) {
        advance();
        bool update = acceptWord("UPDATE");
        if (!update) {
            expectWord("DELETE", msg::kConstraintClause);
        }
        ReferentialAction action;
        if (acceptWord("CASCADE")) {
            action = ReferentialAction::Cascade;
        } else if (acceptWord("SET")) {
            expectWord("NULL", msg::kConstraintClause);
            action = ReferentialAction::SetNull;
        } else if (acceptWord("NO")) {
            expectWord("ACTION", msg::kConstraintClause);
            action = ReferentialAction::NoAction;
        } else {
            fail(msg::kConstraintClause);
        }
        (update ? constraint.onUpdate : constraint.onDelete) = action;
    }
}

CreateIndexStatement Parser::parseCreateIndex(bool unique) {
    CreateIndexStatement statement;
    statement.index.unique = unique;
    statement.index.name = parseName(msg::kCreateIndex);
    expectWord("ON", msg::kCreateIndex);
    statement.table = parseName(msg::kCreateIndex);
    expectSymbol('(', msg::kCreateIndex);
    do {
        IndexColumn indexColumn;
        indexColumn.column = parseName(msg::kCreateIndex);
        if (acceptWord("DESC")) {
            indexColumn.descending = true;
        } else {
            acceptWord("ASC");
        }
        statement.index.columns.push_back(std::move(indexColumn));
    } while (acceptSymbol(','));
    expectSymbol(')', msg::kCreateIndex);
    if (acceptWord("WITH")) {
        if (acceptWord("PRIMARY")) {
            statement.index.primary = true;
            statement.index.unique = true;
            statement.index.required = true;
        } else if (acceptWord("DISALLOW")) {
            expectWord("NULL", msg::kCreateIndex);
            statement.index.required = true;
        } else if (acceptWord("IGNORE")) {
            expectWord("NULL", msg::kCreateIndex);
            statement.index.ignoreNulls = true;
        } else {
            fail(msg::kCreateIndex);
        }
    }
    expectStatementEnd(msg::kCreateIndex);
    return statement;
}

CreateViewStatement Parser::parseCreateView() {
    CreateViewStatement statement;
    statement.view = parseName(msg::kCreateTable);
    if (atSymbol('(')) {
        statement.columns = parseNameList(msg::kCreateTable);
    }
    expectWord("AS", msg::kCreateTable);
    if (!atWord("SELECT") && !atSymbol('(')) {
        fail(msg::kSimpleViewsOnly);
    }
    size_t first = pos_;
    std::string into;
    auto query = std::make_shared<Query>(parseQuery(&into));
    if (!into.empty()) {
        fail(msg::kSimpleViewsOnly);
    }
    SourceSpan span = spanFrom(first);
    statement.selectText = std::string(sql_.substr(span.begin, span.end - span.begin));
    statement.query = std::move(query);
    expectStatementEnd(msg::kSelectStatement);
    return statement;
}

StatementBody Parser::parseAlter() {
    advance();  // ALTER
    expectWord("TABLE", msg::kAlterTable);
    AlterTableStatement statement;
    statement.table = parseName(msg::kAlterTable);
    using A = AlterTableStatement::Action;
    if (acceptWord("ADD")) {
        if (atTableConstraint()) {
            statement.action = A::AddConstraint;
            statement.constraints.push_back(parseTableConstraint());
        } else {
            statement.action = A::AddColumns;
            do {
                acceptWord("COLUMN");
                statement.columns.push_back(parseColumnDefinition(statement.constraints));
                if (!atSymbol(',') && !atEnd()) {
                    fail(msg::kFieldDefinition);
                }
            } while (acceptSymbol(','));
        }
    } else if (acceptWord("ALTER")) {
        statement.action = A::AlterColumn;
        acceptWord("COLUMN");
        statement.columns.push_back(parseColumnDefinition(statement.constraints));
        if (!atEnd()) {
            fail(msg::kFieldDefinition);
        }
    } else if (acceptWord("DROP")) {
        if (acceptWord("CONSTRAINT")) {
            statement.action = A::DropConstraint;
            statement.name = parseName(msg::kConstraintClause);
        } else {
            statement.action = A::DropColumn;
            acceptWord("COLUMN");
            statement.name = parseName(msg::kAlterTable);
        }
    } else {
        fail(msg::kAlterTable);
    }
    expectStatementEnd(msg::kAlterTable);
    return statement;
}

StatementBody Parser::parseDrop() {
    advance();  // DROP
    if (acceptWord("TABLE")) {
        DropTableStatement statement;
        statement.table = parseName(msg::kDropStatement);
        expectStatementEnd(msg::kDropStatement);
        return statement;
    }
    if (acceptWord("INDEX")) {
        DropIndexStatement statement;
        statement.index = parseName(msg::kDropStatement);
        expectWord("ON", msg::kDropStatement);
        statement.table = parseName(msg::kDropStatement);
        expectStatementEnd(msg::kDropStatement);
        return statement;
    }
    if (acceptWord("VIEW")) {
        DropViewStatement statement;
        statement.view = parseName(msg::kDropStatement);
        expectStatementEnd(msg::kDropStatement);
        return statement;
    }
    fail(msg::kDropStatement);
}

}  // namespace orvdb::engine::sql
