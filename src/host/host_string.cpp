// Host strings with the 64-bit Delphi UnicodeString layout (see types.h):
// a 16-byte header in front of the UTF-16 units, a 16-bit zero after them.
// The reference count is changed atomically, as the host runtime does.
#include <orvdb/strings.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/utf16.hpp"

namespace {

constexpr size_t kHeaderBytes = 16;
constexpr ptrdiff_t kCodePageOffset = -12;
constexpr ptrdiff_t kElemSizeOffset = -10;
constexpr ptrdiff_t kRefCountOffset = -8;
constexpr ptrdiff_t kLengthOffset = -4;
constexpr uint16_t kUtf16CodePage = 1200;
// The host keeps the length and the byte size of a string in 32-bit signed integers.
constexpr uint32_t kMaxLength = (INT32_MAX - kHeaderBytes - 2) / 2;

char* bytesOf(OrvHostString text) {
    return reinterpret_cast<char*>(text);
}

std::atomic_ref<int32_t> refCountOf(OrvHostString text) {
    return std::atomic_ref<int32_t>(*reinterpret_cast<int32_t*>(bytesOf(text) + kRefCountOffset));
}

template <class T>
void store(char* at, T value) {
    std::memcpy(at, &value, sizeof value);
}

std::u16string_view viewOf(OrvHostString text) {
    return text ? std::u16string_view(text, OrvHostStringLength(text)) : std::u16string_view();
}

}  // namespace

OrvHostString OrvHostStringCreate(const char16_t* units, uint32_t length) {
    if (length == 0 || length > kMaxLength) {
        return nullptr;
    }
    const size_t bytes = static_cast<size_t>(length) * sizeof(char16_t);
    char* block = static_cast<char*>(std::malloc(kHeaderBytes + bytes + sizeof(char16_t)));
    if (!block) {
        return nullptr;
    }
    char* start = block + kHeaderBytes;
    store<int32_t>(block, 0);
    store<uint16_t>(start + kCodePageOffset, kUtf16CodePage);
    store<uint16_t>(start + kElemSizeOffset, sizeof(char16_t));
    store<int32_t>(start + kRefCountOffset, 1);
    store<int32_t>(start + kLengthOffset, static_cast<int32_t>(length));
    auto* result = reinterpret_cast<char16_t*>(start);
    if (units) {
        std::memcpy(result, units, bytes);
    } else {
        std::memset(result, 0, bytes);
    }
    result[length] = u'\0';
    return result;
}

OrvHostString OrvHostStringFromUtf8(const char* text) {
    if (!text || !*text) {
        return nullptr;
    }
    try {
        const std::u16string units = orvdb::host::toUtf16(text);
        return OrvHostStringCreate(units.data(), static_cast<uint32_t>(units.size()));
    } catch (...) {
        return nullptr;
    }
}

OrvHostString OrvHostStringAddRef(OrvHostString text) {
    if (!text) {
        return text;
    }
    auto refCount = refCountOf(text);
    // A constant's count stays -1, so reading it once decides for good.
    if (refCount.load(std::memory_order_relaxed) >= 0) {
        refCount.fetch_add(1, std::memory_order_relaxed);
    }
    return text;
}

void OrvHostStringRelease(OrvHostString text) {
    if (!text) {
        return;
    }
    auto refCount = refCountOf(text);
    if (refCount.load(std::memory_order_relaxed) < 0) {
        return;
    }
    if (refCount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        std::free(bytesOf(text) - kHeaderBytes);
    }
}

uint32_t OrvHostStringLength(OrvHostString text) {
    if (!text) {
        return 0;
    }
    int32_t length;
    std::memcpy(&length, bytesOf(text) + kLengthOffset, sizeof length);
    return length > 0 ? static_cast<uint32_t>(length) : 0;
}

size_t OrvHostStringToUtf8(OrvHostString text, char* buffer, size_t size) {
    try {
        return orvdb::host::copyUtf8ToBuffer(orvdb::host::toUtf8(viewOf(text)), buffer, size);
    } catch (...) {
        return orvdb::host::copyUtf8ToBuffer({}, buffer, size);
    }
}

void OrvHostStringAssign(OrvHostString* variable, OrvHostString value) {
    if (!variable) {
        return;
    }
    // Reference the new value first: assigning a variable its own content
    // must not free it on the way.
    OrvHostStringAddRef(value);
    OrvHostString old = *variable;
    *variable = value;
    OrvHostStringRelease(old);
}
