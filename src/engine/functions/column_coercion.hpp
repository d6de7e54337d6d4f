// The conversion every value goes through on its way into a column, as Jet
// converts what an INSERT or UPDATE stores:
//   Null      stays Null, except in a Boolean column where it is 0
//   Boolean   non-zero numbers and "True"/"Yes"/"On" -> -1, 0 and "False"/"No"/"Off" -> 0
//   Byte, Integer, Long
//             numbers rounded half to even; text read as a number (" 5 ", "1e3",
//             "5.5"); beyond 0..255, 16 or 32 bits "Overflow"
//   Currency  four decimals (half to even), Single rounded to float, Double as is
//   DateTime  serial numbers, or text read by parseJetDate
//   Text/Memo text as is, numbers as their text (formatJetNumber); a Text
//             column refuses more than `size` characters (UTF-16 units)
//   Binary/OLE blobs as is, text as its UTF-8 bytes; Binary refuses more than
//             `size` bytes
//   GUID      "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" upper case, from text with
//             or without braces, or from 16 bytes in Windows GUID byte order
//   Decimal   exact decimal text, rounded half to even to `scale` digits and
//             padded to them when the scale is known
// Anything else raises "Data type mismatch in criteria expression.".
#pragma once

#include "engine/jet_types.hpp"
#include "engine/sql_value.hpp"

#include <optional>
#include <string_view>

namespace orvdb::engine {

struct ColumnCoercion {
    JetType type = JetType::Text;
    int size = 0;       // Text: characters; Binary: bytes; 0 = no limit
    int precision = 0;  // Decimal: total digits; 0 = no check
    int scale = -1;     // Decimal: digits after the point; -1 = as the value has them
};

ColumnCoercion coercionFor(const ColumnDef& column);

// The Jet type of a column type code, nullopt for codes the engine does not know.
std::optional<JetType> jetTypeFromCode(int code);

// Converts `value` for the column. Errors are EngineErrors whose message is
// Jet's text followed by the column, e.g. "Overflow (field 'Orders.Qty')";
// `column` may be empty.
SqlValue coerceForColumn(const SqlValue& value, const ColumnCoercion& coercion,
                         std::string_view column);

namespace functions {

// A value seen without copying: from an SqlValue or an sqlite3_value.
struct ValueView {
    enum Kind { Null, Integer, Real, Text, Blob } kind = Null;
    int64_t integer = 0;
    double real = 0;
    std::string_view bytes;  // Text (UTF-8) or Blob
};

// Fills `out` and returns true when the value changes; false when it is
// stored as it came. Throws EngineError with Jet's bare message.
bool coerceValue(const ValueView& value, const ColumnCoercion& coercion, SqlValue& out);

}  // namespace functions

}  // namespace orvdb::engine
