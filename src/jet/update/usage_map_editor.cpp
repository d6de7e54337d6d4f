#include "jet/update/usage_map_editor.hpp"

#include <algorithm>
#include <span>

#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/page.hpp"
#include "jet/format/usage_map.hpp"

namespace orvdb::jet {

using namespace usage_map;

namespace {

bool testBit(std::span<const uint8_t> bitmap, uint32_t bit) {
    return (bitmap[bit / 8] & (1u << (bit % 8))) != 0;
}

void setBit(std::span<uint8_t> bitmap, uint32_t bit, bool on) {
    auto mask = static_cast<uint8_t>(1u << (bit % 8));
    bitmap[bit / 8] = on ? bitmap[bit / 8] | mask : bitmap[bit / 8] & ~mask;
}

void appendSetBits(std::span<const uint8_t> bitmap, uint64_t firstPage,
                   std::vector<uint32_t>& out) {
    for (size_t byte = 0; byte < bitmap.size(); ++byte) {
        if (bitmap[byte] == 0) {
            continue;  // most of a map is empty
        }
        for (uint32_t bit = 0; bit < 8; ++bit) {
            uint64_t page = firstPage + byte * 8 + bit;
            if ((bitmap[byte] & (1u << bit)) != 0 && page <= UINT32_MAX) {
                out.push_back(static_cast<uint32_t>(page));
            }
        }
    }
}

void initMapPage(PageBytes& map) {
    map.fill(0);
    map[jet::page::kType] = jet::page::kUsageMapType;
    map[jet::page::kMarker] = jet::page::kMarkerValue;
}

}  // namespace

// Where the row lies on its page; the bytes are read again on each use.
struct UsageMapEditor::Row {
    size_t offset = 0;
    size_t length = 0;
    uint8_t type = 0;

