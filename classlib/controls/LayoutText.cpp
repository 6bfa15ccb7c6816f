#include "LayoutText.h"

#include <cctype>
#include <cstdlib>

namespace tq {

namespace {

class TLayoutParser {
 public:
  explicit TLayoutParser(const std::string& text) : FText(text) {}

  TLayoutNode ParseRoot() {
    SkipBlanks();
    TLayoutNode node = ParseObject();
    SkipBlanks();
    if (FPos < FText.size()) Fail("text after the final \"end\"");
    return node;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw ELayoutError(Format("Layout line %d: %s", {FLine, what}));
  }

  void SkipBlanks() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++FPos;
      } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
        while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
      } else {
        break;
      }
    }
  }

  static bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
  static bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

  bool PeekIdent() {
    SkipBlanks();
    return FPos < FText.size() && IsIdentStart(FText[FPos]);
  }

  std::string Ident() {
    SkipBlanks();
    if (FPos >= FText.size() || !IsIdentStart(FText[FPos])) Fail("name expected");
    size_t start = FPos;
    while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
    return FText.substr(start, FPos - start);
  }

  // A property name: identifiers joined by ".".
  std::string DottedIdent() {
    std::string s = Ident();
    while (FPos < FText.size() && FText[FPos] == '.') {
      ++FPos;
      s += "." + Ident();
    }
    return s;
  }

  void Expect(char c) {
    SkipBlanks();
    if (FPos >= FText.size() || FText[FPos] != c) Fail(std::string("\"") + c + "\" expected");
    ++FPos;
  }

  bool Accept(char c) {
    SkipBlanks();
    if (FPos < FText.size() && FText[FPos] == c) {
      ++FPos;
      return true;
    }
    return false;
  }

  TLayoutNode ParseObject() {
    TLayoutNode node;
    node.Line = FLine;
    std::string kw = Ident();
    if (!SameText(kw, "object") && !SameText(kw, "inherited")) Fail("\"object\" expected");
    node.Name = Ident();
    if (Accept(':')) {
      node.ClassName = Ident();
    } else {
      node.ClassName = node.Name;  // "object TFoo" without a name
      node.Name.clear();
    }
    for (;;) {
      if (!PeekIdent()) Fail("property, object or \"end\" expected");
      size_t save = FPos;
      int saveLine = FLine;
      std::string word = Ident();
      if (SameText(word, "end")) break;
      if (SameText(word, "object") || SameText(word, "inherited")) {
        FPos = save;
        FLine = saveLine;
        node.Children.push_back(ParseObject());
        continue;
      }
      FPos = save;
      FLine = saveLine;
      TLayoutProperty prop;
      prop.Line = FLine;
      prop.Name = DottedIdent();
      Expect('=');
      prop.Value = ParseValue();
      node.Properties.push_back(std::move(prop));
    }
    return node;
  }

  std::string StringPiece() {
    // One run of quoted parts and #nn characters written side by side.
    std::string s;
    for (;;) {
      if (FPos < FText.size() && FText[FPos] == '\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\n') Fail("unterminated string");
          char c = FText[FPos++];
          if (c == '\'') {
            if (FPos < FText.size() && FText[FPos] == '\'') {
              s += '\'';
              ++FPos;
            } else {
              break;
            }
          } else {
            s += c;
          }
        }
      } else if (FPos < FText.size() && FText[FPos] == '#') {
        ++FPos;
        size_t start = FPos;
        while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
        if (start == FPos) Fail("character code expected after \"#\"");
        int code = std::atoi(FText.substr(start, FPos - start).c_str());
        if (code > 255) Fail("character code above 255");
        s += static_cast<char>(code);
      } else {
        break;
      }
    }
    return s;
  }

  TLayoutValue ParseValue() {
    SkipBlanks();
    if (FPos >= FText.size()) Fail("value expected");
    TLayoutValue v;
    char c = FText[FPos];
    if (c == '\'' || c == '#') {
      v.Kind = TLayoutValue::lvString;
      v.Str = StringPiece();
      for (;;) {
        size_t save = FPos;
        int saveLine = FLine;
        if (!Accept('+')) break;
        SkipBlanks();
        if (FPos >= FText.size() || (FText[FPos] != '\'' && FText[FPos] != '#')) {
          FPos = save;
          FLine = saveLine;
          Fail("string expected after \"+\"");
        }
        v.Str += StringPiece();
      }
    } else if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c)) || c == '$') {
      size_t start = FPos;
      if (c == '-' || c == '+') ++FPos;
      bool hex = FPos < FText.size() && FText[FPos] == '$';
      if (hex) ++FPos;
      bool isFloat = false;
      while (FPos < FText.size()) {
        char d = FText[FPos];
        if (std::isdigit(static_cast<unsigned char>(d)) || (hex && std::isxdigit(static_cast<unsigned char>(d)))) {
          ++FPos;
        } else if (!hex && (d == '.' || d == 'e' || d == 'E')) {
          isFloat = true;
          ++FPos;
          if ((d == 'e' || d == 'E') && FPos < FText.size() && (FText[FPos] == '-' || FText[FPos] == '+')) ++FPos;
        } else {
          break;
        }
      }
      std::string num = FText.substr(start, FPos - start);
      if (isFloat) {
        v.Kind = TLayoutValue::lvFloat;
        if (!TryStrToFloat(num, v.Float)) Fail("bad number " + num);
      } else {
        v.Kind = TLayoutValue::lvInteger;
        if (!TryStrToInt64(num, v.Int)) Fail("bad number " + num);
      }
    } else if (IsIdentStart(c)) {
      v.Kind = TLayoutValue::lvIdent;
      v.Str = DottedIdent();
    } else if (c == '[') {
      ++FPos;
      v.Kind = TLayoutValue::lvSet;
      if (!Accept(']')) {
        do {
          v.Set.push_back(Ident());
        } while (Accept(','));
        Expect(']');
      }
    } else if (c == '(') {
      ++FPos;
      v.Kind = TLayoutValue::lvList;
      while (!Accept(')')) v.List.push_back(ParseValue());
    } else if (c == '{') {
      ++FPos;
      v.Kind = TLayoutValue::lvBinary;
      int nibble = -1;
      for (;;) {
        SkipBlanks();
        if (FPos >= FText.size()) Fail("unterminated binary data");
        char d = FText[FPos++];
        if (d == '}') break;
        if (!std::isxdigit(static_cast<unsigned char>(d))) Fail("hex digit expected");
        int x = std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : (std::toupper(d) - 'A' + 10);
        if (nibble < 0) {
          nibble = x;
        } else {
          v.Binary.push_back(static_cast<uint8_t>(nibble * 16 + x));
          nibble = -1;
        }
      }
      if (nibble >= 0) Fail("odd number of hex digits");
    } else {
      Fail(std::string("unexpected \"") + c + "\"");
    }
    return v;
  }

  const std::string& FText;
  size_t FPos = 0;
  int FLine = 1;
};

}  // namespace

