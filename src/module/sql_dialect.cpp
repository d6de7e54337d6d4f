#include "module/sql_dialect.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace orvdb::module {

namespace {

constexpr int64_t kMillisecondsPerDay = 86'400'000;
// Day 0 (1899-12-30) counted from 1970-01-01.
constexpr int64_t kDayZeroFromUnixEpoch = -25'569;
// Days the host can represent (years 1 to 9999), with room to spare; farther
// values are clamped so that the arithmetic below cannot overflow.
constexpr double kDayLimit = 1e9;

struct CivilDate {
    int64_t year;
    int month;
    int day;
};

// The proleptic Gregorian date of a day count from 1970-01-01.
CivilDate civilFromDays(int64_t days) {
    days += 719'468;
    const int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const int64_t dayOfEra = days - era * 146'097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1'460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::u16string ascii(const char* text) {
    std::u16string out;
    for (; *text; ++text) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    }
    return out;
}

}  // namespace

std::u16string decodeValueSql2(std::u16string_view condition, std::u16string_view a,
                               std::u16string_view b, std::u16string_view alias) {
    std::u16string out = u"IIF(";
    out.append(condition).append(u",").append(a).append(u",").append(b).append(u")");
    if (alias != u"[CONDITION]") {
        out.append(u" AS ").append(alias);
    }
    return out;
}

std::u16string decodeValueSql(std::u16string_view field, std::u16string_view valueWhenNull,
                              std::u16string_view alias) {
    std::u16string condition(field);
    condition += u" IS NULL";
    return decodeValueSql2(condition, valueWhenNull, field, alias);
}

std::u16string lineFeed(std::u16string_view text) {
    constexpr std::u16string_view kBreak = u"&chr(13)&chr(10)";
    std::u16string out(text);
    size_t start = 0;
    bool endsWithBreak = false;
    for (size_t cr = out.find(u'\r', start); cr != std::u16string::npos;
         cr = out.find(u'\r', start)) {
        // Quote the piece before the break, even an empty one.
        out.insert(start, 1, u'\'');
        out.insert(cr + 1, 1, u'\'');
        size_t at = cr + 2;
        out.erase(at, 2);
        std::u16string joiner(kBreak);
        if (at == out.size()) {
            endsWithBreak = true;
        } else {
            joiner += u'&';
        }
        out.insert(at, joiner);
        start = at + joiner.size();
    }
    if (!endsWithBreak) {
        out.insert(start, 1, u'\'');
        out += u'\'';
    }
    return out;
}

std::u16string castHex(std::u16string_view text) {
    if (text.empty()) {
        return u"0x0";
    }
    std::u16string out = u"0x";
    out += text;
    return out;
}

std::u16string dateTimeLiteral(double dateTime) {
    if (!std::isfinite(dateTime)) {
        dateTime = 0;
    }
    dateTime = std::fmax(-kDayLimit, std::fmin(kDayLimit, dateTime));
    int64_t days = static_cast<int64_t>(std::trunc(dateTime));
    int64_t milliseconds =
        std::llround(std::fabs(dateTime - static_cast<double>(days)) * kMillisecondsPerDay);
    if (milliseconds >= kMillisecondsPerDay) {
        // 23:59:59.9996 rounds to the next midnight.
        milliseconds -= kMillisecondsPerDay;
        ++days;
    }
    const CivilDate date = civilFromDays(days + kDayZeroFromUnixEpoch);
    const int64_t seconds = milliseconds / 1000;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "#%.*lld-%.*d-%.*d %.*d.%.*d.%.*d#", 4,
                  static_cast<long long>(date.year), 2, date.month, 2, date.day, 2,
                  static_cast<int>(seconds / 3600), 2, static_cast<int>(seconds / 60 % 60), 2,
                  static_cast<int>(seconds % 60));
    return ascii(buffer);
}

}  // namespace orvdb::module
