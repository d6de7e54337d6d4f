// The logical field types a dataset reports, and the size it reports.
#pragma once

#include "engine/jet_types.hpp"

#include <optional>
#include <string>

namespace orvdb::engine {

enum class FieldType {
    Text,
    WideText,
    SmallInt,  // 16-bit
    Word,      // unsigned 16-bit (Jet Byte)
    Integer,   // 32-bit
    Boolean,
    Float,
    DateTime,
    AutoInc,
    Blob,
    Memo,
    WideMemo,
    Timestamp,
    Unsupported,  // Currency, Decimal, GUID, Binary ...
};

const char* fieldTypeName(FieldType type);

struct FieldInfo {
    std::string name;
    FieldType type = FieldType::Unsupported;
    int size = 0;                    // Text: declared length + 1; others: byte size
    std::optional<JetType> jetType;  // known for columns and typed expressions
    int declaredSize = 0;            // Text: declared length
};

// The field a column of that definition gives.
FieldInfo fieldInfoFor(const std::string& name, const ColumnDef& column);
// The field of an expression whose Jet type is known (or not).
FieldInfo fieldInfoFor(const std::string& name, std::optional<JetType> type, int size = 0);

}  // namespace orvdb::engine
