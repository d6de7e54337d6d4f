// Provider folders whose database is on a MariaDB server (their
// XLibData.mariadb names it), as the merge copies and removes folders: the
// database goes with the folder.
#pragma once

#include <optional>
#include <string>

#include "data/mariadb/settings.hpp"

namespace orvdb::merge {

// Copies a provider folder (a name under Providers/). When the source's
// database is on a server, the copy's database is the one the destination's
// XLibData.mariadb named before the copy, else the source's database name
// and the destination's folder name joined by '_' on the same server; the
// server copies the database there and the destination's XLibData.mariadb
// names it.
void copyProviderFolder(const std::string& from, const std::string& to);

// Removes a provider folder, with its database when that is on a server.
void removeProviderFolder(const std::string& name);

}  // namespace orvdb::merge
