#include "kinds/library_database.hpp"

#include "data/boundary_values.hpp"
#include "host/exceptions.hpp"
#include "host/host_services.hpp"
#include "host/utf16.hpp"
#include "kinds/kind_sql.hpp"
#include "kinds/library_upgrade.hpp"

namespace orvdb::kinds {

ComPtr<iDatabase> TXLIB_Database::CreateDatabase(IXLibServerInfo* info) {
    std::string path = registryPath(host::registry_entry::kLibraryFolder, "XLib.Mdb");
    std::string unusedProvider;
    if (!CheckDatabaseFile(path, unusedProvider, true)) {
        host::HandleException(host::EORV_DATABASECONNEXION("CANNOT FIND " + path));
        return {};
    }
    try {
        ComPtr<iDatabase> database(new TXLIB_Database(
            u"XLIB", u"0", host::toUtf16(parametersFilePath()), host::toUtf16(path), info));
        return openOrDrop(std::move(database));
    } catch (const std::exception& e) {
        host::HandleException(host::EORV_DATABASECONNEXION(e.what()));
        return {};
    }
}

OrvHResult TXLIB_Database::Get_ProviderName(OrvBstr* name) {
    host::clearOut(name);
    return host::guarded([&] { data::setOut(name, u"XLIB", "Get_ProviderName"); });
}

OrvHResult TXLIB_Database::Set_ProviderName(OrvBstr) {
    return ORV_S_OK;
}

void TXLIB_Database::update(IInterface*, IInterface*) {
    runLibraryUpgrade(*this);
}

std::u16string TXLIB_Database::sql(int32_t index) {
    return host::toUtf16(librarySql(index));
}

}  // namespace orvdb::kinds
