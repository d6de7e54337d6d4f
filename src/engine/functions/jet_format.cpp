#include "engine/functions/jet_format.hpp"

#include "engine/functions/date_intervals.hpp"
#include "engine/functions/date_names.hpp"
#include "engine/functions/utf16_text.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/number_text.hpp"

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace orvdb::engine::functions {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool equalsIgnoreCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (size_t i = 0; i < left.size(); ++i) {
        if (lowerAscii(left[i]) != lowerAscii(right[i])) {
            return false;
        }
    }
    return true;
}

bool startsWithIgnoreCase(std::string_view text, size_t at, std::string_view prefix) {
    return text.size() - at >= prefix.size() &&
           equalsIgnoreCase(text.substr(at, prefix.size()), prefix);
}

// Length in bytes of the UTF-8 character starting at text[at].
size_t charLength(std::string_view text, size_t at) {
    size_t next = at;
    nextCodePoint(text, next);
    return next - at;
}

enum class Named {
    None,
    GeneralNumber,
    Currency,
    Fixed,
    Standard,
    Percent,
    Scientific,
    YesNo,
    TrueFalse,
    OnOff,
    GeneralDate,
    LongDate,
    MediumDate,
    ShortDate,
    LongTime,
    MediumTime,
    ShortTime,
};

Named namedFormat(std::string_view pattern) {
    static constexpr std::pair<std::string_view, Named> kNames[] = {
        {"General Number", Named::GeneralNumber},
        {"Currency", Named::Currency},
        {"Fixed", Named::Fixed},
        {"Standard", Named::Standard},
        {"Percent", Named::Percent},
        {"Scientific", Named::Scientific},
        {"Yes/No", Named::YesNo},
        {"True/False", Named::TrueFalse},
        {"On/Off", Named::OnOff},
        {"General Date", Named::GeneralDate},
        {"Long Date", Named::LongDate},
        {"Medium Date", Named::MediumDate},
        {"Short Date", Named::ShortDate},
        {"Long Time", Named::LongTime},
        {"Medium Time", Named::MediumTime},
        {"Short Time", Named::ShortTime},
    };
    for (const auto& [name, named] : kNames) {
        if (equalsIgnoreCase(pattern, name)) {
            return named;
        }
    }
    return Named::None;
}

bool isDateNamed(Named n) {
    return n >= Named::GeneralDate;
}

// Sections separated by ';' outside quotes and escapes.
std::vector<std::string_view> splitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && !quoted) {
            ++i;
        } else if (c == ';' && !quoted) {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(std::min(start, pattern.size())));
    return sections;
}

// Reads a literal at pattern[i] ("..." or \x); returns false when there is none.
bool readQuotedOrEscaped(std::string_view pattern, size_t& i, std::string& out) {
    if (pattern[i] == '"') {
        const size_t close = pattern.find('"', i + 1);
        const size_t end = close == std::string_view::npos ? pattern.size() : close;
        out.append(pattern.substr(i + 1, end - i - 1));
        i = close == std::string_view::npos ? pattern.size() : close + 1;
        return true;
    }
    if (pattern[i] == '\\') {
        if (i + 1 < pattern.size()) {
            const size_t length = charLength(pattern, i + 1);
            out.append(pattern.substr(i + 1, length));
            i += 1 + length;
        } else {
            ++i;
        }
        return true;
    }
    return false;
}

// ---- Numbers ---------------------------------------------------------------

struct NumElement {
    enum Kind { Literal, Digit, Point, Comma, Exponent } kind;
    explicit NumElement(Kind k) : kind(k) {}
    std::string text;      // Literal
    char digit = '0';      // Digit: '0' or '#'
    char expChar = 'E';    // Exponent
    bool expPlus = false;  // Exponent: E+ shows '+' for positive exponents
    int expDigits = 0;     // Exponent: '0's after the sign
};

