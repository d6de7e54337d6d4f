#include "kinds/manager_database.hpp"

#include "host/boundary_strings.hpp"
#include "host/exceptions.hpp"
#include "host/folder_server_info.hpp"
#include "host/host_services.hpp"
#include "host/utf16.hpp"
#include "kinds/kind_sql.hpp"
#include "upgrade/manager_upgrade.hpp"
#include "upgrade/workshop_upgrade.hpp"

namespace orvdb::kinds {

namespace {

enum class OpenFailure { Report, Swallow };

// Opens a kind's connection; what happens to a failure depends on the kind.
template <class Kind>
ComPtr<iDatabase> openKind(std::u16string_view name, std::u16string_view format,
                           const std::string& path, IServerInfo* info, OpenFailure failure) {
    try {
        ComPtr<iDatabase> database(
            new Kind(name, format, host::toUtf16(parametersFilePath()), host::toUtf16(path), info));
        return openOrDrop(std::move(database));
    } catch (const std::exception& e) {
        if (failure == OpenFailure::Report) {
            host::HandleException(host::EORV_DATABASECONNEXION(e.what()));
        }
        return {};
    }
}

// A missing file is the host's to report; these kinds still try to open.
void checkOrReport(std::string& path) {
    std::string unusedProvider;
    if (!TSoftDatabase::CheckDatabaseFile(path, unusedProvider, true)) {
        host::HandleException(host::EORV_DATABASECONNEXION("CANNOT FIND " + path));
    }
}

}  // namespace

ComPtr<iDatabase> TXMan_Database::CreateDatabase(std::u16string_view name,
                                                 IServerInfo* serverInfo) {
    if (!serverInfo) {
        host::HandleException(host::EORV_DATABASECONNEXION(
            "Manager database " + host::toUtf8(name) + ": no server information was given"));
        return {};
    }
    std::string path = host::serverDatabasePath(*serverInfo);
    checkOrReport(path);
    return openKind<TXMan_Database>(name, u"", path, serverInfo, OpenFailure::Swallow);
}

OrvHResult TXMan_Database::SetUpgradeStrings(IWideStringCollection* texts) {
    return host::guarded([&] {
        std::vector<std::string> list;
        if (texts) {
            int32_t count = 0;
            host::throwIfFailed(texts->Get_Count(&count), "Get_Count");
            for (int32_t i = 0; i < count; ++i) {
                host::Bstr text;
                host::throwIfFailed(texts->Get_Item(i, text.put()), "Get_Item");
                list.push_back(text.utf8());
            }
        }
        upgrade::setManagerUpgradeStrings(std::move(list));
    });
}

void* TXMan_Database::queryExtra(const OrvGuid& iid) {
    if (iid == IManagerStrings::iid) {
        return static_cast<IManagerStrings*>(this);
    }
    return TSoftDatabase::queryExtra(iid);
}

void TXMan_Database::update(IInterface* rightsHost, IInterface* hostObject) {
    withUpgradeLog([&](upgrade::UpgradeLog& log) {
        if (dbname() == u"XMANDATA") {
            upgrade::runWorkshopUpgrade(*this, log);
        } else {
            upgrade::runManagerUpgrade(*this, log, rightsHost, hostObject);
        }
    });
}

ComPtr<iDatabase> TXManParam_Database::CreateDatabase(IXManParamServerInfo* info) {
    std::string path = registryPath(host::registry_entry::kManagerParamFolder, "XManParam.Mdb");
    checkOrReport(path);
    return openKind<TXManParam_Database>(u"XMANPARAM", u"0", path, info, OpenFailure::Swallow);
}

ComPtr<iDatabase> TXLNGDatabase::CreateDatabase(IXLngServerInfo* info) {
    std::string path = registryPath(host::registry_entry::kLanguageFolder, "XLng.mdb");
    checkOrReport(path);
    return openKind<TXLNGDatabase>(u"XLNG", u"0", path, info, OpenFailure::Report);
}

std::u16string TXLNGDatabase::sql(int32_t index) {
    return host::toUtf16(languageSql(index));
}

}  // namespace orvdb::kinds
