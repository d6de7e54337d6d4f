#include "jet/write/long_value_writer.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/long_value.hpp"

namespace orvdb::jet {

namespace {

using namespace long_value;

Bytes header(uint32_t lengthAndFlags, uint32_t pointer) {
    Bytes out(kHeaderSize, 0);
    putU32(out, kLength, lengthAndFlags);
    putU32(out, kPointer, pointer);
    return out;
}

}  // namespace

DataPageBuilder& LongValueWriter::pageFor(size_t length) {
    if (builders_.empty() || !builders_.back().fits(length)) {
        builders_.push_back(DataPageBuilder::longValuePage(*pages_, pages_->allocate()));
    }
    return builders_.back();
}

Bytes LongValueStore::store(std::span<const uint8_t> data, bool inlineData,
                            const ValuePlace& where) {
    if (data.size() > kMaxLength) {
        throw JetError(where.text() + ": the value has " + std::to_string(data.size()) +
                       " bytes; long values must stay below 16 MB");
    }
    auto length = static_cast<uint32_t>(data.size());
    if (inlineData) {
        Bytes out = header(kInlineFlag | length, 0);
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
    if (data.size() <= kMaxSingleRow) {
        RowPointer at = addRow(data);
        return header(kSingleRowFlag | length, at.raw());
    }
    // A chain of full links, as Access writes them (only the last one is
    // shorter), each starting with the pointer to the next: placed last to
    // first, so that every link knows its successor when it is placed.
    std::vector<std::pair<size_t, size_t>> links;
    for (size_t done = 0; done < data.size(); done += kMaxLinkData) {
        links.emplace_back(done, std::min(data.size() - done, kMaxLinkData));
    }
    RowPointer next;
    for (auto link = links.rbegin(); link != links.rend(); ++link) {
        Bytes row(kLinkData, 0);
        putU32(row, kLinkNext, next.isNull() ? 0 : next.raw());
        row.insert(row.end(), data.begin() + static_cast<ptrdiff_t>(link->first),
                   data.begin() + static_cast<ptrdiff_t>(link->first + link->second));
        next = addRow(row);
    }
    return header(length, next.raw());
}

RowPointer LongValueWriter::addRow(std::span<const uint8_t> row) {
    return pageFor(row.size()).add(row);
}

std::vector<uint32_t> LongValueWriter::pages() const {
    std::vector<uint32_t> out;
    for (const DataPageBuilder& builder : builders_) {
        out.push_back(builder.number());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<uint32_t> LongValueWriter::pagesWithRoom() const {
    std::vector<uint32_t> out;
    for (const DataPageBuilder& builder : builders_) {
        if (builder.freeSpace() >= kRoomWorthListing) {
            out.push_back(builder.number());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace orvdb::jet