    bool isInline() const { return type == kInline; }
    uint32_t inlinePages() const { return static_cast<uint32_t>((length - kInlineBitmap) * 8); }
    size_t slots() const { return (length - kMapPages) / kMapPageSlotSize; }
};

UsageMapEditor::UsageMapEditor(PageStore& store, RowPointer where, std::string what)
    : store_(store), where_(where), what_(std::move(what)) {}

UsageMapEditor::Row UsageMapEditor::locate(bool forChange) {
    const std::string label = "the usage map of the " + what_ + " at " + where_.toString();
    if (where_.page == kGlobalUsageMapPage && forChange) {
        throwError(store_.fileName(), label +
                                          " is the global usage map, whose bits mark free "
                                          "pages: it is not edited as an owner's map");
    }
    const PageBytes& rows = store_.read(where_.page);
    uint32_t owner = getU32(rows, data_page::kOwner);
    if (rows[jet::page::kType] != jet::page::kDataType || owner != 0) {
        throwCorrupt(store_.fileName(), label + " is not on a usage-map page (page type " +
                                            std::to_string(rows[jet::page::kType]) + ", owner " +
                                            std::to_string(owner) + ")");
    }
    uint16_t rowCount = getU16(rows, data_page::kRowCount);
    size_t tableEnd = data_page::rowOffsetAt(rowCount);
    if (where_.row >= rowCount || tableEnd > kPageSize) {
        throwCorrupt(store_.fileName(), label + " does not exist: the page holds " +
                                            std::to_string(rowCount) + " rows");
    }
    uint16_t raw = getU16(rows, data_page::rowOffsetAt(where_.row));
    size_t start = raw & data_page::kOffsetMask;
    size_t end = where_.row == 0 ? kPageSize
                                 : getU16(rows, data_page::rowOffsetAt(where_.row - 1u)) &
                                       data_page::kOffsetMask;
    if ((raw & data_page::kDeletedRow) != 0 || start < tableEnd || start >= end ||
        end > kPageSize) {
        throwCorrupt(store_.fileName(), label + " is deleted or has impossible bounds " +
                                            std::to_string(start) + ".." + std::to_string(end));
    }
    Row row{start, end - start, rows[start + kType]};
    if (row.type != kInline && row.type != kReference) {
        throwCorrupt(store_.fileName(), label + " has unknown type " + std::to_string(row.type));
    }
    if (row.length <= kInlineBitmap) {
        throwCorrupt(store_.fileName(),
                     label + " is too short (" + std::to_string(row.length) + " bytes)");
    }
    return row;
}

bool UsageMapEditor::contains(uint32_t page) {
    Row row = locate(false);
    std::span<const uint8_t> bytes = std::span(store_.read(where_.page)).subspan(row.offset);
    if (row.isInline()) {
        uint32_t start = getU32(bytes, kStartPage);
        return page >= start && page - start < row.inlinePages() &&
               testBit(bytes.subspan(kInlineBitmap), page - start);
    }
    size_t slot = page / kPagesPerMapPage;
    if (slot >= row.slots()) {
        return false;
    }
    uint32_t mapPage = getU32(bytes, mapPageSlotAt(slot));
    if (mapPage == 0) {
        return false;
    }
    const PageBytes& map = store_.read(mapPage);
    if (map[jet::page::kType] != jet::page::kUsageMapType) {
        throwCorrupt(store_.fileName(), "page " + std::to_string(mapPage) +
                                            " of the usage map of the " + what_ +
                                            " is not a usage-map page");
    }
    return testBit(std::span(map).subspan(kMapPageBitmap), page % kPagesPerMapPage);
}

bool UsageMapEditor::add(uint32_t page) {
    if (contains(page)) {
        return false;
    }
    Row row = locate(true);
    if (row.isInline()) {
        uint32_t start = getU32(std::span(store_.read(where_.page)), row.offset + kStartPage);
        if (page >= start && page - start < row.inlinePages()) {
            std::span<uint8_t> bytes = std::span(store_.modify(where_.page)).subspan(row.offset);
            setBit(bytes.subspan(kInlineBitmap), page - start, true);
            return true;
        }
        std::vector<uint32_t> listed = pages();
        listed.push_back(page);
        encodeAgain(row, std::move(listed));
        return true;
    }
    size_t slot = page / kPagesPerMapPage;
    if (slot >= row.slots()) {
        throwError(store_.fileName(), "the usage map of the " + what_ + " at " + where_.toString() +
                                          " cannot list page " + std::to_string(page) +
                                          ": a map row of " + std::to_string(row.length) +
                                          " bytes reaches pages below " +
                                          std::to_string(row.slots() * uint64_t{kPagesPerMapPage}));
    }
    uint32_t mapPage =
        getU32(std::span(store_.read(where_.page)), row.offset + mapPageSlotAt(slot));
    if (mapPage == 0) {
        mapPage = store_.allocate();
        initMapPage(store_.modify(mapPage));
        putU32(store_.modify(where_.page), row.offset + mapPageSlotAt(slot), mapPage);
    }
    setBit(std::span(store_.modify(mapPage)).subspan(kMapPageBitmap), page % kPagesPerMapPage,
           true);
    return true;
}

bool UsageMapEditor::remove(uint32_t page) {
    if (!contains(page)) {
        return false;
    }
    Row row = locate(true);
    if (row.isInline()) {
        uint32_t start = getU32(std::span(store_.read(where_.page)), row.offset + kStartPage);
        std::span<uint8_t> bytes = std::span(store_.modify(where_.page)).subspan(row.offset);
        setBit(bytes.subspan(kInlineBitmap), page - start, false);
        return true;
    }
    size_t slot = page / kPagesPerMapPage;
    uint32_t mapPage =
        getU32(std::span(store_.read(where_.page)), row.offset + mapPageSlotAt(slot));
    setBit(std::span(store_.modify(mapPage)).subspan(kMapPageBitmap), page % kPagesPerMapPage,
           false);
    return true;
}

std::vector<uint32_t> UsageMapEditor::pages() {
    Row row = locate(false);
    std::vector<uint8_t> bytes(store_.read(where_.page).begin() + row.offset,
                               store_.read(where_.page).begin() + row.offset + row.length);
    std::vector<uint32_t> listed;
    if (row.isInline()) {
        appendSetBits(std::span(bytes).subspan(kInlineBitmap), getU32(bytes, kStartPage), listed);
        return listed;
    }
    for (size_t slot = 0; slot < row.slots(); ++slot) {
        uint32_t mapPage = getU32(bytes, mapPageSlotAt(slot));
        if (mapPage == 0) {
            continue;
        }
        const PageBytes& map = store_.read(mapPage);
        if (map[jet::page::kType] != jet::page::kUsageMapType) {
            throwCorrupt(store_.fileName(), "page " + std::to_string(mapPage) +
                                                " of the usage map of the " + what_ +
                                                " is not a usage-map page");
        }
        appendSetBits(std::span(map).subspan(kMapPageBitmap), slot * uint64_t{kPagesPerMapPage},
                      listed);
    }
    return listed;
}

// The writer's choice for a new map: inline from page 0 while that covers the
// pages, inline from the first page while the span fits, else a reference map
// with a map page for each run that has pages.
void UsageMapEditor::encodeAgain(Row& row, std::vector<uint32_t> listed) {
    std::sort(listed.begin(), listed.end());
    listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
    std::vector<uint8_t> encoded(row.length, 0);
    if (listed.back() < row.inlinePages() || listed.back() - listed.front() < row.inlinePages()) {
        uint32_t start = listed.back() < row.inlinePages() ? 0 : listed.front();
        encoded[kType] = kInline;
        putU32(encoded, kStartPage, start);
        for (uint32_t page : listed) {
            setBit(std::span(encoded).subspan(kInlineBitmap), page - start, true);
        }
    } else {
        size_t lastSlot = listed.back() / kPagesPerMapPage;
        if (lastSlot >= row.slots()) {
            throwError(store_.fileName(),
                       "the usage map of the " + what_ + " at " + where_.toString() +
                           " cannot list page " + std::to_string(listed.back()) +
                           ": a map row of " + std::to_string(row.length) +
                           " bytes reaches pages below " +
                           std::to_string(row.slots() * uint64_t{kPagesPerMapPage}));
        }
        encoded[kType] = kReference;
        for (auto begin = listed.begin(); begin != listed.end();) {
            uint32_t slot = *begin / kPagesPerMapPage;
            auto end = std::find_if(begin, listed.end(), [slot](uint32_t page) {
                return page / kPagesPerMapPage != slot;
            });
            uint32_t mapPage = store_.allocate();
            PageBytes& map = store_.modify(mapPage);
            initMapPage(map);
            for (auto it = begin; it != end; ++it) {
                setBit(std::span(map).subspan(kMapPageBitmap), *it % kPagesPerMapPage, true);
            }
            putU32(encoded, mapPageSlotAt(slot), mapPage);
            begin = end;
        }
    }
    std::span<uint8_t> bytes = std::span(store_.modify(where_.page)).subspan(row.offset);
    std::copy(encoded.begin(), encoded.end(), bytes.begin());
    row.type = encoded[kType];
}

}  // namespace orvdb::jet
