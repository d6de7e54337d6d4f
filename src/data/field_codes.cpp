#include "data/field_codes.hpp"

#include "data/messages.hpp"

#include <cstdio>
#include <stdexcept>

namespace orvdb::data {

using engine::FieldType;

namespace {

// The host compares this name case-sensitively: "Ref" keys are plain longs
// even where the column is an autonumber.
bool isRefField(const engine::FieldInfo& field) {
    return field.name == "Ref";
}

}  // namespace

int32_t fieldKindCode(const engine::FieldInfo& field) {
    switch (field.type) {
        case FieldType::Text:
        case FieldType::WideText:
            return kKindText;
        case FieldType::SmallInt:
        case FieldType::Word:
            return kKindShort;
        case FieldType::Integer:
            return kKindLong;
        case FieldType::Boolean:
            return kKindBoolean;
        case FieldType::Float:
            return kKindFloat;
        case FieldType::DateTime:
            return kKindDateTime;
        case FieldType::AutoInc:
            return isRefField(field) ? kKindLong : kKindAutoIncrement;
        case FieldType::Blob:
            return kKindBlob;
        case FieldType::Memo:
        case FieldType::WideMemo:
            return kKindMemo;
        case FieldType::Timestamp:
            return kKindTimestamp;
        case FieldType::Unsupported:
            break;
    }
    throw std::runtime_error(msg::kUnknownFieldType);
}

std::string fieldTypeWord(const engine::FieldInfo& field) {
    switch (field.type) {
        case FieldType::Text:
        case FieldType::WideText:
            return "VARCHAR (" + std::to_string(field.size - 1) + ")";
        case FieldType::SmallInt:
            return "SHORT";
        case FieldType::Integer:
            return "LONG";
        case FieldType::Float:
            return "NUMERIC";
        case FieldType::AutoInc:
            return isRefField(field) ? "LONG" : "AUTOINCREMENT";
        case FieldType::Blob:
            return "LONGBINARY";
        case FieldType::Memo:
            return "MEMO";
        default:
            return {};
    }
}

std::u16string columnTypeText(int32_t kindCode, int32_t size) {
    switch (kindCode) {
        case kKindLong:
            return u"LONG";
        case kKindFloat:
            return u"FLOAT";
        case kKindText: {
            // The size is printed unsigned, as the format's %u does.
            std::string digits = std::to_string(static_cast<uint32_t>(size));
            return u"VARCHAR(" + std::u16string(digits.begin(), digits.end()) + u")";
        }
        case kKindShort:
            return u"BYTE";
        case kKindAutoIncrement:
            return u"AUTOINCREMENT";
        case kKindBlob:
            return u"LONGBLOB";
        case kKindMemo:
            return u"MEMO";
        default:
            return {};
    }
}

std::u16string sortOrderText(int32_t order) {
    switch (order) {
        case 1:
            return u"ASC";
        case 2:
            return u"DESC";
        default:
            return {};
    }
}

std::u16string alterColumnText(int32_t value) {
    return value == 0 ? u"ALTER COLUMN" : u"";
}

FieldDef daoFieldDef(const engine::ColumnDef& column) {
    using engine::JetType;
    switch (column.type) {
        case JetType::Boolean:
            return {1, 1};
        case JetType::Byte:
            return {2, 1};
        case JetType::Integer:
            return {3, 2};
        case JetType::Long:
            return {4, 4};
        case JetType::Currency:
            return {5, 8};
        case JetType::Single:
            return {6, 4};
        case JetType::Double:
            return {7, 8};
        case JetType::DateTime:
            return {8, 8};
        case JetType::Binary:
            return {9, column.size};
        case JetType::Text:
            return {10, column.size};
        case JetType::OLE:
            return {11, 0};
        case JetType::Memo:
            return {12, 0};
        case JetType::GUID:
            return {15, 16};
        case JetType::Decimal:
            return {20, 16};
    }
    return {0, 0};
}

std::string colorToText(int32_t color) {
    auto bits = static_cast<uint32_t>(color);
    char text[16];
    std::snprintf(text, sizeof text, "%03u%03u%03u", bits & 0xFFu, (bits >> 8) & 0xFFu,
                  (bits >> 16) & 0xFFu);
    return text;
}

namespace {

// A decimal integer with an optional sign, as the host's StrToInt reads it;
// nothing for anything else.
std::optional<int32_t> decimalGroup(std::u16string_view group) {
    size_t i = 0;
    bool negative = false;
    if (i < group.size() && (group[i] == u'+' || group[i] == u'-')) {
        negative = group[i] == u'-';
        ++i;
    }
    if (i == group.size()) {
        return std::nullopt;
    }
    int32_t value = 0;
    for (; i < group.size(); ++i) {
        if (group[i] < u'0' || group[i] > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (group[i] - u'0');
    }
    return negative ? -value : value;
}

}  // namespace

int32_t colorFromText(std::u16string_view text) {
    if (text.size() < 9) {
        return 0;
    }
    auto red = decimalGroup(text.substr(0, 3));
    auto green = decimalGroup(text.substr(3, 3));
    auto blue = decimalGroup(text.substr(6, 3));
    if (!red || !green || !blue) {
        return 0;
    }
    auto component = [](int32_t v) { return static_cast<uint32_t>(v) & 0xFFu; };
    return static_cast<int32_t>(component(*red) | component(*green) << 8 | component(*blue) << 16);
}

}  // namespace orvdb::data
