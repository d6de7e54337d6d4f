#include "jet/update/usage_map_editor.hpp"

#include <algorithm>
#include <span>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

namespace {

// The data page holding map rows.
constexpr uint8_t kDataPageType = 0x01;
constexpr size_t kOwnerOffset = 4;
constexpr size_t kRowCountOffset = 12;
constexpr size_t kRowOffsetTable = 14;
constexpr uint16_t kDeletedRow = 0x8000;
constexpr uint16_t kRowOffsetMask = 0x1FFF;

constexpr uint8_t kInlineMap = 0x00;
constexpr uint8_t kReferenceMap = 0x01;
constexpr size_t kInlineHeader = 5;  // type byte, u32 start page
constexpr uint8_t kMapPageType = 0x05;
constexpr size_t kMapPageHeader = 4;
constexpr uint32_t kPagesPerMapPage = (kPageSize - kMapPageHeader) * 8;
constexpr uint32_t kGlobalMapPage = 1;

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

void initMapPage(PageBytes& page) {
    page.fill(0);
    page[0] = kMapPageType;
    page[1] = 0x01;
}

}  // namespace

// Where the row lies on its page; the bytes are read again on each use.
struct UsageMapEditor::Row {
    size_t offset = 0;
    size_t length = 0;
    uint8_t type = 0;

    bool isInline() const { return type == kInlineMap; }
    uint32_t inlinePages() const { return static_cast<uint32_t>((length - kInlineHeader) * 8); }
    size_t slots() const { return (length - 1) / 4; }
};

UsageMapEditor::UsageMapEditor(PageStore& store, RowPointer where, std::string what)
    : store_(store), where_(where), what_(std::move(what)) {}

UsageMapEditor::Row UsageMapEditor::locate(bool forChange) {
    const std::string label = "the usage map of the " + what_ + " at " + where_.toString();
    if (where_.page == kGlobalMapPage && forChange) {
        throwError(store_.fileName(), label +
                                          " is the global usage map, whose bits mark free "
                                          "pages: it is not edited as an owner's map");
    }
    const PageBytes& page = store_.read(where_.page);
    uint32_t owner = getU32(page, kOwnerOffset);
    if (page[0] != kDataPageType || owner != 0) {
        throwCorrupt(store_.fileName(), label + " is not on a usage-map page (page type " +
                                            std::to_string(page[0]) + ", owner " +
                                            std::to_string(owner) + ")");
    }
    uint16_t rowCount = getU16(page, kRowCountOffset);
    size_t tableEnd = kRowOffsetTable + size_t{rowCount} * 2;
    if (where_.row >= rowCount || tableEnd > kPageSize) {
        throwCorrupt(store_.fileName(), label + " does not exist: the page holds " +
                                            std::to_string(rowCount) + " rows");
    }
    uint16_t raw = getU16(page, kRowOffsetTable + size_t{where_.row} * 2);
    size_t start = raw & kRowOffsetMask;
    size_t end = where_.row == 0 ? kPageSize
                                 : getU16(page, kRowOffsetTable + (size_t{where_.row} - 1) * 2) &
                                       kRowOffsetMask;
    if ((raw & kDeletedRow) != 0 || start < tableEnd || start >= end || end > kPageSize) {
        throwCorrupt(store_.fileName(), label + " is deleted or has impossible bounds " +
                                            std::to_string(start) + ".." + std::to_string(end));
    }
    Row row{start, end - start, page[start]};
    if (row.type != kInlineMap && row.type != kReferenceMap) {
        throwCorrupt(store_.fileName(), label + " has unknown type " + std::to_string(row.type));
    }
    if (row.length <= kInlineHeader) {
        throwCorrupt(store_.fileName(),
                     label + " is too short (" + std::to_string(row.length) + " bytes)");
    }
    return row;
}

bool UsageMapEditor::contains(uint32_t page) {
    Row row = locate(false);
    std::span<const uint8_t> bytes = std::span(store_.read(where_.page)).subspan(row.offset);
    if (row.isInline()) {
        uint32_t start = getU32(bytes, 1);
        return page >= start && page - start < row.inlinePages() &&
               testBit(bytes.subspan(kInlineHeader), page - start);
    }
    size_t slot = page / kPagesPerMapPage;
    if (slot >= row.slots()) {
        return false;
    }
    uint32_t mapPage = getU32(bytes, 1 + slot * 4);
    if (mapPage == 0) {
        return false;
    }
    const PageBytes& map = store_.read(mapPage);
    if (map[0] != kMapPageType) {
        throwCorrupt(store_.fileName(), "page " + std::to_string(mapPage) +
                                            " of the usage map of the " + what_ +
                                            " is not a usage-map page");
    }
    return testBit(std::span(map).subspan(kMapPageHeader), page % kPagesPerMapPage);
}

