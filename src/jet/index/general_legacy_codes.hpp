// Per-character codes of the General Legacy sort order, the order Access 2000
// and 2002-2003 use for text in indexes of an English-locale database.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace orvdb::jet {

struct SortCode {
    enum class Kind : uint8_t {
        Inline,       // sorts by its code bytes alone
        Accented,     // a base letter's code plus a diacritic code
        Unprintable,  // no code in the text; weighed by position afterwards
    };
    Kind kind = Kind::Inline;
    uint8_t length = 0;              // code bytes used (1 or 2); 0 for Unprintable
    std::array<uint8_t, 2> bytes{};  // the code
    uint8_t extra = 0;               // Accented: the diacritic; Unprintable: its weight
    // Letters the character counts as when positions are counted: 2 for the
    // expansions (German sharp s sorts as "ss", Æ as "ae", Þ as "th").
    uint8_t positions = 1;
};

// The code of `c`, or nullopt when no code is established for it (U+0000
// and everything above U+00FF).
std::optional<SortCode> generalLegacySortCode(char32_t c);

// True for the characters whose codes were read back from the index pages
// of Access-made files; the others come from a published table of the order.
bool sortCodeSeenInAccessFiles(char32_t c);

}  // namespace orvdb::jet
