// The host environment's currencies: the name a quote's currency number
// stands for. The manager upgrade turns the numbers of old quotes into names.
#pragma once

#include <string>

namespace orvdb::host {

class CurrencyList {
public:
    virtual ~CurrencyList() = default;
    // The name of currency `number` (counted from 1).
    virtual std::string currencyName(int number) const = 0;
};

// Default: the suite's nine currencies, 1 'Euro' to 9 'Dirham émirati (AED)'.
// A number outside 1..9 has no name of its own: its decimal text stands for
// it, so that no quote loses its currency.
class StandardCurrencies : public CurrencyList {
public:
    std::string currencyName(int number) const override;
};

}  // namespace orvdb::host
