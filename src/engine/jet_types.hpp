// Jet column types and how their values live in the working store.
//
// Storage classes in the working store (SQLite):
//   Text, Memo                     TEXT (UTF-8)
//   Boolean                        INTEGER, -1 for true, 0 for false (never NULL)
//   Byte, Integer, Long            INTEGER
//   Currency, Single, Double       REAL (Single values are rounded to float)
//   Decimal                        TEXT holding the exact decimal ("-12.3400")
//   DateTime                       REAL, days since 1899-12-30, time as fraction
//   Binary, OLE                    BLOB
//   GUID                           TEXT "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine {

// The numbers are the column type codes stored in Jet table definitions.
enum class JetType : uint8_t {
    Boolean = 1,
    Byte = 2,
    Integer = 3,  // 16-bit
    Long = 4,     // 32-bit; an autonumber is a Long with autoNumber set
    Currency = 5,
    Single = 6,
    Double = 7,
    DateTime = 8,
    Binary = 9,
    Text = 10,
    OLE = 11,
    Memo = 12,
    GUID = 15,
    Decimal = 16,
};

std::string_view jetTypeName(JetType type);  // "Text", "Long", ...

// Bytes a fixed-length value takes in a Jet row (0 for variable types).
int jetFixedSize(JetType type);

struct ColumnDef {
    std::string name;
    JetType type = JetType::Text;
    int size = 255;           // Text: declared length in characters; Binary: bytes
    bool autoNumber = false;  // Long autonumber (COUNTER / AUTOINCREMENT / IDENTITY)
    bool required = false;    // NOT NULL
    bool allowZeroLength = true;
    bool compressedUnicode = true;            // Text/Memo: Jet's Unicode compression
    int precision = 18;                       // Decimal
    int scale = 0;                            // Decimal
    std::optional<std::string> defaultValue;  // an Access SQL expression text
    int64_t autoSeed = 1;
    int64_t autoStep = 1;
};

struct IndexColumn {
    std::string column;
    bool descending = false;
};

struct IndexDef {
    std::string name;
    std::vector<IndexColumn> columns;
    bool unique = false;
    bool primary = false;
    bool ignoreNulls = false;
    bool required = false;    // DISALLOW NULL
    bool foreignKey = false;  // the index Jet keeps for a relationship
};

}  // namespace orvdb::engine
