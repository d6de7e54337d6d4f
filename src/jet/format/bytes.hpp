// Little-endian stores into byte buffers, for the page writers.
#pragma once

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

inline uint16_t getU16(std::span<const uint8_t> in, size_t offset) {
    return static_cast<uint16_t>(in[offset] | (in[offset + 1] << 8));
}

// A row pointer as stored: the slot in the low byte, the page above it.
inline uint32_t rawRowPointer(uint32_t page, uint8_t row) {
    return (page << 8) | row;
}

// Appends little-endian values to a growing buffer.
class ByteWriter {
public:
    void u8(uint8_t value) { bytes_.push_back(value); }
    void u16(uint16_t value) {
        bytes_.push_back(static_cast<uint8_t>(value));
        bytes_.push_back(static_cast<uint8_t>(value >> 8));
    }
    void u32(uint32_t value) {
        for (int n = 0; n < 4; ++n) {
            bytes_.push_back(static_cast<uint8_t>(value >> (8 * n)));
        }
    }
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
