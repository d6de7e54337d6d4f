// Object properties as Access keeps them in MSysObjects.LvProp
// (format/property_block.hpp): the object's own and one block per column.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jet/format/value.hpp"

namespace orvdb::jet {

struct Property {
    std::string name;
    uint8_t typeCode = 0;  // a column type code: 1 Boolean, 10 Text, ...
    uint8_t flags = 0;     // 1: set through DDL
    Value value;
};

struct PropertyMap {
    std::string name;  // the column's name (the object's own map may be unnamed)
    std::vector<Property> properties;

    // ASCII case-insensitive; nullptr when absent.
    const Property* find(std::string_view propertyName) const;
    // Null when absent.
    Value value(std::string_view propertyName) const;
};

struct ObjectProperties {
    PropertyMap object;
    std::vector<PropertyMap> columns;

    const PropertyMap* column(std::string_view columnName) const;
    bool empty() const { return object.properties.empty() && columns.empty(); }
};

// Decodes an LvProp value; an empty value gives no properties. Throws
// JetError naming `file` and `objectName` when the blocks are damaged.
ObjectProperties decodeProperties(std::span<const uint8_t> lvProp, const std::string& file,
                                  const std::string& objectName);

}  // namespace orvdb::jet
