// The binary component stream: exact bytes written, values read back through
// the setters, children, errors, and hostile input.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "ClassRegistry.h"
#include "ComponentStream.h"
#include "ComponentTestClasses.h"
#include "ExtendedFloat.h"

namespace tq::testing {
namespace {

std::string Prop(const std::string& name, const std::string& value) { return ShortStr(name) + value; }
std::string Int8(int v) { return Bytes({vaInt8, v & 0xFF}); }
std::string Ident(const std::string& s) { return static_cast<char>(vaIdent) + ShortStr(s); }
std::string Str(const std::string& s) { return static_cast<char>(vaString) + ShortStr(s); }
std::string LE32(uint32_t v) { return Bytes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)}); }

// The font sub-properties of a default TFont under "Font.".
std::string DefaultFontProps() {
  return Prop("Font.Charset", Ident("DEFAULT_CHARSET")) + Prop("Font.Color", Ident("clWindowText")) +
         Prop("Font.Height", Int8(-11)) + Prop("Font.Name", Str("MS Sans Serif")) +
         Prop("Font.Style", Bytes({vaSet, 0}));
}

std::string ReadError(const std::string& bytes, TComponent& c) {
  try {
    ReadInto(bytes, c);
  } catch (const Exception& e) {
    return e.Message;
  }
  return "";
}

TEST(ComponentStreamWrite, DefaultItemWritesOnlyWhatHasNoDefault) {
  TTestItem item;
  const std::string expected =
      "TPF0" + ShortStr("TTestItem") + ShortStr("") + Prop("Count", Int8(0)) + Prop("Enabled", Bytes({vaFalse})) +
      DefaultFontProps() + Bytes({0, 0});
  EXPECT_EQ(StreamOf(item), expected);
}

TEST(ComponentStreamWrite, IntegersUseTheSmallestTag) {
  struct Case {
    int64_t Value;
    std::string Bytes;
  } cases[] = {
      {0, Bytes({2, 0})},
      {127, Bytes({2, 0x7F})},
      {-128, Bytes({2, 0x80})},
      {128, Bytes({3, 0x80, 0})},
      {-129, Bytes({3, 0x7F, 0xFF})},
      {32767, Bytes({3, 0xFF, 0x7F})},
      {-32768, Bytes({3, 0, 0x80})},
      {32768, Bytes({4, 0, 0x80, 0, 0})},
      {-32769, Bytes({4, 0xFF, 0x7F, 0xFF, 0xFF})},
      {INT32_MAX, Bytes({4, 0xFF, 0xFF, 0xFF, 0x7F})},
      {INT32_MIN, Bytes({4, 0, 0, 0, 0x80})},
  };
  for (const auto& c : cases) {
    TTestItem item;
    item.Count = static_cast<int>(c.Value);
    const std::string s = StreamOf(item);
    const std::string key = ShortStr("Count");
    const size_t at = s.find(key);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(s.substr(at + key.size(), c.Bytes.size()), c.Bytes) << c.Value;
    TTestItem back;
    ReadInto(s, back);
    EXPECT_EQ(back.Count, c.Value);
  }
  // 64-bit values beyond 32 bits use tag 19.
  TTestItem big;
  big.Big = -(int64_t{1} << 40) - 3;
  const std::string s = StreamOf(big);
  const std::string key = ShortStr("Big");
  const size_t at = s.find(key);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(static_cast<uint8_t>(s[at + key.size()]), vaInt64);
  TTestItem back;
  ReadInto(s, back);
  EXPECT_EQ(back.Big, big.Big);
}

