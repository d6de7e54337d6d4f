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
    FieldInfo f = fieldInfoFor(name, column.type, column.size);
    if (column.autoNumber) {
        f.type = FieldType::AutoInc;
    }
    return f;
}

FieldInfo fieldInfoFor(const std::string& name, std::optional<JetType> type, int size) {
    FieldInfo f;
    f.name = name;
    f.jetType = type;
    if (!type) {
        // An expression of unknown type: reported as text, the widest reading.
        f.type = FieldType::WideText;
        f.declaredSize = 255;
        f.size = 256;
        return f;
    }
    switch (*type) {
        case JetType::Text:
            // Text columns are Unicode in Jet 4; the size counts the
            // terminator, so that size - 1 gives the declared length back.
            f.type = FieldType::WideText;
            f.declaredSize = size > 0 ? size : 255;
            f.size = f.declaredSize + 1;
            return f;
        case JetType::Memo:
            f.type = FieldType::Memo;
            break;
        case JetType::Integer:
            f.type = FieldType::SmallInt;
            break;
        case JetType::Byte:
            f.type = FieldType::Word;
            break;
        case JetType::Long:
            f.type = FieldType::Integer;
            break;
        case JetType::Boolean:
            f.type = FieldType::Boolean;
            break;
        case JetType::Single:
        case JetType::Double:
            f.type = FieldType::Float;
            break;
        case JetType::DateTime:
            f.type = FieldType::DateTime;
            break;
        case JetType::OLE:
            f.type = FieldType::Blob;
            break;
        case JetType::Currency:
        case JetType::Decimal:
        case JetType::GUID:
        case JetType::Binary:
            f.type = FieldType::Unsupported;
            break;
    }
    f.size = jetFixedSize(*type);
    f.declaredSize = size;
    return f;
}

}  // namespace orvdb::engine
