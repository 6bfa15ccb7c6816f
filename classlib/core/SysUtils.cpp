// Exceptions, string helpers, conversions and path-name helpers.
#include "SysUtils.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tq {

std::string GeneralFloat(double v, int prec, int expDigits);  // Format.cpp

Exception::Exception(const std::string& fmt, TVarArgs args) : Message(Format(fmt, args)) {}

void Abort() { throw EAbort("Operation aborted"); }

std::string ExceptionDisplayText(const std::string& msg) {
  if (!msg.empty() && static_cast<unsigned char>(msg.back()) > static_cast<unsigned char>('.'))
    return msg + ".";
  return msg;
}

// ---- Positions and pieces --------------------------------------------------

int Pos(const std::string& sub, const std::string& s) { return PosEx(sub, s, 1); }

int PosEx(const std::string& sub, const std::string& s, int offset) {
  if (sub.empty() || offset < 1 || offset > static_cast<int>(s.size())) return 0;
  size_t p = s.find(sub, static_cast<size_t>(offset - 1));
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::string Copy(const std::string& s, int index1, int count) {
  const int len = static_cast<int>(s.size());
  if (index1 < 1) index1 = 1;
  if (count <= 0 || index1 > len) return {};
  if (count > len - index1 + 1) count = len - index1 + 1;
  return s.substr(static_cast<size_t>(index1 - 1), static_cast<size_t>(count));
}

std::string Copy(const std::string& s, int index1) { return Copy(s, index1, INT_MAX); }

void Delete(std::string& s, int index1, int count) {
  const int len = static_cast<int>(s.size());
  if (index1 < 1 || index1 > len || count <= 0) return;
  if (count > len - index1 + 1) count = len - index1 + 1;
  s.erase(static_cast<size_t>(index1 - 1), static_cast<size_t>(count));
}

void Insert(const std::string& source, std::string& s, int index1) {
  if (index1 < 1) index1 = 1;
  if (index1 > static_cast<int>(s.size())) index1 = static_cast<int>(s.size()) + 1;
  s.insert(static_cast<size_t>(index1 - 1), source);
}

std::string StringOfChar(char c, int count) {
  return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string();
}

// ---- Blanks and case ---------------------------------------------------------

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

unsigned char AnsiUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
  }
}
unsigned char AnsiLower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}
unsigned char AsciiUpper(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }
unsigned char AsciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

template <class F>
std::string MapChars(const std::string& s, F f) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(f(static_cast<unsigned char>(c)));
  return out;
}

template <class F>
int CompareMapped(const std::string& a, const std::string& b, F f) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    int ca = f(static_cast<unsigned char>(a[i]));
    int cb = f(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}
}  // namespace

std::string Trim(const std::string& s) { return TrimLeft(TrimRight(s)); }

std::string TrimLeft(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

std::string TrimRight(const std::string& s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return s.substr(0, n);
}

std::string UpperCase(const std::string& s) { return MapChars(s, AsciiUpper); }
std::string LowerCase(const std::string& s) { return MapChars(s, AsciiLower); }
std::string AnsiUpperCase(const std::string& s) { return MapChars(s, AnsiUpper); }
std::string AnsiLowerCase(const std::string& s) { return MapChars(s, AnsiLower); }

int CompareStr(const std::string& a, const std::string& b) {
  return CompareMapped(a, b, [](unsigned char c) { return c; });
}
int CompareText(const std::string& a, const std::string& b) { return CompareMapped(a, b, AsciiUpper); }
bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}
// The Ansi comparisons fold Windows-1252 letters and compare the folded bytes,
// so that an order is the same in every build.
int AnsiCompareStr(const std::string& a, const std::string& b) {
  int r = CompareMapped(a, b, AnsiLower);
  return r != 0 ? r : CompareStr(b, a);  // equal but for case: lower case first
}
int AnsiCompareText(const std::string& a, const std::string& b) { return CompareMapped(a, b, AnsiLower); }
bool AnsiSameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}
bool AnsiSameStr(const std::string& a, const std::string& b) { return a == b; }
int AnsiPos(const std::string& sub, const std::string& s) { return Pos(sub, s); }