class NumericSection {
public:
    explicit NumericSection(std::string_view pattern) {
        bool pointSeen = false;
        for (size_t i = 0; i < pattern.size();) {
            std::string literal;
            if (readQuotedOrEscaped(pattern, i, literal)) {
                addLiteral(literal);
                continue;
            }
            const char c = pattern[i];
            if (c == '0' || c == '#') {
                NumElement element(NumElement::Digit);
                element.digit = c;
                elements_.push_back(element);
                ++i;
            } else if (c == '.' && !pointSeen) {
                pointSeen = true;
                elements_.emplace_back(NumElement::Point);
                ++i;
            } else if (c == ',') {
                elements_.emplace_back(NumElement::Comma);
                ++i;
            } else if ((c == 'E' || c == 'e') && i + 1 < pattern.size() &&
                       (pattern[i + 1] == '+' || pattern[i + 1] == '-') && !hasExponent()) {
                NumElement element(NumElement::Exponent);
                element.expChar = c;
                element.expPlus = pattern[i + 1] == '+';
                i += 2;
                while (i < pattern.size() && (pattern[i] == '0' || pattern[i] == '#')) {
                    element.expDigits += pattern[i] == '0' ? 1 : 0;
                    ++i;
                }
                elements_.push_back(element);
            } else {
                if (c == '%') {
                    ++percent_;
                }
                const size_t length = charLength(pattern, i);
                addLiteral(pattern.substr(i, length));
                i += length;
            }
        }
        analyse();
    }

    bool hasDigits() const { return intPlaces_ + fracPlaces_ > 0; }

    // Formats a non-negative value. `zero` tells whether the shown digits are
    // all zero (so that a '-' in front would be wrong).
    std::string render(double x, bool& zero) const {
        x *= std::pow(100.0, percent_);
        x /= std::pow(1000.0, scaleCommas_);
        DecimalDigits digits = shortestDigits(x);
        digits.negative = false;
        int exponent = 0;
        if (exponentIndex_ != npos) {
            if (!digits.isZero()) {
                exponent = digits.pointPos - intPlaces_;
                digits.pointPos = intPlaces_;
                roundDigits(digits, fracPlaces_, DecimalRounding::HalfAwayFromZero);
                if (!digits.isZero() && digits.pointPos > intPlaces_) {  // 9.99 -> 10.0
                    exponent += digits.pointPos - intPlaces_;
                    digits.pointPos = intPlaces_;
                }
            }
        } else {
            roundDigits(digits, fracPlaces_, DecimalRounding::HalfAwayFromZero);
        }
        zero = digits.isZero();

        std::string intText;
        std::string fracText;
        const int size = static_cast<int>(digits.digits.size());
        if (digits.pointPos > 0) {
            intText = digits.digits.substr(0, static_cast<size_t>(std::min(digits.pointPos, size)));
            if (digits.pointPos > size) {
                intText.append(static_cast<size_t>(digits.pointPos - size), '0');
            }
            if (digits.pointPos < size) {
                fracText = digits.digits.substr(static_cast<size_t>(digits.pointPos));
            }
        } else {
            fracText.assign(static_cast<size_t>(-digits.pointPos), '0');
            fracText.append(digits.digits);
        }
        fracText.resize(static_cast<size_t>(fracPlaces_), '0');
        if (static_cast<int>(intText.size()) < intZeros_) {
            intText.insert(0, static_cast<size_t>(intZeros_) - intText.size(), '0');
        }
        if (grouping_) {
            intText = groupThousands(intText);
        }
        return layOut(intText, fracText, exponent);
    }

private:
    static constexpr size_t npos = static_cast<size_t>(-1);

    bool hasExponent() const {
        for (const NumElement& element : elements_) {
            if (element.kind == NumElement::Exponent) {
                return true;
            }
        }
        return false;
    }

    void addLiteral(std::string_view text) {
        if (!elements_.empty() && elements_.back().kind == NumElement::Literal) {
            elements_.back().text.append(text);
        } else {
            NumElement element(NumElement::Literal);
            element.text = std::string(text);
            elements_.push_back(element);
        }
    }

    void analyse() {
        for (size_t i = 0; i < elements_.size(); ++i) {
            if (elements_[i].kind == NumElement::Point && pointIndex_ == npos) {
                pointIndex_ = i;
            }
            if (elements_[i].kind == NumElement::Exponent && exponentIndex_ == npos) {
                exponentIndex_ = i;
            }
        }
        intEnd_ = std::min({pointIndex_, exponentIndex_, elements_.size()});
        const size_t fracEnd = std::min(exponentIndex_, elements_.size());
        for (size_t i = 0; i < elements_.size(); ++i) {
            const NumElement& element = elements_[i];
            if (element.kind == NumElement::Digit) {
                if (i < intEnd_) {
                    ++intPlaces_;
                    intZeros_ += element.digit == '0' ? 1 : 0;
                } else if (pointIndex_ != npos && i > pointIndex_ && i < fracEnd) {
                    ++fracPlaces_;
                }
            }
        }
        // A comma between integer placeholders groups thousands; commas after
        // the last integer placeholder divide by 1000 each.
        bool digitBefore = false;
        for (size_t i = 0; i < intEnd_; ++i) {
            if (elements_[i].kind == NumElement::Digit) {
                digitBefore = true;
            } else if (elements_[i].kind == NumElement::Comma && digitBefore) {
                bool digitAfter = false;
                for (size_t j = i + 1; j < intEnd_; ++j) {
                    digitAfter = digitAfter || elements_[j].kind == NumElement::Digit;
                }
                if (digitAfter) {
                    grouping_ = true;
                } else {
                    ++scaleCommas_;
                }
            }
        }
    }