TEST(ComponentStreamWrite, StringsUpTo255CharactersUseTag6AndLongerTag12) {
  for (size_t len : {size_t{1}, size_t{255}, size_t{256}, size_t{70000}}) {
    TTestItem item;
    item.Caption = std::string(len, 'q');
    item.Caption[0] = '\'';
    item.Caption[len - 1] = '\xE9';
    const std::string s = StreamOf(item);
    const std::string key = ShortStr("Caption");
    const size_t at = s.find(key) + key.size();
    if (len <= 255) {
      EXPECT_EQ(static_cast<uint8_t>(s[at]), vaString);
      EXPECT_EQ(static_cast<uint8_t>(s[at + 1]), len);
    } else {
      EXPECT_EQ(static_cast<uint8_t>(s[at]), vaLString);
      EXPECT_EQ(s.substr(at + 1, 4), LE32(static_cast<uint32_t>(len)));
    }
    TTestItem back;
    ReadInto(s, back);
    EXPECT_EQ(back.Caption, item.Caption);
  }
}

TEST(ComponentStreamWrite, TagFollowsOwnNameAndLeadsOtherwise) {
  TTestItem item;
  item.Text = "Choice one";  // the item's own Name: any text
  item.SetTag(5);
  item.SetName("Item1");  // the component name, in the header
  const std::string s = StreamOf(item);
  const std::string head = "TPF0" + ShortStr("TTestItem") + ShortStr("Item1") +
                           Prop("Name", Str("Choice one")) + Prop("Tag", Int8(5)) + Prop("Count", Int8(0));
  EXPECT_EQ(s.substr(0, head.size()), head);

  TTestData data;
  data.SetName("Data1");
  data.SetTag(-300);
  data.Title = "T";
  EXPECT_EQ(StreamOf(data), "TPF0" + ShortStr("TTestData") + ShortStr("Data1") +
                                Prop("Tag", Bytes({vaInt16, 0xD4, 0xFE})) + Prop("Title", Str("T")) +
                                Prop("Flag", Bytes({vaFalse})) + Bytes({0, 0}));
}

TEST(ComponentStreamWrite, EveryKindInOrderWithNestedPaths) {
  TTestItem item;
  item.Limit = 9;
  item.Enabled = true;
  item.Hidden = true;
  item.Files.Add("C:\\a.txt");
  item.Files.Add("");
  item.Font.SetColor(clBlue);
  item.Font.SetCharset(ANSI_CHARSET);
  item.Font.SetHeight(-13);
  item.Font.SetName("");
  item.Font.SetPitch(fpFixed);
  item.Font.SetStyle(FontStyle(fsBold) | FontStyle(fsStrikeOut));
  item.Options = (1u << toFirst) | (1u << toThird);
  item.Border = bsNone;
  item.Color = 0x123456;  // no name: an integer
  item.Ratio = 1.5;
  static_cast<TTestColumn*>(item.Columns.Add())->Width = 40;
  auto* col = static_cast<TTestColumn*>(item.Columns.Add());
  col->Caption = "Size";
  item.Data = std::string("\x01\x00\xFF", 3);

  uint8_t ext[10];
  DoubleToExtended(1.5, ext);
  const std::string expected =
      "TPF0" + ShortStr("TTestItem") + ShortStr("") + Prop("Count", Int8(0)) + Prop("Limit", Int8(9)) +
      Prop("Enabled", Bytes({vaTrue})) + Prop("Hidden", Bytes({vaTrue})) +
      Prop("Files.Strings", Bytes({vaList}) + Str("C:\\a.txt") + Str("") + Bytes({0})) +
      Prop("Font.Charset", Ident("ANSI_CHARSET")) + Prop("Font.Color", Ident("clBlue")) +
      Prop("Font.Height", Int8(-13)) + Prop("Font.Pitch", Ident("fpFixed")) +
      Prop("Font.Style", Bytes({vaSet}) + ShortStr("fsBold") + ShortStr("fsStrikeOut") + Bytes({0})) +
      Prop("Options", Bytes({vaSet}) + ShortStr("toFirst") + ShortStr("toThird") + Bytes({0})) +
      Prop("Border", Ident("bsNone")) + Prop("Color", Bytes({vaInt32, 0x56, 0x34, 0x12, 0})) +
      Prop("Ratio", Bytes({vaExtended}) + std::string(reinterpret_cast<char*>(ext), 10)) +
      Prop("Columns", Bytes({vaCollection, vaList}) + Prop("Width", Int8(40)) + Bytes({0, vaList}) +
                          Prop("Width", Int8(0)) + Prop("Caption", Str("Size")) + Bytes({0, 0})) +
      Prop("Data", Bytes({vaBinary}) + LE32(3) + std::string("\x01\x00\xFF", 3)) + Bytes({0, 0});
  EXPECT_EQ(StreamOf(item), expected);

  TTestItem back;
  ReadInto(expected, back);
  EXPECT_EQ(back.Limit, 9);
  EXPECT_TRUE(back.Enabled);
  EXPECT_TRUE(back.Hidden);
  ASSERT_EQ(back.Files.Count(), 2);
  EXPECT_EQ(back.Files[0], "C:\\a.txt");
  EXPECT_EQ(back.Files[1], "");
  EXPECT_EQ(back.Font.Color(), clBlue);
  EXPECT_EQ(back.Font.Charset(), ANSI_CHARSET);
  EXPECT_EQ(back.Font.Height(), -13);
  EXPECT_EQ(back.Font.Name(), "MS Sans Serif");  // not stored when empty: unchanged
  EXPECT_EQ(back.Font.Pitch(), fpFixed);
  EXPECT_EQ(back.Font.Style(), FontStyle(fsBold) | FontStyle(fsStrikeOut));
  EXPECT_EQ(back.Options, item.Options);
  EXPECT_EQ(back.Border, bsNone);
  EXPECT_EQ(back.Color, 0x123456);
  EXPECT_EQ(back.Ratio, 1.5);
  ASSERT_EQ(back.Columns.Count(), 2);
  EXPECT_EQ(static_cast<TTestColumn*>(back.Columns.Items(0))->Width, 40);
  EXPECT_EQ(static_cast<TTestColumn*>(back.Columns.Items(1))->Caption, "Size");
  EXPECT_EQ(back.Data, item.Data);
}

