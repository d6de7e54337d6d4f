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

namespace {

// The address in a XLibData.mariadb file; nullopt when there is no file.
std::optional<data::mariadb::Settings> readAddress(const std::string& path) {
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
        try {
            return data::mariadb::parseUrl(line.substr(begin, end - begin + 1));
        } catch (const std::exception& e) {
            throw std::runtime_error(host::resolvePath(path) + ": " + e.what());
        }
    }
    throw std::runtime_error(host::resolvePath(path) + ": no MariaDB address in the file");
}

}  // namespace

std::optional<data::mariadb::Settings> providerServer(std::string_view provider) {
    return readAddress(providerServerPath(provider));
}

std::optional<data::mariadb::Settings> serverInPlaceOf(const std::string& dataFile) {
    if (dataFile.empty() || host::fileExists(dataFile)) {
        return std::nullopt;
    }
    size_t slash = dataFile.find_last_of("/\\");
    std::string folder = slash == std::string::npos ? std::string() : dataFile.substr(0, slash + 1);
    return readAddress(folder + "XLibData.mariadb");
}

}  // namespace orvdb::kinds
