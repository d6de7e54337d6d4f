#include "kinds/provider_server.hpp"

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
    return data::mariadb::addressInFile(host::resolvePath(path));
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
