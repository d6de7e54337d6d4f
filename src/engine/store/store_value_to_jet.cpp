#include "engine/store/store_value_to_jet.hpp"

#include "engine/engine_error.hpp"

#include <cctype>
#include <cmath>

namespace orvdb::engine {

namespace {

int hexDigit(char c) {
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

std::string textOf(sqlite3_stmt* s, int i) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(s, i))) : "";
}

jet::Bytes bytesOf(sqlite3_stmt* s, int i) {
    // Text read as a blob gives its UTF-8 bytes.
    const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(s, i));
    int size = sqlite3_column_bytes(s, i);
    return data ? jet::Bytes(data, data + size) : jet::Bytes{};
}

[[noreturn]] void badValue(std::string_view table, const jet::Column& column,
                           const std::string& text, std::string_view what) {
    throw EngineError("Table '" + std::string(table) + "', column '" + column.name +
                      "': the value '" + text + "' is not " + std::string(what) + ".");
}

}  // namespace

bool parseGuid(std::string_view text, jet::Guid& guid) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
        text = text.substr(1, 36);
    }
    if (text.size() != 36) {
        return false;
    }
    uint8_t plain[16];
    size_t n = 0;
    for (size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i++] != '-') {
                return false;
            }
            continue;
        }
        int hi = hexDigit(text[i]), lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) {
            return false;
        }
        plain[n++] = static_cast<uint8_t>(hi * 16 + lo);
        i += 2;
    }
    // The first three fields are stored little-endian.
    static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i) {
        guid.bytes[static_cast<size_t>(i)] = plain[kOrder[i]];
    }
    return true;
}

bool normalizeDecimal(std::string_view text, unsigned scale, std::string& out) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) {
        return false;
    }
    for (char c : whole) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    for (char c : fraction) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    while (whole.size() > 1 && whole.front() == '0') {
        whole.remove_prefix(1);
    }
    std::string digits = whole.empty() ? "0" : std::string(whole);
    std::string decimals(fraction.substr(0, scale));
    decimals.resize(scale, '0');
    bool zero = digits == "0" && decimals.find_first_not_of('0') == std::string::npos;
    out = (negative && !zero ? "-" : "") + digits + (scale ? "." + decimals : "");
    return true;
}

jet::Value jetValueFromStore(sqlite3_stmt* s, int i, const jet::Column& column,
                             std::string_view table) {
    int storage = sqlite3_column_type(s, i);
    if (storage == SQLITE_NULL) {
        // Jet has no null Boolean: the null-mask bit is the value.
        if (column.type() == jet::ColumnType::Boolean) {
            return false;
        }
        return std::monostate{};
    }
    switch (column.type()) {
        case jet::ColumnType::Boolean:
            return sqlite3_column_int64(s, i) != 0;
        case jet::ColumnType::Byte:
        case jet::ColumnType::Integer:
        case jet::ColumnType::Long:
            return static_cast<int64_t>(sqlite3_column_int64(s, i));
        case jet::ColumnType::Currency:
            return jet::Currency{std::llround(sqlite3_column_double(s, i) * 10000.0)};
        case jet::ColumnType::Single:
        case jet::ColumnType::Double:
            return sqlite3_column_double(s, i);
        case jet::ColumnType::DateTime:
            return jet::DateTime{sqlite3_column_double(s, i)};
        case jet::ColumnType::Text:
        case jet::ColumnType::Memo:
            return textOf(s, i);
        case jet::ColumnType::Guid: {
            if (storage == SQLITE_BLOB && sqlite3_column_bytes(s, i) == 16) {
                jet::Guid guid;
                jet::Bytes bytes = bytesOf(s, i);
                std::copy(bytes.begin(), bytes.end(), guid.bytes.begin());
                return guid;
            }
            std::string text = textOf(s, i);
            jet::Guid guid;
            if (!parseGuid(text, guid)) {
                badValue(table, column, text, "a GUID");
            }
            return guid;
        }
        case jet::ColumnType::Decimal: {
            std::string text = textOf(s, i);
            jet::Decimal decimal;
            decimal.precision = column.precision;
            decimal.scale = column.scale;
            if (!normalizeDecimal(text, column.scale, decimal.text)) {
                badValue(table, column, text, "a decimal number");
            }
            return decimal;
        }
        default:
            return bytesOf(s, i);
    }
}

}  // namespace orvdb::engine
