#include "engine/functions/like_pattern.hpp"

#include "engine/functions/jet_collation.hpp"
#include "engine/functions/raise.hpp"
#include "engine/functions/utf16_text.hpp"
#include "engine/messages.hpp"

#include <unicode/uchar.h>

namespace orvdb::engine::functions {

namespace {

char32_t fold(char32_t c) {
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// Order of ASCII digits and letters under JETTEXT: digits first, then letters
// without regard to case. -1 for anything else.
int asciiAlnumRank(char32_t c) {
    if (c >= '0' && c <= '9') {
        return static_cast<int>(c - '0');
    }
    if (c >= 'a' && c <= 'z') {
        return 10 + static_cast<int>(c - 'a');
    }
    if (c >= 'A' && c <= 'Z') {
        return 10 + static_cast<int>(c - 'A');
    }
    return -1;
}

int compareChars(char32_t a, char32_t b) {
    const int ra = asciiAlnumRank(a);
    const int rb = asciiAlnumRank(b);
    if (ra >= 0 && rb >= 0) {
        return ra < rb ? -1 : (ra > rb ? 1 : 0);
    }
    std::string leftText;
    std::string rightText;
    appendUtf8(leftText, a);
    appendUtf8(rightText, b);
    return jetCompareText(leftText, rightText);
}

}  // namespace

LikePattern::LikePattern(std::string_view pattern) {
    size_t pos = 0;
    while (pos < pattern.size()) {
        const char32_t c = nextCodePoint(pattern, pos);
        if (c == '%') {
            if (tokens_.empty() || tokens_.back().kind != Kind::AnyRun) {
                tokens_.push_back({Kind::AnyRun, 0, 0});
            }
        } else if (c == '_') {
            tokens_.push_back({Kind::AnyChar, 0, 0});
        } else if (c == '[') {
            CharSet set;
            bool closed = false;
            bool first = true;
            std::vector<char32_t> members;
            while (pos < pattern.size()) {
                char32_t m = nextCodePoint(pattern, pos);
                if (m == ']') {
                    closed = true;
                    break;
                }
                if (first && m == '!') {
                    set.negated = true;
                    first = false;
                    continue;
                }
                first = false;
                // A '-' between two members makes a range; at either end it
                // is itself.
                if (pos < pattern.size() && pattern[pos] == '-' && pos + 1 < pattern.size() &&
                    pattern[pos + 1] != ']') {
                    size_t after = pos + 1;
                    const char32_t high = nextCodePoint(pattern, after);
                    if (compareChars(m, high) > 0) {
                        raise(msg::kInvalidPattern);
                    }
                    set.ranges.emplace_back(m, high);
                    pos = after;
                    continue;
                }
                set.singles.push_back(fold(m));
            }
            if (!closed) {
                raise(msg::kInvalidPattern);
            }
            if (!set.negated && set.singles.empty() && set.ranges.empty()) {
                continue;  // "[]" stands for the zero-length string
            }
            sets_.push_back(std::move(set));
            tokens_.push_back({Kind::Set, 0, sets_.size() - 1});
        } else {
            tokens_.push_back({Kind::Literal, fold(c), 0});
        }
    }
}

bool LikePattern::setMatches(const CharSet& set, char32_t folded, char32_t original) const {
    bool found = false;
    for (char32_t s : set.singles) {
        if (s == folded) {
            found = true;
            break;
        }
    }
    if (!found) {
        for (const auto& [low, high] : set.ranges) {
            if (compareChars(low, original) <= 0 && compareChars(original, high) <= 0) {
                found = true;
                break;
            }
        }
    }
    return found != set.negated;
}

bool LikePattern::tokenMatches(const Token& token, char32_t folded, char32_t original) const {
    switch (token.kind) {
        case Kind::Literal:
            return token.ch == folded;
        case Kind::AnyChar:
            return true;
        case Kind::Set:
            return setMatches(sets_[token.set], folded, original);
        case Kind::AnyRun:
            break;
    }
    return false;
}

bool LikePattern::matches(std::string_view text) const {
    // Greedy match with one backtrack point: the last '%' seen. Enough because
    // every other token consumes exactly one character.
    const size_t count = tokens_.size();
    size_t t = 0;
    size_t p = 0;
    bool haveRun = false;
    size_t runToken = 0;  // the token after the last '%'
    size_t runText = 0;   // where the text after that '%' starts for now
    while (t < text.size()) {
        if (p < count && tokens_[p].kind == Kind::AnyRun) {
            haveRun = true;
            runToken = ++p;
            runText = t;
            continue;
        }
        if (p < count) {
            size_t next = t;
            const char32_t c = nextCodePoint(text, next);
            if (tokenMatches(tokens_[p], fold(c), c)) {
                t = next;
                ++p;
                continue;
            }
        }
        if (!haveRun) {
            return false;
        }
        nextCodePoint(text, runText);  // let the '%' take one more character
        t = runText;
        p = runToken;
    }
    while (p < count && tokens_[p].kind == Kind::AnyRun) {
        ++p;
    }
    return p == count;
}

}  // namespace orvdb::engine::functions
