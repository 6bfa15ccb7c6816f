#pragma once
// Window layouts in their text form:
//
//   object DemoForm: TDemoForm
//     Caption = 'Demo'
//     Items.Strings = (
//       'one'
//       'two')
//     OnCreate = FormCreate
//     object buOK: TButton
//       Left = 8
//     end
//   end
//
// Values: integers, floats, strings ('..' with '' for a quote, #nn characters,
// pieces joined by "+" or written side by side), identifiers (True, alClient,
// handler names), sets [a, b], lists ( v v ... ) and binary data { hex }.
#include <cstdint>
#include <string>
#include <vector>

#include "SysUtils.h"

namespace tq {

TQ_EXCEPTION_CLASS(ELayoutError, Exception);

struct TLayoutValue {
  enum TKind { lvInteger, lvFloat, lvString, lvIdent, lvSet, lvList, lvBinary };
  TKind Kind = lvInteger;
  int64_t Int = 0;
  double Float = 0;
  std::string Str;                 // string text or identifier
  std::vector<std::string> Set;    // set members
  std::vector<TLayoutValue> List;  // list elements
  std::vector<uint8_t> Binary;     // binary data

  bool IsString() const { return Kind == lvString; }
  bool IsIdent() const { return Kind == lvIdent; }
  // Readers that raise ELayoutError on a value of the wrong kind.
  int AsInt() const;
  double AsFloat() const;
  const std::string& AsString() const;  // a string (or an identifier)
  bool AsBool() const;                  // True / False
  std::vector<std::string> AsStrings() const;  // a list of strings
  std::string Describe() const;
};

struct TLayoutProperty {
  std::string Name;  // may be dotted: "Font.Name"
  TLayoutValue Value;
  int Line = 0;
};

struct TLayoutNode {
  std::string Name;
  std::string ClassName;
  int Line = 0;
  std::vector<TLayoutProperty> Properties;
  std::vector<TLayoutNode> Children;
  const TLayoutProperty* Find(const std::string& name) const;  // case-insensitive
};

// Parses one layout; a syntax error raises ELayoutError "Layout line %d: %s".
TLayoutNode ParseLayoutText(const std::string& text);

}  // namespace tq
