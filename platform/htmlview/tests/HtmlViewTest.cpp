// The page view in a real window: controls for the page's fields, typed text
// and clicks reaching the page, the page's changes reaching the controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "HtmlView.h"
#include "PageSnippets.h"

namespace tq::html {
namespace {

std::string Snippet(const std::string& name) { return tq::testing::ReadPageSnippet(name); }

std::string WindowText(void* w) {
  char buf[1024] = "";
  GetWindowTextA(static_cast<HWND>(w), buf, sizeof buf);
  return buf;
}

class View : public ::testing::Test {
 protected:
  void SetUp() override {
    Pages["file://C:\\dist\\TQSetup.htm"] =
        "<frameset rows='0,*'><frame name=topFrame src='about:blank'><frame name=mainFrame src='Group.htm'></frameset>";
    Pages["file://C:\\dist\\Group.htm"] = Snippet("Group.ins");
    Pages["file://C:\\dist\\Progress.htm"] = Snippet("Progress.ins");
    Pages["file://C:\\dist\\CustInfo.htm"] = Snippet("CustInfo.ins");
    Parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    Page = std::make_unique<THtmlView>(Parent, Web);
    Web.OnDocumentComplete = [this](const std::string&) { Page->Refresh(); };
    Web.Navigate("file://C:\\dist\\TQSetup.htm");
    Pump();
  }
  void TearDown() override {
    Page.reset();
    DestroyWindow(Parent);
  }
  void Pump() {
    while (!Queue.empty()) {
      auto work = std::move(Queue.front());
      Queue.pop_front();
      work();
    }
  }
  IHtmlDocument* Frame() { return Web.Document()->Frame("mainFrame"); }
  HWND Control(const std::string& id) { return static_cast<HWND>(Page->ControlOf(Frame()->Item(id))); }

