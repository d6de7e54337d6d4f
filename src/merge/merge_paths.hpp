// Files and folders of a merge run. Provider folders lie under the data root
// (registry entry 30) in "Providers/"; temporary files go to the folder of
// the "temp" environment variable.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::merge {

// Registry entry 30, ending with a separator.
std::string dataRoot();
// dataRoot() + "Providers/" + name
std::string providerFolder(std::string_view name);
// dataRoot() + "Merge.Log"
std::string mergeLogPath();

// The folder of "temp" (Windows spells it so; TEMP, TMPDIR and /tmp serve
// when it is unset), ending with a separator.
std::string temporaryFolder();
// The file a binary value travels through: temp + "merge_halvo" + number.
std::string blobFilePath(size_t number);
// The copy of the merge script: temp + "mergedatabase.txt".
std::string scriptCopyPath();
// Where an index file the output folder lacks is written: temp + "outputtemp.xml".
std::string outputTempXmlPath();

}  // namespace orvdb::merge
