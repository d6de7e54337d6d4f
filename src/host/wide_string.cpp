// Wide strings with the OLE BSTR layout: a 32-bit byte length, the UTF-16
// units, a 16-bit zero. The handle points at the first unit.
#include <orvdb/strings.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/utf16.hpp"

namespace {

constexpr size_t kPrefixBytes = sizeof(uint32_t);
// The byte length, terminator included, must stay representable in 32 bits.
constexpr uint32_t kMaxUnits = (UINT32_MAX - 2) / 2;

char* blockOf(OrvBstr text) {
    return reinterpret_cast<char*>(text) - kPrefixBytes;
}

std::u16string_view viewOf(OrvBstr text) {
    return text ? std::u16string_view(text, OrvBstrLength(text)) : std::u16string_view();
}

}  // namespace

OrvBstr OrvBstrAlloc(const char16_t* text, uint32_t units) {
    if (units > kMaxUnits) {
        return nullptr;
    }
    const size_t bytes = static_cast<size_t>(units) * sizeof(char16_t);
    char* block = static_cast<char*>(std::malloc(kPrefixBytes + bytes + sizeof(char16_t)));
    if (!block) {
        return nullptr;
    }
    const uint32_t byteLength = static_cast<uint32_t>(bytes);
    std::memcpy(block, &byteLength, sizeof byteLength);
    auto* result = reinterpret_cast<char16_t*>(block + kPrefixBytes);
    if (text && bytes) {
        std::memcpy(result, text, bytes);
    } else {
        std::memset(result, 0, bytes);
    }
    result[units] = u'\0';
    return result;
}

OrvBstr OrvBstrFromUtf8(const char* text) {
    try {
        const std::u16string units = orvdb::host::toUtf16(text ? text : "");
        return OrvBstrAlloc(units.data(), static_cast<uint32_t>(units.size()));
    } catch (...) {
        return nullptr;
    }
}

void OrvBstrFree(OrvBstr text) {
    if (text) {
        std::free(blockOf(text));
    }
}

uint32_t OrvBstrLength(OrvBstr text) {
    if (!text) {
        return 0;
    }
    uint32_t byteLength;
    std::memcpy(&byteLength, blockOf(text), sizeof byteLength);
    return byteLength / sizeof(char16_t);
}

size_t OrvBstrToUtf8(OrvBstr text, char* buffer, size_t size) {
    try {
        return orvdb::host::copyUtf8ToBuffer(orvdb::host::toUtf8(viewOf(text)), buffer, size);
    } catch (...) {
        return orvdb::host::copyUtf8ToBuffer({}, buffer, size);
    }
}
