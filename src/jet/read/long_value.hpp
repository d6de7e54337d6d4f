// Memo and OLE values. The row holds a 12-byte header: the length with two
// flag bits on top, a row pointer, and 4 unused bytes. The data then follows
// inline (0x80), sits in one row of a long-value page (0x40), or runs through
// a chain of such rows, each starting with the pointer to the next (0x00).
#pragma once

#include <string>

#include "jet/format/byte_view.hpp"
#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

class LongValueReader {
public:
    explicit LongValueReader(PageSource& source) : source_(&source) {}

    // `field` is the column's bytes in the row; `where` names the column and
    // table for error messages.
    Bytes read(const ByteView& field, const std::string& where) const;

private:
    PageSource* source_;
};

}  // namespace orvdb::jet