    static std::string groupThousands(const std::string& digits) {
        std::string grouped;
        const size_t n = digits.size();
        for (size_t i = 0; i < n; ++i) {
            grouped.push_back(digits[i]);
            const size_t left = n - i - 1;
            if (left > 0 && left % 3 == 0) {
                grouped.push_back(',');
            }
        }
        return grouped;
    }

    std::string layOut(const std::string& intText, const std::string& fracText,
                       int exponent) const {
        // Integer placeholders take the digits from the right; the leftmost
        // takes whatever is left over. Grouped digits stand as one block.
        std::vector<std::string> assigned(intEnd_);
        size_t remaining = intText.size();
        size_t leftmost = npos;
        for (size_t i = 0; i < intEnd_; ++i) {
            if (elements_[i].kind == NumElement::Digit) {
                leftmost = i;
                break;
            }
        }
        if (grouping_) {
            if (leftmost != npos) {
                assigned[leftmost] = intText;
            }
        } else {
            for (size_t i = intEnd_; i-- > 0;) {
                if (elements_[i].kind != NumElement::Digit) {
                    continue;
                }
                if (i == leftmost) {
                    assigned[i] = intText.substr(0, remaining);
                    remaining = 0;
                } else if (remaining > 0) {
                    assigned[i] = intText.substr(remaining - 1, 1);
                    --remaining;
                }
            }
        }
        // '#' places at the end of the fraction drop their zeros.
        std::vector<char> fracDigitKinds;
        for (size_t i = 0; i < elements_.size(); ++i) {
            if (elements_[i].kind == NumElement::Digit && pointIndex_ != npos && i > pointIndex_ &&
                i < std::min(exponentIndex_, elements_.size())) {
                fracDigitKinds.push_back(elements_[i].digit);
            }
        }
        size_t fracShown = fracText.size();
        while (fracShown > 0 && fracDigitKinds[fracShown - 1] == '#' &&
               fracText[fracShown - 1] == '0') {
            --fracShown;
        }

        std::string out;
        if (leftmost == npos && !intText.empty() && intText != "0") {
            // No integer placeholder: the integer digits still show, before the point.
            if (pointIndex_ == npos) {
                out.append(intText);
            }
        }
        size_t fracIndex = 0;
        for (size_t i = 0; i < elements_.size(); ++i) {
            const NumElement& element = elements_[i];
            switch (element.kind) {
                case NumElement::Literal:
                    out.append(element.text);
                    break;
                case NumElement::Digit:
                    if (i < intEnd_) {
                        out.append(assigned[i]);
                    } else if (i > pointIndex_ && i < std::min(exponentIndex_, elements_.size())) {
                        if (fracIndex < fracShown) {
                            out.push_back(fracText[fracIndex]);
                        }
                        ++fracIndex;
                    }
                    break;
                case NumElement::Point:
                    if (leftmost == npos && !intText.empty() && intText != "0") {
                        out.append(intText);
                    }
                    out.push_back('.');
                    break;
                case NumElement::Comma:
                    break;
                case NumElement::Exponent: {
                    out.push_back(element.expChar);
                    if (exponent < 0) {
                        out.push_back('-');
                    } else if (element.expPlus) {
                        out.push_back('+');
                    }
                    std::string expText = std::to_string(std::abs(exponent));
                    if (static_cast<int>(expText.size()) < element.expDigits) {
                        expText.insert(0, static_cast<size_t>(element.expDigits) - expText.size(),
                                       '0');
                    }
                    out.append(expText);
                    break;
                }
            }
        }
        return out;
    }

    std::vector<NumElement> elements_;
    size_t pointIndex_ = npos;
    size_t exponentIndex_ = npos;
    size_t intEnd_ = 0;
    int intPlaces_ = 0;
    int intZeros_ = 0;
    int fracPlaces_ = 0;
    int percent_ = 0;
    int scaleCommas_ = 0;
    bool grouping_ = false;
};

