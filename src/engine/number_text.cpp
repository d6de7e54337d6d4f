#include "engine/number_text.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace orvdb::engine {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Digits of to_chars' shortest scientific form ("1.2345e+02").
template <typename Float>
DecimalDigits shortestDigitsOf(Float value) {
    DecimalDigits result;
    if (value == 0 || !std::isfinite(value)) {
        return result;
    }
    result.negative = value < 0;
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific);
    std::string_view text(buffer, static_cast<size_t>(end - buffer));
    const size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (isDigit(c)) {
            result.digits.push_back(c);
        }
    }
    int exponent = 0;
    std::string_view expText = text.substr(e + 1);
    if (!expText.empty() && expText.front() == '+') {
        expText.remove_prefix(1);
    }
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    while (!result.digits.empty() && result.digits.back() == '0') {
        result.digits.pop_back();
    }
    result.pointPos = exponent + 1;
    return result;
}

std::string formatDigits(const DecimalDigits& digits, double magnitude) {
    if (digits.isZero()) {
        return "0";
    }
    if (magnitude >= 1e-5 && magnitude < 1e15) {
        return plainDecimalText(digits);
    }
    std::string text;
    if (digits.negative) {
        text.push_back('-');
    }
    text.push_back(digits.digits[0]);
    if (digits.digits.size() > 1) {
        text.push_back('.');
        text.append(digits.digits, 1);
    }
    const int exponent = digits.pointPos - 1;
    text.append(exponent < 0 ? "E-" : "E+");
    const std::string expDigits = std::to_string(std::abs(exponent));
    if (expDigits.size() < 2) {
        text.push_back('0');
    }
    text.append(expDigits);
    return text;
}

std::optional<ParsedNumber> parseRadix(std::string_view digits, int radix) {
    if (digits.empty() || digits.size() > 22) {
        return std::nullopt;
    }
    uint64_t value = 0;
    const auto [ptr, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, radix);
    if (ec != std::errc() || ptr != digits.data() + digits.size() || value > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    // VBA's &H literals: up to 16 bits they are Integers, beyond Longs; both
    // sign-extend, so "&HFFFF" is -1.
    int64_t signedValue = 0;
    if (value <= 0xFFFF) {
        signedValue = static_cast<int16_t>(static_cast<uint16_t>(value));
    } else {
        signedValue = static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    return ParsedNumber{static_cast<double>(signedValue), true, signedValue};
}

}  // namespace

std::string formatJetNumber(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    return formatDigits(shortestDigitsOf(value), std::fabs(value));
}

std::string formatJetSingle(float value) {
    if (!std::isfinite(value)) {
        return formatJetNumber(value);
    }
    return formatDigits(shortestDigitsOf(value), std::fabs(static_cast<double>(value)));
}

std::optional<ParsedNumber> parseJetNumber(std::string_view text) {
    text = trimBlanks(text);
    if (text.size() > 2 && text[0] == '&') {
        const char kind = static_cast<char>(text[1] | 0x20);
        if (kind == 'h') {
            return parseRadix(text.substr(2), 16);
        }
        if (kind == 'o') {
            return parseRadix(text.substr(2), 8);
        }
        return std::nullopt;
    }
    // Normalised copy for from_chars: sign, digits, '.', 'e', exponent.
    std::string clean;
    clean.reserve(text.size());
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            clean.push_back('-');
        }
        ++i;
    }
    bool anyDigit = false;
    bool isInteger = true;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            clean.push_back(c);
            anyDigit = true;
        } else if (c == ',' && anyDigit && i + 1 < text.size() && isDigit(text[i + 1])) {
            continue;  // thousands grouping
        } else {
            break;
        }
    }
    if (i < text.size() && text[i] == '.') {
        isInteger = false;
        clean.push_back('.');
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            clean.push_back(text[i]);
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (i < text.size()) {
        const char e = static_cast<char>(text[i] | 0x20);
        if (e != 'e' && e != 'd') {
            return std::nullopt;
        }
        isInteger = false;
        clean.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            clean.push_back(text[i]);
            ++i;
        }
        const size_t expStart = i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            clean.push_back(text[i]);
        }
        if (i == expStart || i != text.size()) {
            return std::nullopt;
        }
    }
    ParsedNumber result;
    const char* first = clean.data();
    const char* last = clean.data() + clean.size();
    if (isInteger) {
        const auto [ptr, ec] = std::from_chars(first, last, result.integer);
        result.isInteger = ec == std::errc() && ptr == last;
    }
    const auto [ptr, ec] = std::from_chars(first, last, result.value);
    if (ec == std::errc::result_out_of_range) {
        // Tiny magnitudes underflow to zero; huge ones are reported as infinite
        // so that the caller can raise Overflow.
        const bool huge = clean.find("e-") == std::string::npos;
        result.value = huge ? (clean[0] == '-' ? -HUGE_VAL : HUGE_VAL) : 0.0;
    } else if (ec != std::errc() || ptr != last) {
        return std::nullopt;
    }
    if (result.isInteger) {
        result.value = static_cast<double>(result.integer);
    }
    return result;
}

