#include "kinds/provider_server.hpp"

#include <fstream>
#include <stdexcept>

#include "host/paths.hpp"
#include "host/registry_info.hpp"
#include "kinds/soft_database.hpp"

namespace orvdb::kinds {

std::string providerServerPath(std::string_view provider) {
    return registryPath(host::registry_entry::kDataRoot,
                        "Providers/" + std::string(provider) + "/XLibData.mariadb");
}

std::optional<data::mariadb::Settings> providerServer(std::string_view provider) {
    const std::string path = providerServerPath(provider);
    if (!host::fileExists(path)) {
        return std::nullopt;
    }
    std::ifstream in(host::resolvePath(path));
    std::string line;
    while (in && std::getline(in, line)) {
        size_t begin = line.find_first_not_of(" \t\r");
        if (begin == std::string::npos) {
            continue;
        }
        size_t end = line.find_last_not_of(" \t\r");
        std::string address = line.substr(begin, end - begin + 1);
        try {
            return data::mariadb::parseUrl(address);
        } catch (const std::exception& e) {
            throw std::runtime_error(host::resolvePath(path) + ": " + e.what());
        }
    }
    throw std::runtime_error(host::resolvePath(path) + ": no MariaDB address in the file");
}

}  // namespace orvdb::kinds
