// Memo and OLE values, inline, in one row of a long-value page or in a chain
// of such rows (format/long_value.hpp).
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
