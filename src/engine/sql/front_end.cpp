#include "engine/sql/front_end.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/parse/parser.hpp"
#include "engine/sql/translate/translator.hpp"

namespace orvdb::engine::sql {

Statement parseStatement(std::string_view sql) {
    Statement statement;
    statement.sql = std::string(sql);
    // The tree's spans point into st.sql, so parse the copy.
    Parser parser(statement.sql);
    statement.parameters = parser.parseParameterDeclarations();
    statement.body = parser.parseStatement();
    return statement;
}

Translation translate(const Statement& statement, const SchemaResolver& schema,
                      const PivotValueReader* reader) {
    schema.statementBegins(!std::holds_alternative<SelectStatement>(statement.body));
    Translator translator(schema, statement.sql, reader);
    return translator.translateStatement(statement);
}

Translation translate(std::string_view sql, const SchemaResolver& schema,
                      const PivotValueReader* reader) {
    return translate(parseStatement(sql), schema, reader);
}

Expr parseExpression(std::string_view text) {
    Parser parser(text);
    return parser.parseStandaloneExpression();
}

std::string viewDefinitionSql(const Statement& createView) {
    const auto& view = std::get<CreateViewStatement>(createView.body);
    if (view.columns.empty()) {
        return view.selectText;
    }
    const Query* query = view.query.get();
    while (query->isUnion()) {
        query = &query->parts[0];  // a union takes the first part's names
    }
    const SelectCore& core = *query->select;
    if (core.items.size() != view.columns.size()) {
        throw SqlError(msg::kQueryValuesCount);
    }
    std::string_view sql = createView.sql;
    const SourceSpan whole = view.query->span;
    std::string out;
    uint32_t at = whole.begin;
    for (size_t i = 0; i < core.items.size(); ++i) {
        const SelectItem& item = core.items[i];
        if (item.kind != SelectItem::Kind::Expression) {
            throw SqlError(msg::kQueryValuesCount);
        }
        out.append(sql.substr(at, item.span.begin - at));
        out.append(sql.substr(item.expr.span.begin, item.expr.span.end - item.expr.span.begin));
        out += " AS [";
        out += view.columns[i];
        out += ']';
        at = item.span.end;
    }
    out.append(sql.substr(at, whole.end - at));
    return out;
}

}  // namespace orvdb::engine::sql
