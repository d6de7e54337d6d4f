// The schema maintenance functions as the host calls them.
#include <orvdb/exports.h>

#include "host/boundary_strings.hpp"
#include "module/exports_boundary.hpp"
#include "module/schema_maintenance.hpp"

using namespace orvdb;
using host::hostStringView;

namespace {

iDatabase& databaseArgument(OrvIDatabase* database) {
    return module::required(module::fromC(database), "the database");
}

}  // namespace

OrvHResult RenameTable(OrvIDatabase* database, OrvHostString oldName, OrvHostString newName,
                       OrvWordBool dropOld, OrvWordBool dropNewFirst) {
    return module::runExport("RenameTable", [&] {
        module::renameTable(databaseArgument(database), hostStringView(oldName),
                            hostStringView(newName), dropOld != 0, dropNewFirst != 0);
        return ORV_S_OK;
    });
}

OrvHResult RenameColumn(OrvIDatabase* database, OrvHostString table, OrvHostString oldColumn,
                        OrvHostString newColumn, OrvHostString columnType, OrvWordBool dropOld,
                        OrvWordBool recreateKeys) {
    return module::runExport("RenameColumn", [&] {
        module::renameColumn(databaseArgument(database), hostStringView(table),
                             hostStringView(oldColumn), hostStringView(newColumn),
                             hostStringView(columnType), dropOld != 0, recreateKeys != 0);
        return ORV_S_OK;
    });
}

OrvHResult FlushTable(OrvIDatabase* database, OrvHostString table) {
    return module::runExport("FlushTable", [&] {
        module::flushTable(databaseArgument(database), hostStringView(table));
        return ORV_S_OK;
    });
}

OrvHResult DisableAllconstaint(OrvIDatabase* database) {
    return module::runExport("DisableAllconstaint", [&] {
        module::setForeignKeyChecks(databaseArgument(database), false);
        return ORV_S_OK;
    });
}

OrvHResult EnableAllconstaint(OrvIDatabase* database) {
    return module::runExport("EnableAllconstaint", [&] {
        module::setForeignKeyChecks(databaseArgument(database), true);
        return ORV_S_OK;
    });
}

OrvLongBool ExistsDatabase(OrvIServerInfo* description) {
    OrvLongBool exists = ORV_LFALSE;
    module::runExport("ExistsDatabase", [&] {
        IServerInfo& info = module::required(module::fromC(description), "the description");
        exists = module::databaseFileExists(info) ? ORV_LTRUE : ORV_LFALSE;
        return ORV_S_OK;
    });
    return exists;
}
