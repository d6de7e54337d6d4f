// Bounds-checked little-endian reads over a borrowed byte range. Every read
// outside the range throws JetError naming the file, so decoders can follow
// offsets found in the file without checking each one by hand.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

class ByteView {
public:
    ByteView() = default;
    // `file` must outlive the view (it is the name of the owning page source).
    ByteView(std::span<const uint8_t> bytes, const std::string& file)
        : bytes_(bytes), file_(&file) {}

    size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    const uint8_t* data() const { return bytes_.data(); }
    std::span<const uint8_t> span() const { return bytes_; }
    const std::string& file() const { return *file_; }

    uint8_t u8(size_t offset) const {
        require(offset, 1);
        return bytes_[offset];
    }
    uint16_t u16(size_t offset) const { return load<uint16_t>(offset); }
    int16_t i16(size_t offset) const { return static_cast<int16_t>(u16(offset)); }
    // Three bytes, little-endian: page numbers inside row pointers.
    uint32_t u24(size_t offset) const {
        require(offset, 3);
        return bytes_[offset] | (bytes_[offset + 1] << 8) | (uint32_t{bytes_[offset + 2]} << 16);
    }
    uint32_t u32(size_t offset) const { return load<uint32_t>(offset); }
    int32_t i32(size_t offset) const { return static_cast<int32_t>(u32(offset)); }
    int64_t i64(size_t offset) const { return static_cast<int64_t>(load<uint64_t>(offset)); }
    float f32(size_t offset) const { return std::bit_cast<float>(u32(offset)); }
    double f64(size_t offset) const { return std::bit_cast<double>(load<uint64_t>(offset)); }

    ByteView sub(size_t offset, size_t length) const {
        require(offset, length);
        return ByteView(bytes_.subspan(offset, length), *file_);
    }
    ByteView from(size_t offset) const {
        require(offset, 0);
        return ByteView(bytes_.subspan(offset), *file_);
    }

private:
    template <typename T>
    T load(size_t offset) const {
        require(offset, sizeof(T));
        T value = 0;
        for (size_t n = sizeof(T); n-- > 0;) {
            value = static_cast<T>((value << 8) | bytes_[offset + n]);
        }
        return value;
    }
    void require(size_t offset, size_t length) const {
        if (offset > bytes_.size() || length > bytes_.size() - offset) {
            outOfRange(offset, length);
        }
    }
    [[noreturn]] void outOfRange(size_t offset, size_t length) const;

    std::span<const uint8_t> bytes_;
    const std::string* file_ = nullptr;
};

}  // namespace orvdb::jet