std::string formatCustomNumber(double value, std::string_view pattern) {
    const std::vector<std::string_view> sections = splitSections(pattern);
    std::string_view section = sections[0];
    bool addMinus = value < 0;
    if (value < 0 && sections.size() >= 2 && !sections[1].empty()) {
        section = sections[1];
        addMinus = false;
    } else if (value == 0 && sections.size() >= 3 && !sections[2].empty()) {
        section = sections[2];
    }
    const NumericSection parsed(section);
    bool zero = false;
    std::string text = parsed.render(std::fabs(value), zero);
    // A value that shows as all zeros gets no sign: Format(-0.001, "0.00") is "0.00".
    if (addMinus && !zero) {
        text.insert(0, "-");
    }
    return text;
}

// ---- Dates -----------------------------------------------------------------

std::string twoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string formatCustomDate(double date, std::string_view pattern,
                             const DateFormatOptions& options);

std::string shortDate(double date) {
    return formatCustomDate(date, "m/d/yyyy", {});
}
std::string longDate(double date) {
    return formatCustomDate(date, "dddd, mmmm d, yyyy", {});
}
std::string longTime(double date) {
    return formatCustomDate(date, "h:nn:ss AMPM", {});
}

// General Date: the date, then the time when there is one; a value on
// 1899-12-30 shows only its time (0 is "12:00:00 AM"), as CStr of a date does.
std::string generalDate(double date) {
    const DateParts parts = jetDateToParts(date);
    const bool hasTime = parts.hour != 0 || parts.minute != 0 || parts.second != 0;
    if (parts.year == 1899 && parts.month == 12 && parts.day == 30) {
        return longTime(date);
    }
    return hasTime ? shortDate(date) + " " + longTime(date) : shortDate(date);
}

// Does the pattern ask for a 12-hour clock (AM/PM, A/P or AMPM)?
bool usesTwelveHours(std::string_view pattern) {
    for (size_t i = 0; i < pattern.size();) {
        std::string ignored;
        if (readQuotedOrEscaped(pattern, i, ignored)) {
            continue;
        }
        if (startsWithIgnoreCase(pattern, i, "am/pm") || startsWithIgnoreCase(pattern, i, "a/p") ||
            startsWithIgnoreCase(pattern, i, "ampm")) {
            return true;
        }
        ++i;
    }
    return false;
}

