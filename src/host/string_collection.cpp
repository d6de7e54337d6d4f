#include "host/string_collection.hpp"

#include <unicode/ustring.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::host {

namespace {

class StringCollection final : public TInterfacedObjectEx<IWideStringCollection> {
public:
    explicit StringCollection(std::vector<std::string> texts) : texts_(std::move(texts)) {}

    OrvHResult Get_Count(int32_t* count) override {
        return guarded([&] {
            if (!count) {
                throw StatusError(ORV_E_POINTER, "Get_Count: the result is a null pointer");
            }
            *count = static_cast<int32_t>(texts_.size());
        });
    }
    OrvHResult Get_Item(int32_t index, OrvBstr* text) override {
        return guarded([&] {
            if (!text) {
                throw StatusError(ORV_E_POINTER, "Get_Item: the result is a null pointer");
            }
            *text = nullptr;
            if (index < 0 || static_cast<size_t>(index) >= texts_.size()) {
                throw StatusError(ORV_E_INVALIDARG, "Get_Item: index " + std::to_string(index) +
                                                        " is outside the collection of " +
                                                        std::to_string(texts_.size()) + " texts");
            }
            *text = Bstr::fromUtf8(texts_[static_cast<size_t>(index)]).release();
        });
    }

private:
    std::vector<std::string> texts_;
};

bool isUtf8(std::string_view text) {
    if (text.size() > INT32_MAX) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
    return status != U_INVALID_CHAR_FOUND && status != U_ILLEGAL_ARGUMENT_ERROR;
}

}  // namespace

std::vector<std::string> textLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

ComPtr<IWideStringCollection> makeStringCollection(std::vector<std::string> texts) {
    return ComPtr<IWideStringCollection>(new StringCollection(std::move(texts)));
}

std::vector<std::string> readTextLines(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error(file + ": cannot be read");
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        throw std::runtime_error(file + ": reading failed");
    }
    const std::string text = content.str();
    if (!isUtf8(text)) {
        throw std::runtime_error(file + ": not UTF-8 text");
    }
    return textLines(text);
}

}  // namespace orvdb::host
