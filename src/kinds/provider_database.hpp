// TProvider_Database: every provider-family database (provider data,
// filling, hardware), all on the file Providers/<provider>/XLibData.Mdb of
// the data root, or on the MariaDB database that folder's XLibData.mariadb
// names (provider_server.hpp). When the asked provider has no file, another provider
// folder that has one is opened instead and becomes the current provider.
#pragma once

#include <orvdb/com_ptr.hpp>

#include <string>
#include <vector>

#include "data/mariadb/settings.hpp"
#include "kinds/soft_database.hpp"
#include "kinds/with_provider_name.hpp"

namespace orvdb::kinds {

class TProvider_Database : public WithProviderName<TSoftDatabase> {
public:
    using WithProviderName::WithProviderName;

    // Connection name = alias argument, alias = name argument (the alias is
    // not used by the connection). Empty when no provider file can be found
    // (the message manager says so) or the connection fails (HandleException).
    static ComPtr<iDatabase> CreateDatabase(std::u16string_view alias, std::u16string_view name,
                                            std::u16string_view providerName,
                                            IServerInfo* serverInfo);

    // The provider fallback: the file at path, else the first provider
    // folder whose data file passes the check; path and providerName then
    // name it and registry entry 4 holds the folder.
    static bool CheckDatabaseFile(std::string& path, std::string& providerName, bool quiet);

    // A path whose folder names a server database in place of the file puts
    // the connection on that server, and a file path back on the file.
    OrvHResult ChangePath(const char16_t* newPath) override;

    OrvHResult Get_ProviderName(OrvBstr* name) override;
    OrvHResult Set_ProviderName(OrvBstr name) override;

    const std::u16string& providerName() const { return providerName_; }

protected:
    void update(IInterface* rightsHost, IInterface* hostObject) override;
    std::u16string sql(int32_t index) override;

private:
    // The provider's database on a server its folder names.
    static ComPtr<iDatabase> openOnServer(std::u16string_view alias,
                                          const data::mariadb::Settings& server,
                                          const std::string& provider, IServerInfo* serverInfo);

    std::u16string providerName_;
    bool onServer_ = false;
};

// Folders under <data root>/Providers that hold an XLibData.mdb, in the
// order the file system lists them. Letter case of the names is ignored.
std::vector<std::string> ListProviderFolders();

// entry 30 + "Providers/" + provider + "/XLibData.Mdb"
std::string providerDataPath(std::string_view provider);

// The three provider-family kinds differ only in connection name and alias.
struct TXLIBProvider_Database {
    static ComPtr<iDatabase> CreateDatabase(std::u16string_view providerName,
                                            IProviderServerInfo* info);
};
struct TBackfill_Database {
    static ComPtr<iDatabase> CreateDatabase(std::u16string_view providerName);
};
struct THardware_Database {
    static ComPtr<iDatabase> CreateDatabase(std::u16string_view providerName);
};

}  // namespace orvdb::kinds
