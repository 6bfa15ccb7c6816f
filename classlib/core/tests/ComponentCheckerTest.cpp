// The component stream against an independent converter (a Free Pascal
// program, built in the native build): what we write it decodes to the
// expected text, and what it encodes from the text fixtures we read.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ClassRegistry.h"
#include "ComponentStream.h"
#include "ComponentTestClasses.h"
#include "ComponentChecker.h"

namespace tq::testing {
namespace {

TTestItem& RichItem(TTestItem& item) {
  item.Text = "It's";
  item.SetTag(-1);
  item.Count = 100000;
  item.Limit = 300;
  item.Enabled = true;
  item.Caption = std::string("a\tb\xE9") + std::string(300, 'x');
  item.Files.Add("C:\\a.txt");
  item.Files.Add("");
  item.Font.SetColor(clBtnFace);
  item.Font.SetPitch(fpFixed);
  item.Font.SetStyle(FontStyle(fsBold) | FontStyle(fsUnderline));
  item.Options = 7;
  item.Border = bsNone;
  item.Color = 0x123456;
  item.Ratio = -1.25e-7;
  item.Big = int64_t{1} << 40;
  static_cast<TTestColumn*>(item.Columns.Add())->Width = 40;
  static_cast<TTestColumn*>(item.Columns.Add())->Caption = "Size";
  item.Data = std::string("\x01\x00\xFF", 3) + std::string(40, 'A');
  return item;
}

TEST(ComponentChecker, WriterOutputDecodesToTheExpectedText) {
  if (!CheckerAvailable()) GTEST_SKIP() << "the Free Pascal checker is not built here";
  TTestItem item;
  RichItem(item);
  const std::string text = NormalizeText(RunChecker("totext", StreamOf(item)));
  const std::string expected = R"(object TTestItem
  Name = 'It''s'
  Tag = -1
  Count = 100000
  Limit = 300
  Enabled = True
  Caption = 'a'#9'b'#233')" + std::string(300, 'x') + R"('
  Files.Strings = (
    'C:\a.txt'
    ''
  )
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Pitch = fpFixed
  Font.Style = [fsBold, fsUnderline]
  Options = [toFirst, toSecond, toThird]
  Border = bsNone
  Color = 1193046
  Ratio = -1.24999999999999994344E-0007
  Big = 1099511627776
  Columns = <
    item
      Width = 40
    end
    item
      Width = 0
      Caption = 'Size'
    end>
  Data = {
    0100FF4141414141414141414141414141414141414141414141414141414141
    4141414141414141414141
  }
end
)";
  EXPECT_EQ(text, expected);

