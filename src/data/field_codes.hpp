// The small vocabularies the cursors and the connection describe columns
// with: field kind codes, column type words, DAO type numbers, and the
// nine-digit colour text.
#pragma once

#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/dataset/field_type.hpp"
#include "engine/jet_types.hpp"

namespace orvdb::data {

// Field kind codes shared with the schema code of the suite.
enum FieldKind : int32_t {
    kKindLong = 0,
    kKindFloat = 1,
    kKindText = 2,
    kKindShort = 6,
    kKindAutoIncrement = 8,
    kKindBlob = 9,
    kKindMemo = 10,
    kKindTimestamp = 11,
    kKindDateTime = 12,
    kKindBoolean = 13,
};

// The kind code of a field; an auto-increment field named exactly "Ref" counts
// as a plain long. Raises for types outside the table of kinds.
int32_t fieldKindCode(const engine::FieldInfo& field);

// The Jet DDL word of a field as a cursor reports it ("VARCHAR (50)", "LONG",
// ...); empty for types without one.
std::string fieldTypeWord(const engine::FieldInfo& field);

// The column type word a connection gives for a kind code when a table is
// created in it ("VARCHAR(50)", "BYTE", ...); empty for codes without one.
std::u16string columnTypeText(int32_t kindCode, int32_t size);

// "ASC" for 1, "DESC" for 2, empty otherwise.
std::u16string sortOrderText(int32_t order);
// "ALTER COLUMN" for 0, empty otherwise.
std::u16string alterColumnText(int32_t value);

// A column's stored type and size as DAO numbers them.
FieldDef daoFieldDef(const engine::ColumnDef& column);

// Colours (0x00BBGGRR) as text: red, green, blue, each three decimal digits.
std::string colorToText(int32_t color);
// The colour of a text; 0 when it has fewer than nine characters or one of
// the three groups is not a decimal number.
int32_t colorFromText(std::u16string_view text);

}  // namespace orvdb::data
