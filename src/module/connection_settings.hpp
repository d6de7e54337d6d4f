// The connection settings of one database: section "CONNEXION" + alias of a
// settings file, as OpenDatabase reads it.
#pragma once

#include <string>
#include <string_view>

#include "data/mariadb/settings.hpp"
#include "module/profile_file.hpp"

namespace orvdb::module {

// Every value upper-cased (ASCII letters only), the paths included.
struct ConnectionSettings {
    std::string name;       // NAME, "UNDEFINED" when absent; empty: open nothing
    std::string alias;      // ALIAS, the name when absent
    std::string path;       // PATH, the database file
    std::string paramPath;  // PARAMPATH, a parameter file
    std::string format;     // FORMAT, a format tag
    bool open = false;      // OPEN is "TRUE"
    // FORMAT=MARIADB: the server, from HOST, PORT, SOCKET, DATABASE, USER and
    // PASSWORD. These keep their letter case (server names, database names
    // and passwords are case-sensitive); PATH is not used.
    bool mariadb = false;
    data::mariadb::Settings server;
};

ConnectionSettings readConnectionSettings(const ProfileFile& file, std::string_view alias);

// a..z become A..Z; every other byte stays, so UTF-8 text stays valid.
std::string upperCaseAscii(std::string_view text);

}  // namespace orvdb::module
