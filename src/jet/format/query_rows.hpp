// The rows MSysQueries keeps for a saved query: what each Attribute value
// means, and the flags of the options row. Shared by the reader, which
// rebuilds SQL from the rows, and the engine, which writes them.
#pragma once

#include <cstdint>

namespace orvdb::jet::query_rows {

// MSysQueries.Attribute values.
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

// Options row flags.
constexpr int kSelectStar = 0x01;
constexpr int kDistinct = 0x02;
constexpr int kOwnerAccess = 0x04;
constexpr int kDistinctRow = 0x08;
constexpr int kTop = 0x10;
constexpr int kPercent = 0x20;

}  // namespace orvdb::jet::query_rows
