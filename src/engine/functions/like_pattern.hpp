// Jet's Like with ANSI-92 wildcards, as through ADO: % any run, _ any one
// character, [abc] a list, [a-z] a range, [!a-c] anything outside. Letters
// compare without regard to case but with their accents, like JETTEXT;
// ranges follow JETTEXT's order, so [a-z] includes "é" and "B".
// Everything else, '*', '?' and '#' included, stands for itself; "[%]"
// matches a literal '%'.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

namespace orvdb::engine::functions {

class LikePattern {
public:
    // Throws EngineError "Invalid pattern string" for an unclosed '[' or a
    // descending range.
    explicit LikePattern(std::string_view pattern);

    bool matches(std::string_view text) const;

private:
    enum class Kind { Literal, AnyChar, AnyRun, Set };
    struct Token {
        Kind kind;
        char32_t ch = 0;  // Literal: case-folded
        size_t set = 0;   // Set: index into sets_
    };
    struct CharSet {
        bool negated = false;
        std::vector<char32_t> singles;  // case-folded
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };

    bool tokenMatches(const Token& token, char32_t folded, char32_t original) const;
    bool setMatches(const CharSet& set, char32_t folded, char32_t original) const;

    std::vector<Token> tokens_;
    std::vector<CharSet> sets_;
};

}  // namespace orvdb::engine::functions
