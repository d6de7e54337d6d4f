// Creating database objects for the exports and the database kinds.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <string_view>

namespace orvdb::data {

// A connection object on the file at path, opened when openAfterCreate is
// true. A file that cannot be opened is handed to the host's exception
// handler and the object comes back closed (Get_Opened tells). The alias is
// accepted for the callers' sake and not used.
ComPtr<iDatabase> createDatabase(std::u16string_view name, std::u16string_view format,
                                 std::u16string_view alias, bool openAfterCreate,
                                 std::u16string_view paramFilePath, std::u16string_view path,
                                 IServerInfo* serverInfo);

// The same named after its alias, with no format.
ComPtr<iDatabase> createDatabase(std::u16string_view alias, IServerInfo* serverInfo,
                                 bool openAfterCreate, std::u16string_view paramFilePath,
                                 std::u16string_view path);

}  // namespace orvdb::data
