#include "jet/write/value_writer.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/text_codec.hpp"

namespace orvdb::jet {

namespace {

std::string typeOf(const Value& value) {
    static const char* const names[] = {"a Null",     "a Yes/No", "an integer", "a floating-point",
                                        "a Currency", "a date",   "a text",     "a binary",
                                        "a GUID",     "a decimal"};
    return names[value.index()];
}

[[noreturn]] void wrongType(const Column& column, const Value& value, const ValuePlace& where) {
    throw JetError(where.text() + ": " + typeOf(value) + " value cannot be stored in a " +
                   columnTypeName(column.typeCode) + " column");
}

int64_t integerOf(const Column& column, const Value& value, const ValuePlace& where, int64_t low,
                  int64_t high) {
    int64_t result = 0;
    if (const auto* integer = std::get_if<int64_t>(&value)) {
        result = *integer;
    } else if (const auto* real = std::get_if<double>(&value);
               real && std::trunc(*real) == *real && std::fabs(*real) < 9.2e18) {
        result = static_cast<int64_t>(*real);
    } else {
        wrongType(column, value, where);
    }
    if (result < low || result > high) {
        throw JetError(where.text() + ": " + std::to_string(result) +
                       " is outside the range of a " + columnTypeName(column.typeCode) +
                       " column (" + std::to_string(low) + " to " + std::to_string(high) + ")");
    }
    return result;
}

double realOf(const Column& column, const Value& value, const ValuePlace& where) {
    if (const auto* real = std::get_if<double>(&value)) {
        return *real;
    }
    if (const auto* integer = std::get_if<int64_t>(&value)) {
        return static_cast<double>(*integer);
    }
    wrongType(column, value, where);
}

Bytes encodeDecimal(const Column& column, const Decimal& decimal, const ValuePlace& where) {
    std::string_view text = decimal.text;
    bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    size_t point = text.find('.');
    std::string whole(text.substr(0, point));
    std::string fraction(point == std::string_view::npos ? "" : text.substr(point + 1));
    auto bad = [&](const std::string& why) {
        throw JetError(where.text() + ": the decimal value \"" + decimal.text + "\" " + why);
    };
    if (fraction.size() > column.scale) {
        if (fraction.find_first_not_of('0', column.scale) != std::string::npos) {
            bad("has more than the column's " + std::to_string(column.scale) + " decimals");
        }
        fraction.resize(column.scale);
    }
    fraction.append(column.scale - fraction.size(), '0');
    std::string digits = whole + fraction;
    if (digits.empty() || digits.size() > 38 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        bad("is not a number of at most 38 digits");
    }
    unsigned __int128 magnitude = 0;
    for (char digit : digits) {
        magnitude = magnitude * 10 + static_cast<unsigned>(digit - '0');
    }
    Bytes out(decimal_layout::kSize, 0);
    out[decimal_layout::kSign] = negative && magnitude != 0 ? decimal_layout::kNegative : 0;
    for (size_t word = 0; word < decimal_layout::kWordCount; ++word) {
        size_t shift = 32 * (decimal_layout::kWordCount - 1 - word);
        putU32(out, decimal_layout::kWords + word * 4, static_cast<uint32_t>(magnitude >> shift));
    }
    return out;
}

}  // namespace

Bytes encodeText(const Column& column, const std::string& text) {
    std::u16string units = utf8ToUtf16(text);
    bool compress = column.isCompressedUnicode() && !units.empty() &&
                    units.size() <= kMaxCompressedCharacters &&
                    std::all_of(units.begin(), units.end(),
                                [](char16_t unit) { return unit != 0 && unit <= 0xFF; });
    Bytes out;
    if (compress) {
        out.reserve(units.size() + 2);
        out.assign(std::begin(kCompressedTextMark), std::end(kCompressedTextMark));
        for (char16_t unit : units) {
            out.push_back(static_cast<uint8_t>(unit));
        }
        return out;
    }
    out.reserve(units.size() * 2);
    for (char16_t unit : units) {
        appendLittleEndian(out, unit, 2);
    }
    return out;
}

Bytes encodeFixedValue(const Column& column, const Value& value, const ValuePlace& where) {
    Bytes out;
    switch (column.type()) {
        case ColumnType::Byte:
            out.push_back(static_cast<uint8_t>(integerOf(column, value, where, 0, 255)));
            return out;
        case ColumnType::Integer:
            appendLittleEndian(
                out, static_cast<uint64_t>(integerOf(column, value, where, -32768, 32767)), 2);
            return out;
        case ColumnType::Long:
            appendLittleEndian(
                out, static_cast<uint64_t>(integerOf(column, value, where, INT32_MIN, INT32_MAX)),
                4);
            return out;
        case ColumnType::Currency: {
            const auto* currency = std::get_if<Currency>(&value);
            if (!currency) {
                wrongType(column, value, where);
            }
            appendLittleEndian(out, static_cast<uint64_t>(currency->scaled), 8);
            return out;
        }
        case ColumnType::Single:
            appendLittleEndian(
                out, std::bit_cast<uint32_t>(static_cast<float>(realOf(column, value, where))), 4);
            return out;
        case ColumnType::Double:
            appendLittleEndian(out, std::bit_cast<uint64_t>(realOf(column, value, where)), 8);
            return out;
        case ColumnType::DateTime: {
            const auto* date = std::get_if<DateTime>(&value);
            if (!date) {
                wrongType(column, value, where);
            }
            appendLittleEndian(out, std::bit_cast<uint64_t>(date->days), 8);
            return out;
        }
        case ColumnType::Guid: {
            const auto* guid = std::get_if<Guid>(&value);
            if (!guid) {
                wrongType(column, value, where);
            }
            return Bytes(guid->bytes.begin(), guid->bytes.end());
        }
        case ColumnType::Decimal: {
            const auto* decimal = std::get_if<Decimal>(&value);
            if (!decimal) {
                wrongType(column, value, where);
            }
            return encodeDecimal(column, *decimal, where);
        }
        case ColumnType::Text: {
            const auto* text = std::get_if<std::string>(&value);
            if (!text) {
                wrongType(column, value, where);
            }
            // Fixed-size text is stored whole and padded with spaces.
            Column plain = column;
            plain.extendedFlags &= static_cast<uint8_t>(~Column::kCompressedUnicode);
            out = encodeText(plain, *text);
            if (out.size() > column.length) {
                throw JetError(where.text() + ": the text is longer than the column's " +
                               std::to_string(column.characterLength()) + " characters");
            }
            while (out.size() + 2 <= column.length) {
                appendLittleEndian(out, u' ', 2);
            }
            out.resize(column.length, 0);
            return out;
        }
        default: {
            const auto* bytes = std::get_if<Bytes>(&value);
            if (!bytes) {
                wrongType(column, value, where);
            }
            if (bytes->size() > column.length) {
                throw JetError(where.text() + ": " + std::to_string(bytes->size()) +
                               " bytes do not fit the column's " + std::to_string(column.length));
            }
            out = *bytes;
            out.resize(column.length, 0);
            return out;
        }
    }
}

Bytes encodeVariableValue(const Column& column, const Value& value, const ValuePlace& where) {
    switch (column.type()) {
        case ColumnType::Text:
        case ColumnType::Memo: {
            const auto* text = std::get_if<std::string>(&value);
            if (!text) {
                wrongType(column, value, where);
            }
            if (column.type() == ColumnType::Text) {
                size_t characters = utf8ToUtf16(*text).size();
                if (characters > size_t{column.length} / 2) {
                    throw JetError(where.text() + ": the text has " + std::to_string(characters) +
                                   " characters, more than the column's " +
                                   std::to_string(column.characterLength()));
                }
            }
            return encodeText(column, *text);
        }
        case ColumnType::OLE:
        case ColumnType::Binary:
        case ColumnType::Unknown0D:
        case ColumnType::Unknown11: {
            const auto* bytes = std::get_if<Bytes>(&value);
            if (!bytes) {
                wrongType(column, value, where);
            }
            if (column.type() == ColumnType::Binary && bytes->size() > column.length &&
                column.length != 0) {
                throw JetError(where.text() + ": " + std::to_string(bytes->size()) +
                               " bytes are more than the column's " +
                               std::to_string(column.length));
            }
            return *bytes;
        }
        default:
            // A fixed-size type without the fixed-length flag keeps its
            // usual bytes in the variable area.
            if (fixedSizeOf(column.typeCode) > 0) {
                return encodeFixedValue(column, value, where);
            }
            if (const auto* bytes = std::get_if<Bytes>(&value)) {
                return *bytes;
            }
            wrongType(column, value, where);
    }
}

}  // namespace orvdb::jet
