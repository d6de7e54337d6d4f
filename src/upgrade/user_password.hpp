// How the manager database stores an application user's password.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::upgrade {

// The MD5 digest of the password followed by "$QKM", taken over the text's
// system code page bytes and written as the host's hexadecimal digest text
// (32 digits), with that text's first digit appended once more: 33
// characters. An empty password hashes "$QKM" alone.
std::string HashUserPassword(std::string_view password);

}  // namespace orvdb::upgrade