bool StartsText(const std::string& prefix, const std::string& s) {
  return s.size() >= prefix.size() && AnsiSameText(s.substr(0, prefix.size()), prefix);
}
bool EndsText(const std::string& suffix, const std::string& s) {
  return s.size() >= suffix.size() && AnsiSameText(s.substr(s.size() - suffix.size()), suffix);
}

std::string StringReplace(const std::string& s, const std::string& oldPattern,
                          const std::string& newPattern, TReplaceFlags flags) {
  if (oldPattern.empty()) return s;
  const bool ignoreCase = (flags & rfIgnoreCase) != 0;
  const std::string hay = ignoreCase ? AnsiUpperCase(s) : s;
  const std::string needle = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
  std::string out;
  size_t from = 0;
  while (true) {
    size_t p = hay.find(needle, from);
    if (p == std::string::npos) break;
    out.append(s, from, p - from);
    out += newPattern;
    from = p + needle.size();
    if (!(flags & rfReplaceAll)) break;
  }
  out.append(s, from, std::string::npos);
  return out;
}

// ---- Conversions -------------------------------------------------------------

std::string IntToStr(int64_t value) { return Format("%d", {value}); }

std::string IntToHex(int64_t value, int digits) {
  if (digits < 0) digits = 0;
  if (digits > 32) digits = 32;
  return Format("%.*X", {digits, value});
}

bool TryStrToInt64(const std::string& s, int64_t& value) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  unsigned base = 10;
  if (i < n && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= n) return false;
  uint64_t mag = 0;
  for (; i < n; ++i) {
    char c = s[i];
    unsigned d;
    if (c >= '0' && c <= '9')
      d = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = static_cast<unsigned>(c - 'A' + 10);
    else
      return false;
    if (mag > (UINT64_MAX - d) / base) return false;
    mag = mag * base + d;
  }
  if (base == 10) {
    if (neg ? mag > static_cast<uint64_t>(INT64_MAX) + 1 : mag > static_cast<uint64_t>(INT64_MAX)) return false;
    value = neg ? static_cast<int64_t>(0 - mag) : static_cast<int64_t>(mag);
  } else {
    // Hex digits give the bit pattern ("$FFFFFFFF" is -1 as a 32-bit value).
    value = static_cast<int64_t>(neg ? 0 - mag : mag);
  }
  return true;
}

bool TryStrToInt(const std::string& s, int& value) {
  int64_t v;
  if (!TryStrToInt64(s, v)) return false;
  bool hex = s.find_first_of("$xX") != std::string::npos;
  if (hex) {
    if (v > static_cast<int64_t>(UINT32_MAX) || v < INT32_MIN) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
  }
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(const std::string& s) {
  int v;
  if (!TryStrToInt(s, v)) throw EConvertError("'%s' is not a valid integer value", {s});
  return v;
}

int64_t StrToInt64(const std::string& s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) throw EConvertError("'%s' is not a valid integer value", {s});
  return v;
}

int StrToIntDef(const std::string& s, int def) {
  int v;
  return TryStrToInt(s, v) ? v : def;
}

std::string FloatToStr(double value) { return GeneralFloat(value, 15, 0); }

bool TryStrToFloat(const std::string& s, double& value) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  // Digits, one ".", an optional exponent; no hex, no "inf"/"nan".
  size_t i = 0;
  if (t[i] == '+' || t[i] == '-') ++i;
  bool digits = false;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, digits = true;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, digits = true;
  }
  if (!digits) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    bool expDigits = false;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, expDigits = true;
    if (!expDigits) return false;
  }
  if (i != t.size()) return false;
  errno = 0;
  double v = std::strtod(t.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(v)) return false;
  value = v;
  return true;
}

double StrToFloat(const std::string& s) {
  double v;
  if (!TryStrToFloat(s, v)) throw EConvertError("'%s' is not a valid floating point value", {s});
  return v;
}

