#include "ComponentText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "AnsiCodePage.h"
#include "ComponentStream.h"
#include "ExtendedFloat.h"

namespace tq {

namespace {

const char* const kEol = "\r\n";

// ---- Binary to text -----------------------------------------------------------

std::string FloatText(double v) {
  if (std::isnan(v)) return "0.0";  // the text form has no NaN
  if (std::isinf(v)) return v > 0 ? "1E5000" : "-1E5000";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, res.ptr);
  if (s.find_first_of(".eE") == std::string::npos) s += ".0";
  return s;
}

// Quoted runs of printable ASCII, #n for everything else.
std::string QuoteCodePoints(const std::u32string& cps) {
  if (cps.empty()) return "''";
  std::string out;
  bool open = false;
  for (char32_t cp : cps) {
    if (cp >= 32 && cp < 127) {
      if (!open) out += '\'';
      open = true;
      out += static_cast<char>(cp);
      if (cp == '\'') out += '\'';
    } else {
      if (open) out += '\'';
      open = false;
      out += '#' + std::to_string(static_cast<uint32_t>(cp));
    }
  }
  if (open) out += '\'';
  return out;
}

std::u32string AnsiCodePoints(const std::string& s) {
  std::u32string cps;
  cps.reserve(s.size());
  for (unsigned char c : s) cps += AnsiCharToUnicode(c);
  return cps;
}

class TBinaryToText {
 public:
  TBinaryToText(TReader& reader, std::string& out) : R(reader), Out(out) {}

  void Object(const std::string& indent, int depth) {
    if (depth > MaxStreamNesting) throw EReadError("Invalid stream format");
    uint8_t flags;
    int64_t childPos;
    R.ReadPrefix(flags, childPos);
    const std::string cls = R.ReadStr();
    const std::string name = R.ReadStr();
    Out += indent;
    Out += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
    if (!name.empty()) Out += name + ": ";
    Out += cls;
    if (flags & ffChildPos) Out += " [" + std::to_string(childPos) + "]";
    Out += kEol;
    Properties(indent + "  ", depth);
    while (!R.EndOfList()) Object(indent + "  ", depth + 1);
    R.ReadValue();
    Out += indent + "end" + kEol;
  }

 private:
  void Properties(const std::string& indent, int depth) {
    while (!R.EndOfList()) {
      Out += indent + R.ReadStr() + " = ";
      Value(indent, depth);
      Out += kEol;
    }
    R.ReadValue();
  }

