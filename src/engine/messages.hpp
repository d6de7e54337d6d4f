// Every message the engine raises, in one place. Where Jet has an error for
// the case, the text is Jet's word for word (callers and tests compare it);
// the names a person needs to act on it (table, field, index, relationship,
// the expression) follow, in Jet's own quotes or in a trailing "(...)".
// Texts without a Jet counterpart follow the same shape: what failed, on
// which object, why.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::engine::msg {

// --- Objects and names ---------------------------------------------------

std::string tableNotFound(std::string_view table);
std::string fieldNotFound(std::string_view table, std::string_view field);
// Not a valid Jet object name (empty, too long, leading blank, control
// characters or one of . ! ` [ ]).
std::string invalidName(std::string_view name);
std::string tableExists(std::string_view table);
std::string fieldExists(std::string_view table, std::string_view field);
std::string notAnIndex(std::string_view index, std::string_view table);

// --- Rows: rules the triggers and indexes enforce ------------------------

inline constexpr const char* kDuplicateValues =
    "The changes you requested to the table were not successful because they would create "
    "duplicate values in the index, primary key, or relationship.  Change the data in the field "
    "or fields that contain duplicate data, remove the index, or redefine the index to permit "
    "duplicate entries and try again.";
inline constexpr const char* kPrimaryKeyNull = "Index or primary key cannot contain a Null value.";
std::string requiredNull(std::string_view table, std::string_view field);
std::string zeroLength(std::string_view table, std::string_view field);
std::string relatedRecordRequired(std::string_view primaryTable);
std::string relatedRecordsExist(std::string_view foreignTable);
// A SQLite constraint message, or one of SQLite's limits on a statement's
// size (isStatementLimit), in Jet's wording; other texts pass unchanged.
std::string translateSqliteError(std::string_view message);
// SQLite refused a statement for its size or depth (parser stack, expression
// depth, terms of a compound select, arguments, columns, tables of a join).
bool isStatementLimit(std::string_view message);

// --- Table definitions (DDL) ---------------------------------------------

inline constexpr const char* kTooManyFields = "Too many fields defined.";
inline constexpr const char* kPrimaryKeyExists = "Primary key already exists.";
inline constexpr const char* kNoUniqueIndex =
    "No unique index found for the referenced field of the primary table.";
std::string tableWithoutFields(std::string_view table);
std::string secondAutoNumber(std::string_view table);
std::string tableInRelationship(std::string_view table, std::string_view relationship);
std::string indexInRelationship(std::string_view index, std::string_view relationship);
// An existing value of an altered column that its new type cannot hold.
std::string conversionError(std::string_view table, std::string_view field, std::string_view why);
std::string fieldInIndex(std::string_view table, std::string_view field, std::string_view index);
std::string fieldInRelationship(std::string_view table, std::string_view field);
std::string onlyField(std::string_view table);
std::string indexExists(std::string_view table, std::string_view index);
std::string indexFieldCount(std::string_view index);
std::string memoIndex(std::string_view field);
std::string integrityViolated(std::string_view foreignTable, std::string_view relationship,
                              std::string_view primaryTable);
std::string relationshipExists(std::string_view relationship);
std::string noUniqueIndex(std::string_view primaryTable);
std::string constraintNotFound(std::string_view constraint, std::string_view table);
std::string checkNotSupported(std::string_view constraint, std::string_view table);
std::string notDataDefinition(std::string_view sql);
// An index of a mirrored file that the working store could not build.
std::string indexNotBuilt(std::string_view index, std::string_view table, std::string_view why);
std::string noTableForAutoNumber(std::string_view storedTable);

// --- SQL front end: syntax -----------------------------------------------

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

