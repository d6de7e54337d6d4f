// Folder operations of the host's file utilities. Paths are suite paths
// (resolved with resolvePath); failures throw std::runtime_error naming the
// path and the reason.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvdb::host {

// Appends to `names` the regular files directly inside folder1 that folder2
// also holds (names compared without regard to case; sub-folders are not
// searched), as spelt in folder1, in byte order. True when there is at least
// one. Throws when either folder does not exist or cannot be read.
bool Get_CommonFiles(std::string_view folder1, std::string_view folder2,
                     std::vector<std::string>& names);

// Copies the folder `source` with everything below it, overwriting files that
// exist. `destination` normally names the copy itself: it is created when
// missing and afterwards holds the source's files. When `destination` ends
// with a separator and is an existing folder, the source folder is copied into
// it under its own name instead (copying ".../Out_Temp/X2D" to ".../Out/" gives
// ".../Out/X2D/"), as the merge expects. Throws when the source is missing or
// the copy would land inside the source. With `overwrite` false, files the
// destination already holds are kept and only the others are copied.
void SilentCopyDir(std::string_view source, std::string_view destination, bool overwrite = true);

// Deletes the folder with its content. A missing folder is not an error; a
// path that names a file, an empty path and "/" are refused.
void DelDir(std::string_view folder);

}  // namespace orvdb::host
