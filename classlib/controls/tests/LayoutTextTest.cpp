// Reading layouts in their text form.
#include "LayoutText.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

TEST(LayoutText, ReadsObjectsPropertiesAndEveryKindOfValue) {
  TLayoutNode root = ParseLayoutText(R"(object MainForm: TMainForm
  Caption = 'It''s ' + 'joined'#13#10'x'
  Left = -12
  Tag = $1F
  Ratio = 1.5
  Align = alClient
  Font.Style = [fsBold, fsItalic]
  Anchors = []
  Items.Strings = (
    'one'
    'two')
  Picture.Data = {
    0A0b FF}
  object Child1: TButton
    OnClick = Child1Click
  end
end
)");
  EXPECT_EQ(root.Name, "MainForm");
  EXPECT_EQ(root.ClassName, "TMainForm");
  ASSERT_EQ(root.Properties.size(), 9u);
  EXPECT_EQ(root.Find("caption")->Value.AsString(), "It's joined\r\nx");
  EXPECT_EQ(root.Find("Left")->Value.AsInt(), -12);
  EXPECT_EQ(root.Find("Tag")->Value.AsInt(), 31);
  EXPECT_DOUBLE_EQ(root.Find("Ratio")->Value.AsFloat(), 1.5);
  EXPECT_TRUE(root.Find("Align")->Value.IsIdent());
  EXPECT_EQ(root.Find("Font.Style")->Value.Set, (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_TRUE(root.Find("Anchors")->Value.Set.empty());
  EXPECT_EQ(root.Find("Items.Strings")->Value.AsStrings(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(root.Find("Picture.Data")->Value.Binary, (std::vector<uint8_t>{0x0A, 0x0B, 0xFF}));
  ASSERT_EQ(root.Children.size(), 1u);
  EXPECT_EQ(root.Children[0].Name, "Child1");
  EXPECT_EQ(root.Children[0].Line, 14);
  EXPECT_EQ(root.Children[0].Properties[0].Value.AsString(), "Child1Click");
}

TEST(LayoutText, SyntaxErrorsNameTheLine) {
  struct TCase {
    const char* Text;
    const char* Message;
  };
  const TCase cases[] = {
      {"object A: TA\n  Caption = 'open\nend\n", "Layout line 2: unterminated string"},
      {"object A: TA\n  Left 5\nend\n", "Layout line 2: \"=\" expected"},
      {"object A: TA\n  Left = 5\n", "Layout line 3: property, object or \"end\" expected"},
      {"thing A: TA\nend\n", "Layout line 1: \"object\" expected"},
      {"object A: TA\nend\nend\n", "Layout line 3: text after the final \"end\""},
      {"object A: TA\n  D = {ABC}\nend\n", "Layout line 2: odd number of hex digits"},
  };
  for (const TCase& c : cases) {
    try {
      ParseLayoutText(c.Text);
      ADD_FAILURE() << "no error for " << c.Text;
    } catch (const ELayoutError& e) {
      EXPECT_EQ(e.Message, c.Message);
    }
  }
}

TEST(LayoutText, ValueReadersRefuseTheWrongKind) {
  TLayoutNode root = ParseLayoutText("object A: TA\n  Left = 'x'\n  Visible = Maybe\nend\n");
  EXPECT_THROW(root.Find("Left")->Value.AsInt(), ELayoutError);
  EXPECT_THROW(root.Find("Visible")->Value.AsBool(), ELayoutError);
}

}  // namespace
}  // namespace tq
