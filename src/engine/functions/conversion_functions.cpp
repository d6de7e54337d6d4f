// VBA's conversion functions: Str, Val, CStr, CInt, CLng, CByte, CCur, CSng,
// CDbl, CBool, CDate, Hex, Oct. The C... functions take a value that must be
// there: Null raises "Invalid use of Null".
#include "engine/functions/function_registry.hpp"
#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/number_text.hpp"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace orvdb::engine::functions {

namespace {

std::string numberText(const Number& number) {
    return number.isInteger ? std::to_string(number.integer) : formatJetNumber(number.real);
}

// Str(n): the number's text with a leading blank where a '-' would stand.
void jetStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const Number number = numberArg(argv[0]);
    std::string text = numberText(number);
    if (number.toDouble() >= 0) {
        text.insert(text.begin(), ' ');
    }
    resultText(ctx, text);
}

bool isValBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Val(text): the number at the start of the text, 0 when there is none.
// Blanks are skipped everywhere, as VBA does ("1 2" is 12); the first other
// character that cannot continue the number ends it. "&H"/"&O" read hex/octal.
double valOfText(std::string_view text) {
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isValBlank(text[i])) {
            ++i;
        }
    };
    skipBlanks();
    if (i + 1 < text.size() && text[i] == '&') {
        const char kind = static_cast<char>(text[i + 1] | 0x20);
        if (kind == 'h' || kind == 'o') {
            std::string digits;
            for (i += 2; i < text.size(); ++i) {
                const char c = text[i];
                const bool ok = kind == 'h' ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                            : (c >= '0' && c <= '7');
                if (ok) {
                    digits.push_back(c);
                } else if (!isValBlank(c)) {
                    break;
                }
            }
            const std::optional<ParsedNumber> parsed =
                parseJetNumber(std::string(kind == 'h' ? "&H" : "&O") + digits);
            return parsed ? parsed->value : 0.0;
        }
    }
    std::string clean;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') {
            clean.push_back('-');
        }
        ++i;
    }
    bool point = false;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            clean.push_back(c);
            anyDigit = true;
        } else if (c == '.' && !point) {
            clean.push_back('.');
            point = true;
        } else if (!isValBlank(c)) {
            break;
        }
    }
    if (!anyDigit) {
        return 0;
    }
    if (i < text.size()) {
        const char e = static_cast<char>(text[i] | 0x20);
        if (e == 'e' || e == 'd') {
            std::string exponent = "e";
            size_t j = i + 1;
            while (j < text.size() && isValBlank(text[j])) {
                ++j;
            }
            if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
                exponent.push_back(text[j]);
                ++j;
            }
            bool expDigits = false;
            for (; j < text.size(); ++j) {
                if (text[j] >= '0' && text[j] <= '9') {
                    exponent.push_back(text[j]);
                    expDigits = true;
                } else if (!isValBlank(text[j])) {
                    break;
                }
            }
            if (expDigits) {
                clean.append(exponent);
            }
        }
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (ec == std::errc::result_out_of_range) {
        raiseOverflow();
    }
    return value;
}

void jetVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        raiseInvalidUseOfNull();
    }
    resultDouble(ctx, valOfText(TextArg(argv[0]).view()));
}

void jetCStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        raiseInvalidUseOfNull();
    }
    resultText(ctx, TextArg(argv[0]).view());
}

template <int64_t Min, int64_t Max>
void convertInteger(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const Number number = numberArg(argv[0]);
    double rounded = number.isInteger ? 0 : roundHalfEven(number.real);
    if (number.isInteger
            ? (number.integer < Min || number.integer > Max)
            : !(rounded >= static_cast<double>(Min) && rounded <= static_cast<double>(Max))) {
        raiseOverflow();
    }
    sqlite3_result_int64(ctx, number.isInteger ? number.integer : static_cast<int64_t>(rounded));
}

// Currency: four decimals, rounded half to even, within +-922337203685477.5807.
void jetCCur(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const double value = roundToDecimals(doubleArg(argv[0]), 4, DecimalRounding::HalfEven);
    if (!(std::fabs(value) <= 922337203685477.5807)) {
        raiseOverflow();
    }
    sqlite3_result_double(ctx, value);
}

void jetCSng(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const double value = doubleArg(argv[0]);
    const float single = static_cast<float>(value);
    if (!std::isfinite(single)) {
        raiseOverflow();
    }
    sqlite3_result_double(ctx, static_cast<double>(single));
}

void jetCDbl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    resultDouble(ctx, doubleArg(argv[0]));
}

void jetCBool(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        raiseInvalidUseOfNull();
    }
    resultBool(ctx, truthArg(argv[0]));
}

// CDate: serials as they are, text through Jet's date parser.
void jetCDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_double(ctx, dateArg(argv[0]));
}

// CVDate is CDate returning a Variant: Null passes through.
void jetCVDate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    jetCDate(ctx, argc, argv);
}

// Hex and Oct: negative numbers in two's complement, 16 bits for values that
// fit VBA's Integer, 32 bits beyond ("FFFF" for -1, "FFFF8000" for -32769).
template <int Radix>
void radixText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int32_t value = longArg(argv[0]);
    const uint32_t bits =
        value >= -32768 && value < 0 ? static_cast<uint16_t>(value) : static_cast<uint32_t>(value);
    char buffer[16];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, bits, Radix);
    std::string text(buffer, end);
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    resultText(ctx, text);
}

}  // namespace

void registerConversionFunctions(sqlite3* db) {
    constexpr Purity pure = Purity::Deterministic;
    registerScalars(db, {
                            {"jet_str", 1, 1, pure, guarded<jetStr>},
                            {"jet_val", 1, 1, pure, guarded<jetVal>},
                            {"jet_cstr", 1, 1, pure, guarded<jetCStr>},
                            {"jet_cint", 1, 1, pure, guarded<convertInteger<-32768, 32767>>},
                            {"jet_clng", 1, 1, pure, guarded<convertInteger<INT32_MIN, INT32_MAX>>},
                            {"jet_cbyte", 1, 1, pure, guarded<convertInteger<0, 255>>},
                            {"jet_ccur", 1, 1, pure, guarded<jetCCur>},
                            {"jet_csng", 1, 1, pure, guarded<jetCSng>},
                            {"jet_cdbl", 1, 1, pure, guarded<jetCDbl>},
                            {"jet_cbool", 1, 1, pure, guarded<jetCBool>},
                            {"jet_cdate", 1, 1, pure, guarded<jetCDate>},
                            {"jet_cvdate", 1, 1, pure, guarded<jetCVDate>},
                            {"jet_hex", 1, 1, pure, guarded<radixText<16>>},
                            {"jet_oct", 1, 1, pure, guarded<radixText<8>>},
                        });
}

}  // namespace orvdb::engine::functions