int TLayoutValue::AsInt() const {
  if (Kind != lvInteger) throw ELayoutError("integer expected, found " + Describe());
  return static_cast<int>(Int);
}

double TLayoutValue::AsFloat() const {
  if (Kind == lvInteger) return static_cast<double>(Int);
  if (Kind != lvFloat) throw ELayoutError("number expected, found " + Describe());
  return Float;
}

const std::string& TLayoutValue::AsString() const {
  if (Kind != lvString && Kind != lvIdent) throw ELayoutError("string expected, found " + Describe());
  return Str;
}

bool TLayoutValue::AsBool() const {
  if (Kind == lvIdent && SameText(Str, "True")) return true;
  if (Kind == lvIdent && SameText(Str, "False")) return false;
  throw ELayoutError("True or False expected, found " + Describe());
}

std::vector<std::string> TLayoutValue::AsStrings() const {
  if (Kind != lvList) throw ELayoutError("list of strings expected, found " + Describe());
  std::vector<std::string> out;
  for (const TLayoutValue& e : List) out.push_back(e.AsString());
  return out;
}

std::string TLayoutValue::Describe() const {
  switch (Kind) {
    case lvInteger: return IntToStr(Int);
    case lvFloat: return FloatToStr(Float);
    case lvString: return QuotedStr(Str);
    case lvIdent: return Str;
    case lvSet: return "a set";
    case lvList: return "a list";
    case lvBinary: return "binary data";
  }
  return "?";
}

const TLayoutProperty* TLayoutNode::Find(const std::string& name) const {
  for (const TLayoutProperty& p : Properties)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

TLayoutNode ParseLayoutText(const std::string& text) { return TLayoutParser(text).ParseRoot(); }

}  // namespace tq