std::string missingOperator(std::string_view expression);
std::string queryExpression(std::string_view expression);
std::string missingParenthesis(std::string_view expression);
std::string extraParenthesis(std::string_view expression);
std::string commaInExpression(std::string_view expression);
std::string badString(std::string_view expression);
std::string badDate(std::string_view expression);
std::string badBracketing(std::string_view name);
// '.', '!' or '()' after a name that is neither a table's nor a parameter's.
std::string badQualifier(std::string_view expression);

// --- SQL front end: meaning ----------------------------------------------

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

std::string undefinedFunction(std::string_view name);
std::string wrongArgumentCount(std::string_view expression);
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
// Another database file's failure while reading one of its tables, with the file.
std::string inOtherDatabase(std::string_view message, std::string_view file);
// The virtual table module that reads the tables of other database files.
std::string moduleArgumentsMissing(std::string_view module);
std::string moduleNotRegistered(std::string_view module, std::string_view why);

// --- Expression service (functions and conversions) ----------------------

// Also the translator's word for comparing a text with a number.
inline constexpr const char* kTypeMismatch = "Data type mismatch in criteria expression.";
inline constexpr const char* kInvalidProcedureCall = "Invalid procedure call or argument";
inline constexpr const char* kOverflow = "Overflow";
inline constexpr const char* kDivisionByZero = "Division by zero";
inline constexpr const char* kInvalidUseOfNull = "Invalid use of Null";
inline constexpr const char* kInvalidPattern = "Invalid pattern string";
inline constexpr const char* kFieldTooSmall =
    "The field is too small to accept the amount of data you attempted to add.  Try inserting or "
    "pasting less data.";
// Not Jet's: what an SQL function reports when it fails without a message.
inline constexpr const char* kUnknownFunctionError = "Unknown error in an SQL function";

// A conversion's error for the value of a column, with the column when known.
std::string coercionFailed(std::string_view jetMessage, std::string_view column);
std::string unknownTypeCode(int code);
// A text an indexed field cannot take: its character has no known Access
// sort order, so no index entry could be written for it.
std::string unsortableCharacter(std::string_view table, std::string_view field,
                                std::string_view character);
std::string collatorUnavailable(std::string_view why);
std::string collationNotRegistered(std::string_view collation, std::string_view why);
std::string functionNotRegistered(std::string_view function, std::string_view why);
inline constexpr const char* kComparisonKeyFailed =
    "Cannot convert text to UTF-16 for a comparison key";

// --- Connections and datasets (ADO's wording) ----------------------------

inline constexpr const char* kObjectClosed = "Operation is not allowed when the object is closed.";
inline constexpr const char* kNoDataSource =
    "The connection string names no database file (\"Data Source\" is missing or empty).";
inline constexpr const char* kNothingToCommit = "There is no transaction to commit.";
inline constexpr const char* kNothingToRollBack = "There is no transaction to roll back.";
// dataset: how the dataset names itself ("table 'Prix'", "the query result").
std::string objectClosed(std::string_view dataset);
std::string returnsNoRows(std::string_view sql);
std::string noCurrentRecord(std::string_view dataset);
std::string itemNotFound(std::string_view field, std::string_view dataset);
std::string fieldIndexOutOfRange(int index, std::string_view dataset, int fieldCount);
std::string notEditing(std::string_view dataset);
std::string readOnlyResult(std::string_view dataset);
std::string notAnInteger(std::string_view text, std::string_view field);
std::string notReadableAsInteger(std::string_view field);
std::string integerOverflow(std::string_view field);
std::string notABoolean(std::string_view text, std::string_view field);
std::string notAFloat(std::string_view text, std::string_view field);
std::string notADate(std::string_view text, std::string_view field);
// A SQLite failure while preparing or running a statement, with the statement.
std::string inStatement(std::string_view message, std::string_view sql);
std::string whileRunning(std::string_view message, std::string_view sql);
std::string bindingFailed(std::string_view message, int parameter, std::string_view sql);
std::string readingPivotValues(std::string_view message, std::string_view sql);

}  // namespace orvdb::engine::msg
