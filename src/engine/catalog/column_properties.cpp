#include "engine/catalog/column_properties.hpp"

#include "engine/catalog/catalog.hpp"
#include "jet/format/column.hpp"
#include "jet/format/property_block.hpp"
#include "jet/format/text_codec.hpp"
#include "jet/read/properties.hpp"
#include "jet/read/table_definition.hpp"

#include <cstring>

namespace orvdb::engine {

namespace {

using namespace ::orvdb::jet::property_block;
constexpr auto kBooleanType = static_cast<uint8_t>(::orvdb::jet::ColumnType::Boolean);
constexpr auto kTextType = static_cast<uint8_t>(::orvdb::jet::ColumnType::Text);

void put16(::orvdb::jet::Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(::orvdb::jet::Bytes& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void put64(::orvdb::jet::Bytes& out, uint64_t v) {
    put32(out, static_cast<uint32_t>(v));
    put32(out, static_cast<uint32_t>(v >> 32));
}
void putDouble(::orvdb::jet::Bytes& out, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    put64(out, bits);
}

::orvdb::jet::Bytes utf16le(const std::string& text) {
    ::orvdb::jet::Bytes out;
    for (char16_t c : ::orvdb::jet::utf8ToUtf16(text)) {
        put16(out, c);
    }
    return out;
}

::orvdb::jet::Bytes encodeValue(const ::orvdb::jet::Property& property) {
    ::orvdb::jet::Bytes out;
    const ::orvdb::jet::Value& value = property.value;
    if (auto flag = std::get_if<bool>(&value)) {
        out.push_back(*flag ? 1 : 0);
    } else if (auto i = std::get_if<int64_t>(&value)) {
        switch (static_cast<::orvdb::jet::ColumnType>(property.typeCode)) {
            case ::orvdb::jet::ColumnType::Byte:
                out.push_back(static_cast<uint8_t>(*i));
                break;
            case ::orvdb::jet::ColumnType::Integer:
                put16(out, static_cast<uint16_t>(*i));
                break;
            default:
                put32(out, static_cast<uint32_t>(*i));
        }
    } else if (auto number = std::get_if<double>(&value)) {
        if (property.typeCode == static_cast<uint8_t>(::orvdb::jet::ColumnType::Single)) {
            float f = static_cast<float>(*number);
            uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            put32(out, bits);
        } else {
            putDouble(out, *number);
        }
    } else if (auto currency = std::get_if<::orvdb::jet::Currency>(&value)) {
        put64(out, static_cast<uint64_t>(currency->scaled));
    } else if (auto dateTime = std::get_if<::orvdb::jet::DateTime>(&value)) {
        putDouble(out, dateTime->days);
    } else if (auto text = std::get_if<std::string>(&value)) {
        out = utf16le(*text);
    } else if (auto guid = std::get_if<::orvdb::jet::Guid>(&value)) {
        out.assign(guid->bytes.begin(), guid->bytes.end());
    } else if (auto bytes = std::get_if<::orvdb::jet::Bytes>(&value)) {
        out = *bytes;
    }
    return out;
}

void putName(::orvdb::jet::Bytes& out, const std::string& name) {
    ::orvdb::jet::Bytes text = utf16le(name);
    put16(out, static_cast<uint32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

class Encoder {
public:
    void block(uint16_t type, const ::orvdb::jet::PropertyMap& map) {
        ::orvdb::jet::Bytes body;
        ::orvdb::jet::Bytes name;
        if (!map.name.empty()) {
            putName(name, map.name);
        }
        put32(body, static_cast<uint32_t>(kNamePartLength + name.size()));
        body.insert(body.end(), name.begin(), name.end());
        for (const ::orvdb::jet::Property& property : map.properties) {
            ::orvdb::jet::Bytes value = encodeValue(property);
            put16(body, static_cast<uint32_t>(kEntryHeader + value.size()));
            body.push_back(property.flags);
            body.push_back(property.typeCode);
            put16(body, indexOf(property.name));
            put16(body, static_cast<uint32_t>(value.size()));
            body.insert(body.end(), value.begin(), value.end());
        }
        put32(blocks_, static_cast<uint32_t>(kBlockHeader + body.size()));
        put16(blocks_, type);
        blocks_.insert(blocks_.end(), body.begin(), body.end());
    }

    ::orvdb::jet::Bytes finish() const {
        ::orvdb::jet::Bytes names;
        for (const std::string& name : names_) {
            putName(names, name);
        }
        ::orvdb::jet::Bytes out(kSignature.begin(), kSignature.end());
        put32(out, static_cast<uint32_t>(kBlockHeader + names.size()));
        put16(out, kNamesBlock);
        out.insert(out.end(), names.begin(), names.end());
        out.insert(out.end(), blocks_.begin(), blocks_.end());
        return out;
    }

private:
    uint32_t indexOf(const std::string& name) {
        for (size_t i = 0; i < names_.size(); ++i) {
            if (names_[i] == name) {
                return static_cast<uint32_t>(i);
            }
        }
        names_.push_back(name);
        return static_cast<uint32_t>(names_.size() - 1);
    }

    std::vector<std::string> names_;
    ::orvdb::jet::Bytes blocks_;
};

bool isTrue(const ::orvdb::jet::Value& value) {
    if (auto flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    if (auto i = std::get_if<int64_t>(&value)) {
        return *i != 0;
    }
    return false;
}

// Sets (or with nullptr removes) one property; true when that changed anything.
bool setProperty(::orvdb::jet::PropertyMap& map, const std::string& name,
                 const ::orvdb::jet::Value* value, uint8_t typeCode) {
    for (auto it = map.properties.begin(); it != map.properties.end(); ++it) {
        if (!sameName(it->name, name)) {
            continue;
        }
        if (!value) {
            map.properties.erase(it);
            return true;
        }
        bool same =
            typeCode == kBooleanType ? isTrue(it->value) == isTrue(*value) : it->value == *value;
        if (same) {
            return false;
        }
        it->value = *value;
        it->typeCode = typeCode;
        return true;
    }
    if (!value) {
        return false;
    }
    ::orvdb::jet::Property property;
    property.name = name;
    property.typeCode = typeCode;
    property.value = *value;
    map.properties.push_back(std::move(property));
    return true;
}

}  // namespace

std::optional<::orvdb::jet::Bytes> updatedColumnProperties(const ::orvdb::jet::Bytes& lvProp,
                                                           const std::vector<ColumnDef>& columns,
                                                           const std::string& file,
                                                           const std::string& table) {
    ::orvdb::jet::ObjectProperties props = ::orvdb::jet::decodeProperties(lvProp, file, table);
    bool changed = false;
    std::vector<::orvdb::jet::PropertyMap> kept;
    for (auto& map : props.columns) {
        bool exists = false;
        for (const auto& column : columns) {
            exists = exists || sameName(column.name, map.name);
        }
        if (exists) {
            kept.push_back(std::move(map));
        } else {
            changed = true;
        }
    }
    for (const auto& column : columns) {
        ::orvdb::jet::PropertyMap* map = nullptr;
        for (auto& properties : kept) {
            if (sameName(properties.name, column.name)) {
                map = &properties;
            }
        }
        ::orvdb::jet::PropertyMap fresh;
        fresh.name = column.name;
        ::orvdb::jet::PropertyMap& target = map ? *map : fresh;
        // Absent properties read as Required = No, AllowZeroLength = Yes.
        bool textual = column.type == JetType::Text || column.type == JetType::Memo;
        bool edited = false;
        const ::orvdb::jet::Value required(column.required);
        edited |= setProperty(target, "Required",
                              column.required || target.find("Required") ? &required : nullptr,
                              kBooleanType);
        const ::orvdb::jet::Value allowZero(column.allowZeroLength);
        if (textual && (!column.allowZeroLength || target.find("AllowZeroLength"))) {
            edited |= setProperty(target, "AllowZeroLength", &allowZero, kBooleanType);
        }
        const ::orvdb::jet::Value defaultValue(column.defaultValue.value_or(std::string()));
        edited |= setProperty(target, "DefaultValue", column.defaultValue ? &defaultValue : nullptr,
                              kTextType);
        if (edited && !map) {
            kept.push_back(std::move(fresh));
        }
        changed |= edited;
    }
    if (!changed) {
        return std::nullopt;
    }
    Encoder encoder;
    if (!props.object.properties.empty() || !props.object.name.empty()) {
        encoder.block(kObjectBlock, props.object);
    }
    for (const auto& map : kept) {
        encoder.block(kColumnBlock, map);
    }
    return encoder.finish();
}

}  // namespace orvdb::engine