  void Value(const std::string& indent, int depth) {
    if (depth > MaxStreamNesting) throw EReadError("Invalid stream format");
    const TValueType t = R.NextValue();
    switch (t) {
      case vaList: {
        R.ReadValue();
        Out += "(";
        bool any = false;
        while (!R.EndOfList()) {
          Out += kEol + indent + "  ";
          Value(indent + "  ", depth + 1);
          any = true;
        }
        R.ReadValue();
        Out += ")";
        (void)any;
        break;
      }
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        Out += std::to_string(R.ReadInt64());
        break;
      case vaExtended:
      case vaSingle:
      case vaCurrency:
      case vaDate:
        Out += FloatText(R.ReadFloat());
        break;
      case vaString:
      case vaLString:
        Out += QuoteCodePoints(AnsiCodePoints(R.ReadString()));
        break;
      case vaUTF8String: {
        R.ReadValue();
        const int32_t n = R.ReadLength();
        std::string bytes(static_cast<size_t>(n), '\0');
        R.Read(bytes.data(), n);
        Out += QuoteCodePoints(Utf8Decode(bytes));
        break;
      }
      case vaWString: {
        R.ReadValue();
        uint8_t b[4];
        R.Read(b, 4);
        const int64_t n = static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
        if (n < 0 || n * 2 > R.BytesLeft()) throw EReadError("Stream read error");
        std::string raw(static_cast<size_t>(n * 2), '\0');
        R.Read(raw.data(), n * 2);
        std::u32string cps;
        for (int64_t i = 0; i < n; ++i) {
          char32_t u = static_cast<uint8_t>(raw[2 * i]) | (static_cast<uint8_t>(raw[2 * i + 1]) << 8);
          if (u >= 0xD800 && u < 0xDC00 && i + 1 < n) {
            const char32_t lo = static_cast<uint8_t>(raw[2 * i + 2]) | (static_cast<uint8_t>(raw[2 * i + 3]) << 8);
            if (lo >= 0xDC00 && lo < 0xE000) {
              u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
              ++i;
            }
          }
          cps += u;
        }
        Out += QuoteCodePoints(cps);
        break;
      }
      case vaIdent:
      case vaFalse:
      case vaTrue:
      case vaNil:
        Out += R.ReadIdent();
        break;
      case vaBinary: {
        R.ReadValue();
        const int32_t n = R.ReadLength();
        Out += "{";
        static const char* digits = "0123456789ABCDEF";
        uint8_t chunk[32];
        for (int32_t done = 0; done < n;) {
          const int32_t k = std::min<int32_t>(32, n - done);
          R.Read(chunk, k);
          Out += kEol + indent + "  ";
          for (int32_t i = 0; i < k; ++i) {
            Out += digits[chunk[i] >> 4];
            Out += digits[chunk[i] & 15];
          }
          done += k;
        }
        Out += "}";
        break;
      }
      case vaSet: {
        R.ReadValue();
        Out += "[";
        bool first = true;
        while (true) {
          const std::string e = R.ReadStr();
          if (e.empty()) break;
          if (!first) Out += ", ";
          Out += e;
          first = false;
        }
        Out += "]";
        break;
      }
      case vaCollection: {
        R.ReadValue();
        Out += "<";
        while (!R.EndOfList()) {
          Out += kEol + indent + "  item";
          const TValueType n = R.NextValue();
          if (n == vaInt8 || n == vaInt16 || n == vaInt32 || n == vaInt64)
            Out += " [" + std::to_string(R.ReadInt64()) + "]";
          R.ReadListBegin();
          Out += kEol;
          Properties(indent + "    ", depth + 1);
          Out += indent + "  end";
        }
        R.ReadValue();
        Out += ">";
        break;
      }
      default:
        throw EReadError("Invalid property value");
    }
  }

  TReader& R;
  std::string& Out;
};

// ---- Text to binary -----------------------------------------------------------

enum class TTok { End, Symbol, Ident, Integer, Float, String, Hex };

class TTextToBinary {
 public:
  explicit TTextToBinary(const std::string& text) : S(text) {}

  std::string Run() {
    Out.append(FilerSignature, 4);
    Next();
    Object(0);
    if (Tok != TTok::End) Error("end of text expected");
    return Out;
  }

 private:
  [[noreturn]] void Error(const std::string& what) const {
    throw EParserError("Line %d: %s", {Line, what});
  }

  static bool IdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9'); }
  static bool Digit(char c) { return c >= '0' && c <= '9'; }
  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  }

  void SkipBlanks() {
    while (P < S.size() && static_cast<unsigned char>(S[P]) <= ' ') {
      if (S[P] == '\n') ++Line;
      ++P;
    }
  }

  // Reads the next token into Tok / Text / IntValue / FloatValue / Chars.
  void Next() {
    SkipBlanks();
    Text.clear();
    if (P >= S.size()) {
      Tok = TTok::End;
      return;
    }
    const char c = S[P];
    if (IdentStart(c)) {
      const size_t b = P;
      while (P < S.size() && (IdentChar(S[P]) || S[P] == '.')) ++P;
      Text = S.substr(b, P - b);
      Tok = TTok::Ident;
    } else if (Digit(c) || ((c == '-' || c == '+') && P + 1 < S.size() && (Digit(S[P + 1]) || S[P + 1] == '$'))) {
      Number();
    } else if (c == '$') {
      Number();
    } else if (c == '\'' || c == '#') {
      StringToken();
    } else {
      ++P;
      Text = std::string(1, c);
      Tok = TTok::Symbol;
    }
  }

