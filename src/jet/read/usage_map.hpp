// Usage maps: bitmaps of page numbers in a row of a data page, inline or
// through map pages (format/usage_map.hpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/format/row_pointer.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

class UsageMap {
public:
    // Reads the map row at `where`; `what` names the map in error messages
    // ("pages of table 'Orders'").
    static UsageMap read(PageSource& source, RowPointer where, std::string what);

    // The next page whose bit is set, in ascending order; nullopt at the end.
    // Reference maps read one map page at a time.
    std::optional<uint32_t> next();

    bool isReferenceMap() const { return reference_; }

private:
    UsageMap(PageSource& source, std::string what) : source_(&source), what_(std::move(what)) {}

    PageSource* source_;
    std::string what_;
    bool reference_ = false;
    std::vector<uint8_t> row_;  // the map row without its type byte
    uint32_t startPage_ = 0;    // inline maps
    // Iteration state: for reference maps, the map-page slot and the bit in it.
    size_t slot_ = 0;
    size_t bit_ = 0;
    PageRef mapPage_;
};

}  // namespace orvdb::jet
