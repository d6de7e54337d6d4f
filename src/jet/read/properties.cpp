#include "jet/read/properties.hpp"

#include <algorithm>

#include "base/names.hpp"
#include "jet/format/byte_view.hpp"
#include "jet/format/column.hpp"
#include "jet/format/property_block.hpp"
#include "jet/format/text_codec.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

namespace {

using namespace property_block;

Value decodePropertyValue(uint8_t typeCode, const ByteView& data) {
    auto fits = [&](size_t size) { return data.size() >= size; };
    switch (static_cast<ColumnType>(typeCode)) {
        case ColumnType::Boolean:
            if (fits(1)) {
                return data.u8(0) != 0;
            }
            break;
        case ColumnType::Byte:
            if (fits(1)) {
                return int64_t{data.u8(0)};
            }
            break;
        case ColumnType::Integer:
            if (fits(2)) {
                return int64_t{data.i16(0)};
            }
            break;
        case ColumnType::Long:
            if (fits(4)) {
                return int64_t{data.i32(0)};
            }
            break;
        case ColumnType::Currency:
            if (fits(8)) {
                return Currency{data.i64(0)};
            }
            break;
        case ColumnType::Single:
            if (fits(4)) {
                return static_cast<double>(data.f32(0));
            }
            break;
        case ColumnType::Double:
            if (fits(8)) {
                return data.f64(0);
            }
            break;
        case ColumnType::DateTime:
            if (fits(8)) {
                return DateTime{data.f64(0)};
            }
            break;
        case ColumnType::Text:
        case ColumnType::Memo:
            return decodeJetText(data.span());
        case ColumnType::Guid:
            if (fits(16)) {
                Guid guid;
                std::copy_n(data.data(), 16, guid.bytes.begin());
                return guid;
            }
            break;
        default:
            break;
    }
    return Bytes(data.data(), data.data() + data.size());
}

}  // namespace

const Property* PropertyMap::find(std::string_view propertyName) const {
    for (const Property& property : properties) {
        if (base::sameName(property.name, propertyName)) {
            return &property;
        }
    }
    return nullptr;
}

Value PropertyMap::value(std::string_view propertyName) const {
    const Property* property = find(propertyName);
    return property ? property->value : Value{};
}

const PropertyMap* ObjectProperties::column(std::string_view columnName) const {
    for (const PropertyMap& map : columns) {
        if (base::sameName(map.name, columnName)) {
            return &map;
        }
    }
    return nullptr;
}

ObjectProperties decodeProperties(std::span<const uint8_t> lvProp, const std::string& file,
                                  const std::string& objectName) {
    ObjectProperties result;
    if (lvProp.empty()) {
        return result;
    }
    auto damaged = [&](const std::string& reason) {
        throwCorrupt(file, "the properties of '" + objectName + "' " + reason);
    };
    if (lvProp.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), lvProp.begin())) {
        damaged("do not start with the Jet 4 property signature");
    }
    ByteView view(lvProp, file);
    std::vector<std::string> names;
    size_t pos = kSignature.size();
    while (pos + kBlockHeader <= view.size()) {
        uint32_t blockLength = view.u32(pos + kBlockLength);
        uint16_t blockType = view.u16(pos + kBlockType);
        if (blockLength < kBlockHeader || blockLength > view.size() - pos) {
            damaged("have a block of impossible length " + std::to_string(blockLength));
        }
        ByteView block = view.sub(pos, blockLength);
        pos += blockLength;

        if (blockType == kNamesBlock) {
            size_t at = kBlockHeader;
            while (at + 2 <= block.size()) {
                names.push_back(readStoredName(block, at));
            }
            continue;
        }
        if (blockType != kObjectBlock && blockType != kColumnBlock) {
            continue;  // Kinds of blocks Access keeps for itself.
        }
        PropertyMap map;
        // The block name: u32 length of the name part (itself included),
        // then u16 + UTF-16LE when there is a name.
        uint32_t namePart = block.u32(kBlockHeader);
        if (namePart < kNamePartLength || namePart > block.size() - kBlockHeader) {
            damaged("have a block name of impossible length");
        }
        if (namePart > kNamePartLength) {
            size_t at = kBlockHeader + kNamePartLength;
            map.name = readStoredName(block, at);
        }
        size_t at = kBlockHeader + namePart;
        while (at + kEntryHeader <= block.size()) {
            uint16_t entryLength = block.u16(at + kEntryLength);
            if (entryLength < kEntryHeader || entryLength > block.size() - at) {
                damaged("have an entry of impossible length " + std::to_string(entryLength));
            }
            ByteView entry = block.sub(at, entryLength);
            at += entryLength;
            Property property;
            property.flags = entry.u8(kEntryFlags);
            property.typeCode = entry.u8(kEntryType);
            uint16_t nameIndex = entry.u16(kEntryNameIndex);
            uint16_t valueSize = entry.u16(kEntryValueSize);
            if (nameIndex >= names.size()) {
                damaged("refer to property name " + std::to_string(nameIndex) + " of " +
                        std::to_string(names.size()));
            }
            property.name = names[nameIndex];
            property.value =
                decodePropertyValue(property.typeCode, entry.sub(kEntryHeader, valueSize));
            map.properties.push_back(std::move(property));
        }
        if (blockType == kObjectBlock) {
            // The object's own block may carry the object's name.
            if (result.object.name.empty()) {
                result.object.name = map.name;
            }
            result.object.properties.insert(result.object.properties.end(), map.properties.begin(),
                                            map.properties.end());
        } else {
            result.columns.push_back(std::move(map));
        }
    }
    return result;
}

}  // namespace orvdb::jet
