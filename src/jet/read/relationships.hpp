// Relationships as MSysRelationships lists them: one row per column pair.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvdb::jet {

class JetFile;

struct Relationship {
    static constexpr uint32_t kOneToOne = 0x00000001;
    static constexpr uint32_t kNoIntegrity = 0x00000002;
    static constexpr uint32_t kCascadeUpdates = 0x00000100;
    static constexpr uint32_t kCascadeDeletes = 0x00001000;
    static constexpr uint32_t kCascadeSetNull = 0x00002000;
    static constexpr uint32_t kLeftJoin = 0x01000000;
    static constexpr uint32_t kRightJoin = 0x02000000;

    std::string name;
    std::string table;                           // the foreign-key side (szObject)
    std::string referencedTable;                 // the primary side (szReferencedObject)
    std::vector<std::string> columns;            // in key order
    std::vector<std::string> referencedColumns;  // paired with `columns`
    uint32_t flags = 0;

    bool isOneToOne() const { return (flags & kOneToOne) != 0; }
    bool enforcesIntegrity() const { return (flags & kNoIntegrity) == 0; }
    bool cascadesUpdates() const { return (flags & kCascadeUpdates) != 0; }
    bool cascadesDeletes() const { return (flags & kCascadeDeletes) != 0; }
    bool cascadesToNull() const { return (flags & kCascadeSetNull) != 0; }
};

// In the order of their first row; empty when the file has no
// MSysRelationships table.
std::vector<Relationship> readRelationships(const JetFile& file);

}  // namespace orvdb::jet
