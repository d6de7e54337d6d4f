// A column as a Jet 4 table definition describes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "jet/format/row_pointer.hpp"

namespace orvdb::jet {

// Type codes as stored. 13 and 17 have no name in Access; they hold opaque
// bytes and are read like Binary.
enum class ColumnType : uint8_t {
    Boolean = 1,
    Byte = 2,
    Integer = 3,
    Long = 4,
    Currency = 5,
    Single = 6,
    Double = 7,
    DateTime = 8,
    Binary = 9,
    Text = 10,
    OLE = 11,
    Memo = 12,
    Unknown0D = 13,
    Guid = 15,
    Decimal = 16,
    Unknown11 = 17,
};

// "Text", "Long", ...; "Type 14" for codes Jet 4 does not define.
std::string columnTypeName(uint8_t typeCode);
// Bytes the value takes in the fixed area of a row (0: variable or Boolean).
int fixedSizeOf(uint8_t typeCode);

struct Column {
    // Flag bits.
    static constexpr uint8_t kFixedLength = 0x01;
    static constexpr uint8_t kUpdatable = 0x02;
    static constexpr uint8_t kAutoNumber = 0x04;
    static constexpr uint8_t kGuidAutoNumber = 0x40;
    static constexpr uint8_t kHyperlink = 0x80;
    // Extended flag bits.
    static constexpr uint8_t kCompressedUnicode = 0x01;

    std::string name;
    uint8_t typeCode = 0;
    uint16_t number = 0;         // its null-mask bit; gaps where columns were deleted
    uint16_t variableIndex = 0;  // its slot in a row's variable-offset table
    uint16_t fixedOffset = 0;    // from byte 2 of a row
    uint16_t length = 0;         // bytes (Text: twice the character count)
    uint8_t flags = 0;
    uint8_t extendedFlags = 0;
    uint16_t sortOrder = 0;  // Text/Memo collation LCID
    uint8_t sortOrderVersion = 0;
    uint8_t precision = 0;  // Decimal
    uint8_t scale = 0;      // Decimal
    // Memo/OLE: the usage maps of the pages holding the long values.
    std::optional<RowPointer> longValueOwnedPages;
    std::optional<RowPointer> longValueFreePages;
    // Where its entry sits in the table definition, and the position Access
    // shows it at; kept so that a rewritten definition lists columns alike.
    uint16_t definitionOrder = 0;
    uint16_t displayIndex = 0;

    ColumnType type() const { return static_cast<ColumnType>(typeCode); }
    bool isFixedLength() const { return (flags & kFixedLength) != 0; }
    bool isAutoNumber() const { return (flags & kAutoNumber) != 0; }
    bool isGuidAutoNumber() const { return (flags & kGuidAutoNumber) != 0; }
    bool isHyperlink() const { return (flags & kHyperlink) != 0; }
    bool isCompressedUnicode() const { return (extendedFlags & kCompressedUnicode) != 0; }
    bool isLongValue() const { return type() == ColumnType::Memo || type() == ColumnType::OLE; }
    // Text columns: declared size in characters.
    int characterLength() const { return length / 2; }
};

}  // namespace orvdb::jet
