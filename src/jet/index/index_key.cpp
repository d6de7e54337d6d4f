#include "jet/index/index_key.hpp"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <limits>
#include <optional>

#include "jet/format/column.hpp"
#include "jet/format/text_codec.hpp"
#include "jet/index/general_legacy_codes.hpp"

namespace orvdb::jet {
namespace {

constexpr uint8_t kAscendingPrefix = 0x7F;
constexpr uint8_t kDescendingPrefix = 0x80;
constexpr uint8_t kAscendingNull = 0x00;
constexpr uint8_t kDescendingNull = 0xFF;

// Text keys: codes, end of codes, diacritics (02 = none, trailing ones
// dropped), then, only when the text has unprintable characters, two empty
// sections and one weight per unprintable character; 00 ends the key.
constexpr uint8_t kEndOfSection = 0x01;
constexpr uint8_t kNoDiacritic = 0x02;
constexpr uint8_t kEndOfText = 0x00;
constexpr uint8_t kUnprintableMarker = 0x06;
constexpr uint16_t kUnprintablePositionFlag = 0x8000;
constexpr uint16_t kUnprintableFirstPosition = 7;
constexpr uint16_t kUnprintablePositionStep = 4;
constexpr size_t kIndexedCharacters = 255;

// Binary and GUID keys: 8-byte segments, each followed by the count of its
// bytes used, or 9 when another segment follows.
constexpr size_t kSegmentSize = 8;
constexpr uint8_t kMoreSegments = 9;

std::string codePointText(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

std::vector<char32_t> codePoints(const std::u16string& text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        out.push_back(unit);
    }
    return out;
}

void appendBigEndian(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// Floating point sorts as raw bytes once positive numbers have their sign
// bit set and negative ones are inverted whole.
uint64_t sortableFloatBits(uint64_t bits, int width) {
    uint64_t sign = uint64_t{1} << (width - 1);
    uint64_t mask = width == 64 ? ~uint64_t{0} : (uint64_t{1} << width) - 1;
    return (bits & sign) != 0 ? (~bits & mask) : (bits | sign);
}

void appendSegments(std::vector<uint8_t>& out, const uint8_t* data, size_t size) {
    size_t offset = 0;
    do {
        size_t used = std::min(kSegmentSize, size - offset);
        out.insert(out.end(), data + offset, data + offset + used);
        out.insert(out.end(), kSegmentSize - used, 0);
        offset += used;
        out.push_back(offset < size ? kMoreSegments : static_cast<uint8_t>(used));
    } while (offset < size);
}

const Value& valueOf(const KeyColumn& column, const std::vector<Value>& row) {
    if (column.valueIndex >= row.size()) {
        throw JetError("column '" + column.name + "': the row has no value for it");
    }
    return row[column.valueIndex];
}

[[noreturn]] void unsuitable(const KeyColumn& column, const Value& value, const char* expected) {
    throw JetError("column '" + column.name + "': the " + columnTypeName(column.typeCode) +
                   " index key needs " + expected + ", not " + describe(value));
}

int64_t integerIn(const KeyColumn& column, const Value& value, int64_t low, int64_t high) {
    const int64_t* number = std::get_if<int64_t>(&value);
    if (number == nullptr) {
        unsuitable(column, value, "a whole number");
    }
    if (*number < low || *number > high) {
        throw JetError("column '" + column.name + "': " + std::to_string(*number) +
                       " is outside the range of a " + columnTypeName(column.typeCode) + " column");
    }
    return *number;
}

double floatingOf(const KeyColumn& column, const Value& value) {
    if (const double* number = std::get_if<double>(&value)) {
        return *number;
    }
    if (const int64_t* number = std::get_if<int64_t>(&value)) {
        return static_cast<double>(*number);
    }
    unsuitable(column, value, "a number");
}

// Appends the column's key bytes after the prefix, ascending.
void appendValue(const KeyColumn& column, const Value& value, std::vector<uint8_t>& out) {
    switch (static_cast<ColumnType>(column.typeCode)) {
        case ColumnType::Boolean: {
            const bool* flag = std::get_if<bool>(&value);
            if (flag == nullptr) {
                unsuitable(column, value, "True or False");
            }
            out.push_back(*flag ? 0x00 : 0xFF);
            break;
        }
        case ColumnType::Byte:
            out.push_back(static_cast<uint8_t>(integerIn(column, value, 0, 255)));
            break;
        case ColumnType::Integer: {
            int64_t number = integerIn(column, value, std::numeric_limits<int16_t>::min(),
                                       std::numeric_limits<int16_t>::max());
            appendBigEndian(out, static_cast<uint16_t>(number) ^ 0x8000u, 2);
            break;
        }
        case ColumnType::Long: {
            int64_t number = integerIn(column, value, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max());
            appendBigEndian(out, static_cast<uint32_t>(number) ^ 0x80000000u, 4);
            break;
        }
        case ColumnType::Currency: {
            const Currency* amount = std::get_if<Currency>(&value);
            if (amount == nullptr) {
                unsuitable(column, value, "a Currency amount");
            }
            appendBigEndian(out, static_cast<uint64_t>(amount->scaled) ^ (uint64_t{1} << 63), 8);
            break;
        }
        case ColumnType::Single: {
            // +0.0 for -0.0: equal values must give equal keys.
            float number = static_cast<float>(floatingOf(column, value)) + 0.0f;
            appendBigEndian(out, sortableFloatBits(std::bit_cast<uint32_t>(number), 32), 4);
            break;
        }
        case ColumnType::Double:
        case ColumnType::DateTime: {
            double number;
            if (const DateTime* date = std::get_if<DateTime>(&value)) {
                number = date->days;
            } else if (column.typeCode == static_cast<uint8_t>(ColumnType::DateTime)) {
                unsuitable(column, value, "a date");
            } else {
                number = floatingOf(column, value);
            }
            number += 0.0;
            appendBigEndian(out, sortableFloatBits(std::bit_cast<uint64_t>(number), 64), 8);
            break;
        }
        case ColumnType::Binary: {
            const Bytes* bytes = std::get_if<Bytes>(&value);
            if (bytes == nullptr) {
                unsuitable(column, value, "binary data");
            }
            appendSegments(out, bytes->data(), bytes->size());
            break;
        }
        case ColumnType::Guid: {
            const Guid* guid = std::get_if<Guid>(&value);
            if (guid == nullptr) {
                unsuitable(column, value, "a GUID");
            }
            appendSegments(out, guid->bytes.data(), guid->bytes.size());
            break;
        }
        case ColumnType::Text:
        case ColumnType::Memo: {
            const std::string* text = std::get_if<std::string>(&value);
            if (text == nullptr) {
                unsuitable(column, value, "text");
            }
            std::vector<uint8_t> key = encodeTextKey(*text, column.name);
            out.insert(out.end(), key.begin(), key.end());
            break;
        }
        default:
            throw JetError("column '" + column.name + "': Access does not index " +
                           columnTypeName(column.typeCode) + " columns this way");
    }
}

void appendColumnKey(const KeyColumn& column, const Value& value, std::vector<uint8_t>& out) {
    if (isNull(value)) {
        out.push_back(column.ascending ? kAscendingNull : kDescendingNull);
        return;
    }
    out.push_back(column.ascending ? kAscendingPrefix : kDescendingPrefix);
    size_t start = out.size();
    appendValue(column, value, out);
    if (!column.ascending) {
        for (size_t n = start; n < out.size(); ++n) {
            out[n] = static_cast<uint8_t>(~out[n]);
        }
    }
}

}  // namespace

std::vector<uint8_t> encodeTextKey(const std::string& utf8Text, const std::string& columnName) {
    std::vector<char32_t> text = codePoints(utf8ToUtf16(utf8Text));
    if (text.size() > kIndexedCharacters) {
        text.resize(kIndexedCharacters);
    }
    while (!text.empty() && text.back() == U' ') {
        text.pop_back();
    }

    std::vector<uint8_t> codes;
    std::vector<std::optional<uint8_t>> diacritics;  // one per letter position
    std::vector<uint8_t> unprintables;
    for (char32_t c : text) {
        std::optional<SortCode> code = generalLegacySortCode(c);
        if (!code) {
            throw IndexKeyError("column '" + columnName + "': the character " + codePointText(c) +
                                    " has no known General Legacy sort code, so its index key "
                                    "cannot be written as Access would",
                                c);
        }
        switch (code->kind) {
            case SortCode::Kind::Inline:
                codes.insert(codes.end(), code->bytes.begin(), code->bytes.begin() + code->length);
                diacritics.insert(diacritics.end(), code->positions, std::nullopt);
                break;
            case SortCode::Kind::Accented:
                codes.push_back(code->bytes[0]);
                diacritics.push_back(code->extra);
                break;
            case SortCode::Kind::Unprintable: {
                uint16_t position = static_cast<uint16_t>(
                    kUnprintablePositionFlag |
                    (kUnprintableFirstPosition + kUnprintablePositionStep * diacritics.size()));
                appendBigEndian(unprintables, position, 2);
                unprintables.push_back(kUnprintableMarker);
                unprintables.push_back(code->extra);
                break;
            }
        }
    }
    while (!diacritics.empty() && !diacritics.back()) {
        diacritics.pop_back();
    }

    std::vector<uint8_t> key = std::move(codes);
    key.push_back(kEndOfSection);
    for (const std::optional<uint8_t>& diacritic : diacritics) {
        key.push_back(diacritic.value_or(kNoDiacritic));
    }
    if (!unprintables.empty()) {
        key.insert(key.end(), {kEndOfSection, kEndOfSection, kEndOfSection});
        key.insert(key.end(), unprintables.begin(), unprintables.end());
    }
    key.push_back(kEndOfText);
    return key;
}

std::vector<KeyColumn> keyColumnsOf(const TableDefinition& table, const PhysicalIndex& index) {
    std::vector<KeyColumn> columns;
    for (const IndexColumn& indexColumn : index.columns) {
        const Column* column = table.columnByNumber(indexColumn.columnNumber);
        if (column == nullptr) {
            throw JetError("table '" + table.name + "': index " + std::to_string(index.number) +
                           " names column number " + std::to_string(indexColumn.columnNumber) +
                           ", which the table does not have");
        }
        KeyColumn key;
        key.typeCode = column->typeCode;
        key.ascending = indexColumn.ascending;
        key.name = column->name;
        key.valueIndex = static_cast<size_t>(column - table.columns.data());
        columns.push_back(std::move(key));
    }
    return columns;
}

bool indexHoldsRow(const PhysicalIndex& index, const std::vector<Value>& values) {
    return !index.ignoresNulls() || !std::all_of(values.begin(), values.end(), isNull);
}

std::vector<uint8_t> encodeIndexKey(const std::vector<KeyColumn>& columns,
                                    const std::vector<Value>& values) {
    if (values.size() != columns.size()) {
        throw JetError("an index key of " + std::to_string(columns.size()) + " columns got " +
                       std::to_string(values.size()) + " values");
    }
    std::vector<uint8_t> key;
    for (size_t n = 0; n < columns.size(); ++n) {
        appendColumnKey(columns[n], values[n], key);
    }
    return key;
}

bool indexHoldsTableRow(const PhysicalIndex& index, const std::vector<KeyColumn>& columns,
                        const std::vector<Value>& row) {
    return !index.ignoresNulls() ||
           !std::all_of(columns.begin(), columns.end(),
                        [&](const KeyColumn& column) { return isNull(valueOf(column, row)); });
}

void appendIndexKey(const std::vector<KeyColumn>& columns, const std::vector<Value>& row,
                    std::vector<uint8_t>& out) {
    for (const KeyColumn& column : columns) {
        appendColumnKey(column, valueOf(column, row), out);
    }
}

std::vector<Value> keyValuesOf(const std::vector<KeyColumn>& columns,
                               const std::vector<Value>& rowValues) {
    std::vector<Value> values;
    values.reserve(columns.size());
    for (const KeyColumn& column : columns) {
        values.push_back(valueOf(column, rowValues));
    }
    return values;
}

}  // namespace orvdb::jet
