#include "host/format.hpp"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace orvdb::host {

namespace {

// Every finite double has a terminating decimal expansion of at most 1074
// digits after the point, so this precision prints it exactly.
constexpr int kExactDigits = 1100;

}  // namespace

std::string TFormat::FloatToStrFormated(double value, int decimals) {
    if (decimals < 0) {
        throw std::invalid_argument("FloatToStrFormated: negative count of decimals (" +
                                    std::to_string(decimals) + ")");
    }
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }

    const int precision = decimals > kExactDigits ? decimals : kExactDigits;
    std::vector<char> buffer(static_cast<size_t>(precision) + 320);
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                   std::chars_format::fixed, precision);
    if (ec != std::errc()) {
        throw std::runtime_error("FloatToStrFormated: cannot format the value");
    }
    std::string exact(buffer.data(), end);

    const size_t point = exact.find('.');
    std::string digits = exact.substr(0, point) + exact.substr(point + 1, decimals);
    const bool roundUp = decimals < precision && exact[point + 1 + decimals] >= '5';
    if (roundUp) {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }

    const size_t integerDigits = digits.size() - static_cast<size_t>(decimals);
    std::string result = digits.substr(0, integerDigits);
    if (decimals > 0) {
        // Appended piece by piece: "." + substr(...) trips a false -Wrestrict
        // of GCC 12 at -O2 and above.
        result += '.';
        result.append(digits, integerDigits);
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !zero) {
        result.insert(result.begin(), '-');
    }
    return result;
}

}  // namespace orvdb::host
