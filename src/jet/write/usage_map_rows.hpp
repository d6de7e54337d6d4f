// Where the usage-map rows of a file live: data pages of their own (owner 0),
// reserved up front because table definitions point at the rows before the
// maps' contents are known.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/format/row_pointer.hpp"
#include "jet/format/value.hpp"
#include "jet/write/page_set.hpp"
#include "jet/write/table_writer.hpp"

namespace orvdb::jet {

class UsageMapRows : public MapRowSink {
public:
    // Takes the pages for `rowCount` map rows from `pages`.
    UsageMapRows(PageSet& pages, size_t rowCount);

    // Stores the next row and returns where it will be.
    RowPointer add(Bytes row) override;
    // Writes the rows added so far onto their pages.
    void writePages(PageSet& pages) const;

private:
    std::vector<uint32_t> pages_;
    std::vector<Bytes> rows_;
    size_t next_ = 0;
};

}  // namespace orvdb::jet
