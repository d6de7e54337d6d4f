// Numbers Jet writes into its system tables: object types, the ids of the
// containers, object flags, relationship flags, query kinds and the rows of
// MSysQueries. Files keep them forever: never renumber, never reuse. The
// reader, the writer and the engine all take them from here.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvdb::jet {

// The General sort order (LCID 0x0409), in the header page and in the
// definition of every Text and Memo column.
inline constexpr uint16_t kGeneralSortOrder = 0x0409;

// ---- MSysObjects ----

// MSysObjects.Type
enum class ObjectType : int16_t {
    Table = 1,
    Database = 2,
    Container = 3,
    LinkedOdbcTable = 4,
    Query = 5,
    LinkedTable = 6,
    Relationship = 8,
};

constexpr int16_t typeCode(ObjectType type) {
    return static_cast<int16_t>(type);
}

// MSysObjects.Id of the containers; the objects they hold carry it as
// ParentId. Tables and queries live in the Tables container.
inline constexpr int32_t kContainersId = 0x0F000000;       // ParentId of the containers
inline constexpr int32_t kTablesContainerId = 0x0F000001;  // 251658241
inline constexpr int32_t kDatabasesContainerId = 0x0F000002;
inline constexpr int32_t kRelationshipsContainerId = 0x0F000003;
// MSysDb, in the Databases container; its LvProp holds the database
// properties (AccessVersion, ...).
inline constexpr int32_t kDatabaseObjectId = 0x10000000;

// MSysObjects.Flags. Either bit of kSystemObjectFlags marks Jet's and
// Access's own objects; Jet gives its system tables kJetSystemTableFlags.
inline constexpr uint32_t kSystemObjectFlags = 0x80000002;
inline constexpr uint32_t kJetSystemTableFlags = 0x80000000;
inline constexpr uint32_t kHiddenObjectFlag = 0x00000008;

// ---- MSysRelationships.grbit ----

namespace relationship_flags {
inline constexpr uint32_t kOneToOne = 0x00000001;
inline constexpr uint32_t kNoIntegrity = 0x00000002;
inline constexpr uint32_t kCascadeUpdates = 0x00000100;
inline constexpr uint32_t kCascadeDeletes = 0x00001000;
inline constexpr uint32_t kCascadeSetNull = 0x00002000;
inline constexpr uint32_t kLeftJoin = 0x01000000;
inline constexpr uint32_t kRightJoin = 0x02000000;
}  // namespace relationship_flags

// ---- Saved queries ----

// The kind row's Flag in MSysQueries.
enum class QueryKind : uint8_t {
    Select = 1,
    MakeTable = 2,
    Append = 3,
    Update = 4,
    Delete = 5,
    Crosstab = 6,
    DataDefinition = 7,
    PassThrough = 8,
    Union = 9,
};

std::string_view queryKindName(QueryKind kind);  // "Select", "Make-table", ...

// A query's MSysObjects.Flags tell its kind as well, in the bits of
// kQueryKindFlags: 0 select, 16 crosstab, 32 delete, 48 update, 64 append,
// 80 make-table, 96 data definition, 112 pass-through, 128 union.
inline constexpr uint32_t kQueryKindFlags = 0xF0;
uint32_t queryObjectFlags(QueryKind kind);
std::optional<QueryKind> queryKindFromObjectFlags(uint32_t flags);

// The rows MSysQueries keeps for a saved query: what each Attribute value
// means, and the flags of the rows.
namespace query_rows {

// MSysQueries.Attribute
enum Attribute : uint8_t {
    kStartRow = 0,
    kKindRow = 1,
    kParameterRow = 2,
    kOptionsRow = 3,
    kRemoteDatabaseRow = 4,
    kTableRow = 5,
    kColumnRow = 6,
    kJoinRow = 7,
    kWhereRow = 8,
    kGroupByRow = 9,
    kHavingRow = 10,
    kOrderByRow = 11,
    kEndRow = 255,
};

// Options row flags. On union queries kDistinct keeps duplicates out (UNION
// rather than UNION ALL).
inline constexpr int kSelectStar = 0x01;
inline constexpr int kDistinct = 0x02;
inline constexpr int kOwnerAccess = 0x04;
inline constexpr int kDistinctRow = 0x08;
inline constexpr int kTop = 0x10;
inline constexpr int kPercent = 0x20;

// Column row flags of crosstab queries.
inline constexpr int kPivotColumn = 0x01;
inline constexpr int kRowHeading = 0x02;
// Append queries: a column row that is one of the VALUES.
inline constexpr int kAppendValue = 0x8000;

// Join row flags.
inline constexpr int kInnerJoin = 1;
inline constexpr int kLeftJoin = 2;
inline constexpr int kRightJoin = 3;

// Union queries keep the text of their two sides in two table rows named so
// (in Name2).
inline constexpr std::string_view kUnionFirstPart = "X7YZ_____1";
inline constexpr std::string_view kUnionSecondPart = "X7YZ_____2";

}  // namespace query_rows

}  // namespace orvdb::jet
