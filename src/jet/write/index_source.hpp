// The seam between the file writer and the index builder: for one physical
// index of a table, the pages of its B-tree. The writer places the pages,
// lists them in the index's usage map and records the root and the count of
// distinct keys in the table definition.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "jet/format/index_definition.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/format/value.hpp"
#include "jet/index/index_key.hpp"
#include "jet/index/index_pages.hpp"
#include "jet/read/page_source.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

class OriginalIndexKeys;

struct IndexPagesRequest {
    const TableDefinition& table;
    // The rows as written (object ids already renumbered), one value per
    // column of `table` in its column order.
    std::span<const std::vector<Value>> rows;
    std::span<const RowPointer> rowPointers;  // where each of `rows` was written
    const PhysicalIndex& index;
    uint32_t tablePage = 0;                  // the table's definition page
    std::function<uint32_t()> allocatePage;  // numbers for the index's pages
    // Keys an earlier file holds for values whose key cannot be built here.
    OriginalIndexKeys* originalKeys = nullptr;
};

struct IndexPages {
    std::map<uint32_t, PageBytes> pages;  // by page number
    uint32_t rootPage = 0;
    uint32_t uniqueEntryCount = 0;
};

using IndexPageSource = std::function<IndexPages(const IndexPagesRequest&)>;

// The entries of one index gathered row by row while the rows are written,
// then laid out as the index's B-tree. Errors name the table, the index (its
// logical names), the column and, for a key that cannot be built, the
// character (as U+XXXX); such a key is taken from `originalKeys` when that
// file holds one for the same values.
class IndexKeyCollector {
public:
    IndexKeyCollector(const TableDefinition& table, const PhysicalIndex& index,
                      OriginalIndexKeys* originalKeys);
    void add(const std::vector<Value>& row, RowPointer where);
    IndexPages build(uint32_t tablePage, const std::function<uint32_t()>& allocatePage);

private:
    template <class Work>
    void guarded(const Work& work) const;
    std::string place() const;

    const TableDefinition& table_;
    const PhysicalIndex& index_;
    OriginalIndexKeys* originalKeys_;
    std::vector<KeyColumn> columns_;
    IndexEntryList entries_;
};

// The index's B-tree from the request's rows: one entry per row the index
// holds, sorted by key then row. A key that cannot be built (a character
// without a sort code) is taken from `originalKeys` when that file holds it
// for the same values; otherwise JetError names the table, the index (its
// logical names), the column and the character (as U+XXXX).
IndexPages buildIndexPages(const IndexPagesRequest& request);

}  // namespace orvdb::jet