  void Number() {
    bool negative = false;
    if (S[P] == '-' || S[P] == '+') {
      negative = S[P] == '-';
      ++P;
    }
    if (P < S.size() && S[P] == '$') {
      ++P;
      uint64_t v = 0;
      int digits = 0;
      while (P < S.size() && HexDigit(S[P]) >= 0) {
        if (++digits > 16) Error("integer too large");
        v = (v << 4) | static_cast<uint64_t>(HexDigit(S[P++]));
      }
      if (digits == 0) Error("hex digits expected");
      // Up to 8 digits read as a 32-bit pattern ($80000005), more as 64 bits.
      int64_t iv = digits <= 8 ? static_cast<int32_t>(static_cast<uint32_t>(v)) : static_cast<int64_t>(v);
      IntValue = negative ? -iv : iv;
      Tok = TTok::Integer;
      return;
    }
    const size_t b = P;
    while (P < S.size() && Digit(S[P])) ++P;
    bool isFloat = false;
    if (P + 1 < S.size() && S[P] == '.' && Digit(S[P + 1])) {
      isFloat = true;
      ++P;
      while (P < S.size() && Digit(S[P])) ++P;
    }
    if (P < S.size() && (S[P] == 'e' || S[P] == 'E')) {
      size_t q = P + 1;
      if (q < S.size() && (S[q] == '+' || S[q] == '-')) ++q;
      if (q < S.size() && Digit(S[q])) {
        isFloat = true;
        P = q;
        while (P < S.size() && Digit(S[P])) ++P;
      }
    }
    const std::string num = S.substr(b, P - b);
    if (isFloat) {
      double v = 0;
      auto res = std::from_chars(num.data(), num.data() + num.size(), v);
      if (res.ec == std::errc::result_out_of_range) {
        v = std::strtod(num.c_str(), nullptr);  // infinity or zero
      } else if (res.ec != std::errc() || res.ptr != num.data() + num.size()) {
        Error("invalid number " + num);
      }
      FloatValue = negative ? -v : v;
      Tok = TTok::Float;
    } else {
      uint64_t v = 0;
      auto res = std::from_chars(num.data(), num.data() + num.size(), v);
      if (res.ec != std::errc() || v > static_cast<uint64_t>(INT64_MAX) + (negative ? 1 : 0))
        Error("integer too large");
      IntValue = negative ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
      Tok = TTok::Integer;
    }
  }

  // Quoted runs and #n characters, joined by "+" across lines.
  void StringToken() {
    Chars.clear();
    while (true) {
      while (P < S.size() && (S[P] == '\'' || S[P] == '#')) {
        if (S[P] == '\'') {
          ++P;
          while (true) {
            if (P >= S.size() || S[P] == '\n' || S[P] == '\r') Error("unterminated string");
            if (S[P] == '\'') {
              if (P + 1 < S.size() && S[P + 1] == '\'') {
                Chars += U'\'';
                P += 2;
                continue;
              }
              ++P;
              break;
            }
            Chars += AnsiCharToUnicode(static_cast<unsigned char>(S[P++]));
          }
        } else {
          ++P;
          uint32_t v = 0;
          int digits = 0;
          if (P < S.size() && S[P] == '$') {
            ++P;
            while (P < S.size() && HexDigit(S[P]) >= 0) {
              v = (v << 4) | static_cast<uint32_t>(HexDigit(S[P++]));
              if (++digits > 6) Error("character code too large");
            }
          } else {
            while (P < S.size() && Digit(S[P])) {
              v = v * 10 + static_cast<uint32_t>(S[P++] - '0');
              if (++digits > 7) Error("character code too large");
            }
          }
          if (digits == 0 || v > 0x10FFFF) Error("invalid character code");
          Chars += static_cast<char32_t>(v);
        }
      }
      // A "+" followed by another string part continues the string.
      const size_t save = P;
      const int saveLine = Line;
      SkipBlanks();
      if (P < S.size() && S[P] == '+') {
        ++P;
        SkipBlanks();
        if (P < S.size() && (S[P] == '\'' || S[P] == '#')) continue;
      }
      P = save;
      Line = saveLine;
      break;
    }
    Tok = TTok::String;
  }

