// A settings file read the way the Windows profile functions read one, which
// is how the suite's connection-settings files are written: "[section]"
// headers and "key=value" lines, names matched without regard to case, the
// first occurrence of a key winning, values trimmed and stripped of one pair
// of enclosing quotes. Lines starting with ';' and lines without '=' are
// ignored; there are no inline comments and no continuation lines, so an
// indented line and a value holding ';' mean what they say.
//
// The text may be UTF-8 (with or without BOM), UTF-16 with a BOM, or ANSI
// (Windows-1252), as files written by Windows tools are.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::module {

class ProfileFile {
public:
    // Raises with the path and the reason when the file cannot be read.
    static ProfileFile load(const std::string& path);
    static ProfileFile parse(std::string_view text);

    // The value of key in section; nullopt when the section has no such key
    // (an empty value is a value).
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<Entry> entries_;
};

// The bytes of a settings file as UTF-8 text (see above).
std::string profileTextToUtf8(std::string_view bytes);

}  // namespace orvdb::module
