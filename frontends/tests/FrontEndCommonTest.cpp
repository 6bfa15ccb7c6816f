// The pieces both front-ends share: the feature tree (from rows and from a real
// package whose Feature table lists children before their parents), the
// package base name, the Manufacturer, both property strings and their
// refusals, the line log, the message handler and the two dialogs.
#include <windows.h>
#include <msiquery.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FileUtils.h"
#include "FrontEndForm.h"
#include "InstallCommand.h"
#include "InstallUIHandler.h"
#include "InstallationBy.h"
#include "LineLog.h"
#include "PromptsTesting.h"
#include "grppath.h"
#include "FrontEndTestSupport.h"

namespace tq {
namespace {

using namespace testing;

// The tree as "name(level)" lines in tree order, indented by level.
std::string TreeText(const TTreeNodes& nodes) {
  std::string s;
  for (TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext())
    s += std::string(size_t(2 * n->Level()), ' ') + n->Text() + "\n";
  return s;
}

TEST(FeatureTree, ChildrenListedBeforeTheirParentEndUpUnderIt) {
  TTreeView tree(nullptr);
  std::vector<std::unique_ptr<TFeature>> records;
  const std::vector<TFeatureRow> parentFirst = {
      {"Main", "", "Main program", 1, 3}, {"Help", "Main", "", 1, 4}, {"Docs", "Main", "", 1, 5},
      {"Samples", "Docs", "", 1, 4},      {"Tools", "", "", 1, 4}};
  const std::vector<TFeatureRow> childrenFirst = {
      {"Samples", "Docs", "", 1, 4}, {"Help", "Main", "", 1, 4}, {"Docs", "Main", "", 1, 5},
      {"Tools", "", "", 1, 4},       {"Main", "", "Main program", 1, 3}};
  EXPECT_TRUE(PlaceFeatureRows(tree.Items(), parentFirst, records).empty());
  const std::string expected = TreeText(tree.Items());
  EXPECT_EQ(expected, "Main\n  Help\n  Docs\n    Samples\nTools\n");
  EXPECT_TRUE(PlaceFeatureRows(tree.Items(), childrenFirst, records).empty());
  // Tools came first among the roots this time; Main's children in the order placed.
  EXPECT_EQ(TreeText(tree.Items()), "Tools\nMain\n  Help\n  Docs\n    Samples\n");
  const TFeature* main = FeatureOf(FindFeatureNode(tree.Items(), "Main"));
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->Description, "Main program");
  EXPECT_EQ(main->Level, 3);
  EXPECT_EQ(FindFeatureNode(tree.Items(), "main"), nullptr);  // letter case counts
}

TEST(FeatureTree, HiddenFeatureInAnyCaseAndOrphansAreLeftOut) {
  TTreeView tree(nullptr);
  std::vector<std::unique_ptr<TFeature>> records;
  const std::vector<TFeatureRow> rows = {{"BrindleRegData", "", "", 0, 1},
                                         {"BRINDLEREGDATA", "", "", 0, 1},
                                         {"Under hidden", "BrindleRegData", "", 1, 4},
                                         {"Lost", "Nowhere", "", 1, 4},
                                         {"Kept", "", "", 1, 4},
                                         {"Child of lost", "Lost", "", 1, 4}};
  const std::vector<std::string> orphans = PlaceFeatureRows(tree.Items(), rows, records);
  EXPECT_EQ(TreeText(tree.Items()), "Kept\n");
  EXPECT_EQ(orphans, (std::vector<std::string>{"Under hidden", "Lost", "Child of lost"}));
}

TEST(FeatureTree, LoadsFromARealPackage) {
  const std::string dir = CaseFolder("feature-package");
  TTestPackage package(dir + "tree.msi");
  package.Features = {{"Samples", "Docs", "Sample files", 1, 4},
                      {"Docs", "Main", "Documents", 1, 5},
                      {"brindleRegData", "", "", 0, 1},
                      {"Main", "", "Main program", 1, 3},
                      {"Complete Edition", "", "Everything else", 0, 6}};
  package.Manufacturer = "Quill Works";
  package.Write();
  TFrontEndForm form(nullptr);
  TTreeView tree(&form);
  struct TTestForm : TFrontEndForm {
    using TFrontEndForm::SetFeatureTree;
  };
  static_cast<TTestForm&>(form).SetFeatureTree(&tree);
  form.ProgramFolder = dir;
  form.PackageArgument = "tree.msi";
  EXPECT_TRUE(form.LoadFeatureTree().empty());
  EXPECT_EQ(TreeText(tree.Items()), "Main\n  Docs\n    Samples\nComplete Edition\n");
  EXPECT_EQ(FeatureOf(form.FindFeatureNode("Samples"))->Description, "Sample files");
  EXPECT_EQ(FeatureOf(form.FindFeatureNode("Docs"))->Level, 5);
  TInstaller installer;
  installer.SetUILevel(msiUILevelNone);
  form.ReadManufacturer(installer, true);
  EXPECT_EQ(form.CompanyName, "Quill Works");
  // A package that is not there: Sorvex's reading raises, the other way is quiet.
  form.PackageArgument = "missing.msi";
  EXPECT_THROW(form.LoadFeatureTree(), EInstallerFailure);
  EXPECT_THROW(form.ReadManufacturer(installer, true), EInstallerFailure);
  form.CompanyName = "x";
  EXPECT_NO_THROW(form.ReadManufacturer(installer, false));
  EXPECT_EQ(form.CompanyName, "");
}

TEST(PackageBaseName, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"Sam's Tool.msi", "Sam's Tool"}, {"a.b.msi", "a.b"}, {"Package", ""}, {".msi", ""},
      {"sub\\Tool.msi", "Tool"},        {"Tool.", "Tool"},  {"", ""}};
  for (const auto& [argument, base] : cases) {
    TFrontEndForm form(nullptr);
    form.PackageArgument = argument;
    EXPECT_EQ(form.GetPackageBaseName(), base) << argument;
  }
}

