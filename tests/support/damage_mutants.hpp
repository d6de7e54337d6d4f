// Damaged copies of a Jet file for the damage campaigns: one structure a
// reader follows (a data page's owner, a row offset, the free space, a usage
// map, a long-value link, an index page) damaged at a seeded random place.
// Not the values in rows: nothing in the file could tell those apart.
#pragma once

#include <algorithm>
#include <cstring>
#include <random>
#include <span>
#include <vector>

#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/page.hpp"

namespace orvdb::test_support {

namespace damage_detail {
using namespace ::orvdb::jet;
enum class Damage { Owner, RowOffset, FreeSpace, UsageMap, LongValueLink, IndexPage };
inline constexpr const char* kDamageNames[] = {"owner",     "row offset",      "free space",
                                        "usage map", "long-value link", "index page"};
inline constexpr int kDamageKinds = 6;

using Bytes = std::vector<unsigned char>;

inline uint8_t typeAt(const Bytes& file, size_t page) {
    return file[page * kPageSize + page::kType];
}
inline bool longValuePage(const Bytes& file, size_t page) {
    return typeAt(file, page) == page::kDataType &&
           std::memcmp(&file[page * kPageSize + data_page::kOwner], "LVAL", 4) == 0;
}
inline uint32_t ownerAt(const Bytes& file, size_t page) {
    return getU32(std::span(file).subspan(page * kPageSize, kPageSize), data_page::kOwner);
}

// The pages one kind of damage applies to.
inline std::vector<size_t> candidates(const Bytes& file, Damage damage) {
    std::vector<size_t> pages;
    for (size_t page = 3; page < file.size() / kPageSize; ++page) {
        uint8_t type = typeAt(file, page);
        bool data = type == page::kDataType && !longValuePage(file, page);
        bool fits = false;
        switch (damage) {
            case Damage::Owner:
            case Damage::RowOffset:
            case Damage::FreeSpace:
                fits = data && ownerAt(file, page) != 0;
                break;
            case Damage::UsageMap:
                fits = data && ownerAt(file, page) == 0;
                break;
            case Damage::LongValueLink:
                fits = longValuePage(file, page);
                break;
            case Damage::IndexPage:
                fits = type == page::kIndexNodeType || type == page::kIndexLeafType;
                break;
        }
        if (fits && (damage == Damage::IndexPage ||
                     getU16(std::span(file).subspan(page * kPageSize, kPageSize),
                            data_page::kRowCount) > 0)) {
            pages.push_back(page);
        }
    }
    return pages;
}

// Damages `file` at one of `pages`; false when this page offers nothing to damage.
inline bool damage(Bytes& file, Damage kind, const std::vector<size_t>& pages,
                   std::mt19937& random) {
    size_t page = pages[random() % pages.size()];
    std::span<unsigned char> bytes = std::span(file).subspan(page * kPageSize, kPageSize);
    uint16_t rows = getU16(bytes, data_page::kRowCount);
    size_t row = random() % std::max<uint16_t>(rows, 1);
    size_t slot = data_page::kRowCount + 2 + 2 * row;
    uint16_t start = getU16(bytes, slot) & data_page::kOffsetMask;
    auto shift = [&](size_t at, uint16_t mask) {
        uint16_t value = getU16(bytes, at);
        uint16_t delta = static_cast<uint16_t>(1 + random() % 48);
        uint16_t moved = (random() & 1) ? value + delta : value - delta;
        putU16(bytes, at, static_cast<uint16_t>((value & ~mask) | (moved & mask)));
    };
    switch (kind) {
        case Damage::Owner: {
            // Another table's page, or a page no table has.
            uint32_t owner = ownerAt(file, page);
            uint32_t other = ownerAt(file, pages[random() % pages.size()]);
            putU32(bytes, data_page::kOwner,
                   other != owner && (random() & 1) ? other : owner ^ (1u << (random() % 12)));
            return true;
        }
        case Damage::RowOffset:
            shift(slot, data_page::kOffsetMask);  // the flags stay: they are the row's state
            return true;
        case Damage::FreeSpace:
            shift(page::kFreeSpace, 0xFFFF);
            return true;
        case Damage::UsageMap: {
            uint16_t end = row == 0 ? kPageSize : getU16(bytes, slot - 2) & data_page::kOffsetMask;
            if (end <= start) {
                return false;
            }
            bytes[start + random() % (end - start)] ^= static_cast<uint8_t>(1u << (random() % 8));
            return true;
        }
        case Damage::LongValueLink: {
            // A link of a chain starts with the pointer to the next: made to
            // point back at itself, or to end the chain there.
            uint32_t next = getU32(bytes, start);
            if (next == 0 || (next >> 8) >= file.size() / kPageSize ||
                !longValuePage(file, next >> 8)) {
                return false;
            }
            putU32(bytes, start, (random() & 1) ? static_cast<uint32_t>(page << 8 | row) : 0);
            return true;
        }
        case Damage::IndexPage:
            bytes[16 + random() % (kPageSize - 16)] ^= static_cast<uint8_t>(1u << (random() % 8));
            return true;
    }
    return false;
}

}  // namespace damage_detail

using damage_detail::Damage;
using damage_detail::kDamageKinds;
using damage_detail::kDamageNames;

// Makes damaged copies of `original`, one kind after another.
class DamageMaker {
public:
    DamageMaker(const std::vector<unsigned char>& original, uint32_t seed)
        : original_(original), random_(seed) {
        for (int kind = 0; kind < kDamageKinds; ++kind) {
            pages_.push_back(damage_detail::candidates(original, static_cast<Damage>(kind)));
        }
    }
    // The next damaged copy into `mutant`, with its kind; false when this
    // try found nothing to damage (call again).
    bool next(std::vector<unsigned char>& mutant, Damage& kind) {
        int index = static_cast<int>(tries_++ % kDamageKinds);
        kind = static_cast<Damage>(index);
        if (pages_[index].empty()) {
            return false;
        }
        mutant = original_;
        return damage_detail::damage(mutant, kind, pages_[index], random_);
    }

private:
    const std::vector<unsigned char>& original_;
    std::mt19937 random_;
    std::vector<std::vector<size_t>> pages_;
    uint64_t tries_ = 0;
};

}  // namespace orvdb::test_support
