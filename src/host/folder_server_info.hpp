// A default server information object: where a database lives, as a folder
// and a database name. It answers every server-information interface, so the
// same object serves the library, provider, manager-parameters, language and
// manager kinds.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <string>

#include "host/interfaced_object.hpp"

namespace orvdb::host {

class FolderServerInfo final : public TInterfacedObjectEx<IXLibServerInfo, IProviderServerInfo,
                                                          IXManParamServerInfo, IXLngServerInfo> {
public:
    FolderServerInfo(std::u16string folder, std::u16string databaseName);

    OrvHResult Get_Folder(OrvBstr* folder) override;
    OrvHResult Reserved0() override;
    OrvHResult Get_DatabaseName(OrvBstr* name) override;

private:
    std::u16string folder_;
    std::u16string databaseName_;
};

// The database file a server information names: its folder (a separator
// added when missing) + its database name + ".mdb".
std::string serverDatabasePath(IServerInfo& info);

// A new object with one reference held by the result.
ComPtr<IServerInfo> makeFolderServerInfo(std::u16string folder, std::u16string databaseName);

}  // namespace orvdb::host
