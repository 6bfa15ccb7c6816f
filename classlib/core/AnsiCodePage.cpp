#include "AnsiCodePage.h"

namespace tq {

namespace {
// 0x80..0x9F; 0 marks the bytes the code page leaves undefined (they map to
// the C1 control of the same value).
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

char32_t AnsiCharToUnicode(unsigned char c) {
  if (c >= 0x80 && c < 0xA0 && kHigh[c - 0x80] != 0) return kHigh[c - 0x80];
  return c;
}

bool UnicodeToAnsiChar(char32_t cp, char& c) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    c = static_cast<char>(cp);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] != 0 ? kHigh[i] == cp : cp == static_cast<char32_t>(0x80 + i)) {
      c = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

std::string Utf16ToAnsi(const char16_t* s, size_t count) {
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < count && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      ++i;  // a pair: outside the code page in any case
      out += '?';
      continue;
    }
    char c;
    out += UnicodeToAnsiChar(cp, c) ? c : '?';
  }
  return out;
}

std::u32string Utf8Decode(const std::string& utf8) {
  std::u32string out;
  size_t i = 0;
  const size_t n = utf8.size();
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(utf8[i]);
    int len;
    char32_t cp;
    if (b < 0x80) {
      len = 1;
      cp = b;
    } else if ((b & 0xE0) == 0xC0) {
      len = 2;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
      cp = b & 0x07;
    } else {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    bool ok = i + static_cast<size_t>(len) <= n;
    for (int k = 1; ok && k < len; ++k) {
      const unsigned char t = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
      if ((t & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (t & 0x3F);
    }
    if (!ok) {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    i += static_cast<size_t>(len);
    out += cp;
  }
  return out;
}

std::string Utf8ToAnsi(const std::string& utf8) {
  std::string out;
  for (char32_t cp : Utf8Decode(utf8)) {
    char c;
    out += UnicodeToAnsiChar(cp, c) ? c : '?';
  }
  return out;
}

}  // namespace tq
