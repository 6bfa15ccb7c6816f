// The setup page generator, the stylesheet and the licence text step on the
// real main window with the program folder's real snippets: link targets with
// the optional pages left out and included, the head and insert-position
// rules, the progress colours, the start page, the texts in their pages, and
// the refusals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "BPOptionsDlg.h"
#include "BuildFixture.h"
#include "BuildSteps.h"
#include "FileUtils.h"
#include "HtmlPages.h"
#include "StyleSheet.h"

using namespace tq;
using namespace tq::testing;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using Names = std::vector<std::string>;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The targets of a page's anchors, in order.
Names AnchorTargets(const std::string& page) {
  static const std::regex anchor("<a [^>]*href=\"([^\"]*)\"", std::regex::icase);
  Names out;
  for (std::sregex_iterator it(page.begin(), page.end(), anchor), end; it != end; ++it) out.push_back((*it)[1]);
  return out;
}

const char* const Original =
    "<html><head><title>Setup</title></head><body><p>Publisher's own text</p></body></html>";

class HtmlPagesTest : public BuildTest {
 protected:
  void SetUp() override {
    BuildTest::SetUp();
    InstallPageGenerator(*W);
    Project = ExtractFilePath(W->FProjectFile);
    Write(Dir + "original.htm", Original);
    for (const TSetupPage& page : SetupPages) W->FHtmlPagesNames->*page.Original = Dir + "original.htm";
    W->ckbHtmlUi->SetChecked(true);
  }
  void Include(bool optional) {
    for (TCheckBox* box : {W->ckbLicenseHtml, W->ckbReadmeHtml, W->ckbCustInfoHtml, W->ckbGroupHtml})
      box->SetChecked(optional);
    W->SyncHtmlPageTabs();
  }
  Names Tabs() const {
    Names out;
    for (int i = 0; i < W->tcHtmlPages->Tabs().Count(); ++i) out.push_back(W->tcHtmlPages->Tabs()[i]);
    return out;
  }
  std::string Page(const std::string& name) const { return Slurp(Project + name); }
  void GenerateAll() { W->buGenerateThePages->Click(); }

  std::string Project;  // the project folder, with "\"
};

// ---- the text rules ----

struct TTextCase {
  const char* Page;
  const char* Result;
};

#define TQ_LINK "<link rel=stylesheet type=\"text/css\" href=\"tqstyle.css\">"

TEST_F(HtmlPagesTest, StyleSheetLinkGoesIntoTheHeadOrAHeadOfItsOwn) {
  const TTextCase cases[] = {
      {"<html><HEAD lang=en><title>t</title></HEAD></html>", "<html><HEAD lang=en>" TQ_LINK "<title>t</title></HEAD></html>"},
      {"<HTML><body>x</body></HTML>", "<HTML><head>" TQ_LINK "</head><body>x</body></HTML>"},
      {"<p>no html element</p>", "<head>" TQ_LINK "</head><p>no html element</p>"},
      {"text <head", "text <head" TQ_LINK},
      {"<head>" TQ_LINK, "<head>" TQ_LINK TQ_LINK},
  };
  for (const TTextCase& c : cases) {
    std::string page = c.Page;
    InsertStyleSheetLink(page);
    EXPECT_EQ(page, c.Result) << c.Page;
  }
}

TEST_F(HtmlPagesTest, SnippetGoesBeforeTheMarkerTheBodyEndOrTheHtmlEnd) {
  const std::pair<const char*, size_t> cases[] = {
      {"<body>a<!-- BOILERPLATE here -->b</body></html>", 7},
      {"<body>a</BODY></html>", 7},
      {"<html>a</HTML>", 7},
      {"no end tags", 11},
  };
  for (const auto& [page, at] : cases) EXPECT_EQ(FindHtmlInsertPos(page), at) << page;
}

// ---- link targets ----

struct TLinkCase {
  const char* Output;
  Names Targets;  // every anchor's href in order ("" for Cancel)
};

TEST_F(HtmlPagesTest, BackAndNextSkipTheLeftOutPages) {
  Include(false);
  EXPECT_EQ(Tabs(), (Names{"Welcome", "Location", "Install Type", "Custom", "Install", "Progress", "Finish"}));
  GenerateAll();
  const TLinkCase cases[] = {
      {"TqWelcome.htm", {"TqLocation.htm", ""}},
      {"TqLocation.htm", {"TqWelcome.htm", "TqInstallType.htm", ""}},
      {"TqInstallType.htm", {"TqLocation.htm", "TqInstall.htm", ""}},
      {"TqCustom.htm", {"TqInstallType.htm", "TqInstall.htm", ""}},
      {"TqInstall.htm", {"TqInstallType.htm", ""}},
      {"TqProgress.htm", {}},
      {"TqFinish.htm", {}},
  };
  for (const TLinkCase& c : cases) EXPECT_EQ(AnchorTargets(Page(c.Output)), c.Targets) << c.Output;
  for (const char* left : {"TqLicense.htm", "TqReadme.htm", "TqCustInfo.htm", "TqGroup.htm"})
    EXPECT_FALSE(FileExists(Project + left)) << left;
}

