// Object properties as Access keeps them in MSysObjects.LvProp: "MR2\0", then
// blocks of u32 length + u16 type. Type 0x80 lists the property names; type
// 0x00 holds the object's own properties, type 0x01 one column's (the block
// names the column). Each property: u16 length, u8 flags, u8 Jet type code,
// u16 index into the names, u16 value size, the value.
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
