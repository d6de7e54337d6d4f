// The manager database's final patches: repairs with no version and no code,
// run after the steps on every upgrade. Each looks first or tolerates running
// again.
#pragma once

#include "upgrade/catalogue.hpp"

namespace orvdb::upgrade {

// On a query level of its own, popped also when a patch raises:
// DOSSIERDEVISTREENODES.NAME widened to 255 characters (ALTER COLUMN, or the
// MODIFY form when the engine raises on that one); ARTUNICID and SERVERSID
// when missing; DOSSIERS.EXTERNALID when missing; ten Polish labels.
void runManagerFinalPatches(UpgradeSession& session);

}  // namespace orvdb::upgrade
