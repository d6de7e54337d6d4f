// Indexes as a table definition describes them. A physical index is the
// B-tree; a logical index is the named index users see. Several logical
// indexes may share one physical index (a primary key and the index a
// relationship needs on the same columns).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/format/row_pointer.hpp"

namespace orvdb::jet {

struct IndexColumn {
    uint16_t columnNumber = 0;
    bool ascending = true;
};

struct PhysicalIndex {
    static constexpr uint8_t kUnique = 0x01;
    static constexpr uint8_t kIgnoreNulls = 0x02;
    static constexpr uint8_t kRequired = 0x08;
    // Access sets this on every index it makes.
    static constexpr uint8_t kAlwaysSet = 0x80;

    uint32_t number = 0;  // position in the table definition
    std::vector<IndexColumn> columns;
    uint32_t entryCount = 0;  // as recorded in the table definition header
    RowPointer usageMap;
    uint32_t rootPage = 0;
    uint8_t flags = 0;

    bool isUnique() const { return (flags & kUnique) != 0; }
    bool ignoresNulls() const { return (flags & kIgnoreNulls) != 0; }
    bool isRequired() const { return (flags & kRequired) != 0; }
};

// The kind byte of a logical index.
enum class IndexKind : uint8_t { Normal = 0, PrimaryKey = 1, ForeignKey = 2 };

struct LogicalIndex {
    std::string name;
    uint32_t number = 0;
    uint32_t physicalIndex = 0;
    uint8_t kindCode = 0;
    // Foreign-key indexes: the index on the other side of the relationship.
    uint8_t relatedTableType = 0;
    int32_t relatedIndex = -1;
    uint32_t relatedTablePage = 0;
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
    bool cascadeSetNull = false;

    IndexKind kind() const { return static_cast<IndexKind>(kindCode); }
    bool isPrimaryKey() const { return kind() == IndexKind::PrimaryKey; }
    bool isForeignKey() const { return kind() == IndexKind::ForeignKey; }
};

}  // namespace orvdb::jet