  std::map<std::string, std::string> Pages;
  std::deque<std::function<void()>> Queue;
  THtmlBrowser Web{[this](std::function<void()> w) { Queue.push_back(std::move(w)); },
                   [this](const std::string& url, std::string& page) {
                     auto it = Pages.find(url);
                     if (it == Pages.end()) return false;
                     page = it->second;
                     return true;
                   }};
  HWND Parent = nullptr;
  std::unique_ptr<THtmlView> Page;
};

TEST_F(View, EveryFieldOfThePageIsARealControl) {
  for (const char* id : {"CurrentUser", "AllUsers", "Group", "Browse2", "ExistingGroups", "rwiGroup", "rwiCancel"})
    EXPECT_NE(Control(id), nullptr) << id;
  char cls[64];
  GetClassNameA(Control("Group"), cls, sizeof cls);
  EXPECT_STREQ(cls, "Edit");
  GetClassNameA(Control("ExistingGroups"), cls, sizeof cls);
  EXPECT_STREQ(cls, "ListBox");
  EXPECT_EQ(WindowText(Control("rwiGroup")), "Next >");
  EXPECT_EQ(SendMessageA(Control("CurrentUser"), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(View, TypingAndClickingReachThePageAndThePagesChangesShow) {
  SetWindowTextA(Control("Group"), "Tools");
  EXPECT_EQ(Frame()->Item("Group")->Value(), "Tools");
  int nextClicks = 0;
  THtmlEventSink next(THtmlEventKind::Click, [&](IHtmlElement*) {
    ++nextClicks;
    return false;
  });
  next.Connect(Frame()->Item("rwiGroup"));
  SendMessageA(Control("rwiGroup"), BM_CLICK, 0, 0);
  EXPECT_EQ(nextClicks, 1);
  // A handler that changes the page: the controls follow.
  THtmlEventSink all(THtmlEventKind::Click, [&](IHtmlElement*) {
    IHtmlElement* list = Frame()->Item("ExistingGroups");
    IHtmlElement* o = Frame()->CreateElement("OPTION");
    o->SetText("Accessories");
    list->Add(o, list->Length());
    Frame()->Item("Group")->SetValue("Sample");
    return true;
  });
  all.Connect(Frame()->Item("AllUsers"));
  SendMessageA(Control("AllUsers"), BM_CLICK, 0, 0);
  EXPECT_TRUE(Frame()->Item("AllUsers")->Checked());
  EXPECT_FALSE(Frame()->Item("CurrentUser")->Checked());
  EXPECT_EQ(SendMessageA(Control("AllUsers"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(Control("CurrentUser"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(WindowText(Control("Group")), "Sample");
  EXPECT_EQ(SendMessageA(Control("ExistingGroups"), LB_GETCOUNT, 0, 0), 1);
  Frame()->Item("AllUsers")->SetDisabled(true);
  Page->Refresh();
  EXPECT_FALSE(IsWindowEnabled(Control("AllUsers")));
  // A double-click on the list.
  int doubles = 0;
  THtmlEventSink dbl(THtmlEventKind::DblClick, [&](IHtmlElement*) {
    ++doubles;
    return true;
  });
  dbl.Connect(Frame()->Item("ExistingGroups"));
  SendMessageA(Control("ExistingGroups"), LB_SETCURSEL, 0, 0);
  SendMessageA(Parent == nullptr ? nullptr : GetParent(Control("ExistingGroups")), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(Control("ExistingGroups")), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(Control("ExistingGroups")));
  EXPECT_EQ(doubles, 1);
}

TEST_F(View, TabInAFieldIsAKeyPressWithItsCodeAndFocusFollowsThePage) {
  Web.NavigateFrame("mainFrame", "file://C:\\dist\\CustInfo.htm");
  Pump();
  int code = 0;
  THtmlEventSink keys(THtmlEventKind::KeyPress, [&](IHtmlElement*) {
    code = Frame()->KeyCode();
    if (code == 9) Frame()->Item("CompanyName")->Focus();
    return true;
  });
  keys.Connect(Frame()->Item("CustomerName"));
  SendMessageA(Control("CustomerName"), WM_CHAR, 9, 0);
  EXPECT_EQ(code, 9);
  EXPECT_EQ(GetFocus(), Control("CompanyName"));
}

TEST_F(View, ASelectThatBecomesAListIsShownAsOne) {
  Pages["file://C:\\dist\\Custom.htm"] = Snippet("Custom.ins");
  Web.NavigateFrame("mainFrame", "file://C:\\dist\\Custom.htm");
  Pump();
  char cls[64];
  GetClassNameA(Control("Descriptions"), cls, sizeof cls);
  EXPECT_STREQ(cls, "ComboBox");
  IHtmlElement* descriptions = Frame()->Item("Descriptions");
  for (const char* text : {"Main files", "Help files"}) {
    IHtmlElement* o = Frame()->CreateElement("option");
    o->SetText(text);
    descriptions->Add(o, descriptions->Length());
  }
  descriptions->SetSize(descriptions->Length());
  Page->Refresh();
  GetClassNameA(Control("Descriptions"), cls, sizeof cls);
  EXPECT_STREQ(cls, "ListBox");
  EXPECT_EQ(SendMessageA(Control("Descriptions"), LB_GETCOUNT, 0, 0), 2);
  EXPECT_FALSE(IsWindowEnabled(Control("Descriptions")));  // the page has it disabled
}

TEST_F(View, TheAppletIsAProgressBar) {
  Web.NavigateFrame("mainFrame", "file://C:\\dist\\Progress.htm");
  Pump();
  IHtmlProgressApplet* pb = Frame()->Item("pbProgress")->Applet();
  pb->SetMin(0);
  pb->SetMax(300);
  pb->SetValue(150);
  Page->Refresh();
  HWND bar = Control("pbProgress");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 300);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 150);
}

struct LabelSearch {
  const char* text;
  HWND found;
};

BOOL CALLBACK FindLabel(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<LabelSearch*>(lp);
  if (WindowText(w) != s->text) return TRUE;
  s->found = w;
  return FALSE;
}

// A mouse click on a label's text clicks what it labels, as in a browser: the
// radio button changes and its sink runs.
TEST_F(View, AClickOnALabelClicksWhatItLabels) {
  LabelSearch search{"For all users of this computer", nullptr};
  EnumChildWindows(static_cast<HWND>(Page->Window()), FindLabel, reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.found, nullptr);
  int clicks = 0;
  THtmlEventSink all(THtmlEventKind::Click, [&](IHtmlElement*) {
    ++clicks;
    return true;
  });
  all.Connect(Frame()->Item("AllUsers"));
  SendMessageA(search.found, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(search.found, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(Frame()->Item("AllUsers")->Checked());
  EXPECT_EQ(SendMessageA(Control("AllUsers"), BM_GETCHECK, 0, 0), BST_CHECKED);
}

}  // namespace
}  // namespace tq::html
