#include "engine/jet_datetime.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace orvdb::engine {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1899-12-30.
constexpr int64_t kUnixEpochDay = 25569;

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int currentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

// ---- Parsing --------------------------------------------------------------

// ASCII only, whatever the C locale says about other bytes.
bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

struct Token {
    enum Kind { Number, Word, Separator } kind;
    explicit Token(Kind k) : kind(k) {}
    long value = 0;      // Number
    int digits = 0;      // Number
    std::string word;    // Word, lower case
    char separator = 0;  // Separator: one of "/-.:," or ' '
};

std::optional<std::vector<Token>> tokenize(std::string_view text) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (isAsciiDigit(static_cast<char>(c))) {
            Token token(Token::Number);
            while (i < text.size() && isAsciiDigit(text[i])) {
                if (token.digits < 9) {
                    token.value = token.value * 10 + (text[i] - '0');
                }
                ++token.digits;
                ++i;
            }
            tokens.push_back(std::move(token));
        } else if (isAsciiLetter(static_cast<char>(c))) {
            Token token(Token::Word);
            while (i < text.size() && isAsciiLetter(text[i])) {
                token.word.push_back(asciiLower(text[i]));
                ++i;
            }
            tokens.push_back(std::move(token));
        } else if (c == ' ' || c == '\t' || c == '/' || c == '-' || c == '.' || c == ':' ||
                   c == ',') {
            const char sep = (c == '\t') ? ' ' : static_cast<char>(c);
            if (!tokens.empty() && tokens.back().kind == Token::Separator) {
                // Blanks around a separator belong to it; two real separators
                // in a row are not a date.
                char& previous = tokens.back().separator;
                if (previous == ' ') {
                    previous = sep;
                } else if (sep != ' ') {
                    return std::nullopt;
                }
            } else {
                Token token(Token::Separator);
                token.separator = sep;
                tokens.push_back(std::move(token));
            }
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

constexpr std::array<const char*, 12> kMonthNames = {
    "january", "february", "march",     "april",   "may",      "june",
    "july",    "august",   "september", "october", "november", "december"};
constexpr std::array<const char*, 7> kWeekdayNames = {"sunday",   "monday", "tuesday", "wednesday",
                                                      "thursday", "friday", "saturday"};

// Full name or an abbreviation of at least three letters ("Mar", "Sept").
int matchName(const std::string& word, const char* const* names, size_t count) {
    if (word.size() < 3) {
        return 0;
    }
    for (size_t n = 0; n < count; ++n) {
        if (std::string_view(names[n]).substr(0, word.size()) == word) {
            return static_cast<int>(n) + 1;
        }
    }
    return 0;
}

int monthFromWord(const Token& token) {
    return token.kind == Token::Word ? matchName(token.word, kMonthNames.data(), kMonthNames.size())
                                     : 0;
}

bool isWeekdayWord(const Token& token) {
    return token.kind == Token::Word &&
           matchName(token.word, kWeekdayNames.data(), kWeekdayNames.size()) != 0;
}

int meridiemOf(const Token& token) {  // 1 AM, 2 PM, 0 neither
    if (token.kind != Token::Word) {
        return 0;
    }
    if (token.word == "am" || token.word == "a") {
        return 1;
    }
    if (token.word == "pm" || token.word == "p") {
        return 2;
    }
    return 0;
}

class DateTextParser {
public:
    explicit DateTextParser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    std::optional<double> parse() {
        skipWeekday();
        const size_t dateStart = pos_;
        collectDateComponents();
        const bool hasDate = pos_ > dateStart;
        DateParts parts;
        if (hasDate && !resolveDate(parts)) {
            return std::nullopt;
        }
        skipSeparator(' ');
        if (pos_ < tokens_.size() && tokens_[pos_].kind == Token::Word &&
            tokens_[pos_].word == "t") {
            ++pos_;
        }
        const size_t timeStart = pos_;
        double fraction = 0;
        if (!parseTime(parts, hasDate, fraction)) {
            return std::nullopt;
        }
        skipSeparator(' ');
        if (pos_ != tokens_.size() || (!hasDate && pos_ == timeStart)) {
            return std::nullopt;
        }
        std::optional<double> value = jetDateFromParts(parts);
        if (!value) {
            return std::nullopt;
        }
        if (fraction > 0) {
            const int64_t seconds = jetDateToSeconds(*value) + (fraction >= 0.5 ? 1 : 0);
            return jetDateFromSeconds(seconds);
        }
        return value;
    }

private:
    const Token* peek(size_t offset = 0) const {
        return pos_ + offset < tokens_.size() ? &tokens_[pos_ + offset] : nullptr;
    }
    void skipSeparator(char sep) {
        if (const Token* token = peek();
            token && token->kind == Token::Separator && token->separator == sep) {
            ++pos_;
        }
    }
    void skipWeekday() {
        if (const Token* token = peek(); token && isWeekdayWord(*token)) {
            ++pos_;
            if (const Token* next = peek(); next && next->kind == Token::Separator &&
                                            (next->separator == ',' || next->separator == ' ')) {
                ++pos_;
            }
        }
    }

    // A number that opens a time of day: followed by ':' or by AM/PM.
    bool startsTime(size_t at) const {
        if (at >= tokens_.size() || tokens_[at].kind != Token::Number) {
            return false;
        }
        size_t next = at + 1;
        if (next < tokens_.size() && tokens_[next].kind == Token::Separator) {
            if (tokens_[next].separator == ':') {
                return true;
            }
            if (tokens_[next].separator != ' ') {
                return false;
            }
            ++next;
        }
        return next < tokens_.size() && meridiemOf(tokens_[next]) != 0;
    }

    bool isDateComponent(size_t at) const {
        if (at >= tokens_.size()) {
            return false;
        }
        const Token& token = tokens_[at];
        if (token.kind == Token::Number) {
            return !startsTime(at);
        }
        return monthFromWord(token) != 0;
    }

    void collectDateComponents() {
        while (components_.size() < 3 && isDateComponent(pos_)) {
            components_.push_back(pos_);
            ++pos_;
            const Token* sep = peek();
            if (components_.size() == 3 || !sep || sep->kind != Token::Separator ||
                sep->separator == ':' || !isDateComponent(pos_ + 1)) {
                break;
            }
            separators_.push_back(sep->separator);
            ++pos_;
        }
    }

    static bool yearLike(const Token& token) { return token.digits >= 3 || token.value > 31; }
    static int yearOf(const Token& token) {
        return token.digits <= 2 ? jetExpandYear(static_cast<int>(token.value))
                                 : static_cast<int>(token.value);
    }

    bool resolveDate(DateParts& parts) const {
        std::vector<const Token*> numbers;
        int month = 0;
        for (size_t index : components_) {
            const Token& token = tokens_[index];
            if (token.kind == Token::Number) {
                numbers.push_back(&token);
            } else if (month != 0) {
                return false;  // two month names
            } else {
                month = monthFromWord(token);
            }
        }
        if (month != 0) {
            for (char s : separators_) {
                if (s == ':') {
                    return false;
                }
            }
            parts.month = month;
            if (numbers.size() == 1) {
                if (yearLike(*numbers[0])) {
                    parts.year = yearOf(*numbers[0]);
                    parts.day = 1;
                } else {
                    parts.day = static_cast<int>(numbers[0]->value);
                    parts.year = currentYear();
                }
            } else if (numbers.size() == 2) {
                const bool firstIsYear = yearLike(*numbers[0]);
                const Token& dayToken = firstIsYear ? *numbers[1] : *numbers[0];
                const Token& yearToken = firstIsYear ? *numbers[0] : *numbers[1];
                parts.day = static_cast<int>(dayToken.value);
                parts.year = yearOf(yearToken);
            } else {
                return false;
            }
            return true;
        }
        // All numeric: one kind of separator, '/', '-' or '.'.
        if (numbers.size() < 2) {
            return false;
        }
        const char sep = separators_.front();
        if (sep != '/' && sep != '-' && sep != '.') {
            return false;
        }
        for (char s : separators_) {
            if (s != sep) {
                return false;
            }
        }
        long first = numbers[0]->value;
        long second = numbers[1]->value;
        if (numbers.size() == 3) {
            if (yearLike(*numbers[0])) {  // year first: 2024-03-05
                parts.year = yearOf(*numbers[0]);
                parts.month = static_cast<int>(second);
                parts.day = static_cast<int>(numbers[2]->value);
                return true;
            }
            // Month first as in Jet's #m/d/yyyy# literals; a first number that
            // cannot be a month is read as the day.
            if (first > 12 && second <= 12) {
                std::swap(first, second);
            }
            parts.month = static_cast<int>(first);
            parts.day = static_cast<int>(second);
            parts.year = yearOf(*numbers[2]);
            return true;
        }
        if (yearLike(*numbers[1])) {  // 3/2024
            parts.month = static_cast<int>(first);
            parts.year = yearOf(*numbers[1]);
            parts.day = 1;
        } else if (yearLike(*numbers[0])) {  // 2024-03
            parts.year = yearOf(*numbers[0]);
            parts.month = static_cast<int>(second);
            parts.day = 1;
        } else {  // 3/5: this year
            if (first > 12 && second <= 12) {
                std::swap(first, second);
            }
            parts.month = static_cast<int>(first);
            parts.day = static_cast<int>(second);
            parts.year = currentYear();
        }
        return true;
    }

    // h:nn[:ss[.fff]] [AM|PM], h.nn.ss after a date, or h AM|PM.
    bool parseTime(DateParts& parts, bool hasDate, double& fraction) {
        const Token* hourToken = peek();
        if (!hourToken || hourToken->kind != Token::Number) {
            return true;  // no time
        }
        const Token* sep = peek(1);
        const bool colon = sep && sep->kind == Token::Separator && sep->separator == ':';
        const bool dotted =
            hasDate && sep && sep->kind == Token::Separator && sep->separator == '.';
        if (hourToken->digits > 2) {
            return false;
        }
        int hour = static_cast<int>(hourToken->value);
        int minute = 0;
        int second = 0;
        ++pos_;
        if (colon || dotted) {
            const char timeSep = sep->separator;
            ++pos_;
            const Token* minuteToken = peek();
            if (!minuteToken || minuteToken->kind != Token::Number || minuteToken->digits > 2) {
                return false;
            }
            minute = static_cast<int>(minuteToken->value);
            ++pos_;
            const Token* sep2 = peek();
            if (sep2 && sep2->kind == Token::Separator && sep2->separator == timeSep) {
                const Token* secondToken = peek(1);
                if (!secondToken || secondToken->kind != Token::Number || secondToken->digits > 2) {
                    return false;
                }
                second = static_cast<int>(secondToken->value);
                pos_ += 2;
                if (timeSep == ':' && peek() && peek()->kind == Token::Separator &&
                    peek()->separator == '.' && peek(1) && peek(1)->kind == Token::Number) {
                    const Token& fractionToken = *peek(1);
                    fraction = static_cast<double>(fractionToken.value) /
                               std::pow(10.0, std::min(fractionToken.digits, 9));
                    pos_ += 2;
                }
            }
        }
        skipSeparator(' ');
        if (const Token* meridiemToken = peek(); meridiemToken && meridiemOf(*meridiemToken) != 0) {
            if (hour < 1 || hour > 12) {
                return false;
            }
            if (meridiemOf(*meridiemToken) == 1) {
                hour = hour == 12 ? 0 : hour;
            } else {
                hour = hour == 12 ? 12 : hour + 12;
            }
            ++pos_;
        } else if (!colon && !dotted) {
            return false;  // a lone number is not a time
        }
        parts.hour = hour;
        parts.minute = minute;
        parts.second = second;
        return true;
    }

    std::vector<Token> tokens_;
    size_t pos_ = 0;
    std::vector<size_t> components_;
    std::vector<char> separators_;
};

}  // namespace

