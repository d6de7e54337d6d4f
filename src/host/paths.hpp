// Paths written by the suite use '\' and any letter case ("Providers\",
// "XLIBData.mdb"). Every file access of the library goes through
// resolvePath so that the same names work on a case-sensitive file system.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::host {

// Turns '\' into '/', then walks the path one component at a time from the
// root (absolute path) or the current directory (relative path, which stays
// relative). A component that exists exactly as written is kept; otherwise a
// directory entry equal to it without regard to case (Unicode case folding)
// replaces it, the byte-wise smallest name when several match. From the first
// component that matches nothing, the rest is kept as written, so the result
// still names the file or folder to create. Empty components are dropped; a
// trailing separator is kept. Never throws for unreadable directories (their
// entries count as absent).
std::string resolvePath(std::string_view suitePath);

// A regular file (or a link to one) at the resolved path.
bool fileExists(std::string_view suitePath);
// A directory (or a link to one) at the resolved path.
bool directoryExists(std::string_view suitePath);

}  // namespace orvdb::host
