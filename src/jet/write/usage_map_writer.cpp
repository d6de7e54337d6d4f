#include "jet/write/usage_map_writer.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/usage_map.hpp"

namespace orvdb::jet {

namespace {

using namespace usage_map;

void setBit(std::span<uint8_t> bitmap, uint32_t bit) {
    bitmap[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
}

// Clears a page for a reference map and returns its bitmap.
std::span<uint8_t> startMapPage(PageBytes& bytes) {
    bytes.fill(0);
    bytes[page::kType] = page::kUsageMapType;
    bytes[page::kMarker] = page::kMarkerValue;
    return std::span<uint8_t>(bytes).subspan(kMapPageBitmap);
}

Bytes inlineMap(uint32_t start, const std::vector<uint32_t>& pages) {
    Bytes row(kRowSize, 0);
    row[kType] = kInline;
    putU32(row, kStartPage, start);
    for (uint32_t page : pages) {
        setBit(std::span(row).subspan(kInlineBitmap), page - start);
    }
    return row;
}

// One map page per run of pages that has any listed page.
Bytes referenceMap(const std::vector<uint32_t>& pages, PageSink& pageSet) {
    uint32_t last = pages.empty() ? 0 : pages.back();
    size_t slots = last / kPagesPerMapPage + 1;
    if (slots > kMapPageSlots) {
        throw JetError("a usage map cannot reference page " + std::to_string(last) +
                       "; the database is too large for this writer");
    }
    Bytes row(kRowSize, 0);
    row[kType] = kReference;
    for (size_t slot = 0; slot < slots; ++slot) {
        uint32_t first = static_cast<uint32_t>(slot) * kPagesPerMapPage;
        auto begin = std::lower_bound(pages.begin(), pages.end(), first);
        if (begin == pages.end() || *begin >= first + kPagesPerMapPage) {
            continue;
        }
        uint32_t mapPage = pageSet.allocate();
        std::span<uint8_t> bitmap = startMapPage(pageSet.page(mapPage));
        putU32(row, kMapPages + slot * kMapPageSlotSize, mapPage);
        for (auto it = begin; it != pages.end() && *it < first + kPagesPerMapPage; ++it) {
            setBit(bitmap, *it - first);
        }
    }
    return row;
}

}  // namespace

Bytes encodeUsageMap(std::vector<uint32_t> pages, PageSink& pageSet) {
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    if (pages.empty()) {
        return inlineMap(0, pages);
    }
    // Access starts inline maps at page 0 while that covers them.
    if (pages.back() < kInlinePages) {
        return inlineMap(0, pages);
    }
    if (pages.back() - pages.front() < kInlinePages) {
        return inlineMap(pages.front(), pages);
    }
    return referenceMap(pages, pageSet);
}

Bytes encodeGlobalUsageMap(PageSet& pageSet) {
    if (pageSet.count() <= kInlinePages) {
        Bytes row = inlineMap(0, {});
        for (uint32_t page = 0; page < kInlinePages; ++page) {
            if (!pageSet.isUsed(page)) {
                setBit(std::span(row).subspan(kInlineBitmap), page);
            }
        }
        return row;
    }
    // A reference map: its map pages are in use themselves, so they are
    // allocated (growing the file) before any bit is decided.
    std::vector<uint32_t> mapPages;
    while (mapPages.size() * kPagesPerMapPage < pageSet.count()) {
        mapPages.push_back(pageSet.allocate());
    }
    if (mapPages.size() > kMapPageSlots) {
        throw JetError("the database has " + std::to_string(pageSet.count()) +
                       " pages, more than one usage map can reference");
    }
    Bytes row(kRowSize, 0);
    row[kType] = kReference;
    for (size_t slot = 0; slot < mapPages.size(); ++slot) {
        putU32(row, kMapPages + slot * kMapPageSlotSize, mapPages[slot]);
        std::span<uint8_t> bitmap = startMapPage(pageSet.page(mapPages[slot]));
        auto first = static_cast<uint32_t>(slot * kPagesPerMapPage);
        for (uint32_t bit = 0; bit < kPagesPerMapPage; ++bit) {
            if (!pageSet.isUsed(first + bit)) {
                setBit(bitmap, bit);
            }
        }
    }
    return row;
}

}  // namespace orvdb::jet