int64_t jetDayNumber(int year, int month, int day) {
    // Days from civil (H. Hinnant's algorithm), shifted to 1899-12-30.
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + kUnixEpochDay;
}

void jetCivilDate(int64_t dayNumber, int& year, int& month, int& day) {
    const int64_t z = dayNumber - kUnixEpochDay + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int jetDaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && isLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

int jetExpandYear(int year) {
    if (year >= 0 && year < 30) {
        return 2000 + year;
    }
    if (year >= 30 && year < 100) {
        return 1900 + year;
    }
    return year;
}

std::optional<double> jetDateFromParts(const DateParts& parts) {
    if (parts.year < 100 || parts.year > 9999 || parts.month < 1 || parts.month > 12 ||
        parts.day < 1 || parts.day > jetDaysInMonth(parts.year, parts.month) || parts.hour < 0 ||
        parts.hour > 23 || parts.minute < 0 || parts.minute > 59 || parts.second < 0 ||
        parts.second > 59) {
        return std::nullopt;
    }
    const int64_t seconds = jetDayNumber(parts.year, parts.month, parts.day) * kSecondsPerDay +
                            parts.hour * 3600 + parts.minute * 60 + parts.second;
    return jetDateFromSeconds(seconds);
}

int64_t jetDateToSeconds(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    // Clamp far outside any calendar so the arithmetic below cannot overflow.
    value = std::fmax(-1e12, std::fmin(1e12, value));
    const double days = std::trunc(value);
    const double fraction = std::fabs(value - days);
    return static_cast<int64_t>(days) * kSecondsPerDay +
           static_cast<int64_t>(std::llround(fraction * kSecondsPerDay));
}

double jetDateFromSeconds(int64_t seconds) {
    const int64_t days = floorDiv(seconds, kSecondsPerDay);
    const double fraction =
        static_cast<double>(seconds - days * kSecondsPerDay) / static_cast<double>(kSecondsPerDay);
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

DateParts jetDateToParts(double value) {
    const int64_t seconds = jetDateToSeconds(value);
    const int64_t days = floorDiv(seconds, kSecondsPerDay);
    const int64_t time = seconds - days * kSecondsPerDay;
    DateParts parts;
    jetCivilDate(days, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(time / 3600);
    parts.minute = static_cast<int>((time / 60) % 60);
    parts.second = static_cast<int>(time % 60);
    return parts;
}

bool isJetDateInRange(double value) {
    // 100-01-01 is day -657434; before 1899-12-30 the time of day makes the
    // value more negative, so the whole of that day lies above -657435.
    return std::isfinite(value) && value > -657435.0 && value < 2958466.0;
}

std::optional<double> parseJetDate(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    // The content of a #...# literal may arrive with its delimiters.
    if (text.size() >= 2 && text.front() == '#' && text.back() == '#') {
        text = text.substr(1, text.size() - 2);
    }
    if (text.empty() || text.size() > 100) {
        return std::nullopt;
    }
    std::optional<std::vector<Token>> tokens = tokenize(text);
    if (!tokens || tokens->empty() || tokens->front().kind == Token::Separator) {
        return std::nullopt;
    }
    return DateTextParser(std::move(*tokens)).parse();
}

double jetDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateParts parts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
    return jetDateFromParts(parts).value_or(0.0);
}

std::string formatJetDate(double value) {
    const DateParts parts = jetDateToParts(value);
    char buffer[48];
    if (parts.hour == 0 && parts.minute == 0 && parts.second == 0) {
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", parts.year,
                      parts.month, parts.day, parts.hour, parts.minute, parts.second);
    }
    return buffer;
}

}  // namespace orvdb::engine
