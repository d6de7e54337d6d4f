#include "jet/text_codec.hpp"

#include <unicode/ustring.h>
#include <unicode/utypes.h>

#include <climits>

namespace orvdb::jet {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

}  // namespace

std::string utf16ToUtf8(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    // A UTF-16 code unit never needs more than 3 UTF-8 bytes.
    std::string out(text.size() * 3, '\0');
    int32_t written = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &written, text.data(),
                       static_cast<int32_t>(text.size()), kReplacement, nullptr, &status);
    if (U_FAILURE(status)) {
        return {};
    }
    out.resize(static_cast<size_t>(written));
    return out;
}

std::u16string utf8ToUtf16(std::string_view text) {
    if (text.empty() || text.size() > INT32_MAX) {
        return {};
    }
    std::u16string out(text.size(), u'\0');
    int32_t written = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &written, text.data(),
                         static_cast<int32_t>(text.size()), kReplacement, nullptr, &status);
    if (U_FAILURE(status)) {
        return {};
    }
    out.resize(static_cast<size_t>(written));
    return out;
}

std::string utf16leToUtf8(std::span<const uint8_t> bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t n = 0; n < units.size(); ++n) {
        units[n] = static_cast<char16_t>(bytes[2 * n] | (bytes[2 * n + 1] << 8));
    }
    return utf16ToUtf8(units);
}

std::string decodeJetText(std::span<const uint8_t> stored) {
    if (stored.size() >= 2 && stored[0] == 0xFF && stored[1] == 0xFE) {
        std::u16string units;
        units.reserve(stored.size());
        bool compressed = true;
        size_t pos = 2;
        while (pos < stored.size()) {
            if (stored[pos] == 0) {
                // A zero byte switches modes; it is not part of the text.
                compressed = !compressed;
                ++pos;
            } else if (compressed) {
                units.push_back(static_cast<char16_t>(stored[pos]));
                ++pos;
            } else if (pos + 1 < stored.size()) {
                units.push_back(static_cast<char16_t>(stored[pos] | (stored[pos + 1] << 8)));
                pos += 2;
            } else {
                break;
            }
        }
        return utf16ToUtf8(units);
    }
    return utf16leToUtf8(stored);
}

}  // namespace orvdb::jet
