// Format: the printf-like formatter with Pascal rules (argument indexes, "*"
// widths, %d precision as minimum digits, floats with 15 significant digits).
#include <cmath>
#include <cstdio>
#include <string>

#include "SysUtils.h"

namespace tq {

namespace {

[[noreturn]] void InvalidFormat(const std::string& fmt) {
  throw EConvertError("Format '%s' invalid or incompatible with argument", {fmt});
}
[[noreturn]] void ArgumentMissing(const std::string& fmt) {
  throw EConvertError("No argument for format '%s'", {fmt});
}

std::string Digits(uint64_t v, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out;
  do {
    out.insert(out.begin(), digits[v % base]);
    v /= base;
  } while (v != 0);
  return out;
}

// Integers passed as 32-bit values show as 32-bit two's complement in %u and %x.
uint64_t AsUnsigned(int64_t v) {
  if (v < 0 && v >= INT32_MIN) return static_cast<uint32_t>(static_cast<int32_t>(v));
  return static_cast<uint64_t>(v);
}

// Inserts thousand separators into the integer part of a fixed-point number.
std::string GroupThousands(const std::string& fixed) {
  size_t start = (!fixed.empty() && fixed[0] == '-') ? 1 : 0;
  size_t end = fixed.find('.');
  if (end == std::string::npos) end = fixed.size();
  std::string out = fixed.substr(0, start);
  std::string intPart = fixed.substr(start, end - start);
  for (size_t i = 0; i < intPart.size(); ++i) {
    if (i > 0 && (intPart.size() - i) % 3 == 0) out += ',';
    out += intPart[i];
  }
  return out + fixed.substr(end);
}

std::string FixedText(double v, int prec) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", prec, v);
  std::string s = buf;
  // No negative zero after rounding: "-0.00" shows as "0.00".
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

// Mantissa "d.ddd" and exponent of v with `prec` significant digits.
void Scientific(double v, int prec, std::string& mantissa, int& exponent) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", prec - 1, v);
  std::string s = buf;
  size_t e = s.find('E');
  mantissa = s.substr(0, e);
  exponent = std::atoi(s.c_str() + e + 1);
}

std::string ExponentText(int exponent, int minDigits, bool plus) {
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), '0');
  return std::string("E") + (exponent < 0 ? "-" : (plus ? "+" : "")) + digits;
}

std::string SpecialFloat(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

}  // namespace

// The general format shared by FloatToStr and %g: fixed when the exponent lies
// in [-4, precision), else scientific; trailing zeros removed.
std::string GeneralFloat(double v, int prec, int expDigits) {
  if (!std::isfinite(v)) return SpecialFloat(v);
  if (v == 0) return "0";
  if (prec < 1) prec = 1;
  if (prec > 18) prec = 18;
  std::string mantissa;
  int exponent;
  Scientific(v, prec, mantissa, exponent);
  auto trimZeros = [](std::string s) {
    if (s.find('.') != std::string::npos) {
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
    }
    return s;
  };
  if (exponent >= prec || exponent < -4) {
    return trimZeros(mantissa) + ExponentText(exponent, expDigits, false);
  }
  int decimals = prec - 1 - exponent;
  return trimZeros(FixedText(v, decimals < 0 ? 0 : decimals));
}

