// Jet's error texts, so that messages read as the Jet engine's would, with
// the names a person needs to act on them.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::engine::jet {

std::string tableNotFound(std::string_view table);
std::string fieldNotFound(std::string_view table, std::string_view field);
std::string requiredNull(std::string_view table, std::string_view field);
std::string zeroLength(std::string_view table, std::string_view field);
std::string relatedRecordRequired(std::string_view primaryTable);
std::string relatedRecordsExist(std::string_view foreignTable);
extern const char* const kDuplicateValues;
extern const char* const kPrimaryKeyNull;

// Raises when name is not a valid Jet object name (empty, too long, leading
// blank, control characters or one of . ! ` [ ]).
void checkValidName(std::string_view name);

// Turns a SQLite constraint message into Jet's wording; other texts pass.
std::string translateSqliteError(std::string_view message);

}  // namespace orvdb::engine::jet
