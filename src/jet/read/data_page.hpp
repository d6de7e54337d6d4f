// A data page (format/data_page.hpp): table rows, long values or usage-map
// rows, found through the page's row offsets.
#pragma once

#include <cstdint>
#include <string>

#include "jet/format/byte_view.hpp"
#include "jet/format/data_page.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

struct RowSlot {
    uint16_t start = 0;
    uint16_t end = 0;  // exclusive
    bool deleted = false;
    // The row holds only a pointer to where its data moved.
    bool overflow = false;
};

class DataPage {
public:
    // Throws JetError when the page is not a data page, its offset table
    // does not fit, its rows are not packed in slot order or its free space
    // is not what they leave. A repair takes the layout as it is (`verified`
    // false): slot() still refuses a row whose bounds are impossible.
    DataPage(PageSource& source, PageRef page, bool verified = true);

    uint32_t number() const { return page_->number; }
    // The table definition page this page belongs to (0 for usage maps;
    // long-value pages hold "LVAL" here).
    uint32_t owner() const { return view_.u32(data_page::kOwner); }
    bool isLongValuePage() const;
    uint16_t rowCount() const { return rowCount_; }
    // Throws JetError when the slot's bounds are impossible, unless the row is
    // deleted (then an empty slot is returned).
    RowSlot slot(uint16_t row) const;
    // The bytes of a row, ignoring the deleted/overflow flags.
    ByteView rowBytes(uint16_t row) const;
    const ByteView& view() const { return view_; }

private:
    void verifyLayout(const std::string& file) const;

    PageRef page_;
    ByteView view_;
    uint16_t rowCount_ = 0;
};

// True when `page` is a data page whose owner is `tablePage`.
bool isDataPageOf(const Page& page, uint32_t tablePage);
// True when the page holds the long-value mark where data pages name their
// owner (emptied long-value pages keep it).
bool hasLongValueMark(const Page& page);

}  // namespace orvdb::jet