TEST_F(HtmlPagesTest, WithAllPagesEachLinksItsNeighbours) {
  Include(true);
  W->edLicenseFile->SetText(MakeSource("license.txt", "Licence"));
  W->edReadmeFile->SetText(MakeSource("readme.txt", "Read me"));
  EXPECT_EQ(Tabs(), (Names{"Welcome", "License", "Readme", "Customer Info", "Location", "Group", "Install Type",
                           "Custom", "Install", "Progress", "Finish"}));
  GenerateAll();
  const TLinkCase cases[] = {
      {"TqWelcome.htm", {"TqLicense.htm", ""}},
      {"TqLicense.htm", {"TqWelcome.htm", "TqReadme.htm", ""}},
      {"TqReadme.htm", {"TqLicense.htm", "TqCustInfo.htm", ""}},
      {"TqCustInfo.htm", {"TqReadme.htm", "TqLocation.htm", ""}},
      {"TqLocation.htm", {"TqCustInfo.htm", "TqGroup.htm", ""}},
      {"TqGroup.htm", {"TqLocation.htm", "TqInstallType.htm", ""}},
      {"TqInstallType.htm", {"TqGroup.htm", "TqInstall.htm", ""}},
      {"TqCustom.htm", {"TqInstallType.htm", "TqInstall.htm", ""}},
      {"TqInstall.htm", {"TqInstallType.htm", ""}},
  };
  for (const TLinkCase& c : cases) EXPECT_EQ(AnchorTargets(Page(c.Output)), c.Targets) << c.Output;
  // Every page is the original with the stylesheet link and the snippet before </body>.
  const std::string welcome = Page("TqWelcome.htm");
  EXPECT_EQ(welcome.find("<html><head>" TQ_LINK "<title>Setup</title></head><body><p>Publisher's own text</p>"), 0u);
  EXPECT_THAT(welcome, HasSubstr("id=\"rwiCancel\""));
  EXPECT_EQ(welcome.substr(welcome.size() - 14), "</body></html>");
  // The start page's main frame loads the welcome page.
  EXPECT_THAT(Page("TQSetup.htm"), HasSubstr("<frame name=\"mainFrame\" src=\"TqWelcome.htm\">"));
}

TEST_F(HtmlPagesTest, TheOptionalTabsFollowTheBoxesInTheirPlaces) {
  Include(false);
  W->ckbGroupHtml->SetChecked(true);
  W->ckbReadmeHtml->SetChecked(true);
  EXPECT_EQ(Tabs(), (Names{"Welcome", "Readme", "Location", "Group", "Install Type", "Custom", "Install", "Progress",
                           "Finish"}));
  W->ckbLicenseHtml->SetChecked(true);
  W->ckbCustInfoHtml->SetChecked(true);
  W->ckbReadmeHtml->SetChecked(false);
  EXPECT_EQ(Tabs(), (Names{"Welcome", "License", "Customer Info", "Location", "Group", "Install Type", "Custom",
                           "Install", "Progress", "Finish"}));
}

// ---- the pages' texts and colours ----

TEST_F(HtmlPagesTest, TextsShowAsTypedInTheirTextAreas) {
  Include(true);
  W->edLicenseFile->SetText(MakeSource("license.txt", "Sam's terms: a < b & c\r\n</textarea><b>not bold</b>"));
  W->edReadmeFile->SetText(MakeSource("readme.txt", "Read <me>"));
  GenerateAll();
  const std::string license = Page("TqLicense.htm");
  EXPECT_THAT(license, HasSubstr(">Sam's terms: a &lt; b &amp; c\r\n&lt;/textarea&gt;&lt;b&gt;not bold&lt;/b&gt;"
                                 "</textarea>"));
  EXPECT_EQ(license.find("</textarea>"), license.rfind("</textarea>")) << "one text area end";
  EXPECT_THAT(Page("TqReadme.htm"), HasSubstr("Read &lt;me&gt;</textarea>"));
  EXPECT_THAT(Slurp(App + "LicensePlus.ins"), HasSubstr("&lt;b&gt;not bold&lt;/b&gt;</textarea>"));
}

