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

Bytes LongValueWriter::store(std::span<const uint8_t> data, bool inlineData,
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
        RowPointer at = pageFor(data.size()).add(data);
        return header(kSingleRowFlag | length, at.raw());
    }

    // A chain: each link starts with the pointer to the next (0 at the end),
    // patched in once the next link has its place.
    RowPointer first;
    std::span<uint8_t> previousLink;
    size_t done = 0;
    while (done < data.size()) {
        // Full links, as Access writes them; only the last one is shorter.
        size_t chunk = std::min(data.size() - done, kMaxLinkData);
        Bytes link(kLinkData, 0);
        link.insert(link.end(), data.begin() + static_cast<ptrdiff_t>(done),
                    data.begin() + static_cast<ptrdiff_t>(done + chunk));
        DataPageBuilder& page = pageFor(link.size());
        RowPointer at = page.add(link);
        if (done == 0) {
            first = at;
        } else {
            putU32(previousLink, kLinkNext, at.raw());
        }
        previousLink = page.row(at.row);
        done += chunk;
    }
    return header(length, first.raw());
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
