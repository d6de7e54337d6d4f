#include "jet/read/long_value.hpp"

#include <set>

#include "jet/format/long_value.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/read/data_page.hpp"
#include "jet/read/usage_map.hpp"

namespace orvdb::jet {

using namespace long_value;

bool LongValueReader::listed(const Column& column, uint32_t page, const std::string& where) const {
    auto found = columnPages_.find(column.number);
    if (found == columnPages_.end()) {
        std::vector<bool> pages(source_->pageCount(), false);
        UsageMap map = UsageMap::read(*source_, *column.longValueOwnedPages, "long values of " + where);
        while (auto listedPage = map.next()) {
            if (*listedPage < pages.size()) {
                pages[*listedPage] = true;
            }
        }
        found = columnPages_.emplace(column.number, std::move(pages)).first;
    }
    return page < found->second.size() && found->second[page];
}

// A pointer moved by damage may still land on a long-value page, of another
// column: the column's own map tells.
void LongValueReader::checkPage(const Page& page, const Column& column,
                                const std::string& where) const {
    if (!hasLongValueMark(page)) {
        throwCorrupt(source_->name(), "the long value of " + where + " points to page " +
                                          std::to_string(page.number) +
                                          ", which is not a long-value page");
    }
    if (column.longValueOwnedPages && !listed(column, page.number, where)) {
        throwCorrupt(source_->name(), "the long value of " + where + " points to page " +
                                          std::to_string(page.number) +
                                          ", which the column's long-value map does not list");
    }
}

Bytes LongValueReader::read(const ByteView& field, const std::string& where,
                            const Column& column) const {
    if (field.empty()) {
        return {};
    }
    if (field.size() < kHeaderSize) {
        throwCorrupt(source_->name(), "the long-value header of " + where + " is too short");
    }
    uint32_t header = field.u32(kLength);
    uint32_t length = header & kLengthMask;
    if (header & kInlineFlag) {
        if (field.size() - kHeaderSize != length) {
            throwCorrupt(source_->name(), "the long value of " + where + " claims " +
                                              std::to_string(length) + " bytes in its row, which " +
                                              "holds " + std::to_string(field.size() - kHeaderSize));
        }
        ByteView data = field.sub(kHeaderSize, length);
        return Bytes(data.data(), data.data() + data.size());
    }
    // A value cannot be larger than the file that holds it.
    if (length > source_->sizeInBytes()) {
        throwCorrupt(source_->name(),
                     "the long value of " + where + " claims " + std::to_string(length) + " bytes");
    }
    RowPointer pointer = RowPointer::fromRaw(field.u32(kPointer));
    if (header & kSingleRowFlag) {
        PageRef page = source_->page(pointer.page);
        DataPage data(*source_, page);
        checkPage(*page, column, where);
        ByteView row = data.rowBytes(pointer.row);
        if (row.size() != length) {
            throwCorrupt(source_->name(), "the long value of " + where + " at " +
                                              pointer.toString() + " holds " +
                                              std::to_string(row.size()) + " bytes, not " +
                                              std::to_string(length));
        }
        return Bytes(row.data(), row.data() + length);
    }

    Bytes out;
    out.reserve(length);
    std::set<RowPointer> visited;
    while (!pointer.isNull()) {
        if (!visited.insert(pointer).second) {
            throwCorrupt(source_->name(), "the long-value chain of " + where + " loops back to " +
                                              pointer.toString());
        }
        PageRef page = source_->page(pointer.page);
        DataPage data(*source_, page);
        checkPage(*page, column, where);
        ByteView row = data.rowBytes(pointer.row);
        if (row.size() <= kLinkData) {
            throwCorrupt(source_->name(), "the long-value chain of " + where +
                                              " has an empty link at " + pointer.toString());
        }
        size_t take = row.size() - kLinkData;
        if (out.size() + take > length) {
            throwCorrupt(source_->name(), "the long-value chain of " + where + " holds more than its " +
                                              std::to_string(length) + " bytes");
        }
        out.insert(out.end(), row.data() + kLinkData, row.data() + kLinkData + take);
        pointer = RowPointer::fromRaw(row.u32(kLinkNext));
    }
    if (out.size() != length) {
        throwCorrupt(source_->name(), "the long-value chain of " + where + " ends after " +
                                          std::to_string(out.size()) + " of its " +
                                          std::to_string(length) + " bytes");
    }
    return out;
}

}  // namespace orvdb::jet
