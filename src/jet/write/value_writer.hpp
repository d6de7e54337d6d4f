// Column values in their stored form: the bytes a row holds for a value,
// before the row layout places them.
#pragma once

#include <string>
#include <string_view>

#include "jet/format/column.hpp"
#include "jet/format/value.hpp"

namespace orvdb::jet {

// Texts up to this many characters are stored compressed when the column
// allows it and every character is Latin-1, as Access does.
inline constexpr size_t kMaxCompressedCharacters = 1024;

// Where a value goes, for error messages; the text is made only when one is
// raised, as rows are encoded by the million.
struct ValuePlace {
    std::string_view table;
    std::string_view column;
    size_t row = 0;  // from 0

    std::string text() const {
        return "row " + std::to_string(row + 1) + " of table '" + std::string(table) +
               "', column '" + std::string(column) + "'";
    }
};

// The bytes of a non-null value of a fixed-size type (numbers, dates, GUID,
// Decimal; Text with the fixed-length flag is padded to its size).
// `where` names the column, table and row for errors: a value of the wrong
// type or out of the column's range throws JetError.
Bytes encodeFixedValue(const Column& column, const Value& value, const ValuePlace& where);

// Text and Memo: UTF-16LE, or the compressed form when the column's flag
// allows and the text is short and all Latin-1.
Bytes encodeText(const Column& column, const std::string& text);

// The bytes of a non-null variable-length value; Memo and OLE give the data
// that goes into the long-value storage.
Bytes encodeVariableValue(const Column& column, const Value& value, const ValuePlace& where);

}  // namespace orvdb::jet
