#include "engine/dataset/field_type.hpp"

namespace orvdb::engine {

const char* fieldTypeName(FieldType type) {
    switch (type) {
        case FieldType::Text:
            return "Text";
        case FieldType::WideText:
            return "WideText";
        case FieldType::SmallInt:
            return "SmallInt";
        case FieldType::Word:
            return "Word";
        case FieldType::Integer:
            return "Integer";
        case FieldType::Boolean:
            return "Boolean";
        case FieldType::Float:
            return "Float";
        case FieldType::DateTime:
            return "DateTime";
        case FieldType::AutoInc:
            return "AutoInc";
        case FieldType::Blob:
            return "Blob";
        case FieldType::Memo:
            return "Memo";
        case FieldType::WideMemo:
            return "WideMemo";
        case FieldType::Timestamp:
            return "Timestamp";
        case FieldType::Unsupported:
            return "Unsupported";
    }
    return "Unsupported";
}

FieldInfo fieldInfoFor(const std::string& name, const ColumnDef& column) {
    FieldInfo field = fieldInfoFor(name, column.type, column.size);
    if (column.autoNumber) {
        field.type = FieldType::AutoInc;
    }
    return field;
}

FieldInfo fieldInfoFor(const std::string& name, std::optional<JetType> type, int size) {
    FieldInfo field;
    field.name = name;
    field.jetType = type;
    if (!type) {
        // An expression of unknown type: reported as text, the widest reading.
        field.type = FieldType::WideText;
        field.declaredSize = 255;
        field.size = 256;
        return field;
    }
    switch (*type) {
        case JetType::Text:
            // Text columns are Unicode in Jet 4; the size counts the
            // terminator, so that size - 1 gives the declared length back.
            field.type = FieldType::WideText;
            field.declaredSize = size > 0 ? size : 255;
            field.size = field.declaredSize + 1;
            return field;
        case JetType::Memo:
            field.type = FieldType::Memo;
            break;
        case JetType::Integer:
            field.type = FieldType::SmallInt;
            break;
        case JetType::Byte:
            field.type = FieldType::Word;
            break;
        case JetType::Long:
            field.type = FieldType::Integer;
            break;
        case JetType::Boolean:
            field.type = FieldType::Boolean;
            break;
        case JetType::Single:
        case JetType::Double:
            field.type = FieldType::Float;
            break;
        case JetType::DateTime:
            field.type = FieldType::DateTime;
            break;
        case JetType::OLE:
            field.type = FieldType::Blob;
            break;
        case JetType::Currency:
        case JetType::Decimal:
        case JetType::GUID:
        case JetType::Binary:
            field.type = FieldType::Unsupported;
            break;
    }
    field.size = jetFixedSize(*type);
    field.declaredSize = size;
    return field;
}

}  // namespace orvdb::engine