std::string formatCustomDate(double date, std::string_view pattern,
                             const DateFormatOptions& options) {
    const DateParts parts = jetDateToParts(date);
    const bool twelveHours = usesTwelveHours(pattern);
    const int hour12 = parts.hour % 12 == 0 ? 12 : parts.hour % 12;
    const int shownHour = twelveHours ? hour12 : parts.hour;
    std::string out;
    bool afterHour = false;  // 'm' right after an hour means minutes
    for (size_t i = 0; i < pattern.size();) {
        if (readQuotedOrEscaped(pattern, i, out)) {
            continue;
        }
        const char c = pattern[i];
        const char lc = lowerAscii(c);
        if (lc == 'a') {
            if (startsWithIgnoreCase(pattern, i, "am/pm")) {
                const bool upper = c == 'A';
                out.append(parts.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm"));
                i += 5;
                continue;
            }
            if (startsWithIgnoreCase(pattern, i, "a/p")) {
                const bool upper = c == 'A';
                out.append(parts.hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p"));
                i += 3;
                continue;
            }
            if (startsWithIgnoreCase(pattern, i, "ampm")) {
                out.append(parts.hour < 12 ? "AM" : "PM");
                i += 4;
                continue;
            }
        }
        size_t run = 1;
        while (i + run < pattern.size() && lowerAscii(pattern[i + run]) == lc) {
            ++run;
        }
        switch (lc) {
            case 'd':
                if (run == 1) {
                    out.append(std::to_string(parts.day));
                } else if (run == 2) {
                    out.append(twoDigits(parts.day));
                } else if (run == 3) {
                    out.append(kWeekdayAbbreviations[static_cast<size_t>(weekdayOf(date, 1) - 1)]);
                } else if (run == 4) {
                    out.append(kWeekdayNames[static_cast<size_t>(weekdayOf(date, 1) - 1)]);
                } else if (run == 5) {
                    out.append(shortDate(date));
                } else {
                    out.append(longDate(date));
                }
                afterHour = false;
                break;
            case 'w':
                if (run == 1) {
                    out.append(std::to_string(weekdayOf(date, options.firstDayOfWeek)));
                } else {
                    out.append(
                        std::to_string(datePart(DateInterval::Week, date, options.firstDayOfWeek,
                                                options.firstWeekOfYear)));
                }
                afterHour = false;
                break;
            case 'm':
                if (run <= 2 && afterHour) {
                    out.append(run == 1 ? std::to_string(parts.minute) : twoDigits(parts.minute));
                } else if (run == 1) {
                    out.append(std::to_string(parts.month));
                } else if (run == 2) {
                    out.append(twoDigits(parts.month));
                } else if (run == 3) {
                    out.append(kMonthAbbreviations[static_cast<size_t>(parts.month - 1)]);
                } else {
                    out.append(kMonthNames[static_cast<size_t>(parts.month - 1)]);
                }
                afterHour = false;
                break;
            case 'q':
                out.append(std::to_string((parts.month - 1) / 3 + 1));
                afterHour = false;
                break;
            case 'y': {
                size_t left = run;
                while (left > 0) {
                    if (left >= 4) {
                        char buffer[16];
                        std::snprintf(buffer, sizeof buffer, "%04d", parts.year);
                        out.append(buffer);
                        left -= 4;
                    } else if (left >= 2) {
                        out.append(twoDigits(parts.year % 100));
                        left -= 2;
                    } else {
                        out.append(std::to_string(datePart(DateInterval::DayOfYear, date, 1, 1)));
                        left -= 1;
                    }
                }
                afterHour = false;
                break;
            }
            case 'h':
                out.append(run == 1 ? std::to_string(shownHour) : twoDigits(shownHour));
                afterHour = true;
                break;
            case 'n':
                out.append(run == 1 ? std::to_string(parts.minute) : twoDigits(parts.minute));
                afterHour = false;
                break;
            case 's':
                out.append(run == 1 ? std::to_string(parts.second) : twoDigits(parts.second));
                afterHour = false;
                break;
            case 'c':
                out.append(generalDate(date));
                afterHour = false;
                break;
            case 't':
                if (run >= 5) {
                    out.append(longTime(date));
                    run = 5;
                } else {
                    out.append(pattern.substr(i, run));
                }
                afterHour = false;
                break;
            default: {
                const size_t length = charLength(pattern, i);
                out.append(pattern.substr(i, length));
                i += length;
                continue;
            }
        }
        i += run;
    }
    return out;
}

// ---- Text ------------------------------------------------------------------

std::string formatCustomText(std::string_view text, std::string_view pattern) {
    const std::vector<std::string_view> sections = splitSections(pattern);
    std::string_view section = sections[0];
    if (text.empty() && sections.size() > 1) {
        section = sections[1];
    }
    struct Piece {
        bool placeholder;
        char kind;  // '@' or '&'
        std::string literal;
    };
    std::vector<Piece> pieces;
    bool upper = false;
    bool lower = false;
    bool leftToRight = false;
    size_t placeholders = 0;
    for (size_t i = 0; i < section.size();) {
        std::string literal;
        if (readQuotedOrEscaped(section, i, literal)) {
            pieces.push_back({false, 0, literal});
            continue;
        }
        const char c = section[i];
        if (c == '@' || c == '&') {
            pieces.push_back({true, c, {}});
            ++placeholders;
            ++i;
        } else if (c == '<' || c == '>' || c == '!') {
            upper = c == '>' ? true : (c == '<' ? false : upper);
            lower = c == '<' ? true : (c == '>' ? false : lower);
            leftToRight = leftToRight || c == '!';
            ++i;
        } else {
            const size_t length = charLength(section, i);
            pieces.push_back({false, 0, std::string(section.substr(i, length))});
            i += length;
        }
    }
    std::vector<std::string> chars;
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = nextCodePoint(text, pos);
        if (upper) {
            c = static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
        } else if (lower) {
            c = static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
        }
        std::string one;
        appendUtf8(one, c);
        chars.push_back(std::move(one));
    }
    std::string out;
    if (placeholders == 0) {
        for (const Piece& piece : pieces) {
            out.append(piece.literal);
        }
        for (const std::string& character : chars) {
            out.append(character);
        }
        return out;
    }
    // Assign characters to placeholders: from the right by default, from the
    // left with '!'; surplus characters go with the outermost placeholder.
    std::vector<std::string> assigned(pieces.size());
    const size_t n = placeholders;
    const size_t m = chars.size();
    size_t next = 0;
    size_t seen = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (!pieces[i].placeholder) {
            continue;
        }
        size_t take = 1;
        if (m <= n) {
            const bool empty = leftToRight ? seen >= m : seen < n - m;
            take = empty ? 0 : 1;
        } else if (seen == (leftToRight ? n - 1 : 0)) {
            take = 1 + (m - n);
        }
        if (take == 0) {
            assigned[i] = pieces[i].kind == '@' ? " " : "";
        }
        for (size_t k = 0; k < take && next < m; ++k) {
            assigned[i].append(chars[next++]);
        }
        ++seen;
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        out.append(pieces[i].placeholder ? assigned[i] : pieces[i].literal);
    }
    return out;
}

}  // namespace

