// The image of a mirrored store as the Jet writer takes it: every table of
// the catalog (Jet's system tables included, in catalog order) with its
// definition and rows, and the original file's header page.
//
// Tables whose columns, indexes and relationships are still those of the
// original file keep its definition as read (column numbers, flags, index
// entries), so an unchanged table is written back as it was. Changed and new
// tables get a definition built from the catalog.
#pragma once

#include "jet/read/jet_file.hpp"
#include "jet/write/database_image.hpp"

#include <sqlite3.h>

#include <map>
#include <set>

namespace orvdb::engine {

class Catalog;

// `original`: the file the store mirrors. Throws EngineError naming the
// table and column for a value the file cannot hold.
jet::DatabaseImage storeImage(sqlite3* db, const Catalog& catalog,
                              const ::orvdb::jet::JetFile& original);

// The definition each table of the catalog is written with (by table id),
// and the ids of the tables whose definition is still the one `original`
// holds at their page.
struct CatalogDefinitions {
    std::map<int64_t, jet::TableDefinition> byId;
    std::set<int64_t> unchanged;
};
CatalogDefinitions catalogDefinitions(sqlite3* db, const Catalog& catalog,
                                      const ::orvdb::jet::JetFile& original);
// The same for the tables `tables` alone, whose definitions in the file are
// `originals` (by id; a new table has none). Tables related to one of them
// must be among them: relationship indexes name each other.
CatalogDefinitions catalogDefinitions(
    sqlite3* db, const Catalog& catalog, const std::set<int64_t>& tables,
    std::map<int64_t, std::shared_ptr<const ::orvdb::jet::TableDefinition>> originals,
    const std::string& fileName);

}  // namespace orvdb::engine
