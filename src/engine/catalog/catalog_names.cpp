// Names in Jet compare without regard to case.
#include "engine/catalog/catalog.hpp"

#include <unicode/unistr.h>

namespace orvdb::engine {

std::string foldName(std::string_view name) {
    bool ascii = true;
    for (unsigned char c : name) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    }
    std::string out;
    if (ascii) {
        out.reserve(name.size());
        for (char c : name) {
            out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        }
        return out;
    }
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    u.foldCase();
    u.toUTF8String(out);
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    return foldName(a) == foldName(b);
}

}  // namespace orvdb::engine
