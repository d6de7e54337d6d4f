#include "host/currencies.hpp"

#include <array>
#include <string_view>

namespace orvdb::host {

namespace {
constexpr std::array<std::string_view, 9> kCurrencyNames = {"Euro",
                                                            "USDol",
                                                            "yen",
                                                            "PLN",
                                                            "NOK",
                                                            "Pounds",
                                                            "CHF",
                                                            "Dirham marocain (MAD)",
                                                            "Dirham émirati (AED)"};
}  // namespace

std::string StandardCurrencies::currencyName(int number) const {
    if (number < 1 || number > static_cast<int>(kCurrencyNames.size())) {
        return std::to_string(number);
    }
    return std::string(kCurrencyNames[static_cast<size_t>(number - 1)]);
}

}  // namespace orvdb::host
