#include "data/blob_files.hpp"

#include <cstdlib>

namespace orvdb::data {

std::string temporaryBlobFilePath() {
    const char* temp = std::getenv("TEMP");
    std::string folder = temp && *temp ? temp : "/tmp";
    if (folder.back() != '/' && folder.back() != '\\') {
        folder += '/';
    }
    return folder + "orv_blob.blob";
}

}  // namespace orvdb::data
