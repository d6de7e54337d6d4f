#include "engine/functions/column_coercion.hpp"

#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/functions/utf16_text.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/messages.hpp"
#include "engine/number_text.hpp"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace orvdb::engine {

namespace functions {

namespace {

constexpr double kCurrencyLimit = 922337203685477.5807;

// The converters fill `out` in place and return whether they did; false
// means the value is stored as it came. (Returning optional<SqlValue> makes
// GCC 12 report false uninitialised and non-heap warnings.)
bool setInteger(SqlValue& out, int64_t value) {
    out.emplace<int64_t>(value);
    return true;
}
bool setReal(SqlValue& out, double value) {
    out.emplace<double>(value);
    return true;
}
bool setText(SqlValue& out, std::string text) {
    out.emplace<std::string>(std::move(text));
    return true;
}

std::optional<double> numberOf(const ValueView& v) {
    switch (v.kind) {
        case ValueView::Integer:
            return static_cast<double>(v.integer);
        case ValueView::Real:
            return v.real;
        case ValueView::Text: {
            const std::optional<ParsedNumber> parsed = parseJetNumber(v.bytes);
            if (!parsed) {
                return std::nullopt;
            }
            if (!std::isfinite(parsed->value)) {
                raiseOverflow();
            }
            return parsed->value;
        }
        default:
            return std::nullopt;
    }
}

double requireNumber(const ValueView& v) {
    const std::optional<double> n = numberOf(v);
    if (!n) {
        raiseTypeMismatch();
    }
    return *n;
}

bool toBoolean(SqlValue& out, const ValueView& v) {
    switch (v.kind) {
        case ValueView::Null:
            return setInteger(out, 0);
        case ValueView::Integer:
            return setInteger(out, v.integer != 0 ? -1 : 0);
        case ValueView::Real:
            return setInteger(out, v.real != 0 ? -1 : 0);
        case ValueView::Text:
            if (const std::optional<bool> word = booleanWord(v.bytes)) {
                return setInteger(out, *word ? -1 : 0);
            }
            return setInteger(out, requireNumber(v) != 0 ? -1 : 0);
        default:
            raiseTypeMismatch();
    }
}

bool toInteger(SqlValue& out, const ValueView& v, int64_t min, int64_t max) {
    if (v.kind == ValueView::Integer) {
        if (v.integer < min || v.integer > max) {
            raiseOverflow();
        }
        return false;
    }
    if (v.kind == ValueView::Text) {
        const std::optional<ParsedNumber> parsed = parseJetNumber(v.bytes);
        if (parsed && parsed->isInteger) {
            if (parsed->integer < min || parsed->integer > max) {
                raiseOverflow();
            }
            return setInteger(out, parsed->integer);
        }
    }
    const double rounded = roundHalfEven(requireNumber(v));
    if (!(rounded >= static_cast<double>(min) && rounded <= static_cast<double>(max))) {
        raiseOverflow();
    }
    return setInteger(out, static_cast<int64_t>(rounded));
}

bool toDouble(SqlValue& out, const ValueView& v) {
    const double d = requireNumber(v);
    if (!std::isfinite(d)) {
        raiseOverflow();
    }
    if (v.kind == ValueView::Real) {
        return false;
    }
    return setReal(out, d);
}

bool toSingle(SqlValue& out, const ValueView& v) {
    const double d = requireNumber(v);
    const float f = static_cast<float>(d);
    if (!std::isfinite(f)) {
        raiseOverflow();
    }
    return setReal(out, static_cast<double>(f));
}

bool toCurrency(SqlValue& out, const ValueView& v) {
    const double rounded = roundToDecimals(requireNumber(v), 4, DecimalRounding::HalfEven);
    if (!(std::fabs(rounded) <= kCurrencyLimit)) {
        raiseOverflow();
    }
    return setReal(out, rounded);
}

bool toDateTime(SqlValue& out, const ValueView& v) {
    switch (v.kind) {
        case ValueView::Integer:
        case ValueView::Real: {
            const double serial =
                v.kind == ValueView::Integer ? static_cast<double>(v.integer) : v.real;
            if (!isJetDateInRange(serial)) {
                raiseOverflow();
            }
            return v.kind == ValueView::Real ? false : setReal(out, serial);
        }
        case ValueView::Text:
            if (const std::optional<double> date = parseJetDate(v.bytes)) {
                return setReal(out, *date);
            }
            raiseTypeMismatch();
        default:
            raiseTypeMismatch();
    }
}

void checkTextLength(std::string_view text, int size) {
    // Byte count is an upper bound of the UTF-16 length: skip the count when it fits.
    if (size > 0 && text.size() > static_cast<size_t>(size) &&
        utf16Length(text) > static_cast<size_t>(size)) {
        raise(msg::kFieldTooSmall);
    }
}

bool toText(SqlValue& out, const ValueView& v, JetType type, int size) {
    const int limit = type == JetType::Text ? size : 0;
    switch (v.kind) {
        case ValueView::Integer: {
            std::string text = std::to_string(v.integer);
            checkTextLength(text, limit);
            return setText(out, std::move(text));
        }
        case ValueView::Real: {
            std::string text = formatJetNumber(v.real);
            checkTextLength(text, limit);
            return setText(out, std::move(text));
        }
        case ValueView::Text:
            checkTextLength(v.bytes, limit);
            return false;
        case ValueView::Blob:
            if (!isValidUtf8(v.bytes)) {
                raiseTypeMismatch();
            }
            checkTextLength(v.bytes, limit);
            return setText(out, std::string(v.bytes));
        default:
            raiseTypeMismatch();
    }
}

bool toBinary(SqlValue& out, const ValueView& v, JetType type, int size) {
    if (v.kind != ValueView::Blob && v.kind != ValueView::Text) {
        raiseTypeMismatch();
    }
    if (type == JetType::Binary && size > 0 && v.bytes.size() > static_cast<size_t>(size)) {
        raise(msg::kFieldTooSmall);
    }
    if (v.kind == ValueView::Blob) {
        return false;
    }
    out.emplace<std::vector<uint8_t>>(v.bytes.begin(), v.bytes.end());
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string guidText(const uint8_t (&b)[16]) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return buffer;
}

bool toGuid(SqlValue& out, const ValueView& v) {
    uint8_t bytes[16];
    if (v.kind == ValueView::Blob && v.bytes.size() == 16) {
        // Windows byte order: the first three fields are little-endian.
        static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
        for (int i = 0; i < 16; ++i) {
            bytes[i] = static_cast<uint8_t>(v.bytes[static_cast<size_t>(kOrder[i])]);
        }
        return setText(out, guidText(bytes));
    }
    if (v.kind != ValueView::Text) {
        raiseTypeMismatch();
    }
    std::string_view text = v.bytes;
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (text.size() >= 2 && text.front() == '{' && text.back() == '}') {
        text = text.substr(1, text.size() - 2);
    }
    const bool dashed = text.size() == 36;
    if (!dashed && text.size() != 32) {
        raiseTypeMismatch();
    }
    size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (dashed && (i == 8 || i == 13 || i == 18 || i == 23)) {
            if (text[i] != '-') {
                raiseTypeMismatch();
            }
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
        if (high < 0 || low < 0 || n >= 16) {
            raiseTypeMismatch();
        }
        bytes[n++] = static_cast<uint8_t>(high * 16 + low);
        ++i;
    }
    if (n != 16) {
        raiseTypeMismatch();
    }
    std::string normalised = guidText(bytes);
    if (normalised.size() == v.bytes.size() && normalised == v.bytes) {
        return false;
    }
    return setText(out, std::move(normalised));
}

bool toDecimal(SqlValue& out, const ValueView& v, int precision, int scale) {
    DecimalDigits digits;
    switch (v.kind) {
        case ValueView::Integer:
            digits = *parseDecimalText(std::to_string(v.integer));
            break;
        case ValueView::Real:
            if (!std::isfinite(v.real)) {
                raiseOverflow();
            }
            digits = shortestDigits(v.real);
            break;
        case ValueView::Text:
            if (std::optional<DecimalDigits> parsed = parseDecimalText(v.bytes)) {
                digits = std::move(*parsed);
            } else {
                digits = shortestDigits(requireNumber(v));  // grouping, hex...
            }
            break;
        default:
            raiseTypeMismatch();
    }
    if (scale >= 0) {
        roundDigits(digits, scale, DecimalRounding::HalfEven);
    }
    // Jet's Decimal holds at most 28 digits.
    const int integerDigits = std::max(digits.pointPos, 0);
    const int maxInteger = precision > 0 ? precision - std::max(scale, 0) : 28;
    if (!digits.isZero() && integerDigits > maxInteger) {
        raiseOverflow();
    }
    return setText(out, plainDecimalText(digits, std::max(scale, 0)));
}

}  // namespace

bool coerceValue(const ValueView& v, const ColumnCoercion& c, SqlValue& out) {
    if (v.kind == ValueView::Null) {
        return c.type == JetType::Boolean && setInteger(out, 0);
    }
    switch (c.type) {
        case JetType::Boolean:
            return toBoolean(out, v);
        case JetType::Byte:
            return toInteger(out, v, 0, 255);
        case JetType::Integer:
            return toInteger(out, v, INT16_MIN, INT16_MAX);
        case JetType::Long:
            return toInteger(out, v, INT32_MIN, INT32_MAX);
        case JetType::Currency:
            return toCurrency(out, v);
        case JetType::Single:
            return toSingle(out, v);
        case JetType::Double:
            return toDouble(out, v);
        case JetType::DateTime:
            return toDateTime(out, v);
        case JetType::Text:
        case JetType::Memo:
            return toText(out, v, c.type, c.size);
        case JetType::Binary:
        case JetType::OLE:
            return toBinary(out, v, c.type, c.size);
        case JetType::GUID:
            return toGuid(out, v);
        case JetType::Decimal:
            return toDecimal(out, v, c.precision, c.scale);
    }
    raiseTypeMismatch();
}

}  // namespace functions

