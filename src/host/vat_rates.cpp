#include "host/vat_rates.hpp"

namespace orvdb::host {

bool MemoryVatRateList::empty() const {
    std::lock_guard lock(mutex_);
    return rates_.empty();
}

void MemoryVatRateList::add(VatRate rate) {
    std::lock_guard lock(mutex_);
    rates_.push_back(std::move(rate));
    closed_ = false;
}

void MemoryVatRateList::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
}

std::vector<VatRate> MemoryVatRateList::rates() const {
    std::lock_guard lock(mutex_);
    return rates_;
}

bool MemoryVatRateList::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

}  // namespace orvdb::host
