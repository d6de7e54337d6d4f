#include "engine/jet_errors.hpp"

#include "engine/engine_error.hpp"

namespace orvdb::engine::jet {

const char* const kDuplicateValues =
    "The changes you requested to the table were not successful because they would create "
    "duplicate values in the index, primary key, or relationship.  Change the data in the field "
    "or fields that contain duplicate data, remove the index, or redefine the index to permit "
    "duplicate entries and try again.";

const char* const kPrimaryKeyNull = "Index or primary key cannot contain a Null value.";

std::string tableNotFound(std::string_view table) {
    return "The Microsoft Jet database engine cannot find the input table or query '" +
           std::string(table) + "'.  Make sure it exists and that its name is spelled correctly.";
}

std::string fieldNotFound(std::string_view table, std::string_view field) {
    return "Field '" + std::string(field) + "' does not exist in table '" + std::string(table) +
           "'.";
}

std::string requiredNull(std::string_view table, std::string_view field) {
    return "The field '" + std::string(table) + "." + std::string(field) +
           "' cannot contain a Null value because the Required property for this field is set "
           "to True.  Enter a value in this field.";
}

std::string zeroLength(std::string_view table, std::string_view field) {
    return "Field '" + std::string(table) + "." + std::string(field) +
           "' cannot be a zero-length string.";
}

std::string relatedRecordRequired(std::string_view primaryTable) {
    return "You cannot add or change a record because a related record is required in table '" +
           std::string(primaryTable) + "'.";
}

std::string relatedRecordsExist(std::string_view foreignTable) {
    return "The record cannot be deleted or changed because table '" + std::string(foreignTable) +
           "' includes related records.";
}

void checkValidName(std::string_view name) {
    bool ok = !name.empty() && name.size() <= 64 * 3 && name.front() != ' ';
    size_t chars = 0;
    for (unsigned char c : name) {
        if ((c & 0xC0) != 0x80) {
            ++chars;
        }
        if (c < 0x20 || c == '.' || c == '!' || c == '`' || c == '[' || c == ']') {
            ok = false;
        }
    }
    if (chars > 64) {
        ok = false;
    }
    if (!ok) {
        throw EngineError("'" + std::string(name) +
                          "' is not a valid name.  Make sure that it does not include invalid "
                          "characters or punctuation and that it is not too long.");
    }
}

std::string translateSqliteError(std::string_view message) {
    if (message.find("UNIQUE constraint failed") != std::string_view::npos) {
        return kDuplicateValues;
    }
    if (message.find("NOT NULL constraint failed") != std::string_view::npos) {
        return kPrimaryKeyNull;
    }
    return std::string(message);
}

}  // namespace orvdb::engine::jet
