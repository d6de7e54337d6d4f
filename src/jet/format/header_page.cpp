#include "jet/format/header_page.hpp"

#include <cmath>

#include "jet/format/rc4.hpp"

namespace orvdb::jet::header_page {

void toggleMask(std::span<uint8_t> headerPage) {
    Rc4 mask(kMaskKey);
    mask.apply(headerPage.subspan(kMaskedStart, kMaskedLength));
}

std::array<uint8_t, 4> passwordMask(double creationDate) {
    int32_t days = 0;
    if (std::isfinite(creationDate) && creationDate > -2147483648.0 &&
        creationDate < 2147483648.0) {
        days = static_cast<int32_t>(creationDate);
    }
    auto bits = static_cast<uint32_t>(days);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

}  // namespace orvdb::jet::header_page
