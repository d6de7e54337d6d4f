#include "merge/server_providers.hpp"

#include <fstream>
#include <stdexcept>

#include "data/mariadb/copy.hpp"
#include "host/file_utils.hpp"
#include "host/paths.hpp"
#include "kinds/provider_server.hpp"
#include "merge/merge_paths.hpp"

namespace orvdb::merge {

void copyProviderFolder(const std::string& from, const std::string& to) {
    std::optional<data::mariadb::Settings> source = kinds::providerServer(from);
    std::optional<data::mariadb::Settings> target;
    if (source) {
        target = kinds::providerServer(to);
    }
    host::SilentCopyDir(providerFolder(from), providerFolder(to));
    if (!source) {
        return;
    }
    if (!target) {
        target = *source;
        target->database = source->database + "_" + to;
    }
    // The copied folder names its own database before anything is written
    // there: never the source's.
    const std::string file = host::resolvePath(kinds::providerServerPath(to));
    std::ofstream out(file, std::ios::trunc);
    out << data::mariadb::toUrl(*target) << "\n";
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + file);
    }
    data::mariadb::copyOnServer(*source, *target);
}

void removeProviderFolder(const std::string& name) {
    if (std::optional<data::mariadb::Settings> server = kinds::providerServer(name)) {
        data::mariadb::dropServerDatabase(*server);
    }
    host::DelDir(providerFolder(name));
}

}  // namespace orvdb::merge