TEST_F(HtmlPagesTest, ProgressColoursAreDecimalRedFirstAndSystemColoursResolved) {
  Include(false);
  const std::string snippet = Slurp(App + "Progress.ins");
  BPOptionsDlg->ProgressBarBackgroundColorDlg->Color = clGray;
  BPOptionsDlg->ProgressBarForegroundColorDlg->Color = clGreen;
  GenerateAll();
  EXPECT_THAT(Page("TqProgress.htm"), HasSubstr("value=\"8421504\">"));
  EXPECT_THAT(Page("TqProgress.htm"), HasSubstr("value=\"32768\">"));
  EXPECT_THAT(Page("TqProgress.htm"), HasSubstr("id=\"pbProgress\""));

  BPOptionsDlg->ProgressBarBackgroundColorDlg->Color = clRed;       // 0x0000FF stored blue-green-red
  BPOptionsDlg->ProgressBarForegroundColorDlg->Color = clBtnFace;   // a system colour
  GenerateAll();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  const std::string coloured = Slurp(App + "ProgressColor.ins");
  EXPECT_THAT(coloured, HasSubstr("value=\"16711680\">"));
  EXPECT_THAT(coloured, HasSubstr("value=\"" + IntToStr(faceRgb) + "\">"));
  EXPECT_THAT(Page("TqProgress.htm"), HasSubstr("value=\"16711680\">"));
  EXPECT_EQ(Slurp(App + "Progress.ins"), snippet) << "the snippet itself never changes";
}

TEST_F(HtmlPagesTest, DisabledCompleteRegeneratesTheInstallTypePage) {
  Include(false);
  GenerateAll();
  EXPECT_THAT(Page("TqInstallType.htm"), Not(HasSubstr("disabled style=\"display: none\"")));
  W->FModified = 0;
  W->ckbDisableComplete->SetChecked(true);
  EXPECT_EQ(W->FModified, 1);
  EXPECT_THAT(Page("TqInstallType.htm"), HasSubstr("id=\"Complete\" value=\"complete\" disabled"));
}

// ---- one page, refusals ----

TEST_F(HtmlPagesTest, OnePageLeavesTheStartPageAndTheOthersAlone) {
  Include(false);
  W->tcHtmlPages->SetTabIndex(1);  // Location
  GenerateHtmlPages(*W, false);
  EXPECT_EQ(AnchorTargets(Page("TqLocation.htm")), (Names{"TqWelcome.htm", "TqInstallType.htm", ""}));
  EXPECT_FALSE(FileExists(Project + "TQSetup.htm"));
  EXPECT_FALSE(FileExists(Project + "TqWelcome.htm"));
}

TEST_F(HtmlPagesTest, AProjectNeverSavedIsRefusedOneNamedUntitledIsNot) {
  Include(false);
  W->FProjectFile.clear();
  Prompts.Expect(pkMessageDlg, "Please save the current project before saving any of the html pages.");
  GenerateAll();
  EXPECT_EQ(Prompts.Asked().back().DlgType, mtInformation);

  W->FProjectFile = Dir + "project\\Untitled Tool.ipr";
  W->SetCaption("Untitled Tool.ipr - Tarnquill - Install Project");
  GenerateAll();
  EXPECT_TRUE(FileExists(Project + "TQSetup.htm"));
}

TEST_F(HtmlPagesTest, MissingPiecesAreReportedAndStopTheGeneration) {
  Include(true);
  W->FHtmlPagesNames->OrigFinish.clear();
  Prompts.Expect(pkMessageDlg, "One or more of the original html pages has not been specified.");
  GenerateAll();
  W->FHtmlPagesNames->OrigFinish = Dir + "original.htm";
  Prompts.Expect(pkMessageDlg, "Please select a license file");
  GenerateAll();
  W->edLicenseFile->SetText(MakeSource("license.txt", "Licence"));
  Prompts.Expect(pkMessageDlg, "Please select a readme file");
  GenerateAll();
  W->edReadmeFile->SetText(Dir + "missing readme.txt");
  Prompts.Expect(pkMessageDlg, "Unable to save file. The error message was ");
  GenerateAll();
  EXPECT_TRUE(FileExists(Project + "TqLicense.htm")) << "pages before the failure stay";
  EXPECT_FALSE(FileExists(Project + "TqReadme.htm"));
  EXPECT_FALSE(FileExists(Project + "TQSetup.htm"));
}