PatternKind classifyPattern(std::string_view pattern) {
    const Named named = namedFormat(pattern);
    if (named != Named::None) {
        return isDateNamed(named) ? PatternKind::Date : PatternKind::Number;
    }
    bool number = false;
    bool date = false;
    bool text = false;
    for (size_t i = 0; i < pattern.size();) {
        std::string ignored;
        if (readQuotedOrEscaped(pattern, i, ignored)) {
            continue;
        }
        const char c = lowerAscii(pattern[i]);
        if (c == '0' || c == '#' || c == '%') {
            number = true;
        } else if (c == 'e' && i + 1 < pattern.size() &&
                   (pattern[i + 1] == '+' || pattern[i + 1] == '-')) {
            number = true;
        } else if (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's' ||
                   c == 'q' || c == 'w' || c == 'c' || startsWithIgnoreCase(pattern, i, "ttttt") ||
                   startsWithIgnoreCase(pattern, i, "am/pm") ||
                   startsWithIgnoreCase(pattern, i, "a/p") ||
                   startsWithIgnoreCase(pattern, i, "ampm")) {
            date = true;
        } else if (c == '@' || c == '&' || c == '<' || c == '>' || c == '!') {
            text = true;
        }
        ++i;
    }
    if (number) {
        return PatternKind::Number;
    }
    if (date) {
        return PatternKind::Date;
    }
    return text ? PatternKind::Text : PatternKind::Number;
}

std::string formatNumber(double value, std::string_view pattern) {
    switch (namedFormat(pattern)) {
        case Named::GeneralNumber:
            return formatJetNumber(value);
        case Named::Currency:
            return formatCustomNumber(value, "\xC2\xA4#,##0.00;(\xC2\xA4#,##0.00)");
        case Named::Fixed:
            return formatCustomNumber(value, "0.00");
        case Named::Standard:
            return formatCustomNumber(value, "#,##0.00");
        case Named::Percent:
            return formatCustomNumber(value, "0.00%");
        case Named::Scientific:
            return formatCustomNumber(value, "0.00E+00");
        case Named::YesNo:
            return value != 0 ? "Yes" : "No";
        case Named::TrueFalse:
            return value != 0 ? "True" : "False";
        case Named::OnOff:
            return value != 0 ? "On" : "Off";
        default:
            return formatCustomNumber(value, pattern);
    }
}

std::string formatDate(double date, std::string_view pattern, const DateFormatOptions& options) {
    switch (namedFormat(pattern)) {
        case Named::GeneralDate:
            return generalDate(date);
        case Named::LongDate:
            return longDate(date);
        case Named::MediumDate:
            return formatCustomDate(date, "dd-mmm-yy", options);
        case Named::ShortDate:
            return shortDate(date);
        case Named::LongTime:
            return longTime(date);
        case Named::MediumTime:
            return formatCustomDate(date, "hh:nn AMPM", options);
        case Named::ShortTime:
            return formatCustomDate(date, "hh:nn", options);
        default:
            return formatCustomDate(date, pattern, options);
    }
}

std::string formatText(std::string_view text, std::string_view pattern) {
    return formatCustomText(text, pattern);
}

std::optional<std::string> formatNull(std::string_view pattern) {
    if (classifyPattern(pattern) != PatternKind::Number || namedFormat(pattern) != Named::None) {
        return std::nullopt;
    }
    const std::vector<std::string_view> sections = splitSections(pattern);
    if (sections.size() < 4) {
        return std::nullopt;
    }
    std::string out;
    const std::string_view section = sections[3];
    for (size_t i = 0; i < section.size();) {
        if (!readQuotedOrEscaped(section, i, out)) {
            out.push_back(section[i]);
            ++i;
        }
    }
    return out;
}

}  // namespace orvdb::engine::functions
