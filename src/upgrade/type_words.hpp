// Statements whose column types the database names when they run. A catalogue
// row writes the statement as it runs on an Access database, with each word
// the database supplies in braces:
//
//   script("1.68", typed<"ALTER TABLE ProductionDocuments ADD COLUMN "
//                        "DefaultPrinter {VARCHAR(150)}">),
//
//   MARKER            ASKED OF THE DATABASE
//   {LONG}            type word of kind code 0
//   {FLOAT}           type word of kind code 1
//   {VARCHAR(n)}      type word of kind code 2, size n
//   {BYTE}            type word of kind code 6, size 1
//   {AUTOINCREMENT}   type word of kind code 8
//   {LONGBLOB}        type word of kind code 9
//   {MEMO}            type word of kind code 10
//   {ALTER COLUMN}    the alter-column keyword
//
// Another engine gets its own words in the same statement. A marker the table
// above lacks fails the build (typed<> checks its text), so a typo cannot
// reach a database. Everything outside braces is kept byte for byte, spaces
// included.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "upgrade/upgrade_session.hpp"

namespace orvdb::upgrade {

struct TypeMarker {
    enum class Kind : uint8_t { TypeWord, AlterColumn };
    Kind kind = Kind::TypeWord;
    int32_t code = 0;  // field kind code (TypeWord)
    int32_t size = 0;
};

// The marker named by the text between braces ("VARCHAR(150)"), if known.
constexpr std::optional<TypeMarker> typeMarker(std::string_view name) {
    using Kind = TypeMarker::Kind;
    struct Fixed {
        std::string_view name;
        TypeMarker marker;
    };
    constexpr Fixed kFixed[] = {
        {"LONG", {Kind::TypeWord, 0, 0}},
        {"FLOAT", {Kind::TypeWord, 1, 0}},
        {"BYTE", {Kind::TypeWord, 6, 1}},
        {"AUTOINCREMENT", {Kind::TypeWord, 8, 0}},
        {"LONGBLOB", {Kind::TypeWord, 9, 0}},
        {"MEMO", {Kind::TypeWord, 10, 0}},
        {"ALTER COLUMN", {Kind::AlterColumn, 0, 0}},
    };
    for (const Fixed& fixed : kFixed) {
        if (fixed.name == name) {
            return fixed.marker;
        }
    }
    constexpr std::string_view kText = "VARCHAR(";
    if (name.size() > kText.size() + 1 && name.substr(0, kText.size()) == kText &&
        name.back() == ')') {
        int32_t size = 0;
        for (char digit : name.substr(kText.size(), name.size() - kText.size() - 1)) {
            if (digit < '0' || digit > '9' || size > 100000) {
                return std::nullopt;
            }
            size = size * 10 + (digit - '0');
        }
        return TypeMarker{Kind::TypeWord, 2, size};
    }
    return std::nullopt;
}

// Every '{' opens a known marker closed by '}', and no '}' stands alone.
constexpr bool validTypeMarkers(std::string_view format) {
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '}') {
            return false;
        }
        if (format[i] == '{') {
            size_t close = format.find('}', i);
            if (close == std::string_view::npos ||
                !typeMarker(format.substr(i + 1, close - i - 1))) {
                return false;
            }
            i = close;
        }
    }
    return true;
}

// The format with each marker replaced by what `resolve` gives for it.
// Throws std::invalid_argument naming the format when a marker is unknown.
std::string fillTypeWords(std::string_view format,
                          const std::function<std::string(const TypeMarker&)>& resolve);

// The same, with the words of the session's database.
std::string fillTypeWords(UpgradeSession& session, std::string_view format);

// A string literal as a template argument.
template <size_t N>
struct FormatText {
    char text[N]{};
    constexpr FormatText(const char (&literal)[N]) { std::copy_n(literal, N, text); }
    constexpr std::string_view view() const { return std::string_view(text, N - 1); }
};

// A routine that runs one statement, its markers filled when it runs.
template <FormatText format>
void typed(UpgradeSession& session) {
    static_assert(validTypeMarkers(format.view()), "unknown {marker} in a typed statement");
    session.open(fillTypeWords(session, format.view()));
}

}  // namespace orvdb::upgrade