TEST_F(HtmlPagesTest, APageIsNeverWrittenOverItsOriginal) {
  Include(false);
  Write(Project + "own.htm", Original);
  W->FHtmlPagesNames->OrigLocation = Project + "own.htm";
  W->FHtmlPagesNames->Location = "OWN.htm";
  Prompts.Expect(pkMessageDlg, "would be written over its original");
  GenerateAll();
  EXPECT_EQ(Slurp(Project + "own.htm"), Original);
}

// ---- the stylesheet ----

TEST_F(HtmlPagesTest, StyleSheetMarksTakeTheTwoFontsInOrder) {
  TFont other, buttons;
  other.SetColor(clBlack);
  other.SetSize(10);
  other.SetName("Arial");
  other.SetStyle(0);
  buttons.SetColor(clWhite);
  buttons.SetSize(12);
  buttons.SetName("Verdana");
  buttons.SetStyle(FontStyle(fsBold) | FontStyle(fsItalic));
  EXPECT_EQ(FillStyleSheet("a ^ ^ ^ ^ ^|^ ^ ^ ^ ^ z", other, buttons),
            "a #000000 10pt Arial normal normal|#ffffff 12pt Verdana italic bold z");
  EXPECT_EQ(StyleSheetColour(clRed), "#ff0000");
  EXPECT_EQ(StyleSheetColour(0x123456), "#563412");
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  char expected[8];
  snprintf(expected, sizeof expected, "#%02x%02x%02x", GetRValue(text), GetGValue(text), GetBValue(text));
  EXPECT_EQ(StyleSheetColour(clWindowText), expected);
}

TEST_F(HtmlPagesTest, FontAndColorOptionsWriteTheStyleSheetOnlyOnOk) {
  const std::string css = ExtractFilePath(W->FOutputFile) + "tqstyle.css";
  Write(css, "by hand");
  W->FModified = 0;
  Prompts.Expect(pkModalForm, "BPOptionsDlg", mrCancel);
  W->buHtmlUiFontAndColorOptions->Click();
  EXPECT_EQ(Slurp(css), "by hand");
  EXPECT_EQ(W->FModified, 0);

  BPOptionsDlg->FontDialog2->Font().SetColor(clRed);
  Prompts.Expect(pkModalForm, "BPOptionsDlg", mrOk);
  W->buHtmlUiFontAndColorOptions->Click();
  EXPECT_EQ(W->FModified, 1);
  const std::string written = Slurp(css);
  EXPECT_THAT(written, HasSubstr("color: #ff0000;"));
  EXPECT_EQ(written.find('^'), std::string::npos);
}

// ---- the licence text in the package ----

struct TRichTextCase {
  std::string Text;
  std::string Body;  // between the head and the closing brace
};

TEST_F(HtmlPagesTest, LicenceRichText) {
  const std::string head = "{\\rtf1\\ansi \\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\pard\\plain\\fs18 ";
  const TRichTextCase cases[] = {
      {"", ""},
      {"one\r\ntwo\r\n", "one \\par two \\par "},
      {"one\ntwo\n", "one \\par two \\par "},
      {"bare\rcr", "barecr"},
      {"C:\\Sam's {dir}", "C:\\\\Sam's \\{dir\\}"},
      {std::string("cut\0here", 8), "cut"},
  };
  for (const TRichTextCase& c : cases) EXPECT_EQ(LicenseRichText(c.Text), head + c.Body + "}") << c.Text;
}

TEST_F(HtmlPagesTest, TheBuildPutsTheLicenceIntoTheInstallersDialog) {
  FillInfoPage();
  AddFile(Core(), MakeSource("license.txt", "Choice licence"));
  W->ckbHtmlUi->SetChecked(false);
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT Text FROM Control WHERE Dialog_='LicenseAgreementDlg' AND Control='AgreementText'"),
              ElementsAre(HasSubstr("\\fs18 Choice licence}")));

  // The HTML pages' licence file wins when they show a licence page; a quote,
  // a backslash and braces arrive intact.
  W->ckbHtmlUi->SetChecked(true);
  W->edLicenseFile->SetText(MakeSource("terms.txt", "Sam's C:\\tool {x}\r\nend"));
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT Text FROM Control WHERE Dialog_='LicenseAgreementDlg' AND Control='AgreementText'"),
              ElementsAre(HasSubstr("\\fs18 Sam's C:\\\\tool \\{x\\} \\par end}")));
  // With the licence page left out, the choice's file again.
  W->ckbLicenseHtml->SetChecked(false);
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT Text FROM Control WHERE Dialog_='LicenseAgreementDlg' AND Control='AgreementText'"),
              ElementsAre(HasSubstr("\\fs18 Choice licence}")));
}

}  // namespace
