// Connection objects on a MariaDB database.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <string_view>

#include "data/mariadb/settings.hpp"

namespace orvdb::data::mariadb {

// The format tag (FORMAT in a connection-settings section) of a MariaDB database.
inline constexpr std::string_view kFormatTag = "MARIADB";

// A connection object on the database the settings name, opened when
// openAfterCreate is true. A server that cannot be reached is handed to the
// host's exception handler and the object comes back closed.
ComPtr<iDatabase> createDatabase(std::u16string_view name, std::u16string_view format,
                                 const Settings& settings, bool openAfterCreate,
                                 IServerInfo* serverInfo);

}  // namespace orvdb::data::mariadb