TEST(ComponentStreamWrite, NestedCustomDataFollowsTheDisplayProperties) {
  TTestTree tree(nullptr);
  tree.SetName("trChoices");
  tree.BorderStyle = bsNone;
  tree.HideSelection = false;
  tree.Indent = 19;
  tree.Items.Texts = {"Choices", "Sub"};
  const std::string data = LE32(2) + ShortStr("Choices") + ShortStr("Sub");
  const std::string expected = "TPF0" + ShortStr("TTestTree") + ShortStr("trChoices") + Prop("Left", Int8(0)) +
                               Prop("BorderStyle", Ident("bsNone")) + Prop("HideSelection", Bytes({vaFalse})) +
                               Prop("Indent", Int8(19)) +
                               Prop("Items.Data", Bytes({vaBinary}) + LE32(static_cast<uint32_t>(data.size())) + data) +
                               Bytes({0, 0});
  EXPECT_EQ(StreamOf(tree), expected);

  TTestTree back(nullptr);
  back.Items.Texts = {"old"};
  ReadInto(expected, back);
  EXPECT_EQ(back.Name(), "trChoices");
  EXPECT_EQ(back.BorderStyle, bsNone);
  EXPECT_FALSE(back.HideSelection);
  EXPECT_EQ(back.Indent, 19);
  EXPECT_EQ(back.Items.Texts, (std::vector<std::string>{"Choices", "Sub"}));

  // An empty tree has no node list; a defined name elsewhere is unknown.
  TTestTree empty(nullptr);
  EXPECT_EQ(StreamOf(empty), "TPF0" + ShortStr("TTestTree") + ShortStr("") + Prop("Left", Int8(0)) + Bytes({0, 0}));
  EXPECT_EQ(ReadError(Record("TTestTree", Prop("Data", Bytes({vaBinary}) + LE32(0))), empty),
            "Property does not exist");
  // A node list cut short inside its own bytes is a read error too.
  EXPECT_EQ(ReadError(Record("TTestTree", Prop("Items.Data", Bytes({vaBinary}) + LE32(4) + LE32(3))), empty),
            "Stream read error");
}

