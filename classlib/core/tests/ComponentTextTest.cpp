// The text form of component streams: exact round trips through our own
// converters, agreement with the independent checker, syntax errors and
// hostile input.
#include <gtest/gtest.h>

#include "ClassRegistry.h"
#include "ComponentChecker.h"
#include "ComponentStream.h"
#include "ComponentTestClasses.h"
#include "ComponentText.h"

namespace tq::testing {
namespace {

std::string ToText(const std::string& bin) {
  TMemoryStream in, out;
  in.WriteBuffer(bin.data(), static_cast<int64_t>(bin.size()));
  in.SetPosition(0);
  ObjectBinaryToText(in, out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
}

std::string ToBinary(const std::string& text) {
  TMemoryStream in, out;
  if (!text.empty()) in.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  in.SetPosition(0);
  ObjectTextToBinary(in, out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
}

// Every kind our writer produces; ascii=true keeps to characters that the
// checker stores as plain strings, so that its bytes can equal ours.
std::string SampleRecord(bool ascii) {
  TTestItem item;
  item.Text = "It's";
  item.SetTag(-1);
  item.Count = 100000;
  item.Limit = 300;
  item.Enabled = true;
  item.Caption = std::string(ascii ? "a\tb\r\n" : "a\tb\xE9\x80") + std::string(300, 'x');
  item.Files.Add("C:\\a.txt");
  item.Files.Add("");
  item.Font.SetColor(clBtnFace);
  item.Font.SetPitch(fpFixed);
  item.Font.SetStyle(FontStyle(fsBold) | FontStyle(fsUnderline));
  item.Options = 7;
  item.Border = bsNone;
  item.Color = 0x123456;
  item.Ratio = -2.75;
  item.Big = -(int64_t{1} << 40);
  static_cast<TTestColumn*>(item.Columns.Add())->Width = 40;
  static_cast<TTestColumn*>(item.Columns.Add())->Caption = "Size";
  item.Data = std::string("\x01\x00\xFF", 3) + std::string(40, 'A');
  return StreamOf(item);
}

std::string SamplePanel() {
  TTestPanel root(nullptr);
  root.SetName("Form1");
  auto* p = new TTestPanel(&root);
  p->SetName("Panel1");
  p->Left = -5;
  auto* d = new TTestData(&root);
  d->SetName("Data1");
  d->Title = "t";
  return StreamOf(root);
}

TEST(ComponentText, BinaryToTextAndBackIsExact) {
  for (const std::string& bin : {SampleRecord(true), SampleRecord(false), SamplePanel()}) {
    const std::string text = ToText(bin);
    EXPECT_EQ(ToBinary(text), bin) << text;
  }
}

TEST(ComponentText, TextLooksAsWindowLayoutsAreWritten) {
  const std::string text = NormalizeText(ToText(SamplePanel()));
  EXPECT_EQ(text, "object Form1: TTestPanel\n"
                  "  Left = 0\n"
                  "  object Panel1: TTestPanel\n"
                  "    Left = -5\n"
                  "  end\n"
                  "  object Data1: TTestData\n"
                  "    Title = 't'\n"
                  "    Flag = False\n"
                  "  end\n"
                  "end\n");
  const std::string item = NormalizeText(ToText(SampleRecord(false)));
  EXPECT_NE(item.find("  Caption = 'a'#9'b'#233#8364'xxx"), std::string::npos) << item;
  EXPECT_NE(item.find("  Ratio = -2.75\n"), std::string::npos);
  EXPECT_NE(item.find("  Files.Strings = (\n    'C:\\a.txt'\n    '')\n"), std::string::npos);
  EXPECT_NE(item.find("  Columns = <\n    item\n      Width = 40\n    end\n    item\n"), std::string::npos);
  EXPECT_NE(item.find("  Data = {\n    0100FF41"), std::string::npos);
}

TEST(ComponentText, TextSyntaxVariants) {
  struct Case {
    const char* Text;
    std::string Props;  // expected property bytes of the one record "TFoo"
  } cases[] = {
      {"object TFoo\n  A = $FF\nend", ShortStr("A") + Bytes({vaInt16, 0xFF, 0})},
      {"object TFoo\n  A = $80000005\nend", ShortStr("A") + Bytes({vaInt32, 5, 0, 0, 0x80})},
      {"object TFoo\n  A = -$10\nend", ShortStr("A") + Bytes({vaInt8, 0xF0})},
      {"object TFoo\n  A = 'ab' +\n    'cd'#65\nend", ShortStr("A") + Bytes({vaString, 5}) + "abcdA"},
      {"object TFoo\n  A = #$41'x'\nend", ShortStr("A") + Bytes({vaString, 2}) + "Ax"},
      {"object TFoo\n  A = ''''\nend", ShortStr("A") + Bytes({vaString, 1}) + "'"},
      {"object TFoo\n  A = 'caf'#233\nend", ShortStr("A") + Bytes({vaString, 4}) + "caf\xE9"},
      {"object TFoo\n  A = #8364\nend", ShortStr("A") + Bytes({vaString, 1, 0x80})},
      {"object TFoo\n  A = #1082\nend", ShortStr("A") + Bytes({vaWString, 1, 0, 0, 0, 0x3A, 0x04})},
      {"object TFoo\n  A = true\n  B = NIL\nend", ShortStr("A") + Bytes({vaTrue}) + ShortStr("B") + Bytes({vaNil})},
      {"object TFoo\n  A = [ ]\nend", ShortStr("A") + Bytes({vaSet, 0})},
      {"object TFoo\n  A = {\n 0a 0B }\nend", ShortStr("A") + Bytes({vaBinary, 2, 0, 0, 0, 10, 11})},
      {"object TFoo\n  A = ((1) ())\nend", ShortStr("A") + Bytes({vaList, vaList, vaInt8, 1, 0, vaList, 0, 0})},
      {"object TFoo\n  A = <item [2] X = 1 end>\nend",
       ShortStr("A") + Bytes({vaCollection, vaInt8, 2, vaList}) + ShortStr("X") + Bytes({vaInt8, 1, 0, 0})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToBinary(c.Text), Record("TFoo", c.Props)) << c.Text;
  }
  // Names, flags and child positions.
  EXPECT_EQ(ToBinary("inherited Root: TFoo [3]\n  inline C: TBar\n  end\nend"),
            "TPF0" + Bytes({0xF3, vaInt8, 3}) + ShortStr("TFoo") + ShortStr("Root") + Bytes({0, 0xF4}) +
                ShortStr("TBar") + ShortStr("C") + Bytes({0, 0, 0}));
}

TEST(ComponentText, SyntaxErrorsGiveTheLine) {
  struct Case {
    const char* Text;
    const char* Message;
  } cases[] = {
      {"", "Line 1: 'object' expected"},
      {"thing TFoo\nend", "Line 1: 'object' expected"},
      {"object TFoo\n  A 1\nend", "Line 2: '=' expected"},
      {"object TFoo\n  A = 'abc\nend", "Line 2: unterminated string"},
      {"object TFoo\n  A = 1\n", "Line 3: identifier expected"},
      {"object TFoo\n  A = [a b]\nend", "Line 2: ',' or ']' expected"},
      {"object TFoo\n  A = {12 3}\nend", "Line 2: odd number of hex digits"},
      {"object TFoo\n  A = {12 zz}\nend", "Line 2: hex digit expected"},
      {"object TFoo\n\n  A = 99999999999999999999\nend", "Line 3: integer too large"},
      {"object TFoo\n  A = #\nend", "Line 2: invalid character code"},
      {"object TFoo\n  A = <x>\nend", "Line 2: 'item' expected"},
      {"object TFoo\n  A = (1\n", "Line 3: ')' expected"},
      {"object TFoo\nend\nextra", "Line 3: end of text expected"},
      {"object TFoo\n  A = )\nend", "Line 2: property value expected"},
  };
  for (const auto& c : cases) {
    try {
      ToBinary(c.Text);
      ADD_FAILURE() << "accepted: " << c.Text;
    } catch (const EParserError& e) {
      EXPECT_EQ(e.Message, c.Message) << c.Text;
    }
  }
}

TEST(ComponentText, HostileInputIsRefusedCleanly) {
  // Deep nesting in text: refused, not recursed into.
  EXPECT_THROW(ToBinary("object TFoo\n  A = " + std::string(100000, '(') + "\nend"), EParserError);
  std::string objects;
  for (int i = 0; i < 100000; ++i) objects += "object A: TFoo\n";
  EXPECT_THROW(ToBinary(objects), EParserError);
  // Deep nesting in binary.
  std::string lists = Record("TFoo", ShortStr("A") + std::string(100000, static_cast<char>(vaList)));
  EXPECT_THROW(ToText(lists), EReadError);

  // Every cut of a text either converts or is a parser error.
  const std::string text = ToText(SampleRecord(false)) ;
  for (size_t len = 0; len < text.size(); len += 3) {
    try {
      ToBinary(text.substr(0, len));
    } catch (const EParserError&) {
    }
  }
  // Every cut and every flipped bit of a binary is a read error or converts.
  const std::string bin = SampleRecord(false);
  for (size_t len = 0; len < bin.size(); ++len) EXPECT_THROW(ToText(bin.substr(0, len)), EReadError) << len;
  for (size_t i = 0; i < bin.size(); ++i)
    for (int bit = 0; bit < 8; ++bit) {
      std::string s = bin;
      s[i] = static_cast<char>(s[i] ^ (1 << bit));
      try {
        ToText(s);
      } catch (const EReadError&) {
      }
    }
}

TEST(ComponentTextChecker, OurTextIsReadByTheCheckerAsOurBinary) {
  if (!CheckerAvailable()) GTEST_SKIP() << "the Free Pascal checker is not built here";
  for (const std::string& bin : {SampleRecord(true), SamplePanel()}) {
    EXPECT_EQ(RunChecker("tobinary", ToText(bin)), bin);
  }
  // With characters beyond ASCII the checker stores a wide string; the
  // values read are the same.
  TTestItem a, b;
  ReadInto(SampleRecord(false), a);
  ReadInto(RunChecker("tobinary", ToText(SampleRecord(false))), b);
  EXPECT_EQ(b.Caption, a.Caption);
}

TEST(ComponentTextChecker, CheckerTextIsReadByUsAsTheCheckerBinary) {
  if (!CheckerAvailable()) GTEST_SKIP() << "the Free Pascal checker is not built here";
  for (const std::string& bin : {SampleRecord(true), SamplePanel()}) {
    EXPECT_EQ(ToBinary(RunChecker("totext", bin)), bin);
  }
  for (const char* fixture : {"item-long.txt", "panel-children.txt"}) {
    const std::string text = ReadFixture(fixture);
    EXPECT_EQ(ToBinary(text), RunChecker("tobinary", text)) << fixture;
  }
  // The fixture with every value kind: same values whichever side encodes it.
  const std::string text = ReadFixture("item-values.txt");
  TTestItem ours, theirs;
  ReadInto(ToBinary(text), ours);
  ReadInto(RunChecker("tobinary", text), theirs);
  EXPECT_EQ(StreamOf(ours), StreamOf(theirs));
  EXPECT_EQ(ours.Caption, "Price: \x80 5, caf\xE9");
}

}  // namespace
}  // namespace tq::testing
