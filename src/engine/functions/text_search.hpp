// Finding text inside text the way InStr and Replace do: positions in UTF-16
// units, comparison either binary or Jet's text compare (case-insensitive,
// accent-sensitive: code points compared after simple case folding).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine::functions {

enum class CompareMode { Binary, Text };

// VBA's compare argument: 0 binary, 1 text, 2 database (text); -1 "use the
// option", which for queries is the database's text compare.
CompareMode compareModeFromCode(long code);

// A text decoded once for repeated searching.
class SearchText {
public:
    SearchText(std::string_view text, CompareMode mode);

    size_t size() const { return codePoints_.size(); }               // in code points
    size_t unitOffset(size_t index) const { return units_[index]; }  // UTF-16 units before
    size_t byteOffset(size_t index) const { return bytes_[index]; }
    size_t unitLength() const { return units_.back(); }
    // First code-point index >= from where `needle` occurs; npos when none.
    size_t find(const SearchText& needle, size_t from) const;
    // The code-point index holding UTF-16 unit `unit` (size() when past the end).
    size_t indexOfUnit(size_t unit) const;

private:
    std::vector<char32_t> codePoints_;
    std::vector<size_t> units_;  // size()+1 entries
    std::vector<size_t> bytes_;  // size()+1 entries
};

// 1-based UTF-16 position of needle in haystack at or after `start` (1-based),
// 0 when absent. start must be >= 1.
size_t findText(std::string_view haystack, std::string_view needle, size_t start, CompareMode mode);

}  // namespace orvdb::engine::functions