double roundHalfEven(double value) {
    const double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return rounded;
}

DecimalDigits shortestDigits(double value) {
    return shortestDigitsOf(value);
}

std::optional<DecimalDigits> parseDecimalText(std::string_view text) {
    text = trimBlanks(text);
    DecimalDigits result;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        result.negative = text[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    int integerDigits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        result.digits.push_back(text[i]);
        ++integerDigits;
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            result.digits.push_back(text[i]);
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    long exponent = 0;
    if (i < text.size() && (text[i] | 0x20) == 'e') {
        ++i;
        bool negativeExp = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExp = text[i] == '-';
            ++i;
        }
        const size_t expStart = i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            if (exponent < 100000) {
                exponent = exponent * 10 + (text[i] - '0');
            }
        }
        if (i == expStart) {
            return std::nullopt;
        }
        if (negativeExp) {
            exponent = -exponent;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    result.pointPos = integerDigits + static_cast<int>(exponent);
    size_t leading = 0;
    while (leading < result.digits.size() && result.digits[leading] == '0') {
        ++leading;
    }
    result.digits.erase(0, leading);
    result.pointPos -= static_cast<int>(leading);
    while (!result.digits.empty() && result.digits.back() == '0') {
        result.digits.pop_back();
    }
    if (result.digits.empty()) {
        result.pointPos = 0;
    }
    return result;
}

void roundDigits(DecimalDigits& number, int fractionDigits, DecimalRounding mode) {
    const long keepLong = static_cast<long>(number.pointPos) + fractionDigits;
    if (number.isZero() || keepLong >= static_cast<long>(number.digits.size())) {
        return;
    }
    if (keepLong < 0) {
        number.digits.clear();
        number.pointPos = 0;
        return;
    }
    const size_t keep = static_cast<size_t>(keepLong);
    const char first = number.digits[keep];
    const bool moreAfter = keep + 1 < number.digits.size();  // no trailing zeros
    bool up = first > '5' || (first == '5' && moreAfter);
    if (first == '5' && !moreAfter) {
        if (mode == DecimalRounding::HalfAwayFromZero) {
            up = true;
        } else {
            up = keep > 0 && ((number.digits[keep - 1] - '0') % 2) == 1;
        }
    }
    number.digits.resize(keep);
    if (up) {
        size_t pos = keep;
        while (pos > 0 && number.digits[pos - 1] == '9') {
            number.digits[pos - 1] = '0';
            --pos;
        }
        if (pos == 0) {
            number.digits.insert(number.digits.begin(), '1');
            ++number.pointPos;
        } else {
            ++number.digits[pos - 1];
        }
    }
    while (!number.digits.empty() && number.digits.back() == '0') {
        number.digits.pop_back();
    }
    if (number.digits.empty()) {
        number.pointPos = 0;
    }
}

double roundToDecimals(double value, int fractionDigits, DecimalRounding mode) {
    if (!std::isfinite(value)) {
        return value;
    }
    DecimalDigits digits = shortestDigits(value);
    roundDigits(digits, fractionDigits, mode);
    const std::string text = plainDecimalText(digits);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

std::string plainDecimalText(const DecimalDigits& number, int minFractionDigits) {
    std::string text;
    if (number.negative && !number.isZero()) {
        text.push_back('-');
    }
    const int size = static_cast<int>(number.digits.size());
    if (number.pointPos <= 0) {
        text.push_back('0');
    } else if (number.pointPos >= size) {
        text.append(number.digits);
        text.append(static_cast<size_t>(number.pointPos - size), '0');
    } else {
        text.append(number.digits, 0, static_cast<size_t>(number.pointPos));
    }
    std::string fraction;
    if (number.pointPos < 0) {
        fraction.assign(static_cast<size_t>(-number.pointPos), '0');
        fraction.append(number.digits);
    } else if (number.pointPos < size) {
        fraction.assign(number.digits, static_cast<size_t>(number.pointPos));
    }
    if (static_cast<int>(fraction.size()) < minFractionDigits) {
        fraction.append(static_cast<size_t>(minFractionDigits) - fraction.size(), '0');
    }
    if (!fraction.empty()) {
        text.push_back('.');
        text.append(fraction);
    }
    return text;
}

}  // namespace orvdb::engine
