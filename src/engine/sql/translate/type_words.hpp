// The column type words of Jet's DDL (ANSI-92 mode) and what they stand for.
#pragma once

#include "engine/jet_types.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace orvdb::engine::sql {

struct TypeWord {
    enum class Parameters : uint8_t {
        None,            // no (...) allowed
        Length,          // optional (n): Text and Binary
        PrecisionScale,  // optional (p[, s]): Decimal
        SeedStep,        // optional (seed, step): autonumbers
    };
    JetType type = JetType::Text;
    bool autoNumber = false;
    Parameters parameters = Parameters::None;
    bool memoWithoutLength = false;  // TEXT alone is a Memo in ANSI-92 mode
};

// nullopt for a word that is not a Jet type (LONGBLOB, INTEGER8, ...).
std::optional<TypeWord> lookupTypeWord(std::string_view word);

// The word that declares `column` in Jet's DDL ("VARCHAR(50)", "COUNTER",
// "DECIMAL(18, 2)"): what lookupTypeWord reads back as the same column type.
std::string declarationOf(const ColumnDef& column);

inline constexpr int kMaxTextLength = 255;
inline constexpr int kMaxBinaryLength = 510;
inline constexpr int kMaxDecimalPrecision = 28;

}  // namespace orvdb::engine::sql
