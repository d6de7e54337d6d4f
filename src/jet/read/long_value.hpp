// Memo and OLE values, inline, in one row of a long-value page or in a chain
// of such rows (format/long_value.hpp).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "jet/format/byte_view.hpp"
#include "jet/format/column.hpp"
#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

class LongValueReader {
public:
    explicit LongValueReader(PageSource& source) : source_(&source) {}

    // `field` is the column's bytes in the row; `where` names the column and
    // table for error messages. Throws JetError when the value does not add
    // up: a length other than its data's, a chain that loops, ends early or
    // runs on, a page that is not a long-value page of the column.
    Bytes read(const ByteView& field, const std::string& where, const Column& column) const;

private:
    // Whether `page` is in the column's long-value map (read once per column).
    bool listed(const Column& column, uint32_t page, const std::string& where) const;
    void checkPage(const Page& page, const Column& column, const std::string& where) const;

    PageSource* source_;
    mutable std::map<uint16_t, std::vector<bool>> columnPages_;  // by column number
};

}  // namespace orvdb::jet