  bool IsSymbol(char c) const { return Tok == TTok::Symbol && Text.size() == 1 && Text[0] == c; }
  bool IsKeyword(const char* k) const { return Tok == TTok::Ident && SameText(Text, k); }
  void Expect(char c) {
    if (!IsSymbol(c)) Error(std::string("'") + c + "' expected");
    Next();
  }
  std::string ExpectIdent() {
    if (Tok != TTok::Ident) Error("identifier expected");
    std::string s = Text;
    Next();
    return s;
  }

  void Byte(int b) { Out += static_cast<char>(b); }
  void LE(uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) Out += static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  void ShortStr(const std::string& s) {
    if (s.size() > 255) Error("name too long");
    Byte(static_cast<int>(s.size()));
    Out += s;
  }
  void Integer(int64_t v) {
    if (v >= -128 && v <= 127) {
      Byte(vaInt8);
      LE(static_cast<uint64_t>(v), 1);
    } else if (v >= -32768 && v <= 32767) {
      Byte(vaInt16);
      LE(static_cast<uint64_t>(v), 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
      Byte(vaInt32);
      LE(static_cast<uint64_t>(v), 4);
    } else {
      Byte(vaInt64);
      LE(static_cast<uint64_t>(v), 8);
    }
  }

  void Object(int depth) {
    if (depth > MaxStreamNesting) Error("objects nested too deeply");
    uint8_t flags = 0;
    if (IsKeyword("inherited"))
      flags = ffInherited;
    else if (IsKeyword("inline"))
      flags = ffInline;
    else if (!IsKeyword("object"))
      Error("'object' expected");
    Next();
    std::string name, cls = ExpectIdent();
    if (IsSymbol(':')) {
      Next();
      name = cls;
      cls = ExpectIdent();
    }
    int64_t childPos = -1;
    if (IsSymbol('[')) {
      Next();
      if (Tok != TTok::Integer) Error("integer expected");
      childPos = IntValue;
      Next();
      Expect(']');
      flags |= ffChildPos;
    }
    if (flags != 0) Byte(0xF0 | flags);
    if (flags & ffChildPos) Integer(childPos);
    ShortStr(cls);
    ShortStr(name);
    while (!IsKeyword("end") && !IsKeyword("object") && !IsKeyword("inherited") && !IsKeyword("inline")) {
      Property(depth);
    }
    Byte(vaNull);
    while (!IsKeyword("end")) Object(depth + 1);
    Next();
    Byte(vaNull);
  }

  void Property(int depth) {
    ShortStr(ExpectIdent());
    Expect('=');
    Value(depth);
  }

  void StringValue(const std::u32string& cps) {
    std::string ansi;
    bool fits = true;
    for (char32_t cp : cps) {
      char c;
      if (!UnicodeToAnsiChar(cp, c)) {
        fits = false;
        break;
      }
      ansi += c;
    }
    if (fits) {
      if (ansi.size() <= 255) {
        Byte(vaString);
        Byte(static_cast<int>(ansi.size()));
      } else {
        Byte(vaLString);
        LE(ansi.size(), 4);
      }
      Out += ansi;
      return;
    }
    std::u16string w;
    for (char32_t cp : cps) {
      if (cp >= 0x10000) {
        w += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        w += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
      } else {
        w += static_cast<char16_t>(cp);
      }
    }
    Byte(vaWString);
    LE(w.size(), 4);
    for (char16_t u : w) LE(u, 2);
  }

  void Value(int depth) {
    if (depth > MaxStreamNesting) Error("values nested too deeply");
    switch (Tok) {
      case TTok::Integer:
        Integer(IntValue);
        Next();
        return;
      case TTok::Float: {
        uint8_t ext[ExtendedSize];
        DoubleToExtended(FloatValue, ext);
        Byte(vaExtended);
        Out.append(reinterpret_cast<const char*>(ext), ExtendedSize);
        Next();
        return;
      }
      case TTok::String:
        StringValue(Chars);
        Next();
        return;
      case TTok::Ident:
        if (SameText(Text, "False"))
          Byte(vaFalse);
        else if (SameText(Text, "True"))
          Byte(vaTrue);
        else if (SameText(Text, "nil"))
          Byte(vaNil);
        else {
          Byte(vaIdent);
          ShortStr(Text);
        }
        Next();
        return;
      default:
        break;
    }
    if (IsSymbol('[')) {
      Next();
      Byte(vaSet);
      while (!IsSymbol(']')) {
        ShortStr(ExpectIdent());
        if (IsSymbol(','))
          Next();
        else if (!IsSymbol(']'))
          Error("',' or ']' expected");
      }
      Next();
      Byte(0);
    } else if (IsSymbol('(')) {
      Next();
      Byte(vaList);
      while (!IsSymbol(')')) {
        if (Tok == TTok::End) Error("')' expected");
        Value(depth + 1);
      }
      Next();
      Byte(vaNull);
    } else if (IsSymbol('{')) {
      // Hex digits up to "}", read straight from the text.
      std::string bytes;
      int hi = -1;
      while (true) {
        if (P >= S.size()) Error("'}' expected");
        const char c = S[P++];
        if (c == '}') break;
        if (c == '\n') ++Line;
        if (static_cast<unsigned char>(c) <= ' ') continue;
        const int d = HexDigit(c);
        if (d < 0) Error("hex digit expected");
        if (hi < 0) {
          hi = d;
        } else {
          bytes += static_cast<char>((hi << 4) | d);
          hi = -1;
        }
      }
      if (hi >= 0) Error("odd number of hex digits");
      Byte(vaBinary);
      LE(bytes.size(), 4);
      Out += bytes;
      Next();
    } else if (IsSymbol('<')) {
      Next();
      Byte(vaCollection);
      while (!IsSymbol('>')) {
        if (!IsKeyword("item")) Error("'item' expected");
        Next();
        if (IsSymbol('[')) {
          Next();
          if (Tok != TTok::Integer) Error("integer expected");
          Integer(IntValue);
          Next();
          Expect(']');
        }
        Byte(vaList);
        while (!IsKeyword("end")) {
          if (Tok == TTok::End) Error("'end' expected");
          Property(depth + 1);
        }
        Next();
        Byte(vaNull);
      }
      Next();
      Byte(vaNull);
    } else {
      Error("property value expected");
    }
  }

  const std::string& S;
  size_t P = 0;
  int Line = 1;
  TTok Tok = TTok::End;
  std::string Text;
  int64_t IntValue = 0;
  double FloatValue = 0;
  std::u32string Chars;
  std::string Out;
};

}  // namespace

void ObjectBinaryToText(TStream& input, TStream& output) {
  std::string text;
  {
    TReader reader(input);
    reader.ReadSignature();
    TBinaryToText conv(reader, text);
    conv.Object("", 0);
  }
  output.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void ObjectTextToBinary(TStream& input, TStream& output) {
  const int64_t left = input.Size() - input.Position();
  std::string text(static_cast<size_t>(left > 0 ? left : 0), '\0');
  if (!text.empty()) input.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  TTextToBinary conv(text);
  const std::string bin = conv.Run();
  output.WriteBuffer(bin.data(), static_cast<int64_t>(bin.size()));
}

}  // namespace tq
