// TXMan_Database: a manager database, or the workshop data when opened under
// the name XMANDATA. Its file is named by the server information: folder +
// database name + ".mdb". The host hands it the texts the manager upgrade
// needs through IManagerStrings.
#pragma once

#include <orvdb/com_ptr.hpp>

#include "kinds/soft_database.hpp"

namespace orvdb::kinds {

class TXMan_Database final : public TSoftDatabase, public IManagerStrings {
public:
    using TSoftDatabase::TSoftDatabase;

    static ComPtr<iDatabase> CreateDatabase(std::u16string_view name, IServerInfo* serverInfo);

    OrvHResult QueryInterface(const OrvGuid& iid, void** object) override {
        return TSoftDatabase::QueryInterface(iid, object);
    }
    int32_t AddRef() override { return TSoftDatabase::AddRef(); }
    int32_t Release() override { return TSoftDatabase::Release(); }
    OrvHResult SetUpgradeStrings(IWideStringCollection* texts) override;

protected:
    void* queryExtra(const OrvGuid& iid) override;
    void update(IInterface* rightsHost, IInterface* hostObject) override;
};

// TXManParam_Database: the manager parameters database XManParam.Mdb.
class TXManParam_Database final : public TSoftDatabase {
public:
    using TSoftDatabase::TSoftDatabase;
    static ComPtr<iDatabase> CreateDatabase(IXManParamServerInfo* info);
};

// TXLNGDatabase: the language database XLng.mdb.
class TXLNGDatabase final : public TSoftDatabase {
public:
    using TSoftDatabase::TSoftDatabase;
    static ComPtr<iDatabase> CreateDatabase(IXLngServerInfo* info);

protected:
    std::u16string sql(int32_t index) override;
};

}  // namespace orvdb::kinds