std::string BoolToStr(bool b, bool useBoolStrs) {
  if (useBoolStrs) return b ? "True" : "False";
  return b ? "-1" : "0";
}

std::string QuotedStr(const std::string& s) { return AnsiQuotedStr(s, '\''); }

std::string AnsiQuotedStr(const std::string& s, char quote) {
  std::string out(1, quote);
  for (char c : s) {
    out += c;
    if (c == quote) out += c;
  }
  out += quote;
  return out;
}

std::string AnsiDequotedStr(const std::string& s, char quote) {
  if (s.empty() || s[0] != quote) return s;
  std::string out;
  size_t i = 1;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        out += quote;
        i += 2;
        continue;
      }
      return out;  // closing quote
    }
    out += s[i++];
  }
  return s;  // no closing quote: unchanged
}

int LastDelimiter(const std::string& delimiters, const std::string& s) {
  size_t p = s.find_last_of(delimiters);
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

bool IsDelimiter(const std::string& delimiters, const std::string& s, int index1) {
  if (index1 < 1 || index1 > static_cast<int>(s.size())) return false;
  return delimiters.find(s[static_cast<size_t>(index1 - 1)]) != std::string::npos;
}

// ---- Paths -------------------------------------------------------------------

namespace {
// The native build also takes its own "/" as a separator.
#ifdef _WIN32
const char* const kDelims = "\\";
const char* const kPathDelims = "\\:";
#else
const char* const kDelims = "\\/";
const char* const kPathDelims = "\\/:";
#endif
bool IsDelim(char c) { return std::strchr(kDelims, c) != nullptr && c != 0; }
}  // namespace

std::string IncludeTrailingPathDelimiter(const std::string& s) {
  if (!s.empty() && IsDelim(s.back())) return s;
  return s + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& s) {
  if (!s.empty() && IsDelim(s.back())) return s.substr(0, s.size() - 1);
  return s;
}

std::string ExtractFilePath(const std::string& fileName) {
  return fileName.substr(0, static_cast<size_t>(LastDelimiter(kPathDelims, fileName)));
}

std::string ExtractFileDir(const std::string& fileName) {
  int i = LastDelimiter(kPathDelims, fileName);
  // Keep the delimiter of a root ("C:\", "\") and leave a drive's ":" alone.
  if (i > 1 && IsDelim(fileName[static_cast<size_t>(i - 1)]) &&
      !std::strchr(kPathDelims, fileName[static_cast<size_t>(i - 2)]))
    --i;
  return fileName.substr(0, static_cast<size_t>(i));
}

std::string ExtractFileName(const std::string& fileName) {
  return fileName.substr(static_cast<size_t>(LastDelimiter(kPathDelims, fileName)));
}

std::string ExtractFileExt(const std::string& fileName) {
  std::string delims = std::string(".") + kPathDelims;
  int i = LastDelimiter(delims, fileName);
  if (i > 0 && fileName[static_cast<size_t>(i - 1)] == '.') return fileName.substr(static_cast<size_t>(i - 1));
  return {};
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension) {
  std::string delims = std::string(".") + kPathDelims;
  int i = LastDelimiter(delims, fileName);
  if (i == 0 || fileName[static_cast<size_t>(i - 1)] != '.') i = static_cast<int>(fileName.size()) + 1;
  return fileName.substr(0, static_cast<size_t>(i - 1)) + extension;
}

std::string ExtractFileDrive(const std::string& fileName) {
  if (fileName.size() >= 2 && fileName[1] == ':') return fileName.substr(0, 2);
  if (fileName.size() >= 2 && fileName[0] == '\\' && fileName[1] == '\\') {
    // \\server\share
    size_t p = fileName.find('\\', 2);
    if (p == std::string::npos || p == 2) return {};
    size_t q = fileName.find('\\', p + 1);
    if (q == p + 1) return {};
    return fileName.substr(0, q == std::string::npos ? fileName.size() : q);
  }
  return {};
}

}  // namespace tq
