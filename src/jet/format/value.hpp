// A decoded column value. Types keep what Jet stores exactly: Currency as the
// scaled integer, DateTime as the day count, Decimal as an exact text.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace orvdb::jet {

struct Currency {
    int64_t scaled = 0;            // the amount times 10000
    std::string toString() const;  // "-12.3400": always four decimals
    auto operator<=>(const Currency&) const = default;
};

struct DateTime {
    double days = 0;  // since 1899-12-30; the fraction is the time of day
    // "YYYY-MM-DD HH:MM:SS", rounded to the nearest second.
    std::string toString() const;
    auto operator<=>(const DateTime&) const = default;
};

struct Guid {
    std::array<uint8_t, 16> bytes{};  // as stored: first three fields little-endian
    std::string toString() const;     // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    auto operator<=>(const Guid&) const = default;
};

// A Decimal as stored: a sign byte (non-zero = negative; Jet writes 0x80),
// then the unscaled value as four little-endian 32-bit words, the most
// significant word first.
namespace decimal_layout {
inline constexpr size_t kSign = 0;
inline constexpr uint8_t kNegative = 0x80;
inline constexpr size_t kWords = 1;
inline constexpr size_t kWordCount = 4;
inline constexpr size_t kSize = 17;
}  // namespace decimal_layout

struct Decimal {
    std::string text;  // exact, with exactly `scale` decimals: "-12.3400"
    uint8_t precision = 0;
    uint8_t scale = 0;
    auto operator<=>(const Decimal&) const = default;
};

using Bytes = std::vector<uint8_t>;

// Null, Boolean, Byte/Integer/Long, Single/Double, Currency, DateTime,
// Text/Memo (UTF-8), Binary/OLE, GUID, Decimal.
using Value = std::variant<std::monostate, bool, int64_t, double, Currency, DateTime, std::string,
                           Bytes, Guid, Decimal>;

inline bool isNull(const Value& value) {
    return std::holds_alternative<std::monostate>(value);
}

// A readable rendering for diagnostics: "Null", "True", numbers, quoted text,
// binary as hex "0x0A1B".
std::string describe(const Value& value);

// Formats the unsigned 128-bit magnitude of a Jet NUMERIC with `scale` decimals.
std::string formatDecimal(bool negative, unsigned __int128 magnitude, unsigned scale);

}  // namespace orvdb::jet
