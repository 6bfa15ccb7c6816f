// Vantrel's real main window in-process: each case makes TForm1 on a program
// folder of its own holding the start page, the setup pages (the snippets of
// data/pages with their Next links pointing where the case says) and a small
// package, lets the window load the page through its own message queue, acts
// on the page through the page browser as a user would (clicks, typed values,
// key presses), and reads the window's fields, the page shown, the prompts
// asked (scripted), setup.ini and Vantrel.log.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "FrontEndTestSupport.h"
#include "LineLog.h"
#include "PageSnippets.h"
#include "Prompts.h"
#include "SetupIni.h"
#include "VantrelForm.h"
#include "seldirdlg2.h"

namespace tq {
namespace {

using testing::CaseFolder;
using testing::ReadAll;
using testing::WriteAll;
using html::IHtmlDocument;
using html::IHtmlElement;

// Runs the window's messages until done() holds; a generous guard against a
// window that never gets there.
bool PumpUntil(const std::function<bool()>& done) {
  for (int round = 0; round < 6000; ++round) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

// Runs the messages already waiting (a posted navigation or close included).
void PumpWaiting() {
  for (int round = 0; round < 20; ++round) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(5);
  }
}

// A setup page from its snippet, its Next link (and, when asked, its cancel
// link) pointing at next.
std::string Page(const std::string& snippet, const std::string& next, bool cancelNavigates = false) {
  std::string page = tq::testing::ReadPageSnippet(snippet + ".ins");
  page = std::regex_replace(page, std::regex(R"re((id="rwi(?!Cancel)\w+" href=")")re"), "$1" + next + "\"");
  if (cancelNavigates) page = std::regex_replace(page, std::regex(R"re((id="rwiCancel" href=")")re"), "$1" + next + "\"");
  return "<html><head><title>Setup</title></head><body>\n" + page + "\n</body></html>\n";
}

// Main (Level 3) with Help (4) below it, and Samples (5).
class VantrelWindow : public ::testing::Test {
 public:
  void SetUp() override {
    if (Folder.empty()) Folder = CaseFolder("VantrelWindow");
    testing::TTestPackage package(Folder + "Test.msi");
    package.Features = {{"Main", "", "Main files", 1, 3}, {"Help", "Main", "Help files", 2, 4},
                        {"Samples", "", "Sample files", 3, 5}};
    package.Write();
    WriteAll(Folder + "Next.htm", "<html><body><p id=\"reached\">the next page</p></body></html>");
    WriteAll(Folder + "TqCustom.htm", Page("Custom", "TqInstall.htm"));
    WriteAll(Folder + "TqInstall.htm", Page("Install", "Next.htm"));
  }
  void TearDown() override {
    Form.reset();
    GroupDlg.reset();
    ProgramLog().Close();
    for (const std::string& p : Prompts.Problems()) ADD_FAILURE() << p;
  }

  // Makes the window on the start page showing page (written as name.htm).
  void Open(const std::string& name, const std::string& page) {
    WriteAll(Folder + name + ".htm", page);
    WriteAll(Folder + "TQSetup.htm",
             "<html><frameset rows=\"0,*\"><frame name=\"topFrame\" src=\"about:blank\">"
             "<frame name=\"mainFrame\" src=\"" + name + ".htm\"></frameset></html>");
    Form = std::make_unique<TForm1>(nullptr, TVantrelStart{Folder, "Test.msi", "Next.htm", "TqCustom.htm", "TqProgress.htm"});
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Shows(name + ".htm"); })) << name;
  }

  IHtmlDocument* Frame() { return Form->MainFrame(); }
  IHtmlElement* Item(const std::string& id) { return Frame() ? Frame()->Item(id) : nullptr; }
  bool Shows(const std::string& file) {
    IHtmlDocument* frame = Frame();
    if (!frame) return false;
    const std::string url = frame->Url();
    return url.size() >= file.size() && url.compare(url.size() - file.size(), file.size(), file) == 0;
  }
  void Click(const std::string& id) {
    IHtmlElement* e = Item(id);
    ASSERT_NE(e, nullptr) << id;
    Form->WebBrowser1().Click(e);
  }
  void Type(const std::string& id, const std::string& value) {
    IHtmlElement* e = Item(id);
    ASSERT_NE(e, nullptr) << id;
    e->SetValue(value);
  }
  std::string Log() { return ReadAll(Folder + "Vantrel.log"); }
  // The group dialog over the shell's Programs folders, shown (not modally),
  // "Which Path" answered with allUsers, group typed, and its OK taken by the
  // window.
  void ChooseGroupInDialog(bool allUsers, const std::string& group) {
    GroupDlg = std::make_unique<TSelectDirectoryDlg2>(nullptr);
    GroupDlg->IsNT = true;
    GroupDlg->PackageBaseName = Form->GetPackageBaseName();
    GroupDlg->AskWhichPath = [allUsers](bool& all) { return all = allUsers, true; };
    GroupDlg->Show();
    GroupDlg->edGroup->SetText(group);
    Form->SelectDirectoryDlg2 = GroupDlg.get();
    Form->TakeGroupDialog();
  }
  static std::string ShellFolder(int csidl) {
    std::string path;
    EXPECT_TRUE(TSelectDirectoryDlg2::ShellSpecialFolder(csidl, path)) << csidl;
    return IncludeTrailingPathDelimiter(path);
  }
  bool Closed() { return !IsWindowVisible(Form->Handle()); }

  std::string Folder;
  TScriptedPrompts Prompts;
  TPromptScope Scope{Prompts};
  std::unique_ptr<TForm1> Form;
  std::unique_ptr<TSelectDirectoryDlg2> GroupDlg;
};

