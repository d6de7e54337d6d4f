// Jet's wording for the errors of the SQL front end.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::engine::sql::msg {

inline constexpr const char* kInvalidStatement =
    "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.";
inline constexpr const char* kSelectStatement =
    "The SELECT statement includes a reserved word or an argument name that is misspelled or "
    "missing, or the punctuation is incorrect.";
inline constexpr const char* kParameterClause = "Syntax error in PARAMETER clause.";
inline constexpr const char* kTransformStatement = "Syntax error in TRANSFORM statement.";
// Not Jet's: a crosstab whose columns come from the data translated where
// no data can be read (a bare translation without a store).
inline constexpr const char* kCrosstabNeedsData =
    "A crosstab query without an IN list takes its columns from the data, which cannot be read "
    "here.";
inline constexpr const char* kFromClause = "Syntax error in FROM clause.";
inline constexpr const char* kJoinOperation = "Syntax error in JOIN operation.";
inline constexpr const char* kWhereClause = "Syntax error in WHERE clause.";
inline constexpr const char* kOrderByClause = "Syntax error in ORDER BY clause.";
inline constexpr const char* kGroupByClause = "Syntax error in GROUP BY clause.";
inline constexpr const char* kInsertStatement = "Syntax error in INSERT INTO statement.";
inline constexpr const char* kUpdateStatement = "Syntax error in UPDATE statement.";
inline constexpr const char* kCreateTable = "Syntax error in CREATE TABLE statement.";
inline constexpr const char* kCreateIndex = "Syntax error in CREATE INDEX statement.";
inline constexpr const char* kFieldDefinition = "Syntax error in field definition.";
inline constexpr const char* kAlterTable = "Syntax error in ALTER TABLE statement.";
inline constexpr const char* kConstraintClause = "Syntax error in CONSTRAINT clause.";
inline constexpr const char* kDropStatement = "Syntax error in DROP TABLE or DROP INDEX.";
inline constexpr const char* kCharactersAfterEnd = "Characters found after end of SQL statement.";
inline constexpr const char* kMissingSemicolon = "Missing semicolon (;) at end of SQL statement.";
inline constexpr const char* kUnionQuery = "Syntax error in union query.";
inline constexpr const char* kQueryValuesCount =
    "Number of query values and destination fields are not the same.";
inline constexpr const char* kUnionColumns =
    "The number of columns in the two selected tables or queries of a union query do not match.";
inline constexpr const char* kNeedsTable = "Query input must contain at least one table or query.";
inline constexpr const char* kDeleteTarget =
    "Specify the table containing the records you want to delete.";
inline constexpr const char* kUpdatableQuery = "Operation must use an updateable query.";
inline constexpr const char* kStarWithGroup = "Cannot group on fields selected with '*'.";
inline constexpr const char* kSimpleViewsOnly = "Only simple SELECT queries are allowed in VIEWS.";
inline constexpr const char* kSubqueryOneField =
    "You have written a subquery that can return more than one field without using the EXISTS "
    "reserved word in the main query's FROM clause. Revise the SELECT statement of the subquery "
    "to request only one field.";
inline constexpr const char* kTooComplex = "Query is too complex.";
inline constexpr const char* kCriteriaMismatch = "Data type mismatch in criteria expression.";

std::string missingOperator(std::string_view expression);
std::string queryExpression(std::string_view expression);
std::string missingParenthesis(std::string_view expression);
std::string extraParenthesis(std::string_view expression);
std::string commaInExpression(std::string_view expression);
std::string badString(std::string_view expression);
std::string badDate(std::string_view expression);
std::string badBracketing(std::string_view name);
std::string undefinedFunction(std::string_view name);
std::string wrongArgumentCount(std::string_view expression);
std::string unknownTable(std::string_view name);
std::string unknownName(std::string_view name);
// A declared parameter the statement ran without a value for.
std::string missingParameter(std::string_view name);
std::string ambiguousField(std::string_view name);
std::string repeatedTable(std::string_view name);
std::string notInAggregate(std::string_view expression);
std::string aggregateInClause(std::string_view clause, std::string_view expression);
std::string nestedAggregate(std::string_view expression);
std::string unknownInsertField(std::string_view name);
std::string duplicateDestination(std::string_view name);
std::string notUpdatable(std::string_view column);
std::string fieldTooLong(std::string_view column);
std::string circularView(std::string_view name);
// The database file of a [database].table reference (its path as resolved).
std::string fileNotFound(std::string_view path);

}  // namespace orvdb::engine::sql::msg