  // And the checker's own encoding of that text reads back to the same values.
  TTestItem back;
  ReadInto(RunChecker("tobinary", text), back);
  EXPECT_EQ(back.Text, item.Text);
  EXPECT_EQ(back.Tag(), -1);
  EXPECT_EQ(back.Count, item.Count);
  EXPECT_EQ(back.Limit, 300);
  EXPECT_EQ(back.Caption, item.Caption);
  EXPECT_EQ(back.Files.Text(), item.Files.Text());
  EXPECT_EQ(back.Font.Color(), clBtnFace);
  EXPECT_EQ(back.Font.Pitch(), fpFixed);
  EXPECT_EQ(back.Font.Style(), item.Font.Style());
  EXPECT_EQ(back.Options, 7u);
  EXPECT_EQ(back.Border, bsNone);
  EXPECT_EQ(back.Color, 0x123456);
  EXPECT_EQ(back.Ratio, item.Ratio);
  EXPECT_EQ(back.Big, item.Big);
  ASSERT_EQ(back.Columns.Count(), 2);
  EXPECT_EQ(static_cast<TTestColumn*>(back.Columns.Items(1))->Caption, "Size");
  EXPECT_EQ(back.Data, item.Data);
}

TEST(ComponentChecker, ChildRecordsDecodeAsNestedObjects) {
  if (!CheckerAvailable()) GTEST_SKIP() << "the Free Pascal checker is not built here";
  TTestPanel root(nullptr);
  root.SetName("Form1");
  auto* p = new TTestPanel(&root);
  p->SetName("Panel1");
  auto* inner = new TTestData(&root);
  inner->SetName("Data1");
  inner->Flag = true;
  const std::string text = NormalizeText(RunChecker("totext", StreamOf(root)));
  EXPECT_EQ(text, "object Form1: TTestPanel\n"
                  "  Left = 0\n"
                  "  object Panel1: TTestPanel\n"
                  "    Left = 0\n"
                  "  end\n"
                  "  object Data1: TTestData\n"
                  "    Flag = True\n"
                  "  end\n"
                  "end\n");
}

TEST(ComponentChecker, TreeNodeListDecodesAsBinaryData) {
  if (!CheckerAvailable()) GTEST_SKIP() << "the Free Pascal checker is not built here";
  TTestTree tree(nullptr);
  tree.SetName("trTargetDir");
  tree.BorderStyle = bsNone;
  tree.Indent = 19;
  tree.Items.Texts = {"<Home Directory>"};
  EXPECT_EQ(NormalizeText(RunChecker("totext", StreamOf(tree))),
            "object trTargetDir: TTestTree\n"
            "  Left = 0\n"
            "  BorderStyle = bsNone\n"
            "  Indent = 19\n"
            "  Items.Data = {\n"
            "    01000000103C486F6D65204469726563746F72793E\n"
            "  }\n"
            "end\n");
}

TEST(ComponentChecker, FixtureWithEveryTextValueKindReadsIntoTheItem) {
  if (!CheckerAvailable()) GTEST_SKIP() << "the Free Pascal checker is not built here";
  const std::string bin = RunChecker("tobinary", ReadFixture("item-values.txt"));
  TTestItem item;
  item.Files.Add("stale");
  ReadInto(bin, item);
  EXPECT_EQ(item.Text, "Choice's name");
  EXPECT_EQ(item.Tag(), 12);
  EXPECT_EQ(item.Count, -1000);
  EXPECT_EQ(item.CountSets, 1);
  EXPECT_EQ(item.Limit, 70000);
  EXPECT_TRUE(item.Enabled);
  EXPECT_FALSE(item.Hidden);
  EXPECT_EQ(item.Caption, "Price: \x80 5, caf\xE9");  // a wide string in the checker's stream
  ASSERT_EQ(item.Files.Count(), 3);
  EXPECT_EQ(item.Files[0], "C:\\Program Files\\a.exe");
  EXPECT_EQ(item.Files[1], "");
  EXPECT_EQ(item.Files[2], "line two");
  EXPECT_EQ(item.Font.Charset(), ANSI_CHARSET);
  EXPECT_EQ(item.Font.Color(), clHighlight);
  EXPECT_EQ(item.Font.Height(), -13);
  EXPECT_EQ(item.Font.Size(), 10);
  EXPECT_EQ(item.Font.Name(), "Tahoma");
  EXPECT_EQ(item.Font.Pitch(), fpVariable);
  EXPECT_EQ(item.Font.Style(), FontStyle(fsItalic) | FontStyle(fsStrikeOut));
  EXPECT_EQ(item.Options, (1u << toSecond) | (1u << toThird));
  EXPECT_EQ(item.Border, bsNone);
  EXPECT_EQ(item.Color, 0x123456);
  EXPECT_DOUBLE_EQ(item.Ratio, 2.5e-3);
  EXPECT_EQ(item.Big, -12345678901LL);
  ASSERT_EQ(item.Columns.Count(), 2);
  EXPECT_EQ(static_cast<TTestColumn*>(item.Columns.Items(0))->Width, 120);
  EXPECT_EQ(static_cast<TTestColumn*>(item.Columns.Items(0))->Caption, "File");
  EXPECT_EQ(static_cast<TTestColumn*>(item.Columns.Items(1))->Caption, "");
  EXPECT_EQ(item.Data, std::string("\x00\x01\x02\x03\xFE\xFF", 6));
  EXPECT_EQ(item.LinkSets, 1);
}

TEST(ComponentChecker, FixtureWithLongStringsReadsIntoTheItem) {
  if (!CheckerAvailable()) GTEST_SKIP() << "the Free Pascal checker is not built here";
  const std::string block = "0123456789012345678901234567890123456789012345678901234567890123";
  TTestItem item;
  ReadInto(RunChecker("tobinary", ReadFixture("item-long.txt")), item);
  EXPECT_EQ(item.Caption, block + block + block + block + "end");
  ASSERT_EQ(item.Files.Count(), 2);
  EXPECT_EQ(item.Files[0], "short");
  EXPECT_EQ(item.Files[1], block + block + block + block + "tail");
}

TEST(ComponentChecker, FixtureWithChildrenMakesAndNestsThem) {
  if (!CheckerAvailable()) GTEST_SKIP() << "the Free Pascal checker is not built here";
  RegisterClass<TTestPanel>();
  RegisterClass<TTestData>();
  TTestPanel root(nullptr);
  ReadInto(RunChecker("tobinary", ReadFixture("panel-children.txt")), root);
  EXPECT_EQ(root.Name(), "Form1");
  EXPECT_EQ(root.Left, 8);
  ASSERT_EQ(root.ComponentCount(), 3);
  auto* panel = dynamic_cast<TTestPanel*>(root.FindComponent("Panel1"));
  auto* inner = dynamic_cast<TTestPanel*>(root.FindComponent("Inner"));
  auto* data = dynamic_cast<TTestData*>(root.FindComponent("Data1"));
  ASSERT_TRUE(panel && inner && data);
  EXPECT_EQ(panel->Left, 16);
  EXPECT_EQ(inner->Left, 24);
  EXPECT_EQ(inner->ParentSeen, panel);
  EXPECT_EQ(panel->ParentSeen, &root);
  EXPECT_EQ(data->Title, "x");
  EXPECT_TRUE(data->Flag);
  EXPECT_EQ(inner->LoadedCalls, 1);
}

}  // namespace
}  // namespace tq::testing
