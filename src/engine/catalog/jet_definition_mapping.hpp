// How a Jet table definition reads as the catalog's column and index
// definitions. The mirror uses it to load a file; the write-back uses it to
// tell which tables still match their original definition.
#pragma once

#include "engine/jet_types.hpp"
#include "jet/read/properties.hpp"
#include "jet/read/table_definition.hpp"

#include <optional>
#include <vector>

namespace orvdb::engine {

// The engine's type for a stored type code; nullopt for Access's internal types.
std::optional<JetType> engineTypeOf(uint8_t typeCode);

// `properties`: the column's properties (Required, AllowZeroLength,
// DefaultValue), nullptr when it has none.
ColumnDef columnDefOf(const ::orvdb::jet::Column& column,
                      const ::orvdb::jet::PropertyMap* properties);

// The indexes users see, foreign-key ones of the referring side included;
// the referenced side's own relationship indexes ('.rB' ...) are left out.
std::vector<IndexDef> indexDefsOf(const ::orvdb::jet::TableDefinition& definition);

}  // namespace orvdb::engine
