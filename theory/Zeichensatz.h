#pragma once

#include <string>
#include <string_view>

// Texts in records and files are Windows-1252; the windows work in UTF-8. This is the one conversion.

std::string cp1252ToUtf8(std::string_view cp1252);
// False (and target unchanged) when the text is not valid UTF-8 or holds a character that
// Windows-1252 cannot represent.
bool utf8ToCp1252(std::string_view utf8, std::string& target);
// Whether one Unicode code point has a Windows-1252 byte.
bool cp1252CanHold(char32_t codePoint);
