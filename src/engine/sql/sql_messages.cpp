#include "engine/sql/sql_messages.hpp"

namespace orvdb::engine::sql::msg {

namespace {

std::string wrap(std::string_view before, std::string_view what, std::string_view after) {
    std::string s;
    s.reserve(before.size() + what.size() + after.size());
    s.append(before).append(what).append(after);
    return s;
}

}  // namespace

std::string missingOperator(std::string_view e) {
    return wrap("Syntax error (missing operator) in query expression '", e, "'.");
}
std::string queryExpression(std::string_view e) {
    return wrap("Syntax error in query expression '", e, "'.");
}
std::string missingParenthesis(std::string_view e) {
    return wrap("Missing ), ], or Item in query expression '", e, "'.");
}
std::string extraParenthesis(std::string_view e) {
    return wrap("Extra ) in query expression '", e, "'.");
}
std::string commaInExpression(std::string_view e) {
    return wrap("Syntax error (comma) in query expression '", e, "'.");
}
std::string badString(std::string_view e) {
    return wrap("Syntax error in string in query expression '", e, "'.");
}
std::string badDate(std::string_view e) {
    return wrap("Syntax error in date in query expression '", e, "'.");
}
std::string badBracketing(std::string_view name) {
    return wrap("Invalid bracketing of name '", name, "'.");
}
std::string undefinedFunction(std::string_view name) {
    return wrap("Undefined function '", name, "' in expression.");
}
std::string wrongArgumentCount(std::string_view e) {
    return wrap("Wrong number of arguments used with function in query expression '", e, "'.");
}
std::string unknownTable(std::string_view name) {
    return wrap("The Microsoft Jet database engine cannot find the input table or query '", name,
                "'.  Make sure it exists and that its name is spelled correctly.");
}
std::string unknownName(std::string_view name) {
    return wrap("No value given for one or more required parameters. (unknown name '", name, "')");
}
std::string missingParameter(std::string_view name) {
    return wrap("No value given for one or more required parameters. (parameter '", name, "')");
}
std::string ambiguousField(std::string_view name) {
    return wrap("The specified field '", name,
                "' could refer to more than one table listed in the FROM clause of your SQL "
                "statement.");
}
std::string repeatedTable(std::string_view name) {
    return wrap("Can't repeat table name '", name, "' in FROM clause.");
}
std::string notInAggregate(std::string_view e) {
    return wrap("You tried to execute a query that does not include the specified expression '", e,
                "' as part of an aggregate function.");
}
std::string aggregateInClause(std::string_view clause, std::string_view e) {
    std::string s = "Cannot have aggregate function in ";
    s.append(clause).append(" clause (").append(e).append(").");
    return s;
}
std::string nestedAggregate(std::string_view e) {
    return wrap("Cannot have aggregate function in expression (", e, ").");
}
std::string unknownInsertField(std::string_view name) {
    return wrap("The INSERT INTO statement contains the following unknown field name: '", name,
                "'.  Make sure you have typed the name correctly, and try the operation again.");
}
std::string duplicateDestination(std::string_view name) {
    return wrap("Duplicate output destination '", name, "'.");
}
std::string notUpdatable(std::string_view column) {
    return wrap("Cannot update '", column, "'; field not updateable.");
}
std::string fieldTooLong(std::string_view column) {
    return wrap("Size of field '", column, "' is too long.");
}
std::string circularView(std::string_view name) {
    return wrap("Circular reference caused by '", name, "'.");
}

std::string fileNotFound(std::string_view path) {
    return wrap("Could not find file '", path, "'.");
}

}  // namespace orvdb::engine::sql::msg
