#include "upgrade/version_number.hpp"

#include <charconv>
#include <cmath>
#include <system_error>

namespace orvdb::upgrade {

float roundVersion(float version) {
    return static_cast<float>(std::round(static_cast<double>(version) * 1e5) / 1e5);
}

std::string versionText(float version) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(version),
                                std::chars_format::general, 15);
    if (result.ec != std::errc()) {
        return "0";
    }
    return std::string(buffer, result.ptr);
}

std::string versionUpdateSql(float target) {
    return "UPDATE Version SET Version=" + versionText(target);
}

}  // namespace orvdb::upgrade
