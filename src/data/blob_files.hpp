// Files that blob fields travel through: the temporary file FillStream leaves
// for the host to read.
#pragma once

#include <string>

namespace orvdb::data {

// "orv_blob.blob" in the folder named by TEMP; /tmp when TEMP is unset or
// empty (Windows always sets it, Linux usually does not).
std::string temporaryBlobFilePath();

}  // namespace orvdb::data