TEST(ComponentStreamRead, ValuesGoThroughSettersAndListsAreReplaced) {
  TTestItem item;
  item.Files.Add("old1");
  item.Files.Add("old2");
  item.FilesChanges = 0;
  item.FontChanges = 0;
  ReadInto(Record("TWhatever", Prop("Count", Int8(3)) + Prop("Files.Strings", Bytes({vaList}) + Str("new") + Bytes({0})) +
                                   Prop("Font.Color", Ident("clRed")) + Prop("Link", Bytes({vaNil}))),
           item);
  EXPECT_EQ(item.Count, 3);
  EXPECT_EQ(item.CountSets, 1);
  ASSERT_EQ(item.Files.Count(), 1);
  EXPECT_EQ(item.Files[0], "new");
  EXPECT_EQ(item.FilesChanges, 1);  // one change for the whole list
  EXPECT_EQ(item.FontChanges, 1);
  EXPECT_EQ(item.Font.Color(), clRed);
  EXPECT_EQ(item.LinkSets, 1);
}

TEST(ComponentStreamRead, RootTakesTheStoredNameAndIgnoresTheClassName) {
  TComponent owner(nullptr);
  auto* item = new TTestItem(&owner);
  item->SetName("Before");
  ReadInto("TPF0" + ShortStr("TSomethingElse") + ShortStr("trTargetDir") + Bytes({0, 0}), *item);
  EXPECT_EQ(item->Name(), "trTargetDir");
  ReadInto(Record("TTestItem", ""), *item);
  EXPECT_EQ(item->Name(), "");
  EXPECT_EQ(item->ComponentState() & (csLoading | csReading), 0u);
}

