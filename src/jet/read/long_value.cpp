#include "jet/read/long_value.hpp"

#include "jet/format/long_value.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/read/data_page.hpp"

namespace orvdb::jet {

using namespace long_value;

Bytes LongValueReader::read(const ByteView& field, const std::string& where) const {
    if (field.empty()) {
        return {};
    }
    if (field.size() < kHeaderSize) {
        throwCorrupt(source_->name(), "the long-value header of " + where + " is too short");
    }
    uint32_t header = field.u32(kLength);
    uint32_t length = header & kLengthMask;
    if (header & kInlineFlag) {
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
        DataPage page(*source_, source_->page(pointer.page));
        ByteView row = page.rowBytes(pointer.row);
        if (row.size() < length) {
            throwCorrupt(source_->name(), "the long value of " + where + " at " +
                                              pointer.toString() + " is shorter than its length");
        }
        return Bytes(row.data(), row.data() + length);
    }

    Bytes out;
    out.reserve(length);
    // Every link must bring at least one byte, so a chain of `length` bytes
    // has at most `length` links; this also ends any loop.
    for (uint64_t links = 0; out.size() < length; ++links) {
        if (pointer.isNull() || links > length) {
            throwCorrupt(source_->name(), "the long-value chain of " + where + " ends before its " +
                                              std::to_string(length) + " bytes");
        }
        DataPage page(*source_, source_->page(pointer.page));
        ByteView row = page.rowBytes(pointer.row);
        if (row.size() <= kLinkData) {
            throwCorrupt(source_->name(), "the long-value chain of " + where +
                                              " has an empty link at " + pointer.toString());
        }
        RowPointer next = RowPointer::fromRaw(row.u32(kLinkNext));
        size_t take = std::min<size_t>(row.size() - kLinkData, length - out.size());
        out.insert(out.end(), row.data() + kLinkData, row.data() + kLinkData + take);
        pointer = next;
    }
    return out;
}

}  // namespace orvdb::jet
