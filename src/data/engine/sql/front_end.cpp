#include "data/engine/sql/front_end.hpp"

#include "data/engine/sql/parser.hpp"
#include "data/engine/sql/translator.hpp"

namespace orvdb::engine::sql {

Statement parseStatement(std::string_view sql) {
    Statement st;
    st.sql = std::string(sql);
    // The tree's spans point into st.sql, so parse the copy.
    Parser parser(st.sql);
    st.body = parser.parseStatement();
    return st;
}

Translation translate(const Statement& statement, const SchemaResolver& schema) {
    Translator translator(schema, statement.sql);
    return translator.translateStatement(statement);
}

Translation translate(std::string_view sql, const SchemaResolver& schema) {
    return translate(parseStatement(sql), schema);
}

Expr parseExpression(std::string_view text) {
    Parser parser(text);
    return parser.parseStandaloneExpression();
}

}  // namespace orvdb::engine::sql
