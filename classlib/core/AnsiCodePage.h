#pragma once
// Our single-byte text is Windows-1252: conversions to and from Unicode for the
// wide and UTF-8 strings that stored streams may carry.
#include <cstdint>
#include <string>

namespace tq {

char32_t AnsiCharToUnicode(unsigned char c);
// False when the code point has no Windows-1252 byte.
bool UnicodeToAnsiChar(char32_t cp, char& c);
// Unrepresentable characters and malformed sequences become '?'.
std::string Utf16ToAnsi(const char16_t* s, size_t count);
std::string Utf8ToAnsi(const std::string& utf8);
// Code points of UTF-8 text; malformed sequences give U+FFFD.
std::u32string Utf8Decode(const std::string& utf8);

}  // namespace tq
