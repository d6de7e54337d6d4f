// The Get_...Database exports: each hands its arguments to the CreateDatabase
// of one database kind and stores the result (empty when the kind could not
// open its file; the kind has told the host why).
#include <orvdb/exports.h>

#include "host/boundary_strings.hpp"
#include "kinds/library_database.hpp"
#include "kinds/manager_database.hpp"
#include "kinds/provider_database.hpp"
#include "module/exports_boundary.hpp"

using namespace orvdb;

namespace {

// Stores the new database in the out argument, whose previous content is
// neither read nor released.
template <class Create>
OrvHResult storeDatabase(const char* exportName, OrvIDatabase** database, Create&& create) {
    return module::runExport(exportName, [&]() -> OrvHResult {
        OrvIDatabase*& out = module::clearedOut(database, "the database argument");
        ComPtr<iDatabase> created = create();
        out = module::toC(created.detach());
        return ORV_S_OK;
    });
}

// Every server-information kind shares the layout of IServerInfo.
template <class Kind>
Kind* serverInfoAs(OrvIServerInfo* info) {
    return reinterpret_cast<Kind*>(info);
}

}  // namespace

OrvHResult Get_XLibDatabase(OrvIDatabase** database, OrvIServerInfo* libraryInfo) {
    return storeDatabase("Get_XLibDatabase", database, [&] {
        return kinds::TXLIB_Database::CreateDatabase(serverInfoAs<IXLibServerInfo>(libraryInfo));
    });
}

OrvHResult Get_XLibDataDatabase(OrvIDatabase** database, OrvBstr providerName,
                                OrvIServerInfo* providerInfo) {
    return storeDatabase("Get_XLibDataDatabase", database, [&] {
        return kinds::TXLIBProvider_Database::CreateDatabase(
            host::bstrView(providerName), serverInfoAs<IProviderServerInfo>(providerInfo));
    });
}

OrvHResult Get_FillingDatabase(OrvIDatabase** database, OrvBstr providerName) {
    return storeDatabase("Get_FillingDatabase", database, [&] {
        return kinds::TBackfill_Database::CreateDatabase(host::bstrView(providerName));
    });
}

OrvHResult Get_HardwareDatabase(OrvIDatabase** database, OrvBstr providerName) {
    return storeDatabase("Get_HardwareDatabase", database, [&] {
        return kinds::THardware_Database::CreateDatabase(host::bstrView(providerName));
    });
}

OrvHResult Get_ManagerDatabase(OrvIDatabase** database, OrvHostString databaseName,
                               OrvIServerInfo* serverInfo) {
    return storeDatabase("Get_ManagerDatabase", database, [&] {
        return kinds::TXMan_Database::CreateDatabase(host::hostStringView(databaseName),
                                                     module::fromC(serverInfo));
    });
}

OrvHResult Get_XLngDatabase(OrvIDatabase** database, OrvIServerInfo* languageInfo) {
    return storeDatabase("Get_XLngDatabase", database, [&] {
        return kinds::TXLNGDatabase::CreateDatabase(serverInfoAs<IXLngServerInfo>(languageInfo));
    });
}

OrvHResult Get_XManParamDatabase(OrvIDatabase** database, OrvIServerInfo* parametersInfo) {
    return storeDatabase("Get_XManParamDatabase", database, [&] {
        return kinds::TXManParam_Database::CreateDatabase(
            serverInfoAs<IXManParamServerInfo>(parametersInfo));
    });
}
