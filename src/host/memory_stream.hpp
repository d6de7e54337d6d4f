// Byte streams for the host's serialisation: the interface the writer and
// reader work on, and the in-memory stream that blobs travel through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace orvdb::host {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Reads up to out.size() bytes at the position; returns how many (0 at the end).
    virtual size_t read(std::span<uint8_t> out) = 0;
    // Writes all bytes at the position, growing the stream as needed.
    virtual void write(std::span<const uint8_t> bytes) = 0;
};

class MemoryStream : public ByteStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t read(std::span<uint8_t> out) override;
    void write(std::span<const uint8_t> bytes) override;

    size_t size() const { return bytes_.size(); }
    size_t position() const { return position_; }
    // Positions beyond the end are allowed; a write there fills the gap with zeros.
    void seek(size_t position) { position_ = position; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    void clear();

    // Whole-stream file transfer (suite paths). Throw std::runtime_error naming
    // the file. Loading replaces the content and rewinds.
    void saveToFile(std::string_view fileName) const;
    void loadFromFile(std::string_view fileName);

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

}  // namespace orvdb::host
