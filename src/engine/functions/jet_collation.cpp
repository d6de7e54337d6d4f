#include "engine/functions/jet_collation.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <vector>

namespace orvdb::engine {

namespace {

// ICU's root collation at secondary strength: base letters and accents
// count, case does not. Opened once; comparing through a const collator is
// thread-safe.
const UCollator* jetCollator() {
    static const UCollator* const collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("", &status);
        if (U_FAILURE(status)) {
            throw EngineError(msg::collatorUnavailable(u_errorName(status)));
        }
        ucol_setStrength(c, UCOL_SECONDARY);
        return c;
    }();
    return collator;
}

int32_t clampLength(size_t size) {
    return static_cast<int32_t>(std::min<size_t>(size, std::numeric_limits<int32_t>::max()));
}

int compareWithIcu(const char* a, size_t aSize, const char* b, size_t bSize) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(jetCollator(), a, clampLength(aSize), b, clampLength(bSize), &status);
    if (U_FAILURE(status)) {
        // Only possible for absurd lengths; fall back to byte order.
        const int c = std::string_view(a, aSize).compare(std::string_view(b, bSize));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
}

// For text made only of ASCII the collation comes down to one weight per
// character: ICU gives each ASCII character a single collation element,
// letters share theirs across case, control characters are ignorable (rank
// 0). The ranks are taken from the collator itself, once.
using AsciiRanks = std::array<uint8_t, 128>;

const AsciiRanks& asciiRanks() {
    static const AsciiRanks ranks = [] {
        std::array<char, 128> chars;
        std::iota(chars.begin(), chars.end(), char{0});
        std::stable_sort(chars.begin(), chars.end(),
                         [](char x, char y) { return compareWithIcu(&x, 1, &y, 1) < 0; });
        AsciiRanks r{};
        uint8_t rank = 0;
        for (size_t i = 0; i < chars.size(); ++i) {
            const char c = chars[i];
            if (compareWithIcu(&c, 1, "", 0) == 0) {
                r[static_cast<size_t>(c)] = 0;  // ignorable
                continue;
            }
            if (i == 0 || rank == 0 || compareWithIcu(&chars[i - 1], 1, &c, 1) != 0) {
                ++rank;
            }
            r[static_cast<size_t>(c)] = rank;
        }
        return r;
    }();
    return ranks;
}

bool allAscii(const char* text, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

int compareAscii(const char* a, size_t aSize, const char* b, size_t bSize) {
    const AsciiRanks& rank = asciiRanks();
    size_t i = 0;
    size_t j = 0;
    for (;;) {
        while (i < aSize && rank[static_cast<size_t>(a[i])] == 0) {
            ++i;
        }
        while (j < bSize && rank[static_cast<size_t>(b[j])] == 0) {
            ++j;
        }
        if (i == aSize || j == bSize) {
            return (i == aSize) == (j == bSize) ? 0 : (i == aSize ? -1 : 1);
        }
        const uint8_t x = rank[static_cast<size_t>(a[i])];
        const uint8_t y = rank[static_cast<size_t>(b[j])];
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
}

int compareUtf8(const char* a, size_t aSize, const char* b, size_t bSize) {
    if (allAscii(a, aSize) && allAscii(b, bSize)) {
        return compareAscii(a, aSize, b, bSize);
    }
    return compareWithIcu(a, aSize, b, bSize);
}

int collationCallback(void*, int aSize, const void* a, int bSize, const void* b) {
    return compareUtf8(static_cast<const char*>(a), static_cast<size_t>(aSize),
                       static_cast<const char*>(b), static_cast<size_t>(bSize));
}

}  // namespace

void registerJetCollation(sqlite3* db) {
    asciiRanks();  // opens the collator: fail here, not inside a statement
    const int rc = sqlite3_create_collation_v2(db, kJetCollationName, SQLITE_UTF8, nullptr,
                                               collationCallback, nullptr);
    if (rc != SQLITE_OK) {
        throw EngineError(msg::collationNotRegistered(kJetCollationName, sqlite3_errstr(rc)));
    }
}

int jetCompareText(std::string_view left, std::string_view right) {
    return compareUtf8(left.data(), left.size(), right.data(), right.size());
}

std::string jetFoldKey(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length16 = 0;
    u_strFromUTF8WithSub(nullptr, 0, &length16, text.data(), clampLength(text.size()), 0xFFFD,
                         nullptr, &status);
    std::vector<UChar> utf16(static_cast<size_t>(length16) + 1);
    status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(utf16.data(), static_cast<int32_t>(utf16.size()), &length16, text.data(),
                         clampLength(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) {
        throw EngineError(msg::kComparisonKeyFailed);
    }
    std::string key(64, '\0');
    for (;;) {
        const int32_t needed = ucol_getSortKey(jetCollator(), utf16.data(), length16,
                                               reinterpret_cast<uint8_t*>(key.data()),
                                               static_cast<int32_t>(key.size()));
        if (needed <= static_cast<int32_t>(key.size())) {
            key.resize(needed > 0 ? static_cast<size_t>(needed - 1) : 0);  // drop the final 0
            return key;
        }
        key.resize(static_cast<size_t>(needed));
    }
}

}  // namespace orvdb::engine
