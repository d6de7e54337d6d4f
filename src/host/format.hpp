// Number formatting of the host's TFormat.
#pragma once

#include <string>

namespace orvdb::host {

struct TFormat {
    // Fixed notation with exactly `decimals` digits after a '.', whatever the
    // locale: (0.36052, 5) gives "0.36052", (2, 3) gives "2.000". Rounds the
    // exact binary value half away from zero (0.015625 to 5 decimals gives
    // "0.01563"); a result of zero has no minus sign. NaN and infinities give
    // "NAN", "INF" and "-INF". Throws std::invalid_argument for a negative count.
    static std::string FloatToStrFormated(double value, int decimals);
};

}  // namespace orvdb::host
