// The query the suite sends for the user tables of a database: local tables
// (Type 1) of the Tables container without system and hidden ones (Flags 0).
// Built from the codes files store, so the numbers cannot drift.
#pragma once

#include <string>

#include "jet/format/codes.hpp"

namespace orvdb::data {

inline const std::string& userTablesQuery() {
    static const std::string text =
        "SELECT Name FROM MSysObjects WHERE ParentId=" + std::to_string(jet::kTablesContainerId) +
        " AND Flags=0 AND Type=" + std::to_string(jet::typeCode(jet::ObjectType::Table));
    return text;
}

}  // namespace orvdb::data
