#include "jet/format/value.hpp"

#include <cmath>
#include <cstdio>

namespace orvdb::jet {

namespace {

// Proleptic Gregorian civil date from days since 1970-01-01.
void civilFromDays(int64_t z, int64_t& year, unsigned& month, unsigned& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

constexpr int64_t kDaysFrom1899To1970 = 25569;

}  // namespace

std::string Currency::toString() const {
    bool negative = scaled < 0;
    // Work in unsigned so that INT64_MIN has a magnitude.
    uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    return formatDecimal(negative, magnitude, 4);
}

std::string DateTime::toString() const {
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6) {
        return "(invalid date)";
    }
    // The whole part counts days (negative before 1899-12-30); the fraction is
    // always the time after midnight of that day.
    double whole = std::trunc(days);
    double fraction = std::fabs(days - whole);
    auto seconds = static_cast<int64_t>(std::llround(fraction * 86400.0));
    auto day = static_cast<int64_t>(whole);
    if (seconds >= 86400) {
        // Rounded up to midnight: the calendar day after, also before day 0.
        seconds -= 86400;
        day += 1;
    }
    int64_t year = 0;
    unsigned month = 0;
    unsigned dayOfMonth = 0;
    civilFromDays(day - kDaysFrom1899To1970, year, month, dayOfMonth);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02d:%02d:%02d",
                  static_cast<long long>(year), month, dayOfMonth, static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return buffer;
}

std::string Guid::toString() const {
    const auto& b = bytes;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                  b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return buffer;
}

std::string formatDecimal(bool negative, unsigned __int128 magnitude, unsigned scale) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    if (digits.size() <= scale) {
        digits.insert(0, scale + 1 - digits.size(), '0');
    }
    if (scale > 0) {
        digits.insert(digits.size() - scale, 1, '.');
    }
    bool zero = digits.find_first_not_of("0.") == std::string::npos;
    if (negative && !zero) {
        digits.insert(digits.begin(), '-');
    }
    return digits;
}

std::string describe(const Value& value) {
    struct Visitor {
        std::string operator()(std::monostate) const { return "Null"; }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.17g", v);
            return buffer;
        }
        std::string operator()(const Currency& v) const { return v.toString(); }
        std::string operator()(const DateTime& v) const { return "#" + v.toString() + "#"; }
        std::string operator()(const std::string& v) const { return "\"" + v + "\""; }
        std::string operator()(const Bytes& v) const {
            static const char* hex = "0123456789ABCDEF";
            std::string out = "0x";
            for (uint8_t byte : v) {
                out += hex[byte >> 4];
                out += hex[byte & 15];
            }
            return out;
        }
        std::string operator()(const Guid& v) const { return v.toString(); }
        std::string operator()(const Decimal& v) const { return v.text; }
    };
    return std::visit(Visitor{}, value);
}

}  // namespace orvdb::jet
