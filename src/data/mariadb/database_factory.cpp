#include "data/mariadb/database_factory.hpp"

#include "data/database.hpp"
#include "data/mariadb/backend.hpp"
#include "host/paths.hpp"
#include "host/utf16.hpp"

namespace orvdb::data::mariadb {

ComPtr<iDatabase> createDatabase(std::u16string_view name, std::u16string_view format,
                                 const Settings& settings, bool openAfterCreate,
                                 IServerInfo* serverInfo) {
    // The path the host reads back names the server and database.
    std::u16string where = host::toUtf16("mariadb://" + describe(settings));
    ComPtr<iDatabase> database(new torvc_Database(name, format, {}, where, serverInfo,
                                                  std::make_unique<ServerBackend>(settings)));
    if (openAfterCreate) {
        host::throwIfFailed(database->Open(), "Open");
    }
    return database;
}

}  // namespace orvdb::data::mariadb