TEST(PropertyStrings, VantrelTable) {
  EXPECT_EQ(VantrelPropertyString("C:\\Program Files\\Tool", "", ""), "MSIRUN=0 TARGETDIR=\"C:\\Program Files\\Tool\" ");
  EXPECT_EQ(VantrelPropertyString("C:\\T", "C:\\Start Menu\\Programs\\Tool", VantrelFeatureList({"Main", "Help"})),
            "MSIRUN=0 TARGETDIR=\"C:\\T\" GROUP=\"C:\\Start Menu\\Programs\\Tool\" "
            "ADDDEFAULT=\"BRINDLEREGDATA,Main,Help\"");
  EXPECT_EQ(VantrelFeatureList({}), "");
  EXPECT_EQ(VantrelPropertyString("C:\\T", "", VantrelFeatureList({"Main"})),
            "MSIRUN=0 TARGETDIR=\"C:\\T\" ADDDEFAULT=\"BRINDLEREGDATA,Main\"");
}

TEST(PropertyStrings, SorvexTable) {
  EXPECT_EQ(SorvexPropertyString("C:\\T", "", ""), "TARGETDIR=\"C:\\T\" ADDDEFAULT=BRINDLEREGDATA MSIRUN=0");
  EXPECT_EQ(SorvexPropertyString("C:\\Program Files\\Q\\Tool", "Core_Program,Tools", "C:\\Programs\\Sam's Tool"),
            "TARGETDIR=\"C:\\Program Files\\Q\\Tool\" ADDDEFAULT=Core_Program,Tools,BRINDLEREGDATA MSIRUN=0 "
            "GROUP=\"C:\\Programs\\Sam's Tool\"");
}

TEST(PropertyStrings, ValuesThatWouldAddPropertiesAreRefused) {
  EXPECT_THROW(SorvexPropertyString("C:\\T\" REBOOT=\"Force", "", ""), EInstallValueRefused);
  EXPECT_THROW(SorvexPropertyString("C:\\T", "Main TARGETDIR=C:\\evil", ""), EInstallValueRefused);
  EXPECT_THROW(SorvexPropertyString("C:\\T", "Main,\"x\"", ""), EInstallValueRefused);
  EXPECT_THROW(SorvexPropertyString("C:\\T", "Main\t", ""), EInstallValueRefused);
  EXPECT_THROW(SorvexPropertyString("C:\\T", "", "G\" X=\"1"), EInstallValueRefused);
  EXPECT_THROW(VantrelPropertyString("C:\\\"T", "", ""), EInstallValueRefused);
  EXPECT_THROW(VantrelPropertyString("C:\\T", "\"", ""), EInstallValueRefused);
  EXPECT_THROW(VantrelFeatureList({"Main\" X=\"1"}), EInstallValueRefused);
  EXPECT_THROW(VantrelPropertyString("C:\\T", "", "ADDDEFAULT=\"A\" X=\"1\""), EInstallValueRefused);
  EXPECT_THROW(VantrelPropertyString("C:\\T", "", "X=1"), EInstallValueRefused);
}

TEST(LineLog, AppendsAHeaderAndFlushesEachLine) {
  const std::string path = CaseFolder("line-log") + "Sorvex.log";
  {
    TLineLog log;
    log.Open(path);
    log.WriteLog("first");
    // Already on disk while the log is open.
    EXPECT_NE(ReadAll(path).find("first\r\n"), std::string::npos);
  }
  {
    TLineLog log;
    log.Open(path);
    log.WriteLog("second");
  }
  const std::string text = ReadAll(path);
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string l; std::getline(in, l);) {
    ASSERT_FALSE(l.empty()) << "a line without CR";
    ASSERT_EQ(l.back(), '\r');
    lines.push_back(l.substr(0, l.size() - 1));
  }
  ASSERT_EQ(lines.size(), 10u);
  for (size_t h : {0u, 5u}) {
    EXPECT_EQ(lines[h], "");
    EXPECT_EQ(lines[h + 1], std::string(40, '-'));
    EXPECT_FALSE(lines[h + 2].empty());  // the date and time
    EXPECT_EQ(lines[h + 3], "");
  }
  EXPECT_EQ(lines[4], "first");
  EXPECT_EQ(lines[9], "second");
}

