// Column properties Access keeps in a table's MSysObjects.LvProp (Required,
// AllowZeroLength, DefaultValue): the catalog's values put back into the
// property blocks, so that what DDL changed survives a write to the file.
#pragma once

#include "engine/jet_types.hpp"
#include "jet/format/value.hpp"

#include <optional>
#include <string>
#include <vector>

namespace orvdb::engine {

// The LvProp value for `columns`, starting from `lvProp` (empty when the
// table has none): properties of columns that are gone are dropped, the
// three above are set to the catalog's values, everything else is kept.
// nullopt when `lvProp` already says what the catalog says. `file` and
// `table` name the object in errors about damaged property blocks.
std::optional<::orvdb::jet::Bytes> updatedColumnProperties(const ::orvdb::jet::Bytes& lvProp,
                                                           const std::vector<ColumnDef>& columns,
                                                           const std::string& file,
                                                           const std::string& table);

}  // namespace orvdb::engine
