#include "engine/messages.hpp"

#include <initializer_list>

namespace orvdb::engine::msg {

namespace {

// The texts are put together from pieces; concatenating string_views needs
// this one helper.
std::string join(std::initializer_list<std::string_view> parts) {
    size_t size = 0;
    for (std::string_view part : parts) {
        size += part.size();
    }
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts) {
        text.append(part);
    }
    return text;
}

}  // namespace

// --- Objects and names ---

std::string tableNotFound(std::string_view table) {
    return join({"The Microsoft Jet database engine cannot find the input table or query '", table,
                 "'.  Make sure it exists and that its name is spelled correctly."});
}

std::string fieldNotFound(std::string_view table, std::string_view field) {
    return join({"Field '", field, "' does not exist in table '", table, "'."});
}

std::string invalidName(std::string_view name) {
    return join({"'", name,
                 "' is not a valid name.  Make sure that it does not include invalid "
                 "characters or punctuation and that it is not too long."});
}

std::string tableExists(std::string_view table) {
    return join({"Table '", table, "' already exists."});
}

std::string fieldExists(std::string_view table, std::string_view field) {
    return join({"Field '", field, "' already exists in table '", table, "'."});
}

std::string notAnIndex(std::string_view index, std::string_view table) {
    return join({"'", index, "' isn't an index in table '", table, "'."});
}

// --- Rows ---

std::string requiredNull(std::string_view table, std::string_view field) {
    return join({"The field '", table, ".", field,
                 "' cannot contain a Null value because the Required property for this field is "
                 "set to True.  Enter a value in this field."});
}

std::string zeroLength(std::string_view table, std::string_view field) {
    return join({"Field '", table, ".", field, "' cannot be a zero-length string."});
}

std::string relatedRecordRequired(std::string_view primaryTable) {
    return join(
        {"You cannot add or change a record because a related record is required in "
         "table '",
         primaryTable, "'."});
}

std::string relatedRecordsExist(std::string_view foreignTable) {
    return join({"The record cannot be deleted or changed because table '", foreignTable,
                 "' includes related records."});
}