// The handler with a log of its own per case.
class HandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LogPath = CaseFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "Sorvex.log";
    ProgramLog().Open(LogPath);
  }
  void TearDown() override {
    SetProgressOutputs(nullptr);
    ProgramLog().Close();
  }
  std::string LogPath;
};

TEST_F(HandlerTest, ResultsByMessageType) {
  TPromptScript prompts({{pkMessageBox, "Error", IDRETRY}, {pkMessageBox, "Warning", IDOK}});
  struct TCase {
    UINT Word;
    int Result;
  };
  const TCase cases[] = {
      {0x00000000, 0}, {0x01000000 | MB_RETRYCANCEL | MB_ICONERROR, IDRETRY}, {0x02000000 | MB_OK, 1},
      {0x03000000, 1}, {0x04000000, 1}, {0x05000000, 0}, {0x06000000, 0}, {0x07000000, 1}, {0x08000000, 1},
      {0x09000000, 1}, {0x0A000000, 1}, {0x0B000000, 1}};
  for (const TCase& c : cases) EXPECT_EQ(HandleInstallMessage(c.Word, "text of the message"), c.Result) << c.Word;
  ASSERT_EQ(prompts.Asked().size(), 2u);
  EXPECT_EQ(prompts.Asked()[0].Caption, "Error");
  EXPECT_EQ(prompts.Asked()[0].Flags, int(MB_RETRYCANCEL | MB_ICONERROR));
  EXPECT_EQ(prompts.Asked()[1].Caption, "Warning");
}

TEST_F(HandlerTest, UnusableTextsAreNeverReadAndNothingEscapes) {
  // Wine's 0x0C and 0x0D messages: the text pointer is not to be read.
  const char* unusable = reinterpret_cast<const char*>(uintptr_t(1));
  EXPECT_EQ(HandleInstallMessage(0x0C000000, unusable), 0);
  EXPECT_EQ(HandleInstallMessage(0x0D000000, unusable), 0);
  EXPECT_EQ(HandleInstallMessage(0x0A000000, nullptr), 1);
  class TThrowingOutputs : public TProgressOutputs {
    void ProgressReset(TProgressState&, bool) override { throw Exception("the client has gone"); }
    void ProgressReport(TProgressState&, int32_t) override {}
    void ProgressActionData(TProgressState&) override {}
  } throwing;
  SetProgressOutputs(&throwing);
  EXPECT_EQ(HandleInstallMessage(0x0A000000, "1: 0 2: 10 3: 0 4: 0 "), 0);
  // "Logging stopped" is logged like any text and ends nothing.
  EXPECT_EQ(HandleInstallMessage(0x04000000, "=== Logging stopped: 1/1/2026 ==="), 1);
  const std::string log = ReadAll(LogPath);
  EXPECT_NE(log.find("[installer message type 0x0C]\r\n"), std::string::npos);
  EXPECT_NE(log.find("[installer message type 0x0D]\r\n"), std::string::npos);
  EXPECT_NE(log.find("Installer message handler: the client has gone\r\n"), std::string::npos);
  EXPECT_NE(log.find("=== Logging stopped: 1/1/2026 ===\r\n"), std::string::npos);
}

TEST(Dialogs, InstalledByAndWhichPath) {
  TInstallationByDlg by(nullptr);
  EXPECT_EQ(by.Caption(), "Installation by Tarnquill");
  EXPECT_EQ(by.ClientWidth(), 511);
  EXPECT_EQ(by.ClientHeight(), 263);
  EXPECT_EQ(by.Label1->Caption(), "Installed By");
  EXPECT_EQ(by.Label2->Caption(), "Tarnquill");
  EXPECT_EQ(by.Image1->Width(), 161);
  EXPECT_EQ(by.Image1->Height(), 161);
  std::string opened;
  auto saved = TInstallationByDlg::OpenAddressHook();
  TInstallationByDlg::OpenAddressHook() = [&](const std::string& a) { opened = a; };
  by.Label3->Click();
  TInstallationByDlg::OpenAddressHook() = saved;
  EXPECT_EQ(opened, "http://" + by.Label3->Caption());
  by.Show();
  EXPECT_TRUE(IsWindowVisible(by.Handle()));
  by.OKButton->Click();
  EXPECT_FALSE(IsWindowVisible(by.Handle()));

  TWhichGroupPathDlg which(nullptr);
  EXPECT_EQ(which.Caption(), "Which Path");
  EXPECT_EQ(which.ClientWidth(), 313);
  EXPECT_EQ(which.ClientHeight(), 214);
  EXPECT_EQ(which.rgWhichUser->Caption(), "Which User");
  ASSERT_EQ(which.rgWhichUser->Items().Count(), 2);
  EXPECT_EQ(which.rgWhichUser->Items().Get(0), "Current User");
  EXPECT_EQ(which.rgWhichUser->Items().Get(1), "All Users");
  EXPECT_EQ(which.rgWhichUser->ItemIndex(), 0);
  EXPECT_EQ(which.OKBtn->ModalResult(), mrOk);
  EXPECT_EQ(which.CancelBtn->ModalResult(), mrCancel);
}

}  // namespace
}  // namespace tq
