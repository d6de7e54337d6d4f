// Column and index definitions for tests that make tables through the catalog.
#pragma once

#include <string>

#include "engine/jet_types.hpp"

namespace orvdb::test_support {

// A column of a type: a text column holds 50 characters unless `size` says.
inline engine::ColumnDef column(const std::string& name, engine::JetType type, int size = 0) {
    engine::ColumnDef definition;
    definition.name = name;
    definition.type = type;
    definition.size =
        size ? size : (type == engine::JetType::Text ? 50 : engine::jetFixedSize(type));
    return definition;
}

inline engine::ColumnDef autoNumber(const std::string& name) {
    engine::ColumnDef definition = column(name, engine::JetType::Long);
    definition.autoNumber = true;
    return definition;
}

inline engine::IndexDef primaryKey(const std::string& columnName) {
    engine::IndexDef key;
    key.name = "PrimaryKey";
    key.primary = true;
    key.unique = true;
    key.columns = {{columnName, false}};
    return key;
}

}  // namespace orvdb::test_support
