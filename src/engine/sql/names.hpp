// Name handling for the SQL front end: Jet names compare without regard to
// case (Unicode case folding), SQLite names and texts are quoted.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::engine::sql {

// True when a and b are the same name in Jet's eyes ("Français" = "FRANÇAIS").
bool sameName(std::string_view a, std::string_view b);

// "name" with embedded double quotes doubled.
std::string quoteName(std::string_view name);
void appendQuotedName(std::string& out, std::string_view name);
// 'text' with embedded single quotes doubled.
std::string quoteText(std::string_view text);
void appendQuotedText(std::string& out, std::string_view text);

// Lexer helpers: may the code point start or continue a bare identifier?
bool isNameStart(char32_t c);
bool isNamePart(char32_t c);
// Decodes the UTF-8 sequence at text[pos]; advances pos. Invalid bytes come
// back as themselves (one byte each) so that no input is lost.
char32_t decodeUtf8(std::string_view text, size_t& pos);

}  // namespace orvdb::engine::sql
