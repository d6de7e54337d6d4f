#include "kinds/provider_database.hpp"

#include <filesystem>
#include <system_error>

#include "base/names.hpp"
#include "data/boundary_values.hpp"
#include "data/jet_backend.hpp"
#include "data/mariadb/backend.hpp"
#include "host/exceptions.hpp"
#include "host/host_services.hpp"
#include "host/paths.hpp"
#include "host/utf16.hpp"
#include "kinds/kind_sql.hpp"
#include "kinds/provider_server.hpp"
#include "upgrade/provider_upgrade.hpp"

namespace orvdb::kinds {

namespace fs = std::filesystem;

std::string providerDataPath(std::string_view provider) {
    return registryPath(host::registry_entry::kDataRoot,
                        "Providers/" + std::string(provider) + "/XLibData.Mdb");
}

std::vector<std::string> ListProviderFolders() {
    std::vector<std::string> folders;
    std::string root = registryPath(host::registry_entry::kDataRoot, "providers");
    std::error_code error;
    fs::directory_iterator it(host::resolvePath(root), error);
    if (error) {
        return folders;
    }
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            break;
        }
        std::error_code typeError;
        if (!it->is_directory(typeError)) {
            continue;
        }
        std::string name = it->path().filename().string();
        if (name == "." || name == "..") {
            continue;
        }
        if (host::fileExists(root + "/" + name + "/XLIBData.mdb") ||
            host::fileExists(root + "/" + name + "/XLibData.mariadb")) {
            folders.push_back(name);
        }
    }
    return folders;
}

bool TProvider_Database::CheckDatabaseFile(std::string& path, std::string& providerName,
                                           bool /*quiet*/) {
    if (TSoftDatabase::CheckDatabaseFile(path, providerName, true)) {
        return true;
    }
    std::string asked = base::foldName(path);
    for (const std::string& folder : ListProviderFolders()) {
        path = providerDataPath(folder);
        if (base::foldName(path) == asked) {
            continue;
        }
        if (TSoftDatabase::CheckDatabaseFile(path, providerName, true)) {
            host::registry()->set(host::registry_entry::kProviderName, folder);
            providerName = folder;
            return true;
        }
    }
    return false;
}

ComPtr<iDatabase> TProvider_Database::CreateDatabase(std::u16string_view alias,
                                                     std::u16string_view name,
                                                     std::u16string_view providerName,
                                                     IServerInfo* serverInfo) {
    std::string provider = host::toUtf8(providerName);
    std::string path = providerDataPath(provider);
    if (!host::fileExists(path)) {
        try {
            if (std::optional<data::mariadb::Settings> server = providerServer(provider)) {
                return openOnServer(alias, *server, provider, serverInfo);
            }
        } catch (const std::exception& e) {
            host::HandleException(host::EORV_DATABASECONNEXION(e.what()));
            return {};
        }
    }
    if (!CheckDatabaseFile(path, provider, true)) {
        host::showMessage("CANNOT FIND " + path);
        return {};
    }
    (void)name;  // the connection's alias, which it does not use
    try {
        auto* object = new TProvider_Database(alias, u"0", host::toUtf16(parametersFilePath()),
                                              host::toUtf16(path), serverInfo);
        ComPtr<iDatabase> database = openOrDrop(ComPtr<iDatabase>(object));
        if (!database) {
            return {};
        }
        ComPtr<iProviderName> named = database.as<iProviderName>();
        host::Bstr folder(host::toUtf16(provider));
        host::throwIfFailed(named->Set_ProviderName(folder.get()), "Set_ProviderName");
        return database;
    } catch (const std::exception& e) {
        host::HandleException(host::EORV_DATABASECONNEXION(e.what()));
        return {};
    }
}

ComPtr<iDatabase> TProvider_Database::openOnServer(std::u16string_view alias,
                                                   const data::mariadb::Settings& server,
                                                   const std::string& provider,
                                                   IServerInfo* serverInfo) {
    // The path the host reads back names the server and database.
    auto* object =
        new TProvider_Database(alias, u"0", host::toUtf16(parametersFilePath()),
                               host::toUtf16("mariadb://" + data::mariadb::describe(server)),
                               serverInfo, std::make_unique<data::mariadb::ServerBackend>(server));
    object->onServer_ = true;
    ComPtr<iDatabase> database = openOrDrop(ComPtr<iDatabase>(object));
    if (database) {
        host::Bstr folder(host::toUtf16(provider));
        host::throwIfFailed(database.as<iProviderName>()->Set_ProviderName(folder.get()),
                            "Set_ProviderName");
    }
    return database;
}

OrvHResult TProvider_Database::ChangePath(const char16_t* newPath) {
    return host::guarded([&] {
        const std::string path = newPath ? host::toUtf8(newPath) : std::string();
        std::optional<data::mariadb::Settings> server = serverInPlaceOf(path);
        if (server) {
            if (onServer_) {
                static_cast<data::mariadb::ServerBackend&>(backend()).retarget(*server);
            } else {
                replaceBackend(std::make_unique<data::mariadb::ServerBackend>(*server));
                onServer_ = true;
            }
            const std::u16string where =
                host::toUtf16("mariadb://" + data::mariadb::describe(*server));
            host::throwIfFailed(torvc_Database::ChangePath(where.c_str()), "ChangePath");
            return;
        }
        if (onServer_) {
            replaceBackend(std::make_unique<data::JetBackend>());
            onServer_ = false;
        }
        host::throwIfFailed(torvc_Database::ChangePath(newPath), "ChangePath");
    });
}

OrvHResult TProvider_Database::Get_ProviderName(OrvBstr* name) {
    host::clearOut(name);
    return host::guarded([&] { data::setOut(name, providerName_, "Get_ProviderName"); });
}

OrvHResult TProvider_Database::Set_ProviderName(OrvBstr name) {
    return host::guarded([&] { providerName_ = host::bstrView(name); });
}

void TProvider_Database::update(IInterface*, IInterface*) {
    withUpgradeLog([&](upgrade::UpgradeLog& log) {
        upgrade::runProviderUpgrade(*this, log, host::toUtf8(providerName_));
    });
}

std::u16string TProvider_Database::sql(int32_t index) {
    return host::toUtf16(providerSql(index));
}

ComPtr<iDatabase> TXLIBProvider_Database::CreateDatabase(std::u16string_view providerName,
                                                         IProviderServerInfo* info) {
    return TProvider_Database::CreateDatabase(u"GAMMISTE", u"XLIBDATA", providerName, info);
}

ComPtr<iDatabase> TBackfill_Database::CreateDatabase(std::u16string_view providerName) {
    return TProvider_Database::CreateDatabase(u"BACKFILL", u"XLIBBACKFILL", providerName, nullptr);
}

ComPtr<iDatabase> THardware_Database::CreateDatabase(std::u16string_view providerName) {
    return TProvider_Database::CreateDatabase(u"HARDWARE", u"XLIBHARDWARE", providerName, nullptr);
}

}  // namespace orvdb::kinds
