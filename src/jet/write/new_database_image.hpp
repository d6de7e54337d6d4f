// The image of an empty database as the Jet 4.0 engine creates it: the
// header page, the system tables MSysObjects, MSysACEs, MSysQueries and
// MSysRelationships, the containers, MSysDb and the default permissions.
#pragma once

#include <optional>

#include "jet/write/database_image.hpp"

namespace orvdb::jet {

// `creationDate` (an OLE date) replaces the template's creation date in the
// header and the catalog.
DatabaseImage newDatabaseImage(std::optional<double> creationDate = std::nullopt);

}  // namespace orvdb::jet
