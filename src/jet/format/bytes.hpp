// Byte coding for the page writers: little-endian stores into buffers, the
// few loads a writer needs on its own pages, and the big-endian numbers
// inside index entries. Reading a file goes through ByteView
// (format/byte_view.hpp), which checks bounds.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvdb::jet {

inline void putU16(std::span<uint8_t> out, size_t offset, uint16_t value) {
    out[offset] = static_cast<uint8_t>(value);
    out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void putU32(std::span<uint8_t> out, size_t offset, uint32_t value) {
    for (size_t n = 0; n < 4; ++n) {
        out[offset + n] = static_cast<uint8_t>(value >> (8 * n));
    }
}

inline void putU64(std::span<uint8_t> out, size_t offset, uint64_t value) {
    for (size_t n = 0; n < 8; ++n) {
        out[offset + n] = static_cast<uint8_t>(value >> (8 * n));
    }
}

inline void putF64(std::span<uint8_t> out, size_t offset, double value) {
    putU64(out, offset, std::bit_cast<uint64_t>(value));
}

inline uint16_t getU16(std::span<const uint8_t> in, size_t offset) {
    return static_cast<uint16_t>(in[offset] | (in[offset + 1] << 8));
}

inline uint32_t getU32(std::span<const uint8_t> in, size_t offset) {
    return in[offset] | (in[offset + 1] << 8) | (in[offset + 2] << 16) |
           (uint32_t{in[offset + 3]} << 24);
}

inline double getF64(std::span<const uint8_t> in, size_t offset) {
    uint64_t bits = 0;
    for (size_t n = 8; n-- > 0;) {
        bits = (bits << 8) | in[offset + n];
    }
    return std::bit_cast<double>(bits);
}

// Appends the low `width` bytes of `value`, least significant first.
inline void appendLittleEndian(std::vector<uint8_t>& out, uint64_t value, size_t width) {
    for (size_t n = 0; n < width; ++n) {
        out.push_back(static_cast<uint8_t>(value >> (8 * n)));
    }
}

// Index entries keep numbers big-endian, most significant byte first:
// `width` bytes of `value`.
inline void appendBigEndian(std::vector<uint8_t>& out, uint64_t value, size_t width) {
    for (size_t n = width; n-- > 0;) {
        out.push_back(static_cast<uint8_t>(value >> (8 * n)));
    }
}

inline uint64_t getBigEndian(std::span<const uint8_t> in) {
    uint64_t value = 0;
    for (uint8_t byte : in) {
        value = (value << 8) | byte;
    }
    return value;
}

// Appends little-endian values to a growing buffer.
class ByteWriter {
public:
    void u8(uint8_t value) { bytes_.push_back(value); }
    void u16(uint16_t value) { appendLittleEndian(bytes_, value, 2); }
    void u32(uint32_t value) { appendLittleEndian(bytes_, value, 4); }
    void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void append(std::span<const uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    size_t size() const { return bytes_.size(); }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace orvdb::jet
