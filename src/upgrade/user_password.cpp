#include "upgrade/user_password.hpp"

#include "host/md5.hpp"
#include "host/system_code_page.hpp"

namespace orvdb::upgrade {

std::string HashUserPassword(std::string_view password) {
    const std::string salted = host::toSystemCodePage(std::string(password) + "$QKM");
    std::string hex = host::MD5DigestToHex(host::CalcMD5(salted));
    hex.push_back(hex.front());
    return hex;
}

}  // namespace orvdb::upgrade
