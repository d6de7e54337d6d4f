#include "upgrade/type_words.hpp"

#include <stdexcept>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::upgrade {

std::string fillTypeWords(std::string_view format,
                          const std::function<std::string(const TypeMarker&)>& resolve) {
    std::string filled;
    filled.reserve(format.size() + 32);
    size_t from = 0;
    while (from < format.size()) {
        size_t open = format.find('{', from);
        if (open == std::string_view::npos) {
            filled.append(format.substr(from));
            break;
        }
        size_t close = format.find('}', open);
        std::optional<TypeMarker> marker;
        if (close != std::string_view::npos) {
            marker = typeMarker(format.substr(open + 1, close - open - 1));
        }
        if (!marker) {
            throw std::invalid_argument("upgrade statement '" + std::string(format) +
                                        "': unknown type-word marker at offset " +
                                        std::to_string(open));
        }
        filled.append(format.substr(from, open - from));
        filled += resolve(*marker);
        from = close + 1;
    }
    return filled;
}

std::string fillTypeWords(UpgradeSession& session, std::string_view format) {
    return fillTypeWords(format, [&session](const TypeMarker& marker) {
        if (marker.kind == TypeMarker::Kind::AlterColumn) {
            host::Bstr keyword;
            host::throwIfFailed(session.database().Get_AlterColumnText(0, keyword.put()),
                                "Get_AlterColumnText");
            return keyword.utf8();
        }
        return session.typeWord(marker.code, marker.size);
    });
}

}  // namespace orvdb::upgrade
