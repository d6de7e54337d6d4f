#include "jet/format/text_codec.hpp"

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
    // Plain ASCII is common enough to skip the UTF-16 round trip.
    size_t count = bytes.size() / 2;
    bool ascii = true;
    for (size_t n = 0; n < count && ascii; ++n) {
        ascii = bytes[2 * n] < 0x80 && bytes[2 * n + 1] == 0;
    }
    if (ascii) {
        std::string out(count, '\0');
        for (size_t n = 0; n < count; ++n) {
            out[n] = static_cast<char>(bytes[2 * n]);
        }
        return out;
    }
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t n = 0; n < units.size(); ++n) {
        units[n] = static_cast<char16_t>(bytes[2 * n] | (bytes[2 * n + 1] << 8));
    }
    return utf16ToUtf8(units);
}

namespace {

// Compressed text without a mode switch holds code points U+0001..U+00FF
// only, one byte each: the UTF-8 follows without going through UTF-16.
bool appendSingleByteRun(std::span<const uint8_t> bytes, std::string& out) {
    size_t wide = 0;
    for (uint8_t byte : bytes) {
        if (byte == 0) {
            return false;
        }
        wide += byte >> 7;
    }
    size_t start = out.size();
    out.resize(start + bytes.size() + wide);
    char* to = out.data() + start;
    for (uint8_t byte : bytes) {
        if (byte < 0x80) {
            *to++ = static_cast<char>(byte);
        } else {
            *to++ = static_cast<char>(0xC0 | (byte >> 6));
            *to++ = static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return true;
}

}  // namespace

void decodeJetText(std::span<const uint8_t> stored, std::string& out) {
    out.clear();
    if (stored.size() >= 2 && stored[0] == kCompressedTextMark[0] &&
        stored[1] == kCompressedTextMark[1]) {
        if (appendSingleByteRun(stored.subspan(2), out)) {
            return;
        }
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
        out = utf16ToUtf8(units);
        return;
    }
    out = utf16leToUtf8(stored);
}

std::string decodeJetText(std::span<const uint8_t> stored) {
    std::string out;
    decodeJetText(stored, out);
    return out;
}

std::string readStoredName(const ByteView& view, size_t& pos) {
    uint16_t length = view.u16(pos);
    std::string name = utf16leToUtf8(view.sub(pos + kStoredNameLengthSize, length).span());
    pos += kStoredNameLengthSize + size_t{length};
    return name;
}

}  // namespace orvdb::jet
