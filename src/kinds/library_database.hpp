// TXLIB_Database: the library database XLib.Mdb.
#pragma once

#include <orvdb/com_ptr.hpp>

#include "kinds/soft_database.hpp"
#include "kinds/with_provider_name.hpp"

namespace orvdb::kinds {

class TXLIB_Database final : public WithProviderName<TSoftDatabase> {
public:
    using WithProviderName::WithProviderName;

    // The library of registry entry 28, opened; empty (after telling the
    // host) when the file is missing, read-only or cannot be opened.
    static ComPtr<iDatabase> CreateDatabase(IXLibServerInfo* info);

    OrvHResult Get_ProviderName(OrvBstr* name) override;
    OrvHResult Set_ProviderName(OrvBstr name) override;

protected:
    void update(IInterface* rightsHost, IInterface* hostObject) override;
    std::u16string sql(int32_t index) override;
};

}  // namespace orvdb::kinds
