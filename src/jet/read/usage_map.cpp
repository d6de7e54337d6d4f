#include "jet/read/usage_map.hpp"

#include "jet/format/bytes.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/read/data_page.hpp"

namespace orvdb::jet {

using namespace usage_map;

UsageMap UsageMap::read(PageSource& source, RowPointer where, std::string what) {
    UsageMap map(source, std::move(what));
    DataPage page(source, source.page(where.page));
    ByteView row = page.rowBytes(where.row);
    if (row.size() < kInlineBitmap) {
        throwCorrupt(source.name(), "the usage map of the " + map.what_ + " at " +
                                        where.toString() + " is too short");
    }
    uint8_t type = row.u8(kType);
    if (type == kInline) {
        map.startPage_ = row.u32(kStartPage);
        map.row_.assign(row.data() + kInlineBitmap, row.data() + row.size());
    } else if (type == kReference) {
        map.reference_ = true;
        map.row_.assign(row.data() + kMapPages, row.data() + row.size());
    } else {
        throwCorrupt(source.name(), "the usage map of the " + map.what_ + " at " +
                                        where.toString() + " has unknown type " +
                                        std::to_string(type));
    }
    return map;
}

std::optional<uint32_t> UsageMap::next() {
    if (!reference_) {
        while (bit_ < row_.size() * 8) {
            if (bit_ % 8 == 0 && row_[bit_ / 8] == 0) {
                bit_ += 8;  // most of a map is empty: skip whole bytes
                continue;
            }
            size_t bit = bit_++;
            if (row_[bit / 8] & (1u << (bit % 8))) {
                uint64_t page = uint64_t{startPage_} + bit;
                if (page > UINT32_MAX) {
                    return std::nullopt;
                }
                return static_cast<uint32_t>(page);
            }
        }
        return std::nullopt;
    }
    size_t slots = row_.size() / kMapPageSlotSize;
    while (slot_ < slots) {
        if (!mapPage_) {
            uint32_t mapPageNumber = getU32(row_, slot_ * kMapPageSlotSize);
            if (mapPageNumber == 0) {
                ++slot_;
                continue;
            }
            mapPage_ = source_->page(mapPageNumber);
            if (mapPage_->bytes[page::kType] != page::kUsageMapType) {
                throwCorrupt(source_->name(), "page " + std::to_string(mapPageNumber) +
                                                  " of the usage map of the " + what_ +
                                                  " is not a usage-map page");
            }
            bit_ = 0;
        }
        while (bit_ < kPagesPerMapPage) {
            if (bit_ % 8 == 0 && mapPage_->bytes[kMapPageBitmap + bit_ / 8] == 0) {
                bit_ += 8;
                continue;
            }
            size_t bit = bit_++;
            if (mapPage_->bytes[kMapPageBitmap + bit / 8] & (1u << (bit % 8))) {
                uint64_t page = uint64_t{slot_} * kPagesPerMapPage + bit;
                if (page > UINT32_MAX) {
                    return std::nullopt;
                }
                return static_cast<uint32_t>(page);
            }
        }
        mapPage_.reset();
        ++slot_;
    }
    return std::nullopt;
}

}  // namespace orvdb::jet
