// Access SQL that recreates a database's tables, indexes, relationships and
// saved queries.
#pragma once

#include "engine/catalog/catalog.hpp"

#include <ostream>

namespace orvdb::cli {

void writeSchema(std::ostream& out, const engine::Catalog& catalog);

}  // namespace orvdb::cli
