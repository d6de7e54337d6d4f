#include "host/serialization.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace orvdb::host {

namespace {

enum Tag : uint8_t {
    kInt32 = 1,
    kInt64 = 2,
    kDouble = 3,
    kBool = 4,
    kString = 5,
    kBytes = 6,
    kObjectBegin = 7,
    kObjectEnd = 8,
};

const char* tagName(uint8_t tag) {
    switch (tag) {
        case kInt32:
            return "int32";
        case kInt64:
            return "int64";
        case kDouble:
            return "double";
        case kBool:
            return "bool";
        case kString:
            return "string";
        case kBytes:
            return "bytes";
        case kObjectBegin:
            return "object begin";
        case kObjectEnd:
            return "object end";
        default:
            return "unknown tag";
    }
}

template <class T>
T toLittleEndian(T value) {
    static_assert(std::endian::native == std::endian::little ||
                  std::endian::native == std::endian::big);
    if constexpr (std::endian::native == std::endian::big) {
        auto bytes = std::bit_cast<std::array<uint8_t, sizeof(T)>>(value);
        std::reverse(bytes.begin(), bytes.end());
        return std::bit_cast<T>(bytes);
    } else {
        return value;
    }
}

// Lengths larger than this are read piecewise, so that a damaged length
// fails at the end of the data instead of allocating gigabytes.
constexpr size_t kPiece = 1 << 16;

}  // namespace

TWriterEx::TWriterEx(ByteStream& stream, size_t bufferSize)
    : stream_(stream), capacity_(bufferSize) {
    if (bufferSize == 0) {
        throw std::invalid_argument("TWriterEx: buffer size must not be 0");
    }
    buffer_.reserve(bufferSize);
}

TWriterEx::~TWriterEx() {
    try {
        FlushBuffer();
    } catch (...) {
        // Destructors must not throw; callers that care flush first.
    }
}

void TWriterEx::put(const void* data, size_t size) {
    auto bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        size_t n = std::min(size, capacity_ - buffer_.size());
        buffer_.insert(buffer_.end(), bytes, bytes + n);
        bytes += n;
        size -= n;
        if (buffer_.size() == capacity_) {
            FlushBuffer();
        }
    }
}

void TWriterEx::FlushBuffer() {
    if (buffer_.empty()) {
        return;
    }
    stream_.write(buffer_);
    buffer_.clear();
}

void TWriterEx::writeInt32(int32_t value) {
    putTag(kInt32);
    value = toLittleEndian(value);
    put(&value, sizeof value);
}

void TWriterEx::writeInt64(int64_t value) {
    putTag(kInt64);
    value = toLittleEndian(value);
    put(&value, sizeof value);
}

void TWriterEx::writeDouble(double value) {
    putTag(kDouble);
    uint64_t bits = toLittleEndian(std::bit_cast<uint64_t>(value));
    put(&bits, sizeof bits);
}

void TWriterEx::writeBool(bool value) {
    putTag(kBool);
    uint8_t byte = value ? 1 : 0;
    put(&byte, 1);
}

void TWriterEx::writeString(std::string_view value) {
    if (value.size() > UINT32_MAX) {
        throw SerializationError("string too long to serialise");
    }
    putTag(kString);
    uint32_t length = toLittleEndian(static_cast<uint32_t>(value.size()));
    put(&length, sizeof length);
    put(value.data(), value.size());
}

void TWriterEx::writeBytes(std::span<const uint8_t> value) {
    if (value.size() > UINT32_MAX) {
        throw SerializationError("byte block too long to serialise");
    }
    putTag(kBytes);
    uint32_t length = toLittleEndian(static_cast<uint32_t>(value.size()));
    put(&length, sizeof length);
    put(value.data(), value.size());
}

void TWriterEx::WriteSerializable(const std::function<void(TWriterEx&)>& writeContent) {
    putTag(kObjectBegin);
    if (writeContent) {
        writeContent(*this);
    }
    putTag(kObjectEnd);
}

TReaderEx::TReaderEx(ByteStream& stream, size_t bufferSize)
    : stream_(stream), capacity_(bufferSize) {
    if (bufferSize == 0) {
        throw std::invalid_argument("TReaderEx: buffer size must not be 0");
    }
}

bool TReaderEx::fill() {
    consumed_ += next_;
    buffer_.resize(capacity_);
    size_t n = stream_.read(buffer_);
    buffer_.resize(n);
    next_ = 0;
    return n > 0;
}

void TReaderEx::take(void* out, size_t size, const char* what) {
    auto bytes = static_cast<uint8_t*>(out);
    while (size > 0) {
        if (next_ == buffer_.size() && !fill()) {
            throw SerializationError(std::string("serialised data ends at byte ") +
                                     std::to_string(consumed_) + " in the middle of " + what);
        }
        size_t n = std::min(size, buffer_.size() - next_);
        std::memcpy(bytes, buffer_.data() + next_, n);
        next_ += n;
        bytes += n;
        size -= n;
    }
}

void TReaderEx::expectTag(uint8_t tag, const char* what) {
    uint64_t at = consumed_ + next_;
    uint8_t found = 0;
    take(&found, 1, what);
    if (found != tag) {
        throw SerializationError(std::string("expected ") + what + " but found " + tagName(found) +
                                 " at byte " + std::to_string(at) + " of serialised data");
    }
}

uint32_t TReaderEx::takeLength(const char* what) {
    uint32_t length = 0;
    take(&length, sizeof length, what);
    return toLittleEndian(length);
}

bool TReaderEx::atEnd() {
    return next_ == buffer_.size() && !fill();
}

int32_t TReaderEx::readInt32() {
    expectTag(kInt32, "int32");
    int32_t value = 0;
    take(&value, sizeof value, "int32");
    return toLittleEndian(value);
}

int64_t TReaderEx::readInt64() {
    expectTag(kInt64, "int64");
    int64_t value = 0;
    take(&value, sizeof value, "int64");
    return toLittleEndian(value);
}

double TReaderEx::readDouble() {
    expectTag(kDouble, "double");
    uint64_t bits = 0;
    take(&bits, sizeof bits, "double");
    return std::bit_cast<double>(toLittleEndian(bits));
}

bool TReaderEx::readBool() {
    expectTag(kBool, "bool");
    uint8_t byte = 0;
    take(&byte, 1, "bool");
    return byte != 0;
}

std::string TReaderEx::readString() {
    expectTag(kString, "string");
    uint32_t length = takeLength("string");
    std::string value;
    while (value.size() < length) {
        size_t n = std::min<size_t>(kPiece, length - value.size());
        size_t old = value.size();
        value.resize(old + n);
        take(value.data() + old, n, "string");
    }
    return value;
}

std::vector<uint8_t> TReaderEx::readBytes() {
    expectTag(kBytes, "bytes");
    uint32_t length = takeLength("bytes");
    std::vector<uint8_t> value;
    while (value.size() < length) {
        size_t n = std::min<size_t>(kPiece, length - value.size());
        size_t old = value.size();
        value.resize(old + n);
        take(value.data() + old, n, "bytes");
    }
    return value;
}

void TReaderEx::ReadSerializable(const std::function<void(TReaderEx&)>& readContent) {
    expectTag(kObjectBegin, "object begin");
    if (readContent) {
        readContent(*this);
    }
    expectTag(kObjectEnd, "object end");
}

}  // namespace orvdb::host
