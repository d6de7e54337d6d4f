#include "jet/update/file_pages.hpp"

#include <algorithm>
#include <cstring>

#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/usage_map.hpp"

namespace orvdb::jet {

namespace {

bool bitAt(const uint8_t* bitmap, uint32_t bit) {
    return (bitmap[bit / 8] >> (bit % 8)) & 1;
}

void setBitAt(uint8_t* bitmap, uint32_t bit, bool value) {
    if (value) {
        bitmap[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    } else {
        bitmap[bit / 8] &= static_cast<uint8_t>(~(1u << (bit % 8)));
    }
}

// Where row 0 of page 1 (the global map) lies.
std::pair<size_t, size_t> mapRowBounds(const PageBytes& page, const std::string& file) {
    if (page[jet::page::kType] != jet::page::kDataType || getU16(page, data_page::kRowCount) == 0) {
        throwCorrupt(file, "page 1 does not hold the global usage map");
    }
    size_t start = getU16(page, data_page::rowOffsetAt(0)) & data_page::kOffsetMask;
    if (start < data_page::rowOffsetAt(1) || start + usage_map::kInlineBitmap > kPageSize) {
        throwCorrupt(file, "the global usage map on page 1 has an impossible offset");
    }
    return {start, kPageSize};
}

}  // namespace

class FilePages::Source : public PageSource {
public:
    Source(FilePages& owner)
        : PageSource(owner.name_, uint64_t{owner.pageCount_} * kPageSize), owner_(owner) {}
    void resize(uint32_t pages) { setSize(uint64_t{pages} * kPageSize); }

protected:
    void readAt(uint64_t offset, std::span<uint8_t> out) override {
        size_t done = 0;
        while (done < out.size()) {
            uint64_t at = offset + done;
            auto number = static_cast<uint32_t>(at / kPageSize);
            size_t within = static_cast<size_t>(at % kPageSize);
            size_t take = std::min(out.size() - done, kPageSize - within);
            const PageBytes& page = owner_.read(number);
            std::memcpy(out.data() + done, page.data() + within, take);
            done += take;
        }
    }

private:
    FilePages& owner_;
};

FilePages::FilePages(PageReader& file, std::string fileName)
    : file_(file), name_(std::move(fileName)), pageCount_(file.pageCount()) {}

FilePages::~FilePages() = default;

FilePages::Entry& FilePages::entry(uint32_t number) {
    auto found = pages_.find(number);
    if (found != pages_.end()) {
        return *found->second;
    }
    if (number >= pageCount_) {
        throwCorrupt(name_, "page " + std::to_string(number) +
                                " is beyond the end of the file, which has " +
                                std::to_string(pageCount_) + " pages");
    }
    auto fresh = std::make_unique<Entry>();
    file_.readPage(number, fresh->bytes);
    Entry& result = *fresh;
    pages_.emplace(number, std::move(fresh));
    return result;
}

const PageBytes& FilePages::read(uint32_t number) {
    return entry(number).bytes;
}

PageBytes& FilePages::modify(uint32_t number) {
    Entry& found = entry(number);
    found.modified = true;
    if (source_) {
        source_->forget(number);
    }
    return found.bytes;
}

PageSource& FilePages::source() {
    return *sharedSource();
}

std::shared_ptr<PageSource> FilePages::sharedSource() {
    if (!source_) {
        source_ = std::make_shared<Source>(*this);
    }
    return source_;
}

std::map<uint32_t, const PageBytes*> FilePages::modifiedPages() const {
    std::map<uint32_t, const PageBytes*> out;
    for (const auto& [number, found] : pages_) {
        if (found->modified) {
            out.emplace(number, &found->bytes);
        }
    }
    return out;
}

bool FilePages::modified() const {
    return std::any_of(pages_.begin(), pages_.end(),
                       [](const auto& page) { return page.second->modified; });
}

void FilePages::reload() {
    if (modified()) {
        throw JetError(name_ + ": internal error: pages reloaded under an unfinished change");
    }
    pages_.clear();
    pageCount_ = file_.pageCount();
    source_.reset();
    scanFrom_ = kFirstAllocatablePage;
}

std::optional<bool> FilePages::freeBit(uint32_t number) {
    const PageBytes& mapPage = read(kGlobalUsageMapPage);
    auto [start, end] = mapRowBounds(mapPage, name_);
    std::span<const uint8_t> row = std::span(mapPage).subspan(start, end - start);
    if (row[usage_map::kType] == usage_map::kInline) {
        uint32_t first = getU32(row, usage_map::kStartPage);
        uint64_t bits = uint64_t{row.size() - usage_map::kInlineBitmap} * 8;
        if (number < first || number - first >= bits) {
            return std::nullopt;
        }
        return bitAt(row.data() + usage_map::kInlineBitmap, number - first);
    }
    if (row[usage_map::kType] != usage_map::kReference) {
        throwCorrupt(name_, "the global usage map has unknown type " +
                                std::to_string(row[usage_map::kType]));
    }
    size_t slot = number / usage_map::kPagesPerMapPage;
    if (usage_map::mapPageSlotAt(slot + 1) > row.size()) {
        return std::nullopt;
    }
    uint32_t mapPageNumber = getU32(row, usage_map::mapPageSlotAt(slot));
    if (mapPageNumber == 0) {
        return std::nullopt;
    }
    const PageBytes& bitmapPage = read(mapPageNumber);
    if (bitmapPage[jet::page::kType] != jet::page::kUsageMapType) {
        throwCorrupt(name_, "page " + std::to_string(mapPageNumber) +
                                " of the global usage map is not a usage-map page");
    }
    return bitAt(bitmapPage.data() + usage_map::kMapPageBitmap,
                 number % usage_map::kPagesPerMapPage);
}

void FilePages::setFreeBit(uint32_t number, bool free) {
    PageBytes& mapPage = modify(kGlobalUsageMapPage);
    auto [start, end] = mapRowBounds(mapPage, name_);
    std::span<uint8_t> row = std::span(mapPage).subspan(start, end - start);
    if (row[usage_map::kType] == usage_map::kInline) {
        uint32_t first = getU32(row, usage_map::kStartPage);
        uint64_t bits = uint64_t{row.size() - usage_map::kInlineBitmap} * 8;
        if (number >= first && number - first < bits) {
            setBitAt(row.data() + usage_map::kInlineBitmap, number - first, free);
        } else if (!free) {
            convertToReferenceMap();
            setFreeBit(number, false);
        }
        return;
    }
    if (row[usage_map::kType] != usage_map::kReference) {
        throwCorrupt(name_, "the global usage map has unknown type " +
                                std::to_string(row[usage_map::kType]));
    }
    size_t slot = number / usage_map::kPagesPerMapPage;
    if (usage_map::mapPageSlotAt(slot + 1) > row.size()) {
        throwError(name_, "is full: page " + std::to_string(number) +
                              " is beyond what the global usage map can describe");
    }
    uint32_t mapPageNumber = getU32(row, usage_map::mapPageSlotAt(slot));
    if (mapPageNumber == 0) {
        if (free) {
            return;  // pages no map page covers already count as free
        }
        addMapPage(static_cast<uint32_t>(slot), [](uint32_t) { return true; });
        setFreeBit(number, false);
        return;
    }
    PageBytes& bitmapPage = modify(mapPageNumber);
    setBitAt(bitmapPage.data() + usage_map::kMapPageBitmap, number % usage_map::kPagesPerMapPage,
             free);
}

void FilePages::convertToReferenceMap() {
    PageBytes& mapPage = modify(kGlobalUsageMapPage);
    auto [start, end] = mapRowBounds(mapPage, name_);
    std::span<uint8_t> row = std::span(mapPage).subspan(start, end - start);
    uint32_t first = getU32(row, usage_map::kStartPage);
    std::vector<uint8_t> bitmap(row.begin() + usage_map::kInlineBitmap, row.end());
    uint64_t bits = uint64_t{bitmap.size()} * 8;
    // What the inline map said: pages it did not cover counted as free.
    auto wasFree = [first, bits, bitmap](uint32_t page) {
        if (page < first || page - first >= bits) {
            return true;
        }
        return bitAt(bitmap.data(), page - first);
    };
    uint32_t usedPages = pageCount_;
    std::fill(row.begin(), row.end(), 0);
    row[usage_map::kType] = usage_map::kReference;
    for (uint32_t slot = 0; uint64_t{slot} * usage_map::kPagesPerMapPage < usedPages; ++slot) {
        if (getU32(modify(kGlobalUsageMapPage), start + usage_map::mapPageSlotAt(slot)) == 0) {
            addMapPage(slot, wasFree);
        }
    }
}

void FilePages::addMapPage(uint32_t slot, const std::function<bool(uint32_t)>& wasFree) {
    uint32_t mapPageNumber = pageCount_;
    if (mapPageNumber > kLastPageNumber) {
        throwError(name_, "is full: no page is left for the global usage map");
    }
    ++pageCount_;
    auto fresh = std::make_unique<Entry>();
    fresh->modified = true;
    PageBytes& bitmapPage = fresh->bytes;
    bitmapPage[jet::page::kType] = jet::page::kUsageMapType;
    bitmapPage[jet::page::kMarker] = jet::page::kMarkerValue;
    uint32_t firstPage = slot * usage_map::kPagesPerMapPage;
    for (uint32_t bit = 0; bit < usage_map::kPagesPerMapPage; ++bit) {
        uint32_t page = firstPage + bit;
        setBitAt(bitmapPage.data() + usage_map::kMapPageBitmap, bit,
                 page >= mapPageNumber || wasFree(page));
    }
    pages_[mapPageNumber] = std::move(fresh);
    if (source_) {
        source_->resize(pageCount_);
    }
    PageBytes& mapPage = modify(kGlobalUsageMapPage);
    auto [start, end] = mapRowBounds(mapPage, name_);
    putU32(std::span(mapPage).subspan(start, end - start), usage_map::mapPageSlotAt(slot),
           mapPageNumber);
    setFreeBit(mapPageNumber, false);
}

uint32_t FilePages::appendPage() {
    uint32_t number = pageCount_;
    if (number > kLastPageNumber) {
        throwError(name_, "is full: a Jet file cannot have more than " +
                              std::to_string(kLastPageNumber + 1) + " pages");
    }
    ++pageCount_;
    auto fresh = std::make_unique<Entry>();
    fresh->modified = true;
    pages_[number] = std::move(fresh);
    if (source_) {
        source_->resize(pageCount_);
    }
    setFreeBit(number, false);
    return number;
}

uint32_t FilePages::allocate() {
    for (uint32_t number = std::max(scanFrom_, kFirstAllocatablePage); number < pageCount_;
         ++number) {
        std::optional<bool> free = freeBit(number);
        if (free.value_or(false)) {
            setFreeBit(number, false);
            modify(number).fill(0);
            scanFrom_ = number + 1;
            return number;
        }
    }
    scanFrom_ = pageCount_;
    uint32_t number = appendPage();
    // A map page may have been added before it; skip past both.
    scanFrom_ = pageCount_;
    return number;
}

void FilePages::claim(uint32_t number) {
    while (pageCount_ <= number) {
        uint32_t added = appendPage();
        if (added != number) {
            release(added);
        }
        if (added == number) {
            modify(number).fill(0);
            return;
        }
    }
    if (number < kFirstAllocatablePage || !freeBit(number).value_or(false)) {
        throw JetError(name_ + ": page " + std::to_string(number) +
                       " was set aside for a new table but is in use");
    }
    setFreeBit(number, false);
    modify(number).fill(0);
}

void FilePages::release(uint32_t number) {
    if (number < kFirstAllocatablePage || number >= pageCount_) {
        throw JetError(name_ + ": internal error: page " + std::to_string(number) +
                       " cannot be given back");
    }
    if (freeBit(number).value_or(false)) {
        throw JetError(name_ + ": internal error: page " + std::to_string(number) +
                       " given back twice");
    }
    // A page no structure uses holds nothing, so that no reader or check
    // mistakes old contents for a live page.
    modify(number).fill(0);
    setFreeBit(number, true);
    scanFrom_ = std::min(scanFrom_, number);
}

}  // namespace orvdb::jet
