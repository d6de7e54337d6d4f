#include "engine/jet_types.hpp"

namespace orvdb::engine {

std::string_view jetTypeName(JetType type) {
    switch (type) {
        case JetType::Boolean:
            return "Boolean";
        case JetType::Byte:
            return "Byte";
        case JetType::Integer:
            return "Integer";
        case JetType::Long:
            return "Long";
        case JetType::Currency:
            return "Currency";
        case JetType::Single:
            return "Single";
        case JetType::Double:
            return "Double";
        case JetType::DateTime:
            return "DateTime";
        case JetType::Binary:
            return "Binary";
        case JetType::Text:
            return "Text";
        case JetType::OLE:
            return "OLE";
        case JetType::Memo:
            return "Memo";
        case JetType::GUID:
            return "GUID";
        case JetType::Decimal:
            return "Decimal";
    }
    return "Unknown";
}

int jetFixedSize(JetType type) {
    switch (type) {
        case JetType::Byte:
            return 1;
        case JetType::Integer:
            return 2;
        case JetType::Long:
        case JetType::Single:
            return 4;
        case JetType::Currency:
        case JetType::Double:
        case JetType::DateTime:
            return 8;
        case JetType::GUID:
            return 16;
        case JetType::Decimal:
            return 17;  // sign byte + 16-byte magnitude
        case JetType::Boolean:
            // Fixed, but the value lives in the row's null mask, not in the
            // fixed area.
            return 0;
        case JetType::Binary:
        case JetType::Text:
        case JetType::OLE:
        case JetType::Memo:
            return 0;
    }
    return 0;
}

}  // namespace orvdb::engine