TEST(ComponentStreamRead, EveryReadableValueTag) {
  auto le64 = [](uint64_t v) {
    std::string s;
    for (int i = 0; i < 8; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  float f = 2.5f;
  uint32_t fbits;
  std::memcpy(&fbits, &f, 4);
  double d = 45000.25;
  uint64_t dbits;
  std::memcpy(&dbits, &d, 8);
  struct Case {
    const char* What;
    std::string Props;
    std::function<void(const TTestItem&)> Check;
  } cases[] = {
      {"int8", Prop("Count", Int8(-5)), [](const TTestItem& i) { EXPECT_EQ(i.Count, -5); }},
      {"int16", Prop("Count", Bytes({vaInt16, 0x34, 0x12})), [](const TTestItem& i) { EXPECT_EQ(i.Count, 0x1234); }},
      {"int32", Prop("Count", Bytes({vaInt32, 1, 2, 3, 4})), [](const TTestItem& i) { EXPECT_EQ(i.Count, 0x04030201); }},
      {"int64 in range", Prop("Count", Bytes({vaInt64}) + le64(static_cast<uint64_t>(-7))),
       [](const TTestItem& i) { EXPECT_EQ(i.Count, -7); }},
      {"int64", Prop("Big", Bytes({vaInt64}) + le64(uint64_t{1} << 62)),
       [](const TTestItem& i) { EXPECT_EQ(i.Big, int64_t{1} << 62); }},
      {"unsigned colour", Prop("Color", Bytes({vaInt64}) + le64(0x80000005u)),
       [](const TTestItem& i) { EXPECT_EQ(i.Color, clWindow); }},
      {"identifier", Prop("Color", Ident("clbtnface")), [](const TTestItem& i) { EXPECT_EQ(i.Color, clBtnFace); }},
      {"extended", Prop("Ratio", Bytes({vaExtended, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F})),
       [](const TTestItem& i) { EXPECT_EQ(i.Ratio, 1.5); }},
      {"single", Prop("Ratio", Bytes({vaSingle}) + LE32(fbits)), [](const TTestItem& i) { EXPECT_EQ(i.Ratio, 2.5); }},
      {"currency", Prop("Ratio", Bytes({vaCurrency}) + le64(12345)),
       [](const TTestItem& i) { EXPECT_DOUBLE_EQ(i.Ratio, 1.2345); }},
      {"date", Prop("Ratio", Bytes({vaDate}) + le64(dbits)), [](const TTestItem& i) { EXPECT_EQ(i.Ratio, 45000.25); }},
      {"integer as float", Prop("Ratio", Int8(3)), [](const TTestItem& i) { EXPECT_EQ(i.Ratio, 3.0); }},
      {"string", Prop("Caption", Str("abc")), [](const TTestItem& i) { EXPECT_EQ(i.Caption, "abc"); }},
      {"long string", Prop("Caption", Bytes({vaLString}) + LE32(2) + "xy"),
       [](const TTestItem& i) { EXPECT_EQ(i.Caption, "xy"); }},
      {"wide string", Prop("Caption", Bytes({vaWString}) + LE32(4) + Bytes({'a', 0, 0xE9, 0, 0xAC, 0x20, 0x3A, 0x04})),
       [](const TTestItem& i) { EXPECT_EQ(i.Caption, "a\xE9\x80?"); }},
      {"utf-8 string", Prop("Caption", Bytes({vaUTF8String}) + LE32(6) + "a\xC3\xA9\xE2\x82\xAC"),
       [](const TTestItem& i) { EXPECT_EQ(i.Caption, "a\xE9\x80"); }},
      {"false/true", Prop("Enabled", Bytes({vaTrue})) + Prop("Hidden", Bytes({vaTrue})) + Prop("Hidden", Bytes({vaFalse})),
       [](const TTestItem& i) {
         EXPECT_TRUE(i.Enabled);
         EXPECT_FALSE(i.Hidden);
       }},
      {"boolean identifier", Prop("Enabled", Ident("TRUE")), [](const TTestItem& i) { EXPECT_TRUE(i.Enabled); }},
      {"enumeration", Prop("Border", Ident("bsNone")), [](const TTestItem& i) { EXPECT_EQ(i.Border, bsNone); }},
      {"set", Prop("Options", Bytes({vaSet}) + ShortStr("toSecond") + Bytes({0})),
       [](const TTestItem& i) { EXPECT_EQ(i.Options, 1u << toSecond); }},
      {"empty set", Prop("Font.Style", Bytes({vaSet, 0})), [](const TTestItem& i) { EXPECT_EQ(i.Font.Style(), 0u); }},
      {"list", Prop("Files.Strings", Bytes({vaList}) + Str("a") + Bytes({vaLString}) + LE32(1) + "b" + Bytes({0})),
       [](const TTestItem& i) { EXPECT_EQ(i.Files.Text(), "a\r\nb\r\n"); }},
      {"binary", Prop("Data", Bytes({vaBinary}) + LE32(2) + "zz"), [](const TTestItem& i) { EXPECT_EQ(i.Data, "zz"); }},
      {"empty binary", Prop("Data", Bytes({vaBinary}) + LE32(0)), [](const TTestItem& i) { EXPECT_EQ(i.Data, ""); }},
      {"nil", Prop("Link", Bytes({vaNil})), [](const TTestItem& i) { EXPECT_EQ(i.LinkSets, 1); }},
      {"collection with order values",
       Prop("Columns", Bytes({vaCollection, vaInt8, 0, vaList}) + Prop("Width", Int8(1)) +
                           Bytes({0, vaInt8, 1, vaList, 0, 0})),
       [](const TTestItem& i) {
         ASSERT_EQ(i.Columns.Count(), 2);
         EXPECT_EQ(static_cast<TTestColumn*>(i.Columns.Items(0))->Width, 1);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TTestItem item;
    ReadInto(Record("TTestItem", c.Props), item);
    c.Check(item);
  }
}

TEST(ComponentStreamRead, ErrorsNameTheFault) {
  const std::string sig = "TPF0" + ShortStr("TTestItem") + ShortStr("");
  struct Case {
    const char* What;
    std::string Bytes;
    const char* Message;
  } cases[] = {
      {"empty input", "", "Stream read error"},
      {"short signature", "TPF", "Stream read error"},
      {"bad signature", "TPF1" + ShortStr("TTestItem") + Bytes({0, 0, 0}), "Invalid stream format"},
      {"ends in class name", "TPF0" + Bytes({9}) + "TTest", "Stream read error"},
      {"ends before property end", sig + Prop("Count", Int8(1)), "Stream read error"},
      {"ends before children end", sig + Bytes({0}), "Stream read error"},
      {"unknown property", Record("TTestItem", Prop("Nope", Int8(1))), "Property does not exist"},
      {"unknown nested", Record("TTestItem", Prop("Font.Nope", Int8(1))), "Property does not exist"},
      {"through a non-object", Record("TTestItem", Prop("Count.Strings", Int8(1))), "Property does not exist"},
      {"empty path part", Record("TTestItem", Prop("Font..Color", Int8(1))), "Property does not exist"},
      {"list without Strings", Record("TTestItem", Prop("Files", Bytes({vaList, 0}))), "Invalid property value"},
      {"Strings on a non-list", Record("TTestItem", Prop("Font.Strings", Bytes({vaList, 0}))), "Property does not exist"},
      {"string for integer", Record("TTestItem", Prop("Count", Str("1"))), "Invalid property value"},
      {"integer for string", Record("TTestItem", Prop("Caption", Int8(1))), "Invalid property value"},
      {"integer for boolean", Record("TTestItem", Prop("Enabled", Int8(1))), "Invalid property value"},
      {"int64 beyond integer", Record("TTestItem", Prop("Count", Bytes({vaInt64, 0, 0, 0, 0, 1, 0, 0, 0}))),
       "Invalid property value"},
      {"unknown colour", Record("TTestItem", Prop("Color", Ident("clPlaid"))), "Invalid property value"},
      {"identifier without names", Record("TTestItem", Prop("Count", Ident("clRed"))), "Invalid property value"},
      {"unknown enumeration", Record("TTestItem", Prop("Border", Ident("bsDouble"))), "Invalid property value"},
      {"enumeration out of range", Record("TTestItem", Prop("Border", Int8(2))), "Invalid property value"},
      {"unknown set element", Record("TTestItem", Prop("Options", Bytes({vaSet}) + ShortStr("toFourth") + Bytes({0}))),
       "Invalid property value"},
      {"non-string in list", Record("TTestItem", Prop("Files.Strings", Bytes({vaList}) + Int8(1) + Bytes({0}))),
       "Invalid property value"},
      {"nil without setter", Record("TTestItem", Prop("Font", Bytes({vaNil}))), "Invalid property value"},
      {"binary of wrong kind", Record("TTestItem", Prop("Data", Str("x"))), "Invalid property value"},
      {"unknown tag", Record("TTestItem", Prop("Caption", Bytes({0x40}))), "Invalid property value"},
      {"string length beyond end", sig + ShortStr("Caption") + Bytes({vaString, 200}) + "abc", "Stream read error"},
      {"long string length beyond end", sig + ShortStr("Caption") + Bytes({vaLString, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}),
       "Stream read error"},
      {"negative long string", sig + ShortStr("Caption") + Bytes({vaLString, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}),
       "Stream read error"},
      {"wide string beyond end", sig + ShortStr("Caption") + Bytes({vaWString, 0x00, 0x00, 0x00, 0x40, 0, 0}),
       "Stream read error"},
      {"binary beyond end", sig + ShortStr("Data") + Bytes({vaBinary, 0x10, 0, 0, 0, 1, 2, 0, 0}), "Stream read error"},
      {"child of unknown class", sig + Bytes({0}) + ShortStr("TNoSuchClass") + ShortStr("x") + Bytes({0, 0, 0}),
       "Class TNoSuchClass not found"},
      {"bad component name", "TPF0" + ShortStr("TTestItem") + ShortStr("no good") + Bytes({0, 0}),
       "'no good' is not a valid component name"},
  };
  for (const auto& c : cases) {
    TTestItem item;
    EXPECT_EQ(ReadError(c.Bytes, item), c.Message) << c.What;
    EXPECT_EQ(item.ComponentState() & (csLoading | csReading), 0u) << c.What;
  }
  // The read errors are EReadError.
  TTestItem item;
  EXPECT_THROW(ReadInto("TPF1", item), EReadError);
  EXPECT_THROW(ReadInto(Record("TTestItem", Prop("Nope", Int8(1))), item), EReadError);
}

TEST(ComponentStreamRead, RecordsFollowEachOtherInOneStream) {
  TTestItem a, b;
  a.Count = 1;
  a.Caption = std::string(300, 'a');
  b.Count = 2;
  TMemoryStream ms;
  WriteComponent(ms, a);
  const int32_t between = 77;
  ms.WriteBuffer(&between, 4);
  WriteComponent(ms, b);
  ms.WriteBuffer(&between, 4);
  ms.SetPosition(0);

  TTestItem ra, rb;
  ReadComponent(ms, ra);
  int32_t x = 0;
  ms.ReadBuffer(&x, 4);
  EXPECT_EQ(x, 77);
  ReadComponent(ms, rb);
  ms.ReadBuffer(&x, 4);
  EXPECT_EQ(x, 77);
  EXPECT_EQ(ms.Position(), ms.Size());
  EXPECT_EQ(ra.Caption, a.Caption);
  EXPECT_EQ(rb.Count, 2);
}

TEST(ComponentStreamChildren, OwnedChildrenRoundTripAsNestedRecords) {
  RegisterClass<TTestPanel>();
  RegisterClass<TTestData>();
  TTestPanel root(nullptr);
  root.SetName("Form1");
  auto* p1 = new TTestPanel(&root);
  p1->SetName("Panel1");
  p1->Left = 10;
  auto* d1 = new TTestData(&root);
  d1->SetName("Data1");
  d1->Title = "x";
  const std::string s = StreamOf(root);
  // Items keep an empty children list; here the children follow the
  // properties, each a full record with its own (empty) children list.
  const std::string expected = "TPF0" + ShortStr("TTestPanel") + ShortStr("Form1") + Prop("Left", Int8(0)) +
                               Bytes({0}) + ShortStr("TTestPanel") + ShortStr("Panel1") + Prop("Left", Int8(10)) +
                               Bytes({0, 0}) + ShortStr("TTestData") + ShortStr("Data1") + Prop("Title", Str("x")) +
                               Prop("Flag", Bytes({vaFalse})) + Bytes({0, 0, 0});
  EXPECT_EQ(s, expected);

  TTestPanel fresh(nullptr);
  ReadInto(s, fresh);
  ASSERT_EQ(fresh.ComponentCount(), 2);
  auto* rp = dynamic_cast<TTestPanel*>(fresh.FindComponent("Panel1"));
  ASSERT_NE(rp, nullptr);
  EXPECT_EQ(rp->Left, 10);
  EXPECT_EQ(rp->ParentSeen, &fresh);
  EXPECT_EQ(rp->LoadedCalls, 1);
  EXPECT_EQ(fresh.LoadedCalls, 1);
  EXPECT_EQ(dynamic_cast<TTestData*>(fresh.FindComponent("Data1"))->Title, "x");

  // An existing child of that name is read into, not made again.
  TTestPanel again(nullptr);
  auto* existing = new TTestPanel(&again);
  existing->SetName("panel1");
  ReadInto(s, again);
  EXPECT_EQ(again.ComponentCount(), 2);
  EXPECT_EQ(existing->Left, 10);
}

TEST(ComponentStreamChildren, GrandchildrenNestAndFlagsArePassedOver) {
  RegisterClass<TTestPanel>();
  // root > A (flags: inherited + child position 3) > B
  const std::string s = "TPF0" + ShortStr("TTestPanel") + ShortStr("Root") + Bytes({0}) +
                        Bytes({0xF3, vaInt8, 3}) + ShortStr("TTestPanel") + ShortStr("A") + Bytes({0}) +
                        ShortStr("TTestPanel") + ShortStr("B") + Prop("Left", Int8(4)) + Bytes({0, 0}) +
                        Bytes({0}) + Bytes({0});
  TTestPanel root(nullptr);
  ReadInto(s, root);
  auto* a = dynamic_cast<TTestPanel*>(root.FindComponent("A"));
  auto* b = dynamic_cast<TTestPanel*>(root.FindComponent("B"));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->ParentSeen, &root);
  EXPECT_EQ(b->ParentSeen, a);
  EXPECT_EQ(b->Left, 4);
}

TEST(ComponentStreamRobustness, DeepNestingIsRefusedWithoutRecursion) {
  RegisterClass<TTestPanel>();
  std::string s = "TPF0" + ShortStr("TTestPanel") + ShortStr("") + Bytes({0});
  const int depth = 100000;
  for (int i = 0; i < depth; ++i) s += ShortStr("TTestPanel") + ShortStr("") + Bytes({0});
  s += std::string(depth + 1, '\0');
  TTestPanel root(nullptr);
  EXPECT_EQ(ReadError(s, root), "Invalid stream format");

}

// A record with every kind of value, for the hostile-input tests.
std::string RichRecord() {
  TTestItem item;
  item.Text = "Name text";
  item.SetTag(1000);
  item.Count = 70000;
  item.Enabled = true;
  item.Caption = std::string(260, 'c');
  item.Files.Add("one");
  item.Files.Add("two");
  item.Font.SetPitch(fpVariable);
  item.Font.SetStyle(FontStyle(fsItalic));
  item.Options = 2;
  item.Border = bsNone;
  item.Color = clBlue;
  item.Ratio = -2.75;
  item.Big = int64_t{1} << 50;
  static_cast<TTestColumn*>(item.Columns.Add())->Caption = "c";
  item.Data = "bin";
  return StreamOf(item);
}

TEST(ComponentStreamRobustness, EveryTruncationIsAStreamReadError) {
  const std::string full = RichRecord();
  {
    TTestItem item;
    ReadInto(full, item);
    EXPECT_EQ(item.Count, 70000);
  }
  for (size_t len = 0; len < full.size(); ++len) {
    TTestItem item;
    try {
      ReadInto(full.substr(0, len), item);
      ADD_FAILURE() << "accepted at " << len;
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), "Stream read error") << len;
    }
  }
}

// Owned children two levels deep, for the hostile-input tests.
std::string PanelRecord() {
  TTestPanel root(nullptr);
  root.SetName("Root");
  auto* a = new TTestPanel(&root);
  a->SetName("A");
  a->Left = 300;
  auto* d = new TTestData(&root);
  d->SetName("D");
  d->Title = "title";
  return StreamOf(root);
}

TEST(ComponentStreamRobustness, FlippedBitsNeverCrash) {
  RegisterClass<TTestPanel>();
  RegisterClass<TTestData>();
  struct Case {
    std::string Bytes;
    std::function<TComponent*()> Make;
  } cases[] = {
      {RichRecord(), [] { return new TTestItem(nullptr); }},
      {PanelRecord(), [] { return new TTestPanel(nullptr); }},
  };
  for (const auto& c : cases) {
    int failures = 0;
    for (size_t i = 0; i < c.Bytes.size(); ++i) {
      for (int bit = 0; bit < 8; ++bit) {
        std::string s = c.Bytes;
        s[i] = static_cast<char>(s[i] ^ (1 << bit));
        std::unique_ptr<TComponent> target(c.Make());
        try {
          ReadInto(s, *target);
        } catch (const Exception&) {
          ++failures;
        }
        EXPECT_EQ(target->ComponentState() & (csLoading | csReading), 0u);
      }
    }
    EXPECT_GT(failures, 0);
    // Cut short anywhere: a read error, and the children made so far stay owned.
    for (size_t len = 0; len < c.Bytes.size(); ++len) {
      std::unique_ptr<TComponent> target(c.Make());
      EXPECT_THROW(ReadInto(c.Bytes.substr(0, len), *target), EReadError) << len;
    }
  }
}

}  // namespace
}  // namespace tq::testing