ColumnCoercion coercionFor(const ColumnDef& column) {
    ColumnCoercion c;
    c.type = column.type;
    c.size = column.size;
    if (column.type == JetType::Decimal) {
        c.precision = column.precision;
        c.scale = column.scale;
    }
    return c;
}

std::optional<JetType> jetTypeFromCode(int code) {
    switch (code) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 15:
        case 16:
            return static_cast<JetType>(code);
        default:
            return std::nullopt;
    }
}

SqlValue coerceForColumn(const SqlValue& value, const ColumnCoercion& coercion,
                         std::string_view column) {
    functions::ValueView view;
    if (const auto* i = std::get_if<int64_t>(&value)) {
        view.kind = functions::ValueView::Integer;
        view.integer = *i;
    } else if (const auto* d = std::get_if<double>(&value)) {
        view.kind = functions::ValueView::Real;
        view.real = *d;
    } else if (const auto* s = std::get_if<std::string>(&value)) {
        view.kind = functions::ValueView::Text;
        view.bytes = *s;
    } else if (const auto* b = std::get_if<std::vector<uint8_t>>(&value)) {
        view.kind = functions::ValueView::Blob;
        view.bytes = std::string_view(reinterpret_cast<const char*>(b->data()), b->size());
    }
    try {
        SqlValue converted;
        return functions::coerceValue(view, coercion, converted) ? converted : value;
    } catch (const EngineError& e) {
        throw EngineError(msg::coercionFailed(e.what(), column));
    }
}

}  // namespace orvdb::engine
