// `orvdb open SETTINGS ALIAS`: what OpenDatabase makes of a section of a
// connection-settings file, as the host would receive it.
#include "cli_context.hpp"

#include <orvdb/exports.h>
#include <orvdb/strings.h>
#include <orvdb/com_ptr.hpp>

#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "data/database.hpp"
#include "data/mariadb/settings.hpp"
#include "host/boundary_strings.hpp"
#include "host/paths.hpp"

namespace orvdb::cli {

namespace {

std::string statusText(OrvHResult status) {
    if (status == ORV_S_OK || status == ORV_S_FALSE) {
        return std::to_string(status);
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
    return code;
}

std::string lastErrorMessage() {
    return host::Bstr::adopt(OrvGetLastErrorMessage()).utf8();
}

// Why OpenDatabase gave no database.
std::string failureText(OrvHResult status, const std::string& settings, const std::string& alias) {
    if (status == ORV_E_INVALIDARG) {
        return "settings file '" + settings + "' does not exist";
    }
    if (status == ORV_S_FALSE) {
        return "section CONNEXION" + alias + " of '" + settings +
               "' names no database (NAME is empty, or no file exists at PATH)";
    }
    return lastErrorMessage();
}

void openFromSettings(const std::string& settings, const std::string& alias) {
    host::HostString file = host::HostString::fromUtf8(settings);
    host::HostString section = host::HostString::fromUtf8(alias);
    OrvIDatabase* handle = nullptr;
    const OrvHResult status = OpenDatabase(file.get(), section.get(), &handle);
    std::cout << "status\t" << statusText(status) << '\n';
    if (!handle) {
        throw std::runtime_error(failureText(status, settings, alias));
    }

    ComPtr<iDatabase> db = ComPtr<iDatabase>::adopt(reinterpret_cast<iDatabase*>(handle));
    host::Bstr name;
    host::throwIfFailed(db->Get_dbname(name.put()), "Get_dbname");
    OrvWordBool opened = ORV_WFALSE;
    host::throwIfFailed(db->Get_Opened(&opened), "Get_Opened");
    // The stored settings are not part of iDatabase; this is the library's
    // own object.
    auto& connection = dynamic_cast<data::torvc_Database&>(*db.get());
    const std::string path = host::toUtf8(connection.path());
    std::cout << "name\t" << name.utf8() << '\n'
              << "path\t" << path << '\n'
              << "file\t" << (data::mariadb::isMariaDbUrl(path) ? path : host::resolvePath(path))
              << '\n'
              << "paramPath\t" << host::toUtf8(connection.paramFilename()) << '\n'
              << "format\t" << host::toUtf8(connection.format()) << '\n'
              << "opened\t" << (opened ? "yes" : "no") << '\n';
}

}  // namespace

void addOpenCommand(CLI::App& app) {
    static std::string settings;
    static std::string alias;
    auto* cmd = app.add_subcommand(
        "open",
        "Open the database that section CONNEXION<ALIAS> of a connection-settings file "
        "describes, and show what OpenDatabase gives (status, name, path, opened)");
    cmd->add_option("SETTINGS", settings, "The connection-settings file (INI)")->required();
    cmd->add_option("ALIAS", alias, "The alias; the section read is CONNEXION<ALIAS>")->required();
    cmd->callback([] { openFromSettings(settings, alias); });
}

}  // namespace orvdb::cli
