#include "jet/format/column.hpp"

#include "jet/format/value.hpp"

namespace orvdb::jet {

std::string columnTypeName(uint8_t typeCode) {
    switch (static_cast<ColumnType>(typeCode)) {
        case ColumnType::Boolean:
            return "Boolean";
        case ColumnType::Byte:
            return "Byte";
        case ColumnType::Integer:
            return "Integer";
        case ColumnType::Long:
            return "Long";
        case ColumnType::Currency:
            return "Currency";
        case ColumnType::Single:
            return "Single";
        case ColumnType::Double:
            return "Double";
        case ColumnType::DateTime:
            return "DateTime";
        case ColumnType::Binary:
            return "Binary";
        case ColumnType::Text:
            return "Text";
        case ColumnType::OLE:
            return "OLE";
        case ColumnType::Memo:
            return "Memo";
        case ColumnType::Guid:
            return "GUID";
        case ColumnType::Decimal:
            return "Decimal";
        case ColumnType::Unknown0D:
        case ColumnType::Unknown11:
            break;
    }
    return "Type " + std::to_string(typeCode);
}

int fixedSizeOf(uint8_t typeCode) {
    switch (static_cast<ColumnType>(typeCode)) {
        case ColumnType::Byte:
            return 1;
        case ColumnType::Integer:
            return 2;
        case ColumnType::Long:
            return 4;
        case ColumnType::Currency:
            return 8;
        case ColumnType::Single:
            return 4;
        case ColumnType::Double:
            return 8;
        case ColumnType::DateTime:
            return 8;
        case ColumnType::Guid:
            return 16;
        case ColumnType::Decimal:
            return static_cast<int>(decimal_layout::kSize);
        default:
            return 0;
    }
}

}  // namespace orvdb::jet
