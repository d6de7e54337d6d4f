// The host's writer and reader of serialised objects (TWriterEx, TReaderEx):
// objects write their own content through a writer over a byte stream, and
// read it back through a reader. Blob fields and the merge's blob files hold
// these bytes.
//
// Each value is a tag byte followed by its payload, little-endian:
//   1 int32 (4 bytes)   2 int64 (8)   3 double (8, IEEE 754)   4 bool (1)
//   5 string (uint32 byte count, UTF-8)   6 bytes (uint32 count, bytes)
//   7 object begin      8 object end
// so a reader that expects another kind of value fails with a clear error
// instead of misreading.
#pragma once

#include "host/memory_stream.hpp"

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::host {

class SerializationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TWriterEx {
public:
    // Bytes collect in a buffer of bufferSize bytes before they go to the
    // stream. Throws std::invalid_argument for a size of 0.
    TWriterEx(ByteStream& stream, size_t bufferSize);
    // Flushes what is left; a failure there is lost, so call FlushBuffer first.
    ~TWriterEx();
    TWriterEx(const TWriterEx&) = delete;
    TWriterEx& operator=(const TWriterEx&) = delete;

    void writeInt32(int32_t value);
    void writeInt64(int64_t value);
    void writeDouble(double value);
    void writeBool(bool value);
    void writeString(std::string_view value);
    void writeBytes(std::span<const uint8_t> value);

    // Frames the content that writeContent writes as one object.
    void WriteSerializable(const std::function<void(TWriterEx&)>& writeContent);

    void FlushBuffer();

private:
    void put(const void* data, size_t size);
    void putTag(uint8_t tag) { put(&tag, 1); }

    ByteStream& stream_;
    size_t capacity_;
    std::vector<uint8_t> buffer_;
};

class TReaderEx {
public:
    // Reads the stream in pieces of bufferSize bytes. Throws
    // std::invalid_argument for a size of 0.
    TReaderEx(ByteStream& stream, size_t bufferSize);
    TReaderEx(const TReaderEx&) = delete;
    TReaderEx& operator=(const TReaderEx&) = delete;

    // Each throws SerializationError when the next value is of another kind
    // or the data ends early.
    int32_t readInt32();
    int64_t readInt64();
    double readDouble();
    bool readBool();
    std::string readString();
    std::vector<uint8_t> readBytes();

    // Reads one object framed by WriteSerializable; readContent must read
    // exactly what was written inside it.
    void ReadSerializable(const std::function<void(TReaderEx&)>& readContent);

    // True when no value is left.
    bool atEnd();

private:
    bool fill();
    void take(void* out, size_t size, const char* what);
    void expectTag(uint8_t tag, const char* what);
    uint32_t takeLength(const char* what);

    ByteStream& stream_;
    size_t capacity_;
    std::vector<uint8_t> buffer_;
    size_t next_ = 0;        // next unread byte of buffer_
    uint64_t consumed_ = 0;  // bytes of the stream read before buffer_[next_]
};

}  // namespace orvdb::host