bool UsageMapEditor::add(uint32_t page) {
    if (contains(page)) {
        return false;
    }
    Row row = locate(true);
    if (row.isInline()) {
        uint32_t start = getU32(std::span(store_.read(where_.page)), row.offset + 1);
        if (page >= start && page - start < row.inlinePages()) {
            std::span<uint8_t> bytes = std::span(store_.modify(where_.page)).subspan(row.offset);
            setBit(bytes.subspan(kInlineHeader), page - start, true);
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
    uint32_t mapPage = getU32(std::span(store_.read(where_.page)), row.offset + 1 + slot * 4);
    if (mapPage == 0) {
        mapPage = store_.allocate();
        initMapPage(store_.modify(mapPage));
        putU32(store_.modify(where_.page), row.offset + 1 + slot * 4, mapPage);
    }
    setBit(std::span(store_.modify(mapPage)).subspan(kMapPageHeader), page % kPagesPerMapPage,
           true);
    return true;
}

bool UsageMapEditor::remove(uint32_t page) {
    if (!contains(page)) {
        return false;
    }
    Row row = locate(true);
    if (row.isInline()) {
        uint32_t start = getU32(std::span(store_.read(where_.page)), row.offset + 1);
        std::span<uint8_t> bytes = std::span(store_.modify(where_.page)).subspan(row.offset);
        setBit(bytes.subspan(kInlineHeader), page - start, false);
        return true;
    }
    size_t slot = page / kPagesPerMapPage;
    uint32_t mapPage = getU32(std::span(store_.read(where_.page)), row.offset + 1 + slot * 4);
    setBit(std::span(store_.modify(mapPage)).subspan(kMapPageHeader), page % kPagesPerMapPage,
           false);
    return true;
}

std::vector<uint32_t> UsageMapEditor::pages() {
    Row row = locate(false);
    std::vector<uint8_t> bytes(store_.read(where_.page).begin() + row.offset,
                               store_.read(where_.page).begin() + row.offset + row.length);
    std::vector<uint32_t> listed;
    if (row.isInline()) {
        appendSetBits(std::span(bytes).subspan(kInlineHeader), getU32(bytes, 1), listed);
        return listed;
    }
    for (size_t slot = 0; slot < row.slots(); ++slot) {
        uint32_t mapPage = getU32(bytes, 1 + slot * 4);
        if (mapPage == 0) {
            continue;
        }
        const PageBytes& map = store_.read(mapPage);
        if (map[0] != kMapPageType) {
            throwCorrupt(store_.fileName(), "page " + std::to_string(mapPage) +
                                                " of the usage map of the " + what_ +
                                                " is not a usage-map page");
        }
        appendSetBits(std::span(map).subspan(kMapPageHeader), slot * uint64_t{kPagesPerMapPage},
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
        encoded[0] = kInlineMap;
        putU32(encoded, 1, start);
        for (uint32_t page : listed) {
            setBit(std::span(encoded).subspan(kInlineHeader), page - start, true);
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
        encoded[0] = kReferenceMap;
        for (auto begin = listed.begin(); begin != listed.end();) {
            uint32_t slot = *begin / kPagesPerMapPage;
            auto end = std::find_if(begin, listed.end(), [slot](uint32_t page) {
                return page / kPagesPerMapPage != slot;
            });
            uint32_t mapPage = store_.allocate();
            PageBytes& map = store_.modify(mapPage);
            initMapPage(map);
            for (auto it = begin; it != end; ++it) {
                setBit(std::span(map).subspan(kMapPageHeader), *it % kPagesPerMapPage, true);
            }
            putU32(encoded, 1 + slot * 4, mapPage);
            begin = end;
        }
    }
    std::span<uint8_t> bytes = std::span(store_.modify(where_.page)).subspan(row.offset);
    std::copy(encoded.begin(), encoded.end(), bytes.begin());
    row.type = encoded[0];
}

}  // namespace orvdb::jet
