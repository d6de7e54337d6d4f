// Memo and OLE data of one column: small values go inline into the row,
// larger ones into rows of long-value (LVAL) pages that belong to the column,
// a single row when they fit one, else a chain of rows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/write/data_page_writer.hpp"
#include "jet/write/page_set.hpp"
#include "jet/write/value_writer.hpp"

namespace orvdb::jet {

// Values up to this size stay in the row, as Access keeps them.
inline constexpr size_t kMaxInlineLongValue = 64;

// Where a column's long values go as rows are encoded. The encoding (inline,
// one row, or a chain of links) is the same wherever the rows are placed;
// subclasses say only where a long-value row goes.
class LongValueStore {
public:
    virtual ~LongValueStore() = default;
    // The row's field for `data`: the header, followed by the data itself
    // when `inlineData`. Throws JetError (prefixed by `where`) for values of
    // 16 MB and more, which common readers cannot follow.
    Bytes store(std::span<const uint8_t> data, bool inlineData, const ValuePlace& where);

protected:
    // Places one long-value row (the whole value, or one link of a chain).
    virtual RowPointer addRow(std::span<const uint8_t> row) = 0;
};

// The long values of a column of a file being written whole: new LVAL pages
// taken from the page set as they fill.
class LongValueWriter : public LongValueStore {
public:
    explicit LongValueWriter(PageSink& pages) : pages_(&pages) {}

    // The long-value pages of the column, ascending.
    std::vector<uint32_t> pages() const;
    // Those with room left for more values.
    std::vector<uint32_t> pagesWithRoom() const;

protected:
    RowPointer addRow(std::span<const uint8_t> row) override;

private:
    DataPageBuilder& pageFor(size_t length);

    PageSink* pages_;
    std::vector<DataPageBuilder> builders_;
};

}  // namespace orvdb::jet
