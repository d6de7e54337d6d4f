// Byte coding: what the writers store (format/bytes.hpp) reads back through
// ByteView (format/byte_view.hpp) at any offset, as the bytes Jet expects.
#include <gtest/gtest.h>

#include <vector>

#include "jet/fixture_support.hpp"
#include "jet/format/byte_view.hpp"
#include "jet/format/bytes.hpp"

namespace orvdb::jet {
namespace {

using Buffer = std::vector<uint8_t>;

// ByteView keeps a reference to the name of its file.
const std::string kFile = "bytes.mdb";

void put(Buffer& out, size_t at, size_t width, uint64_t value) {
    switch (width) {
        case 2:
            return putU16(out, at, static_cast<uint16_t>(value));
        case 4:
            return putU32(out, at, static_cast<uint32_t>(value));
        case 8:
            return putU64(out, at, value);
        default: {
            Buffer bytes;
            appendLittleEndian(bytes, value, width);
            std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<ptrdiff_t>(at));
        }
    }
}

uint64_t read(const ByteView& in, size_t at, size_t width) {
    switch (width) {
        case 2:
            return in.u16(at);
        case 3:
            return in.u24(at);
        case 4:
            return in.u32(at);
        default:
            return static_cast<uint64_t>(in.i64(at));
    }
}

TEST(ByteCoding, EveryWidthStoresLittleEndianAndReadsBackAtAnyOffset) {
    struct Case {
        size_t width;
        uint64_t value;
        Buffer stored;
    };
    const Case cases[] = {
        {2, 0xBEEF, {0xEF, 0xBE}},
        {3, 0x123456, {0x56, 0x34, 0x12}},  // the page of a row pointer
        {4, 0x89ABCDEF, {0xEF, 0xCD, 0xAB, 0x89}},
        {8, 0x8000000000000001, {0x01, 0, 0, 0, 0, 0, 0, 0x80}},
    };
    for (const Case& test : cases) {
        for (size_t offset : {size_t{0}, size_t{3}}) {
            SCOPED_TRACE("width " + std::to_string(test.width) + " at " + std::to_string(offset));
            Buffer buffer(offset + test.width + 2, 0xAA);
            put(buffer, offset, test.width, test.value);
            Buffer expected(offset, 0xAA);
            expected.insert(expected.end(), test.stored.begin(), test.stored.end());
            expected.insert(expected.end(), {0xAA, 0xAA});
            EXPECT_EQ(buffer, expected);
            EXPECT_EQ(read(ByteView(buffer, kFile), offset, test.width), test.value);
            // One byte short: the read names the file instead of running past.
            ByteView cut(std::span<const uint8_t>(buffer).first(offset + test.width - 1), kFile);
            EXPECT_NE(testing::errorOf([&] {
                          read(cut, offset, test.width);
                      }).find("bytes.mdb: the file is damaged"),
                      std::string::npos);
        }
    }
}

// The row decoder's signed and floating reads; index entries store row
// pointers big-endian.
TEST(ByteCoding, SignedFloatingAndBigEndianValues) {
    Buffer buffer = {0xFE, 0xFF, 0xD6, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F};
    ByteView view(buffer, kFile);
    EXPECT_EQ(view.i16(0), -2);
    EXPECT_EQ(view.i32(2), -42);
    EXPECT_EQ(view.f32(6), 1.5f);
    EXPECT_THROW(view.sub(5, 6), JetError);
    putF64(buffer, 2, -2.5);
    EXPECT_EQ(Buffer(buffer.begin() + 2, buffer.end()), (Buffer{0, 0, 0, 0, 0, 0, 0x04, 0xC0}));
    EXPECT_EQ(ByteView(buffer, kFile).f64(2), -2.5);
    EXPECT_EQ(getF64(buffer, 2), -2.5);
    Buffer entry;
    appendBigEndian(entry, 0x0A0B0C, 3);
    appendBigEndian(entry, 0x7F, 1);
    EXPECT_EQ(entry, (Buffer{0x0A, 0x0B, 0x0C, 0x7F}));
    EXPECT_EQ(getBigEndian(std::span(entry).first(3)), 0x0A0B0Cu);
}

}  // namespace
}  // namespace orvdb::jet
