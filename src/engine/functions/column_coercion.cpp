#include "engine/functions/column_coercion.hpp"

#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/functions/utf16_text.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/messages.hpp"
#include "engine/number_text.hpp"
#include "jet/format/value.hpp"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

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

std::optional<double> numberOf(const ValueView& value) {
    switch (value.kind) {
        case ValueView::Integer:
            return static_cast<double>(value.integer);
        case ValueView::Real:
            return value.real;
        case ValueView::Text: {
            const std::optional<ParsedNumber> parsed = parseJetNumber(value.bytes);
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

double requireNumber(const ValueView& value) {
    const std::optional<double> number = numberOf(value);
    if (!number) {
        raiseTypeMismatch();
    }
    return *number;
}

bool toBoolean(SqlValue& out, const ValueView& value) {
    switch (value.kind) {
        case ValueView::Null:
            return setInteger(out, 0);
        case ValueView::Integer:
            return setInteger(out, value.integer != 0 ? -1 : 0);
        case ValueView::Real:
            return setInteger(out, value.real != 0 ? -1 : 0);
        case ValueView::Text:
            if (const std::optional<bool> word = booleanWord(value.bytes)) {
                return setInteger(out, *word ? -1 : 0);
            }
            return setInteger(out, requireNumber(value) != 0 ? -1 : 0);
        default:
            raiseTypeMismatch();
    }
}

bool toInteger(SqlValue& out, const ValueView& value, int64_t min, int64_t max) {
    if (value.kind == ValueView::Integer) {
        if (value.integer < min || value.integer > max) {
            raiseOverflow();
        }
        return false;
    }
    if (value.kind == ValueView::Text) {
        const std::optional<ParsedNumber> parsed = parseJetNumber(value.bytes);
        if (parsed && parsed->isInteger) {
            if (parsed->integer < min || parsed->integer > max) {
                raiseOverflow();
            }
            return setInteger(out, parsed->integer);
        }
    }
    const double rounded = roundHalfEven(requireNumber(value));
    if (!(rounded >= static_cast<double>(min) && rounded <= static_cast<double>(max))) {
        raiseOverflow();
    }
    return setInteger(out, static_cast<int64_t>(rounded));
}

bool toDouble(SqlValue& out, const ValueView& value) {
    const double d = requireNumber(value);
    if (!std::isfinite(d)) {
        raiseOverflow();
    }
    if (value.kind == ValueView::Real) {
        return false;
    }
    return setReal(out, d);
}

bool toSingle(SqlValue& out, const ValueView& value) {
    const double d = requireNumber(value);
    const float f = static_cast<float>(d);
    if (!std::isfinite(f)) {
        raiseOverflow();
    }
    return setReal(out, static_cast<double>(f));
}

bool toCurrency(SqlValue& out, const ValueView& value) {
    const double rounded = roundToDecimals(requireNumber(value), 4, DecimalRounding::HalfEven);
    if (!(std::fabs(rounded) <= kCurrencyLimit)) {
        raiseOverflow();
    }
    return setReal(out, rounded);
}

bool toDateTime(SqlValue& out, const ValueView& value) {
    switch (value.kind) {
        case ValueView::Integer:
        case ValueView::Real: {
            const double serial =
                value.kind == ValueView::Integer ? static_cast<double>(value.integer) : value.real;
            if (!isJetDateInRange(serial)) {
                raiseOverflow();
            }
            return value.kind == ValueView::Real ? false : setReal(out, serial);
        }
        case ValueView::Text:
            if (const std::optional<double> date = parseJetDate(value.bytes)) {
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

bool toText(SqlValue& out, const ValueView& value, JetType type, int size) {
    const int limit = type == JetType::Text ? size : 0;
    switch (value.kind) {
        case ValueView::Integer: {
            std::string text = std::to_string(value.integer);
            checkTextLength(text, limit);
            return setText(out, std::move(text));
        }
        case ValueView::Real: {
            std::string text = formatJetNumber(value.real);
            checkTextLength(text, limit);
            return setText(out, std::move(text));
        }
        case ValueView::Text:
            checkTextLength(value.bytes, limit);
            return false;
        case ValueView::Blob:
            if (!isValidUtf8(value.bytes)) {
                raiseTypeMismatch();
            }
            checkTextLength(value.bytes, limit);
            return setText(out, std::string(value.bytes));
        default:
            raiseTypeMismatch();
    }
}

bool toBinary(SqlValue& out, const ValueView& value, JetType type, int size) {
    if (value.kind != ValueView::Blob && value.kind != ValueView::Text) {
        raiseTypeMismatch();
    }
    if (type == JetType::Binary && size > 0 && value.bytes.size() > static_cast<size_t>(size)) {
        raise(msg::kFieldTooSmall);
    }
    if (value.kind == ValueView::Blob) {
        return false;
    }
    out.emplace<std::vector<uint8_t>>(value.bytes.begin(), value.bytes.end());
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

bool toGuid(SqlValue& out, const ValueView& value) {
    jet::Guid guid;
    if (value.kind == ValueView::Blob && value.bytes.size() == 16) {
        std::memcpy(guid.bytes.data(), value.bytes.data(), guid.bytes.size());
        return setText(out, guid.toString());
    }
    if (value.kind != ValueView::Text) {
        raiseTypeMismatch();
    }
    std::string_view text = value.bytes;
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
        // Text shows the first three fields most significant byte first;
        // they are stored the other way round.
        static constexpr size_t kStored[16] = {3, 2, 1,  0,  5,  4,  7,  6,
                                               8, 9, 10, 11, 12, 13, 14, 15};
        guid.bytes[kStored[n++]] = static_cast<uint8_t>(high * 16 + low);
        ++i;
    }
    if (n != 16) {
        raiseTypeMismatch();
    }
    std::string normalised = guid.toString();
    if (normalised.size() == value.bytes.size() && normalised == value.bytes) {
        return false;
    }
    return setText(out, std::move(normalised));
}

bool toDecimal(SqlValue& out, const ValueView& value, int precision, int scale) {
    DecimalDigits digits;
    switch (value.kind) {
        case ValueView::Integer:
            digits = *parseDecimalText(std::to_string(value.integer));
            break;
        case ValueView::Real:
            if (!std::isfinite(value.real)) {
                raiseOverflow();
            }
            digits = shortestDigits(value.real);
            break;
        case ValueView::Text:
            if (std::optional<DecimalDigits> parsed = parseDecimalText(value.bytes)) {
                digits = std::move(*parsed);
            } else {
                digits = shortestDigits(requireNumber(value));  // grouping, hex...
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

bool coerceValue(const ValueView& value, const ColumnCoercion& coercion, SqlValue& out) {
    if (value.kind == ValueView::Null) {
        return coercion.type == JetType::Boolean && setInteger(out, 0);
    }
    switch (coercion.type) {
        case JetType::Boolean:
            return toBoolean(out, value);
        case JetType::Byte:
            return toInteger(out, value, 0, 255);
        case JetType::Integer:
            return toInteger(out, value, INT16_MIN, INT16_MAX);
        case JetType::Long:
            return toInteger(out, value, INT32_MIN, INT32_MAX);
        case JetType::Currency:
            return toCurrency(out, value);
        case JetType::Single:
            return toSingle(out, value);
        case JetType::Double:
            return toDouble(out, value);
        case JetType::DateTime:
            return toDateTime(out, value);
        case JetType::Text:
        case JetType::Memo:
            return toText(out, value, coercion.type, coercion.size);
        case JetType::Binary:
        case JetType::OLE:
            return toBinary(out, value, coercion.type, coercion.size);
        case JetType::GUID:
            return toGuid(out, value);
        case JetType::Decimal:
            return toDecimal(out, value, coercion.precision, coercion.scale);
    }
    raiseTypeMismatch();
}

}  // namespace functions

ColumnCoercion coercionFor(const ColumnDef& column) {
    ColumnCoercion coercion;
    coercion.type = column.type;
    coercion.size = column.size;
    if (column.type == JetType::Decimal) {
        coercion.precision = column.precision;
        coercion.scale = column.scale;
    }
    return coercion;
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
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        view.kind = functions::ValueView::Text;
        view.bytes = *text;
    } else if (const auto* bytes = std::get_if<std::vector<uint8_t>>(&value)) {
        view.kind = functions::ValueView::Blob;
        view.bytes = std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    }
    try {
        SqlValue converted;
        return functions::coerceValue(view, coercion, converted) ? converted : value;
    } catch (const EngineError& e) {
        throw EngineError(msg::coercionFailed(e.what(), column));
    }
}

}  // namespace orvdb::engine
