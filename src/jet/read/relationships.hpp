// Relationships as MSysRelationships lists them: one row per column pair.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/format/codes.hpp"

namespace orvdb::jet {

class JetFile;

struct Relationship {
    std::string name;
    std::string table;                           // the foreign-key side (szObject)
    std::string referencedTable;                 // the primary side (szReferencedObject)
    std::vector<std::string> columns;            // in key order
    std::vector<std::string> referencedColumns;  // paired with `columns`
    uint32_t flags = 0;                          // grbit: relationship_flags

    bool isOneToOne() const { return (flags & relationship_flags::kOneToOne) != 0; }
    bool enforcesIntegrity() const { return (flags & relationship_flags::kNoIntegrity) == 0; }
    bool cascadesUpdates() const { return (flags & relationship_flags::kCascadeUpdates) != 0; }
    bool cascadesDeletes() const { return (flags & relationship_flags::kCascadeDeletes) != 0; }
    bool cascadesToNull() const { return (flags & relationship_flags::kCascadeSetNull) != 0; }
};

// In the order of their first row; empty when the file has no
// MSysRelationships table.
std::vector<Relationship> readRelationships(const JetFile& file);

}  // namespace orvdb::jet
