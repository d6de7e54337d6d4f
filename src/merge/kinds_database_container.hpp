// The default database container (iMultiDatabase): the databases registered
// in the host's container service, and, for a name nobody registered, the
// database of that kind opened where the host would find it:
//
//   XLIB        the library (registry entry 28)
//   GAMMISTE    the provider database of the current provider (entry 4)
//   BACKFILL    the filling database of the current provider
//   HARDWARE    the hardware database of the current provider
//   XLNG        the language database (entry 64)
//   XMANPARAM   the manager parameters database (entry 63)
//
// A database opened so is registered under its name and stays open while
// the container service holds it.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <memory>

#include "host/database_container.hpp"

namespace orvdb::merge {

ComPtr<iMultiDatabase> makeKindsDatabaseContainer(std::shared_ptr<host::DatabaseContainer> service);

}  // namespace orvdb::merge
