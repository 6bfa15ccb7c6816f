// The browser window over real page files: posted loads, frames, links.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "HtmlBrowser.h"
#include "TestFolder.h"

namespace tq::html {
namespace {

namespace fs = std::filesystem;

class Browser : public ::testing::Test {
 protected:
  void SetUp() override {
    Write("TQSetup.htm",
          "<html><frameset rows='0,*'><frame name=topFrame src='about:blank'>"
          "<frame name=mainFrame src='one.htm'></frameset></html>");
    Write("one.htm", "<p>One</p><a id=next href='two.htm'>Next</a><a id=cancel href=''>Cancel</a>");
    Write("two.htm", "<p>Two</p><input id=f type=text><applet id=pbProgress></applet>");
    Web.OnDocumentComplete = [this](const std::string& url) { Completed.push_back(url); };
  }
  void Write(const std::string& name, const std::string& text) { std::ofstream(Folder / name) << text; }
  std::string Url(const std::string& name) const { return "file://" + (Folder / name).string(); }
  void Pump() {
    while (!Queue.empty()) {
      auto work = std::move(Queue.front());
      Queue.pop_front();
      work();
    }
  }
  testing::TTestFolder Scratch{"tq-htmldom-"};
  fs::path Folder = Scratch.Path();
  std::deque<std::function<void()>> Queue;
  THtmlBrowser Web{[this](std::function<void()> work) { Queue.push_back(std::move(work)); }};
  std::vector<std::string> Completed;
};

TEST_F(Browser, NavigationIsPostedAndCompletesOncePerLoad) {
  Web.Navigate(Url("TQSetup.htm"));
  EXPECT_EQ(Web.Document(), nullptr);  // nothing until the queue runs
  Pump();
  ASSERT_EQ(Completed, (std::vector<std::string>{Url("TQSetup.htm")}));
  IHtmlDocument* main = Web.Document()->Frame("mainFrame");
  ASSERT_NE(main, nullptr);
  EXPECT_NE(main->Item("next"), nullptr);
  Web.NavigateFrame("mainFrame", Url("two.htm"));
  EXPECT_NE(Web.Document()->Frame("mainFrame")->Item("next"), nullptr);  // still the old page
  Pump();
  EXPECT_EQ(Completed.size(), 2u);
  EXPECT_NE(Web.Document()->Frame("mainFrame")->Item("pbProgress"), nullptr);
  EXPECT_NE(Web.Document()->Frame("mainFrame")->Item("pbProgress")->Applet(), nullptr);
}

TEST_F(Browser, ALinkNavigatesItsFrameUnlessItsHandlerSaysNo) {
  Web.Navigate(Url("TQSetup.htm"));
  Pump();
  bool allow = false;
  int clicks = 0;
  THtmlEventSink next(THtmlEventKind::Click, [&](IHtmlElement*) {
    ++clicks;
    return allow;
  });
  next.Connect(Web.Document()->Frame("mainFrame")->Item("next"));
  Web.Click(Web.Document()->Frame("mainFrame")->Item("next"));
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Completed.size(), 1u);  // cancelled
  allow = true;
  Web.Click(Web.Document()->Frame("mainFrame")->Item("next"));
  Pump();
  ASSERT_EQ(Completed.size(), 2u);
  EXPECT_EQ(Completed.back(), Url("two.htm"));
  EXPECT_EQ(next.Source(), nullptr);  // its element went with the page
  EXPECT_NE(Web.Document()->Frame("mainFrame")->Item("f"), nullptr);
}

TEST_F(Browser, AKeyPressCarriesItsKeyCodeAndAMissingPageIsEmpty) {
  Web.Navigate(Url("TQSetup.htm"));
  Pump();
  Web.NavigateFrame("mainFrame", Url("two.htm"));
  Pump();
  IHtmlDocument* frame = Web.Document()->Frame("mainFrame");
  int seen = -1;
  THtmlEventSink keys(THtmlEventKind::KeyPress, [&](IHtmlElement*) {
    seen = frame->KeyCode();
    return true;
  });
  keys.Connect(frame->Item("f"));
  Web.KeyPress(frame->Item("f"), 9);
  EXPECT_EQ(seen, 9);
  EXPECT_EQ(frame->KeyCode(), 0);
  Web.NavigateFrame("mainFrame", Url("missing.htm"));
  Pump();
  EXPECT_EQ(Completed.back(), Url("missing.htm"));
  EXPECT_EQ(Web.Document()->Frame("mainFrame")->Item("f"), nullptr);
}

TEST(BrowserUrls, RelativeLinksAndFileUrls) {
  EXPECT_EQ(THtmlBrowser::ResolveUrl("file://C:\\dist\\TQSetup.htm", "CustInfo.htm"), "file://C:\\dist\\CustInfo.htm");
  EXPECT_EQ(THtmlBrowser::ResolveUrl("file:///tmp/a/b.htm", "c.htm"), "file:///tmp/a/c.htm");
  EXPECT_EQ(THtmlBrowser::ResolveUrl("file://C:\\dist\\a.htm", ""), "file://C:\\dist\\a.htm");
  EXPECT_EQ(THtmlBrowser::ResolveUrl("file://C:\\dist\\a.htm", "about:blank"), "about:blank");
  EXPECT_EQ(THtmlBrowser::ResolveUrl("file://C:\\dist\\a.htm", "D:\\x.htm"), "file://D:\\x.htm");
#ifdef _WIN32
  EXPECT_EQ(THtmlBrowser::UrlToPath("file://C:\\dist\\a.htm"), "C:\\dist\\a.htm");
  EXPECT_EQ(THtmlBrowser::UrlToPath("file:///C:/my%20dist/a.htm"), "C:\\my dist\\a.htm");
#else
  EXPECT_EQ(THtmlBrowser::UrlToPath("file:///tmp/my%20dist/a.htm"), "/tmp/my dist/a.htm");
#endif
}

}  // namespace
}  // namespace tq::html
