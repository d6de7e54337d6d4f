#include "merge/merge_paths.hpp"

#include "host/host_services.hpp"
#include "host/registry_info.hpp"

#include <cstdlib>

namespace orvdb::merge {

namespace {

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') {
        folder += '/';
    }
    return folder;
}

}  // namespace

std::string dataRoot() {
    return withSeparator(host::registry()->get(host::registry_entry::kDataRoot));
}

std::string providerFolder(std::string_view name) {
    return dataRoot() + "Providers/" + std::string(name);
}

std::string mergeLogPath() {
    return dataRoot() + "Merge.Log";
}

std::string temporaryFolder() {
    for (const char* variable : {"temp", "TEMP", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return withSeparator(value);
        }
    }
    return "/tmp/";
}

std::string blobFilePath(size_t number) {
    return temporaryFolder() + "merge_halvo" + std::to_string(number);
}

std::string scriptCopyPath() {
    return temporaryFolder() + "mergedatabase.txt";
}

std::string outputTempXmlPath() {
    return temporaryFolder() + "outputtemp.xml";
}

}  // namespace orvdb::merge
