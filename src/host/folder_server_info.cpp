#include "host/folder_server_info.hpp"

#include "host/boundary_strings.hpp"

namespace orvdb::host {

namespace {
OrvHResult answer(OrvBstr* out, const std::u16string& text) {
    clearOut(out);
    return guarded([&] {
        if (!out) {
            throw StatusError(ORV_E_POINTER,
                              "server information: the out argument is a null pointer");
        }
        *out = Bstr(text).release();
    });
}
}  // namespace

FolderServerInfo::FolderServerInfo(std::u16string folder, std::u16string databaseName)
    : folder_(std::move(folder)), databaseName_(std::move(databaseName)) {}

OrvHResult FolderServerInfo::Get_Folder(OrvBstr* folder) {
    return answer(folder, folder_);
}

OrvHResult FolderServerInfo::Reserved0() {
    return ORV_E_NOTIMPL;
}

OrvHResult FolderServerInfo::Get_DatabaseName(OrvBstr* name) {
    return answer(name, databaseName_);
}

std::string serverDatabasePath(IServerInfo& info) {
    Bstr folder;
    throwIfFailed(info.Get_Folder(folder.put()), "server information Get_Folder");
    Bstr name;
    throwIfFailed(info.Get_DatabaseName(name.put()), "server information Get_DatabaseName");
    std::string path = folder.utf8();
    if (!path.empty() && path.back() != '/' && path.back() != '\\') {
        path += '/';
    }
    return path + name.utf8() + ".mdb";
}

ComPtr<IServerInfo> makeFolderServerInfo(std::u16string folder, std::u16string databaseName) {
    auto* object = new FolderServerInfo(std::move(folder), std::move(databaseName));
    return ComPtr<IServerInfo>(static_cast<IXLibServerInfo*>(object));
}

}  // namespace orvdb::host
