#include "engine/sql/translate/type_words.hpp"

#include <algorithm>
#include <iterator>

namespace orvdb::engine::sql {

namespace {

using P = TypeWord::Parameters;

struct Entry {
    std::string_view word;
    TypeWord info;
};

// Sorted by word.
constexpr Entry kTypeWords[] = {
    {"ALPHANUMERIC", {JetType::Text, false, P::Length, false}},
    {"AUTOINCREMENT", {JetType::Long, true, P::SeedStep, false}},
    {"BINARY", {JetType::Binary, false, P::Length, false}},
    {"BIT", {JetType::Boolean, false, P::None, false}},
    {"BOOLEAN", {JetType::Boolean, false, P::None, false}},
    {"BYTE", {JetType::Byte, false, P::None, false}},
    {"CHAR", {JetType::Text, false, P::Length, false}},
    {"CHARACTER", {JetType::Text, false, P::Length, false}},
    {"COUNTER", {JetType::Long, true, P::SeedStep, false}},
    {"CURRENCY", {JetType::Currency, false, P::None, false}},
    {"DATE", {JetType::DateTime, false, P::None, false}},
    {"DATETIME", {JetType::DateTime, false, P::None, false}},
    {"DEC", {JetType::Decimal, false, P::PrecisionScale, false}},
    {"DECIMAL", {JetType::Decimal, false, P::PrecisionScale, false}},
    {"DOUBLE", {JetType::Double, false, P::None, false}},
    {"FLOAT", {JetType::Double, false, P::None, false}},
    {"FLOAT4", {JetType::Single, false, P::None, false}},
    {"FLOAT8", {JetType::Double, false, P::None, false}},
    {"GENERAL", {JetType::OLE, false, P::None, false}},
    {"GUID", {JetType::GUID, false, P::None, false}},
    {"IDENTITY", {JetType::Long, true, P::SeedStep, false}},
    {"IEEEDOUBLE", {JetType::Double, false, P::None, false}},
    {"IEEESINGLE", {JetType::Single, false, P::None, false}},
    {"IMAGE", {JetType::OLE, false, P::None, false}},
    {"INT", {JetType::Long, false, P::None, false}},
    {"INTEGER", {JetType::Long, false, P::None, false}},
    {"INTEGER1", {JetType::Byte, false, P::None, false}},
    {"INTEGER2", {JetType::Integer, false, P::None, false}},
    {"INTEGER4", {JetType::Long, false, P::None, false}},
    {"LOGICAL", {JetType::Boolean, false, P::None, false}},
    {"LOGICAL1", {JetType::Boolean, false, P::None, false}},
    {"LONG", {JetType::Long, false, P::None, false}},
    {"LONGBINARY", {JetType::OLE, false, P::None, false}},
    {"LONGCHAR", {JetType::Memo, false, P::None, false}},
    {"LONGTEXT", {JetType::Memo, false, P::None, false}},
    {"MEMO", {JetType::Memo, false, P::None, false}},
    {"MONEY", {JetType::Currency, false, P::None, false}},
    {"NCHAR", {JetType::Text, false, P::Length, false}},
    {"NOTE", {JetType::Memo, false, P::None, false}},
    {"NTEXT", {JetType::Memo, false, P::None, false}},
    {"NUMBER", {JetType::Double, false, P::None, false}},
    {"NUMERIC", {JetType::Decimal, false, P::PrecisionScale, false}},
    {"NVARCHAR", {JetType::Text, false, P::Length, false}},
    {"OLEOBJECT", {JetType::OLE, false, P::None, false}},
    {"REAL", {JetType::Single, false, P::None, false}},
    {"SHORT", {JetType::Integer, false, P::None, false}},
    {"SINGLE", {JetType::Single, false, P::None, false}},
    {"SMALLINT", {JetType::Integer, false, P::None, false}},
    {"STRING", {JetType::Text, false, P::Length, false}},
    {"TEXT", {JetType::Text, false, P::Length, true}},
    {"TIME", {JetType::DateTime, false, P::None, false}},
    {"TIMESTAMP", {JetType::DateTime, false, P::None, false}},
    {"TINYINT", {JetType::Byte, false, P::None, false}},
    {"UNIQUEIDENTIFIER", {JetType::GUID, false, P::None, false}},
    {"VARBINARY", {JetType::Binary, false, P::Length, false}},
    {"VARCHAR", {JetType::Text, false, P::Length, false}},
    {"YESNO", {JetType::Boolean, false, P::None, false}},
};

}  // namespace

std::optional<TypeWord> lookupTypeWord(std::string_view word) {
    char buf[24];
    if (word.size() >= sizeof buf) {
        return std::nullopt;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        buf[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    std::string_view upper(buf, word.size());
    auto it = std::lower_bound(
        std::begin(kTypeWords), std::end(kTypeWords), upper,
        [](const Entry& entry, std::string_view wanted) { return entry.word < wanted; });
    if (it == std::end(kTypeWords) || it->word != upper) {
        return std::nullopt;
    }
    return it->info;
}

std::string declarationOf(const ColumnDef& column) {
    switch (column.type) {
        case JetType::Boolean:
            return "BIT";
        case JetType::Byte:
            return "BYTE";
        case JetType::Integer:
            return "SHORT";
        case JetType::Long:
            return column.autoNumber ? "COUNTER" : "LONG";
        case JetType::Currency:
            return "CURRENCY";
        case JetType::Single:
            return "REAL";
        case JetType::Double:
            return "FLOAT";
        case JetType::DateTime:
            return "DATETIME";
        case JetType::Binary:
            return "BINARY(" + std::to_string(column.size) + ")";
        case JetType::Text:
            return "VARCHAR(" + std::to_string(column.size) + ")";
        case JetType::OLE:
            return "LONGBINARY";
        case JetType::Memo:
            return "MEMO";
        case JetType::GUID:
            return "GUID";
        case JetType::Decimal:
            return "DECIMAL(" + std::to_string(column.precision) + ", " +
                   std::to_string(column.scale) + ")";
    }
    return "LONG";
}

}  // namespace orvdb::engine::sql
