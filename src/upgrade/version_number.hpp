// Schema versions are single-precision numbers stored in the one-row table
// Version. Comparisons allow a tolerance of 0.000001 (host TMathEx), and the
// text written back is the decimal expansion of the single-precision value,
// so 0.3605 is stored as 0.360499995946884 and reads back as 0.3605.
#pragma once

#include <string>

#include "host/math_ex.hpp"

namespace orvdb::upgrade {

// Rounded to 5 decimals (the provider upgrade does so after reading).
float roundVersion(float version);

// The general floating-point text of the value widened to double: up to 15
// significant digits, trailing zeros dropped, '.' as the decimal separator.
std::string versionText(float version);

// "UPDATE Version SET Version=<text>"
std::string versionUpdateSql(float target);

inline bool versionBelow(double version, double target) {
    return host::TMathEx::PlusPetit(version, target);
}

}  // namespace orvdb::upgrade