bool isStatementLimit(std::string_view message) {
    for (std::string_view limit :
         {"parser stack overflow", "Expression tree is too large", "too many terms in compound",
          "too many arguments on function", "too many columns", "tables in a join",
          "too many FROM clause terms", "too many terms in ORDER BY", "too many terms in GROUP BY",
          "too many SQL variables", "too many references to"}) {
        if (message.find(limit) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

std::string translateSqliteError(std::string_view message) {
    if (isStatementLimit(message)) {
        return kTooComplex;
    }
    if (message.find("UNIQUE constraint failed") != std::string_view::npos) {
        return kDuplicateValues;
    }
    if (message.find("NOT NULL constraint failed") != std::string_view::npos) {
        return kPrimaryKeyNull;
    }
    return std::string(message);
}

// --- Table definitions ---

std::string tableWithoutFields(std::string_view table) {
    return join({"Table '", table, "' must have at least one field."});
}

std::string secondAutoNumber(std::string_view table) {
    return join({"Table '", table, "' can have only one AutoNumber field."});
}

namespace {

constexpr std::string_view kIndexOrTableInUse =
    "Cannot delete this index or table.  It is either the current index or is used in a "
    "relationship.";

}  // namespace

std::string tableInRelationship(std::string_view table, std::string_view relationship) {
    return join({kIndexOrTableInUse, " (table '", table, "', relationship '", relationship, "')"});
}

std::string indexInRelationship(std::string_view index, std::string_view relationship) {
    return join({kIndexOrTableInUse, " (index '", index, "', relationship '", relationship, "')"});
}

std::string conversionError(std::string_view table, std::string_view field, std::string_view why) {
    return join({"Data type conversion error. (field '", table, ".", field, "': ", why, ")"});
}

std::string fieldInIndex(std::string_view table, std::string_view field, std::string_view index) {
    return join(
        {"Cannot delete a field that is part of an index or is needed by the system. "
         "(field '",
         table, ".", field, "', index '", index, "')"});
}

std::string fieldInRelationship(std::string_view table, std::string_view field) {
    return join({"Cannot delete this field.  It is part of one or more relationships. (field '",
                 table, ".", field, "')"});
}

std::string onlyField(std::string_view table) {
    return join({"Cannot delete the only field of table '", table, "'."});
}

std::string indexExists(std::string_view table, std::string_view index) {
    return join({"Table '", table, "' already has an index named '", index, "'."});
}

std::string indexFieldCount(std::string_view index) {
    return join({"An index must have between 1 and 10 fields. (index '", index, "')"});
}

std::string memoIndex(std::string_view field) {
    return join({"Cannot create an index on the Memo or OLE field '", field, "'."});
}

std::string integrityViolated(std::string_view foreignTable, std::string_view relationship,
                              std::string_view primaryTable) {
    return join({"Data in the table '", foreignTable,
                 "' violates referential integrity rules. (relationship '", relationship,
                 "' to table '", primaryTable, "')"});
}

std::string relationshipExists(std::string_view relationship) {
    return join({"Relationship '", relationship, "' already exists."});
}

std::string noUniqueIndex(std::string_view primaryTable) {
    return join({kNoUniqueIndex, " (table '", primaryTable, "')"});
}

std::string constraintNotFound(std::string_view constraint, std::string_view table) {
    return join({"CHECK constraint '", constraint, "' does not exist. (table '", table, "')"});
}

std::string checkNotSupported(std::string_view constraint, std::string_view table) {
    return join({"CHECK constraints are not supported by this engine (constraint '", constraint,
                 "' on table '", table, "')."});
}

std::string notDataDefinition(std::string_view sql) {
    return join({"Not a data definition statement: ", sql});
}

std::string indexNotBuilt(std::string_view index, std::string_view table, std::string_view why) {
    return join({"index '", index, "' of table '", table, "': ", why});
}

std::string noTableForAutoNumber(std::string_view storedTable) {
    return join({"No table '", storedTable, "' for an AutoNumber value."});
}

// --- SQL front end: syntax ---

std::string missingOperator(std::string_view expression) {
    return join({"Syntax error (missing operator) in query expression '", expression, "'."});
}

std::string queryExpression(std::string_view expression) {
    return join({"Syntax error in query expression '", expression, "'."});
}

std::string missingParenthesis(std::string_view expression) {
    return join({"Missing ), ], or Item in query expression '", expression, "'."});
}

std::string extraParenthesis(std::string_view expression) {
    return join({"Extra ) in query expression '", expression, "'."});
}

std::string commaInExpression(std::string_view expression) {
    return join({"Syntax error (comma) in query expression '", expression, "'."});
}

std::string badString(std::string_view expression) {
    return join({"Syntax error in string in query expression '", expression, "'."});
}

std::string badDate(std::string_view expression) {
    return join({"Syntax error in date in query expression '", expression, "'."});
}

std::string badBracketing(std::string_view name) {
    return join({"Invalid bracketing of name '", name, "'."});
}

std::string badQualifier(std::string_view expression) {
    return join({"Invalid use of '.', '!', or '()'. in query expression '", expression, "'."});
}

// --- SQL front end: meaning ---

std::string undefinedFunction(std::string_view name) {
    return join({"Undefined function '", name, "' in expression."});
}

std::string wrongArgumentCount(std::string_view expression) {
    return join(
        {"Wrong number of arguments used with function in query expression '", expression, "'."});
}

std::string unknownName(std::string_view name) {
    return join(
        {"No value given for one or more required parameters. (unknown name '", name, "')"});
}

std::string missingParameter(std::string_view name) {
    return join({"No value given for one or more required parameters. (parameter '", name, "')"});
}

std::string ambiguousField(std::string_view name) {
    return join({"The specified field '", name,
                 "' could refer to more than one table listed in the FROM clause of your SQL "
                 "statement."});
}

std::string repeatedTable(std::string_view name) {
    return join({"Can't repeat table name '", name, "' in FROM clause."});
}

std::string notInAggregate(std::string_view expression) {
    return join({"You tried to execute a query that does not include the specified expression '",
                 expression, "' as part of an aggregate function."});
}

std::string aggregateInClause(std::string_view clause, std::string_view expression) {
    return join({"Cannot have aggregate function in ", clause, " clause (", expression, ")."});
}

std::string nestedAggregate(std::string_view expression) {
    return join({"Cannot have aggregate function in expression (", expression, ")."});
}

std::string unknownInsertField(std::string_view name) {
    return join({"The INSERT INTO statement contains the following unknown field name: '", name,
                 "'.  Make sure you have typed the name correctly, and try the operation again."});
}

std::string duplicateDestination(std::string_view name) {
    return join({"Duplicate output destination '", name, "'."});
}

std::string notUpdatable(std::string_view column) {
    return join({"Cannot update '", column, "'; field not updateable."});
}

std::string fieldTooLong(std::string_view column) {
    return join({"Size of field '", column, "' is too long."});
}

std::string circularView(std::string_view name) {
    return join({"Circular reference caused by '", name, "'."});
}

std::string fileNotFound(std::string_view path) {
    return join({"Could not find file '", path, "'."});
}

std::string inOtherDatabase(std::string_view message, std::string_view file) {
    return join({message, " (", file, ")"});
}

std::string moduleArgumentsMissing(std::string_view module) {
    return join({module, ": a file, a table and its columns are needed"});
}

std::string moduleNotRegistered(std::string_view module, std::string_view why) {
    return join({"Cannot register the virtual table module ", module, ": ", why});
}

// --- Expression service ---

std::string coercionFailed(std::string_view jetMessage, std::string_view column) {
    if (column.empty()) {
        return std::string(jetMessage);
    }
    return join({jetMessage, " (field '", column, "')"});
}

std::string unknownTypeCode(int code) {
    return "jet_coerce: unknown Jet column type code " + std::to_string(code);
}

std::string unsortableCharacter(std::string_view table, std::string_view field,
                                std::string_view character) {
    return join({"Cannot store this text in field '", field, "' of table '", table,
                 "': the field is indexed and the Access sort order of the character ", character,
                 " is not known to orvdb, so the database could not be saved with it."});
}

std::string collatorUnavailable(std::string_view why) {
    return join({"Cannot open the ICU collator for text comparison: ", why});
}

std::string collationNotRegistered(std::string_view collation, std::string_view why) {
    return join({"Cannot register the collation ", collation, ": ", why});
}

std::string functionNotRegistered(std::string_view function, std::string_view why) {
    return join({"Cannot register the SQL function ", function, ": ", why});
}

// --- Connections and datasets ---

std::string objectClosed(std::string_view dataset) {
    return join({kObjectClosed, " (", dataset, ")"});
}

std::string returnsNoRows(std::string_view sql) {
    return join({kObjectClosed, " (the statement returns no rows: ", sql, ")"});
}

std::string noCurrentRecord(std::string_view dataset) {
    return join(
        {"Either BOF or EOF is True, or the current record has been deleted. (", dataset, ")"});
}

std::string itemNotFound(std::string_view field, std::string_view dataset) {
    return join(
        {"Item cannot be found in the collection corresponding to the requested name or "
         "ordinal. (field '",
         field, "' in ", dataset, ")"});
}

std::string fieldIndexOutOfRange(int index, std::string_view dataset, int fieldCount) {
    return join({"Field index ", std::to_string(index), " is out of range (", dataset, " has ",
                 std::to_string(fieldCount), " fields)."});
}

std::string notEditing(std::string_view dataset) {
    return join({"Dataset not in edit or insert mode. (", dataset, ")"});
}

std::string readOnlyResult(std::string_view dataset) {
    return join({"The fields of ", dataset, " cannot be changed: a query result is read-only."});
}

std::string notAnInteger(std::string_view text, std::string_view field) {
    return join({"'", text, "' is not a valid integer value (field '", field, "')."});
}

std::string notReadableAsInteger(std::string_view field) {
    return join({"Field '", field, "' cannot be read as an integer."});
}

std::string integerOverflow(std::string_view field) {
    return join({kOverflow, " (field '", field, "')."});
}

std::string notABoolean(std::string_view text, std::string_view field) {
    return join({"'", text, "' is not a valid boolean value (field '", field, "')."});
}

std::string notAFloat(std::string_view text, std::string_view field) {
    return join({"'", text, "' is not a valid floating point value (field '", field, "')."});
}

std::string notADate(std::string_view text, std::string_view field) {
    return join({"'", text, "' is not a valid date and time (field '", field, "')."});
}

std::string inStatement(std::string_view message, std::string_view sql) {
    return join({message, " (", sql, ")"});
}

std::string whileRunning(std::string_view message, std::string_view sql) {
    return join({message, " (while running: ", sql, ")"});
}

std::string bindingFailed(std::string_view message, int parameter, std::string_view sql) {
    return join({message, " (binding value ", std::to_string(parameter), " of: ", sql, ")"});
}

std::string readingPivotValues(std::string_view message, std::string_view sql) {
    return join({message, " (while reading the pivot values: ", sql, ")"});
}

}  // namespace orvdb::engine::msg