std::string Format(const std::string& fmt, TVarArgs args) {
  std::string out;
  const TVarRec* argv = args.begin();
  const int argc = static_cast<int>(args.size());
  int next = 0;
  const size_t n = fmt.size();
  size_t i = 0;
  auto takeArg = [&]() -> const TVarRec& {
    if (next >= argc) ArgumentMissing(fmt);
    return argv[next++];
  };
  auto takeInt = [&]() -> int {
    const TVarRec& a = takeArg();
    if (a.Kind != TVarRec::vkInteger) InvalidFormat(fmt);
    return static_cast<int>(a.VInteger);
  };
  while (i < n) {
    char c = fmt[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    ++i;
    if (i >= n) InvalidFormat(fmt);
    if (fmt[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // [index ":"]
    size_t j = i;
    int number = -1;
    bool numberIsStar = false;
    if (fmt[j] == '*') {
      numberIsStar = true;
      ++j;
    } else if (fmt[j] >= '0' && fmt[j] <= '9') {
      number = 0;
      while (j < n && fmt[j] >= '0' && fmt[j] <= '9') number = number * 10 + (fmt[j++] - '0');
    }
    if (j < n && fmt[j] == ':') {
      int index = numberIsStar ? takeInt() : (number < 0 ? 0 : number);
      if (index < 0) InvalidFormat(fmt);
      next = index;
      i = j + 1;
    }
    // ["-"]
    bool left = false;
    if (i < n && fmt[i] == '-') {
      left = true;
      ++i;
    }
    // [width]
    int width = -1;
    if (i < n && fmt[i] == '*') {
      width = takeInt();
      if (width < 0) {
        left = true;
        width = -width;
      }
      ++i;
    } else if (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
      width = 0;
      while (i < n && fmt[i] >= '0' && fmt[i] <= '9') width = width * 10 + (fmt[i++] - '0');
    }
    // ["." precision]
    int prec = -1;
    if (i < n && fmt[i] == '.') {
      ++i;
      if (i < n && fmt[i] == '*') {
        prec = takeInt();
        ++i;
      } else {
        prec = 0;
        while (i < n && fmt[i] >= '0' && fmt[i] <= '9') prec = prec * 10 + (fmt[i++] - '0');
      }
    }
    if (i >= n) InvalidFormat(fmt);
    char type = fmt[i++];
    std::string text;
    switch (type) {
      case 'd': case 'D': case 'u': case 'U': {
        const TVarRec& a = takeArg();
        if (a.Kind != TVarRec::vkInteger) InvalidFormat(fmt);
        bool neg = false;
        uint64_t mag;
        if (type == 'd' || type == 'D') {
          neg = a.VInteger < 0;
          mag = neg ? 0 - static_cast<uint64_t>(a.VInteger) : static_cast<uint64_t>(a.VInteger);
        } else {
          mag = AsUnsigned(a.VInteger);
        }
        text = Digits(mag, 10, false);
        if (prec > static_cast<int>(text.size())) text.insert(0, prec - text.size(), '0');
        if (neg) text.insert(text.begin(), '-');
        break;
      }
      case 'x': case 'X': {
        const TVarRec& a = takeArg();
        if (a.Kind != TVarRec::vkInteger) InvalidFormat(fmt);
        text = Digits(AsUnsigned(a.VInteger), 16, type == 'X');
        if (prec > static_cast<int>(text.size())) text.insert(0, prec - text.size(), '0');
        break;
      }
      case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'n': case 'N': {
        const TVarRec& a = takeArg();
        if (a.Kind != TVarRec::vkFloat) InvalidFormat(fmt);
        double v = a.VFloat;
        char t = static_cast<char>(type | 0x20);
        if (!std::isfinite(v)) {
          text = SpecialFloat(v);
        } else if (t == 'f' || t == 'n') {
          text = FixedText(v, prec < 0 ? 2 : (prec > 18 ? 18 : prec));
          if (t == 'n') text = GroupThousands(text);
        } else if (t == 'e') {
          int p = prec < 0 ? 15 : (prec < 1 ? 1 : (prec > 18 ? 18 : prec));
          std::string mantissa;
          int exponent;
          Scientific(v, p, mantissa, exponent);
          text = mantissa + ExponentText(exponent, 3, true);
        } else {
          text = GeneralFloat(v, prec < 0 ? 15 : prec, 0);
        }
        break;
      }
      case 's': case 'S': {
        const TVarRec& a = takeArg();
        if (a.Kind != TVarRec::vkString) InvalidFormat(fmt);
        text = a.VString;
        if (prec >= 0 && prec < static_cast<int>(text.size())) text.resize(prec);
        break;
      }
      case 'p': case 'P': {
        const TVarRec& a = takeArg();
        if (a.Kind != TVarRec::vkPointer) InvalidFormat(fmt);
        text = Digits(reinterpret_cast<uintptr_t>(a.VPointer), 16, true);
        text.insert(0, sizeof(void*) * 2 - text.size(), '0');
        break;
      }
      default:
        InvalidFormat(fmt);
    }
    if (width > static_cast<int>(text.size())) {
      if (left)
        text.append(width - text.size(), ' ');
      else
        text.insert(0, width - text.size(), ' ');
    }
    out += text;
  }
  return out;
}

}  // namespace tq