const std::string kSummaryHead =
    "Customer Information:\r\n   Customer Name: \r\n   Company  Name: Quill Works\r\nKey:           \r\n\r\n"
    "Destination Path:\r\n   \r\n\r\nInstallation Type:\r\n   ";

// The Next links by page: what the user did, whether the link navigated (or
// the window went elsewhere), the prompts, and what the window kept.
TEST_F(VantrelWindow, NextLinks) {
  struct TCase {
    const char* Name;
    const char* Snippet;
    const char* Next;  // where the page's Next link points
    std::function<void(VantrelWindow&)> Act;
    const char* Link;
    const char* ShownAfter;  // the page shown once the click's work is done
    std::vector<TExpectedPrompt> Prompts;
    std::function<void(VantrelWindow&)> Check;
  } cases[] = {
      {"customer fields kept", "CustInfo", "Next.htm",
       [](VantrelWindow& t) { t.Type("CustomerName", "Ann"), t.Type("CompanyName", "Quill Ltd"), t.Type("Key", "K-1"); },
       "rwiCustomerInfo", "Next.htm", {},
       [](VantrelWindow& t) {
         EXPECT_EQ(t.Form->CustomerName, "Ann");
         EXPECT_EQ(t.Form->CompanyName, "Quill Ltd");
         EXPECT_EQ(t.Form->Key, "K-1");
       }},
      {"empty destination stays", "Location", "Next.htm", [](VantrelWindow& t) { t.Type("Location", ""); },
       "rwiLocation", "TqLocation.htm", {}, [](VantrelWindow& t) { EXPECT_EQ(t.Form->DestinationPath, ""); }},
      {"destination kept", "Location", "Next.htm", [](VantrelWindow& t) { t.Type("Location", "C:\\Dest\\Sam"); },
       "rwiLocation", "Next.htm", {}, [](VantrelWindow& t) { EXPECT_EQ(t.Form->DestinationPath, "C:\\Dest\\Sam"); }},
      {"empty group stays", "Group", "Next.htm", [](VantrelWindow& t) { t.Type("Group", ""); }, "rwiGroup",
       "TqGroup.htm", {},
       [](VantrelWindow& t) {
         EXPECT_EQ(t.Form->GroupPath, "");
         EXPECT_EQ(ReadSetupKey(t.Folder, "Group", "none"), "none");
       }},
      {"group joined to the Programs folder", "Group", "Next.htm", [](VantrelWindow& t) { t.Type("Group", "Sam Tools"); },
       "rwiGroup", "Next.htm", {},
       [](VantrelWindow& t) {
         ASSERT_FALSE(t.Form->ProgramsFolder.empty());
         EXPECT_EQ(t.Form->ProgramsFolder.back(), '\\');
         EXPECT_EQ(t.Form->GroupPath, t.Form->ProgramsFolder + "Sam Tools");
         EXPECT_EQ(ReadSetupKey(t.Folder, "Group", "none"), t.Form->GroupPath);
       }},
      {"group from the dialog after All Users joins the common folder", "Group", "Next.htm",
       [](VantrelWindow& t) { t.ChooseGroupInDialog(true, "Sam Tools"); }, "rwiGroup", "Next.htm", {},
       [](VantrelWindow& t) {
         const std::string common = ShellFolder(23);
         ASSERT_NE(common, ShellFolder(2));
         EXPECT_EQ(t.GroupDlg->Folder(), common);
         EXPECT_EQ(t.Form->GroupPath, common + "Sam Tools");
         EXPECT_EQ(ReadSetupKey(t.Folder, "Group", "none"), common + "Sam Tools");
       }},
      {"group from the dialog for the current user joins the user's folder", "Group", "Next.htm",
       [](VantrelWindow& t) { t.ChooseGroupInDialog(false, "Sam Tools"); }, "rwiGroup", "Next.htm", {},
       [](VantrelWindow& t) {
         EXPECT_EQ(t.GroupDlg->Folder(), ShellFolder(2));
         EXPECT_EQ(t.Form->GroupPath, ShellFolder(2) + "Sam Tools");
         EXPECT_EQ(ReadSetupKey(t.Folder, "Group", "none"), ShellFolder(2) + "Sam Tools");
       }},
      {"licence neither checked", "License", "Next.htm", [](VantrelWindow&) {}, "rwiLicense", "TqLicense.htm",
       {{pkShowMessage, "You must select agree for the installation to continue, or do not agree to cancel the installation"}},
       [](VantrelWindow& t) { EXPECT_FALSE(t.Closed()); }},
      {"licence declined closes", "License", "Next.htm", [](VantrelWindow& t) { t.Click("rbno"); }, "rwiLicense",
       "Next.htm",
       {{pkShowMessage, "You must agree to license terms to install the software.  Installation cancelled by user."}},
       [](VantrelWindow& t) { EXPECT_TRUE(t.Closed()); }},
      {"licence accepted", "License", "Next.htm", [](VantrelWindow& t) { t.Click("rbyes"); }, "rwiLicense",
       "Next.htm", {}, [](VantrelWindow& t) { EXPECT_FALSE(t.Closed()); }},
      {"Typical shows the summary", "InstallType", "TqInstall.htm", [](VantrelWindow& t) { t.Click("Typical"); },
       "rwiType", "TqInstall.htm", {},
       [](VantrelWindow& t) {
         EXPECT_EQ(t.Form->InstallType, 0);
         EXPECT_EQ(t.Form->FeatureList, "ADDDEFAULT=\"BRINDLEREGDATA,Main,Help\"");
         EXPECT_EQ(t.Item("Summary")->Value(), kSummaryHead + "Typical\r\n\r\n   Main\r\n      Help\r\n   ");
       }},
      {"Complete shows the summary", "InstallType", "TqInstall.htm", [](VantrelWindow& t) { t.Click("Complete"); },
       "rwiType", "TqInstall.htm", {},
       [](VantrelWindow& t) {
         EXPECT_EQ(t.Form->InstallType, 2);
         EXPECT_EQ(t.Form->FeatureList, "ADDDEFAULT=\"BRINDLEREGDATA,Main,Help,Samples\"");
         EXPECT_EQ(t.Item("Summary")->Value(),
                   kSummaryHead + "Complete\r\n\r\n   Main\r\n      Help\r\n   Samples\r\n   ");
       }},
      {"Custom shows the custom page", "InstallType", "TqInstall.htm", [](VantrelWindow& t) { t.Click("Custom"); },
       "rwiType", "TqCustom.htm", {},
       [](VantrelWindow& t) {
         EXPECT_EQ(t.Form->InstallType, 1);
         IHtmlElement* features = t.Item("Features");
         ASSERT_NE(features, nullptr);
         ASSERT_EQ(features->Length(), 3);
         EXPECT_EQ(features->Option(1)->Value(), "Help");
         EXPECT_TRUE(features->Option(1)->Selected());
         EXPECT_FALSE(features->Option(2)->Selected());
       }},
      {"summary on a page without its field", "InstallType", "Next.htm", [](VantrelWindow& t) { t.Click("Typical"); },
       "rwiType", "Next.htm", {{pkShowMessage, "Error setting summary information"}},
       [](VantrelWindow& t) {
         const std::string log = t.Log();
         EXPECT_NE(log.find("Error setting summary information\r\n"), std::string::npos) << log;
         EXPECT_NE(log.find("The error message was "), std::string::npos) << log;
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Folder = CaseFolder(std::string("VantrelWindow.") + std::to_string(&c - cases));
    SetUp();
    for (const TExpectedPrompt& p : c.Prompts) Prompts.Expect(p);
    Open(std::string("Tq") + c.Snippet, Page(c.Snippet, c.Next));
    c.Act(*this);
    Click(c.Link);
    EXPECT_TRUE(PumpUntil([&] { return Shows(c.ShownAfter) && Prompts.Done(); })) << Frame()->Url();
    PumpWaiting();
    EXPECT_TRUE(Shows(c.ShownAfter)) << Frame()->Url();
    c.Check(*this);
    TearDown();
  }
}

// Custom, then the custom page's Next: every feature below Level 4, then the
// options left selected (a Level 3 feature chosen again is named twice), in
// the summary of the page that follows.
TEST_F(VantrelWindow, CustomChoicesReachTheSummary) {
  Open("TqInstallType", Page("InstallType", "TqInstall.htm"));
  Click("Custom");
  Click("rwiType");
  ASSERT_TRUE(PumpUntil([&] { return Shows("TqCustom.htm") && Item("Features") && Item("Features")->Length() == 3; }));
  IHtmlElement* features = Item("Features");
  features->Option(1)->SetSelected(false);  // Help
  features->Option(2)->SetSelected(true);   // Samples
  Click("rwiCustom");
  ASSERT_TRUE(PumpUntil([&] { return Shows("TqInstall.htm") && Item("Summary") && !Item("Summary")->Value().empty(); }));
  EXPECT_EQ(Form->FeatureList, "ADDDEFAULT=\"BRINDLEREGDATA,Main,Main,Samples\"");
  EXPECT_EQ(Item("Summary")->Value(), kSummaryHead + "Custom\r\n\r\n\tMain\r\n   Samples\r\n   ");
}

// Cancel asks; Yes closes the window after the click returned, No keeps the
// page (the link does not navigate).
TEST_F(VantrelWindow, CancelAsksFirst) {
  struct TCase {
    int Answer;
    bool Closes;
  } cases[] = {{mrNo, false}, {mrYes, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Answer);
    Folder = CaseFolder("VantrelWindow.Cancel" + std::to_string(c.Answer));
    SetUp();
    Prompts.Expect(pkMessageDlg, "Cancel requested. Do you want to cancel the installation?", c.Answer);
    Open("TqLicense", Page("License", "Next.htm", true));
    Click("rwiCancel");
    EXPECT_FALSE(Closed()) << "closed inside the click";
    ASSERT_TRUE(PumpUntil([&] { return Prompts.Done(); }));
    PumpWaiting();
    EXPECT_EQ(Closed(), c.Closes);
    if (!c.Closes) {
      EXPECT_TRUE(Shows("TqLicense.htm"));
    }
    TearDown();
  }
}

// Tab in a customer field moves the focus round the three fields; other keys
// leave it.
TEST_F(VantrelWindow, TabRing) {
  Open("TqCustInfo", Page("CustInfo", "Next.htm"));
  struct TCase {
    const char* From;
    int Key;
    const char* FocusAfter;
  } cases[] = {{"CustomerName", 9, "CompanyName"}, {"CompanyName", 9, "Key"}, {"Key", 9, "CustomerName"},
               {"CompanyName", 'a', "CompanyName"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.From);
    Item(c.From)->Focus();
    Form->WebBrowser1().KeyPress(Item(c.From), c.Key);
    PumpWaiting();
    ASSERT_NE(Frame()->FocusedElement(), nullptr);
    EXPECT_EQ(Frame()->FocusedElement()->Id(), c.FocusAfter);
  }
}

// The customer page visited again shows the registered owner afresh but keeps
// the company typed before; a page carrying both the destination's and the
// group's marker is the destination page only.
TEST_F(VantrelWindow, CustomerPageTwiceAndTheDestinationMarkerFirst) {
  Open("TqCustInfo", Page("CustInfo", "TqCustInfo2.htm"));
  const std::string owner = Item("CustomerName")->Value();
  WriteAll(Folder + "TqCustInfo2.htm", Page("CustInfo", "TqBoth.htm"));
  Type("CustomerName", "Someone Else");
  Type("CompanyName", "Typed Ltd");
  Click("rwiCustomerInfo");
  ASSERT_TRUE(PumpUntil([&] { return Shows("TqCustInfo2.htm"); }));
  EXPECT_EQ(Item("CustomerName")->Value(), owner);
  EXPECT_EQ(Item("CompanyName")->Value(), "Typed Ltd");

  WriteAll(Folder + "TqBoth.htm",
           Page("Location", "Next.htm") + tq::testing::ReadPageSnippet("Group.ins"));
  Click("rwiCustomerInfo");
  ASSERT_TRUE(PumpUntil([&] { return Shows("TqBoth.htm"); }));
  PumpWaiting();
  EXPECT_NE(Item("Location")->Value().find("Typed Ltd\\Test"), std::string::npos) << Item("Location")->Value();
  EXPECT_EQ(Item("Group")->Value(), "") << "the group page was filled too";
}

}  // namespace
}  // namespace tq
