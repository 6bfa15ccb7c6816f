// The document model over the setup page snippets and small pages.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "HtmlDocument.h"
#include "PageSnippets.h"

namespace tq::html {
namespace {

using tq::testing::ReadPageSnippet;

TEST(HtmlDocument, TheSetupPagesCarryTheirIds) {
  struct TCase {
    const char* Snippet;
    std::vector<std::string> Ids;
  } cases[] = {
      {"CustInfo.ins", {"rwiCustomerInfo", "CustomerName", "CompanyName", "Key", "rwiCancel"}},
      {"Location.ins", {"rwiLocation", "Browse", "Location", "rwiCancel"}},
      {"Group.ins", {"rwiGroup", "CurrentUser", "AllUsers", "ExistingGroups", "Browse2", "Group", "rwiCancel"}},
      {"License.ins", {"rwiLicense", "rbyes", "rbno", "rwiCancel"}},
      {"Custom.ins", {"rwiCustom", "Features", "Descriptions", "rwiCancel"}},
      {"InstallType.ins", {"rwiType", "Typical", "Custom", "Complete", "rwiCancel"}},
      {"Install.ins", {"rwiInstall", "Summary"}},
      {"Progress.ins", {"pbProgress"}},
      {"Finish.ins", {"Finish"}},
  };
  for (const TCase& c : cases) {
    THtmlDocument doc;
    doc.Parse(ReadPageSnippet(c.Snippet));
    for (const std::string& id : c.Ids) {
      IHtmlElement* e = doc.Item(id);
      ASSERT_NE(e, nullptr) << c.Snippet << " " << id;
      EXPECT_EQ(e->Id(), id);
    }
    EXPECT_EQ(doc.Item("rwiNothing"), nullptr);
  }
}

TEST(HtmlDocument, TheStartPageIsAFramesetWithMainFrame) {
  THtmlDocument doc;
  doc.Parse(ReadPageSnippet("setup.ins"));
  ASSERT_EQ(doc.Frames().size(), 2u);
  EXPECT_EQ(doc.Frames()[1].Name, "mainFrame");
  EXPECT_NE(doc.Frame("mainFrame"), nullptr);
  EXPECT_EQ(doc.Frame("nope"), nullptr);
}

TEST(HtmlDocument, FieldsHoldTheirStateLikeABrowser) {
  THtmlDocument doc;
  doc.Parse(
      "<p id=t>Fish &amp; chips&nbsp;<b>now</b><br>and  then</p>"
      "<input type=text id=name value='Ann &quot;A&quot;'>"
      "<input type=radio name=g id=one checked><input type=radio name=g id=two>"
      "<textarea id=sum>\nline 1\r\nline 2</textarea>"
      "<select id=s><option value=a>First<option selected>Second</select>"
      "<button id=b disabled>Go</button><applet id=pb></applet>");
  EXPECT_EQ(doc.Item("t")->InnerText(), "Fish & chips\xA0now\nand then");
  EXPECT_EQ(doc.Item("name")->Value(), "Ann \"A\"");
  doc.Item("name")->SetValue("Bo");
  EXPECT_EQ(doc.Item("name")->Value(), "Bo");
  EXPECT_TRUE(doc.Item("one")->Checked());
  doc.Item("two")->SetChecked(true);
  EXPECT_FALSE(doc.Item("one")->Checked());
  EXPECT_EQ(doc.Item("sum")->Value(), "line 1\r\nline 2");
  doc.Item("sum")->SetValue("Summary:\r\n   x");
  EXPECT_EQ(doc.Item("sum")->Value(), "Summary:\r\n   x");
  IHtmlElement* s = doc.Item("s");
  EXPECT_EQ(s->Length(), 2);
  EXPECT_EQ(s->SelectedIndex(), 1);
  EXPECT_EQ(s->Value(), "Second");
  EXPECT_EQ(s->Option(0)->Value(), "a");
  EXPECT_EQ(s->Option(0)->Text(), "First");
  EXPECT_TRUE(doc.Item("b")->Disabled());
  doc.Item("b")->SetDisabled(false);
  EXPECT_FALSE(doc.Item("b")->Disabled());
  doc.Item("name")->Focus();
  EXPECT_EQ(doc.FocusedElement(), doc.Item("name"));
  ASSERT_NE(doc.Item("pb")->Applet(), nullptr);
  EXPECT_EQ(doc.Item("name")->Applet(), nullptr);
  IHtmlProgressApplet* pb = doc.Item("pb")->Applet();
  pb->SetMin(0);
  pb->SetMax(250);
  pb->SetValue(125);
  EXPECT_EQ(doc.Item("pb")->Applet()->GetMax(), 250);
  EXPECT_EQ(doc.Item("pb")->Applet()->GetValue(), 125);
}

TEST(HtmlDocument, SelectOptionsAreAddedRemovedAndSelected) {
  THtmlDocument doc;
  doc.Parse("<select id=f size=1></select>");
  IHtmlElement* f = doc.Item("f");
  f->SetMultiple(true);
  EXPECT_TRUE(f->Multiple());
  for (const char* key : {"Main", "Help", "Samples"}) {
    IHtmlElement* o = doc.CreateElement("option");
    o->SetText(std::string("   ") + key);
    o->SetValue(key);
    f->Add(o, f->Length());
  }
  IHtmlElement* first = doc.CreateElement("OPTION");
  first->SetText("Core");
  f->Add(first, 0);
  ASSERT_EQ(f->Length(), 4);
  EXPECT_EQ(f->Option(0)->Text(), "Core");
  EXPECT_EQ(f->Option(1)->Text(), "Main");  // shown text: blanks collapse
  EXPECT_EQ(f->Option(2)->Value(), "Help");
  EXPECT_EQ(f->SelectedIndex(), -1);
  f->Option(1)->SetSelected(true);
  f->Option(3)->SetSelected(true);
  EXPECT_TRUE(f->Option(1)->Selected());
  EXPECT_TRUE(f->Option(3)->Selected());
  EXPECT_EQ(f->SelectedIndex(), 1);
  f->SetSize(f->Length());
  EXPECT_EQ(f->Size(), 4);
  for (int i = f->Length() - 1; i >= 0; --i) f->Remove(i);
  EXPECT_EQ(f->Length(), 0);
  EXPECT_EQ(f->Option(0), nullptr);
  // A single drop-down always has one selected.
  doc.Parse("<select id=g><option>A<option>B</select>");
  EXPECT_EQ(doc.Item("g")->SelectedIndex(), 0);
  doc.Item("g")->Option(1)->SetSelected(true);
  EXPECT_FALSE(doc.Item("g")->Option(0)->Selected());
  EXPECT_EQ(doc.Item("g")->Value(), "B");
}

TEST(HtmlDocument, ASinkIsConnectedToOneElementAtATime) {
  THtmlDocument doc;
  doc.Parse("<a id=x href=''>x</a><a id=y href=''>y</a>");
  std::vector<std::string> clicked;
  THtmlEventSink sink(THtmlEventKind::Click, [&](IHtmlElement* e) {
    clicked.push_back(e->Id());
    return false;
  });
  sink.Connect(doc.Item("x"));
  sink.Connect(doc.Item("y"));
  EXPECT_TRUE(doc.Find("x")->Dispatch(THtmlEventKind::Click));
  EXPECT_FALSE(doc.Find("y")->Dispatch(THtmlEventKind::Click));
  EXPECT_TRUE(doc.Find("y")->Dispatch(THtmlEventKind::KeyPress));
  EXPECT_EQ(clicked, (std::vector<std::string>{"y"}));
  doc.Parse("<p>other page</p>");  // the element goes: the sink is left unconnected
  EXPECT_EQ(sink.Source(), nullptr);
}

}  // namespace
}  // namespace tq::html
