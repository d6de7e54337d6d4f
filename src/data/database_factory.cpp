#include "data/database_factory.hpp"

#include "data/database.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::data {

ComPtr<iDatabase> createDatabase(std::u16string_view name, std::u16string_view format,
                                 std::u16string_view /*alias*/, bool openAfterCreate,
                                 std::u16string_view paramFilePath, std::u16string_view path,
                                 IServerInfo* serverInfo) {
    ComPtr<iDatabase> database(new torvc_Database(name, format, paramFilePath, path, serverInfo));
    if (openAfterCreate) {
        host::throwIfFailed(database->Open(), "Open");
    }
    return database;
}

ComPtr<iDatabase> createDatabase(std::u16string_view alias, IServerInfo* serverInfo,
                                 bool openAfterCreate, std::u16string_view paramFilePath,
                                 std::u16string_view path) {
    return createDatabase(alias, {}, alias, openAfterCreate, paramFilePath, path, serverInfo);
}

}  // namespace orvdb::data
