// OpenDatabase: a database described by a connection-settings file.
#include <orvdb/exports.h>

#include "data/database_factory.hpp"
#include "data/mariadb/database_factory.hpp"
#include "host/boundary_strings.hpp"
#include "host/paths.hpp"
#include "module/connection_settings.hpp"
#include "module/exports_boundary.hpp"

using namespace orvdb;

OrvHResult OpenDatabase(OrvHostString settingsFile, OrvHostString alias, OrvIDatabase** database) {
    return module::runExport("OpenDatabase", [&]() -> OrvHResult {
        // Written, never read: the caller's variable may hold anything.
        if (database) {
            *database = nullptr;
        }
        const std::string file = host::toUtf8(host::hostStringView(settingsFile));
        if (!host::fileExists(file)) {
            return ORV_E_INVALIDARG;
        }

        const module::ConnectionSettings settings =
            module::readConnectionSettings(module::ProfileFile::load(host::resolvePath(file)),
                                           host::toUtf8(host::hostStringView(alias)));
        // The path is upper-cased like every value; the resolver finds the
        // file whatever the letter case on disk. A server database has no file.
        if (settings.name.empty() || (!settings.mariadb && !host::fileExists(settings.path))) {
            return ORV_S_FALSE;
        }
        if (!database) {
            throw host::StatusError(ORV_E_POINTER, "the database argument is a null pointer");
        }
        if (settings.mariadb) {
            ComPtr<iDatabase> server = data::mariadb::createDatabase(
                host::toUtf16(settings.name), host::toUtf16(settings.format), settings.server,
                settings.open, nullptr);
            *database = module::toC(server.detach());
            return ORV_S_OK;
        }

        ComPtr<iDatabase> opened = data::createDatabase(
            host::toUtf16(settings.name), host::toUtf16(settings.format),
            host::toUtf16(settings.alias), settings.open, host::toUtf16(settings.paramPath),
            host::toUtf16(settings.path), nullptr);
        *database = module::toC(opened.detach());
        return ORV_S_OK;
    });
}
