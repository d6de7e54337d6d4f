// Name handling for the SQL front end: Jet names compare without regard to
// case (base/names.hpp), SQLite names and texts are quoted.
#pragma once

#include <string>
#include <string_view>

#include "base/names.hpp"

namespace orvdb::engine::sql {

using base::sameName;

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
