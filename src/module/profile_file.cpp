#include "module/profile_file.hpp"

#include "base/names.hpp"
#include "host/utf16.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orvdb::module {

namespace {

constexpr std::string_view kWhitespace = " \t\r\f\v";

std::string_view trim(std::string_view text) {
    size_t first = text.find_first_not_of(kWhitespace);
    if (first == std::string_view::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(kWhitespace);
    return text.substr(first, last - first + 1);
}

std::string_view stripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto high = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        auto low = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        units.push_back(static_cast<char16_t>(high << 8 | low));
    }
    return host::toUtf8(units);
}

// Windows-1252 for 0x80..0x9F; the other bytes are Latin-1. The five bytes
// the code page leaves undefined map to the control character of that number,
// as Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string ansiToUtf8(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        units.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t{b});
    }
    return host::toUtf8(units);
}

bool isValidUtf8(std::string_view bytes) {
    // The converter replaces what it cannot decode by U+FFFD; a replacement
    // character that the text did not hold means a malformed sequence.
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    return bytes.find(kReplacement) != std::string_view::npos ||
           host::toUtf8(host::toUtf16(bytes)).find(kReplacement) == std::string::npos;
}

}  // namespace

std::string profileTextToUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return utf16ToUtf8(bytes.substr(2), false);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return utf16ToUtf8(bytes.substr(2), true);
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return std::string(bytes.substr(3));
    }
    if (isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return ansiToUtf8(bytes);
}

ProfileFile ProfileFile::load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read settings file '" + path +
                                 "': " + std::strerror(errno));
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        throw std::runtime_error("cannot read settings file '" + path + "'");
    }
    return parse(profileTextToUtf8(content.str()));
}

ProfileFile ProfileFile::parse(std::string_view text) {
    ProfileFile file;
    std::string section;
    bool inSection = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            size_t close = line.find(']');
            // A header without ']' names the rest of the line, as Windows reads it.
            section = std::string(trim(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            inSection = true;
            continue;
        }
        size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) {
            continue;
        }
        file.entries_.push_back({section, std::string(trim(line.substr(0, equals))),
                                 std::string(stripQuotes(trim(line.substr(equals + 1))))});
    }
    return file;
}

std::optional<std::string> ProfileFile::value(std::string_view section,
                                              std::string_view key) const {
    for (const Entry& entry : entries_) {
        if (base::sameName(entry.section, section) && base::sameName(entry.key, key)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

}  // namespace orvdb::module
