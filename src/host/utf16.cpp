#include "host/utf16.hpp"

#include <unicode/ustring.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace orvdb::host {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

// ICU counts in int32_t; longer texts are refused rather than cut.
int32_t icuLength(size_t length, const char* what) {
    if (length > static_cast<size_t>(INT32_MAX)) {
        throw std::length_error(std::string(what) + ": text longer than 2^31-1 units");
    }
    return static_cast<int32_t>(length);
}

void checkIcu(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
    }
}

}  // namespace

std::u16string toUtf16(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int32_t srcLength = icuLength(utf8.size(), "UTF-8 to UTF-16");
    // A UTF-8 text never needs more UTF-16 units than it has bytes.
    std::u16string out(utf8.size(), u'\0');
    int32_t outLength = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &outLength, utf8.data(),
                         srcLength, kReplacement, nullptr, &status);
    if (status == U_STRING_NOT_TERMINATED_WARNING) {
        status = U_ZERO_ERROR;
    }
    checkIcu(status, "UTF-8 to UTF-16");
    out.resize(static_cast<size_t>(outLength));
    return out;
}

std::string toUtf8(std::u16string_view utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int32_t srcLength = icuLength(utf16.size(), "UTF-16 to UTF-8");
    // Each unit gives at most 3 bytes (a surrogate pair: 4 bytes for 2 units).
    if (utf16.size() > static_cast<size_t>(INT32_MAX) / 3) {
        throw std::length_error("UTF-16 to UTF-8: text too long");
    }
    std::string out(utf16.size() * 3, '\0');
    int32_t outLength = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &outLength, utf16.data(),
                       srcLength, kReplacement, nullptr, &status);
    if (status == U_STRING_NOT_TERMINATED_WARNING) {
        status = U_ZERO_ERROR;
    }
    checkIcu(status, "UTF-16 to UTF-8");
    out.resize(static_cast<size_t>(outLength));
    return out;
}

size_t copyUtf8ToBuffer(std::string_view utf8, char* buffer, size_t size) noexcept {
    if (buffer == nullptr || size == 0) {
        return utf8.size();
    }
    size_t n = std::min(utf8.size(), size - 1);
    // Never leave the first bytes of a multi-byte sequence at the end.
    while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) {
        --n;
    }
    std::memcpy(buffer, utf8.data(), n);
    buffer[n] = '\0';
    return utf8.size();
}

}  // namespace orvdb::host
