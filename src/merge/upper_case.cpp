#include "merge/upper_case.hpp"

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace orvdb::merge {

std::string upperCased(std::string_view text) {
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    unicode.toUpper(icu::Locale::getRoot());
    std::string upper;
    unicode.toUTF8String(upper);
    return upper;
}

}  // namespace orvdb::merge
