#include "jet/write/page_set.hpp"

#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

PageSet::PageSet(std::set<uint32_t> reserved) : reserved_(std::move(reserved)) {
    page(kHeaderPage);
    page(kGlobalUsageMapPage);
    used_[kHeaderPage] = used_[kGlobalUsageMapPage] = true;
    for (uint32_t number : reserved_) {
        page(number);
        used_[number] = true;
    }
}

uint32_t PageSet::allocate() {
    while (reserved_.count(next_) != 0) {
        ++next_;
    }
    if (next_ > kLastPageNumber) {
        throw JetError("the database needs more pages than a Jet file can address");
    }
    uint32_t number = next_++;
    page(number);
    used_[number] = true;
    return number;
}

PageBytes& PageSet::page(uint32_t number) {
    if (number > kLastPageNumber) {
        throw JetError("page " + std::to_string(number) + " is beyond what a Jet file can address");
    }
    while (pages_.size() <= number) {
        pages_.push_back(std::make_unique<PageBytes>());
        used_.push_back(false);
    }
    return *pages_[number];
}

bool PageSet::isUsed(uint32_t number) const {
    return number < used_.size() && used_[number];
}

}  // namespace orvdb::jet
