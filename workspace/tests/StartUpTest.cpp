// The main window's creation: the log, the program-folder files, the state it
// leaves, and what it does when files are missing.
#include <windows.h>

#include <algorithm>
#include <regex>

#include "CommandLine.h"
#include "FileUtils.h"
#include "MainWindowFixture.h"
#include "TextFile.h"
#include "WorkspaceDialogs.h"
#include "ZipSmth.h"

namespace tq::testing {
namespace {

const std::regex GuidPattern("\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");

TEST_F(MainWindowTest, LogHoldsBannerThenOneProductAndOnePackageCode) {
  std::vector<std::string> lines = LogSinceLastStart();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "");
  EXPECT_FALSE(lines[1].empty());  // date and time
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "New ProductCode : " + W->edProductCode->Text());
  EXPECT_EQ(lines[4], "New PackageCode : " + W->edPackageCode->Text());
  EXPECT_TRUE(std::regex_match(W->edProductCode->Text(), GuidPattern)) << W->edProductCode->Text();
  EXPECT_TRUE(std::regex_match(W->edPackageCode->Text(), GuidPattern)) << W->edPackageCode->Text();
  EXPECT_NE(W->edProductCode->Text(), W->edPackageCode->Text());
  EXPECT_TRUE(W->LogOpen());
}

TEST_F(MainWindowTest, StartsWithAnUntitledInstallPackage) {
  EXPECT_EQ(W->FAppDir, Dir);
  EXPECT_EQ(W->Caption(), "Untitled - Tarnquill - Install Project");
  EXPECT_EQ(W->FProjectType, 0);
  EXPECT_EQ(W->FModified, 0);
  EXPECT_EQ(W->FProjectFile, "");
  EXPECT_EQ(W->FOutputFile, Dir + "Untitled.msi");
  std::string copy = ReadFileText(Dir + "Untitled.msi");
  EXPECT_FALSE(copy.empty());
  EXPECT_EQ(copy, ReadFileText(Dir + "template.tpl"));
  EXPECT_EQ(W->Width(), 670);
  EXPECT_EQ(W->Height(), 452);
  EXPECT_EQ(W->Font().Name(), "Arial");
  EXPECT_EQ(W->Font().Height(), -13);
}

TEST_F(MainWindowTest, CreationSetsTheWindowState) {
  ASSERT_EQ(W->FPageNames->Count(), 11);
  const char* names[] = {"Welcome", "License", "Readme",  "Customer Info", "Location", "Group",
                         "Install Type", "Custom", "Install", "Progress", "Finish"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ((*W->FPageNames)[i], names[i]);
  EXPECT_EQ(W->FPageNames->IndexOf("Customer Info"), 3);
  EXPECT_EQ(W->FPageNames->IndexOf("Finish"), 10);
  EXPECT_EQ(W->FPatchCount, -1);
  EXPECT_EQ(W->FAllowAutoUpdate, 1);
  EXPECT_EQ(W->FUpdatePending, 1);
  EXPECT_EQ(W->FUpdateCreated, 0);
  ASSERT_NE(ProjectFtpData, nullptr);
  EXPECT_EQ(ProjectFtpData->Port, "21");
  EXPECT_NE(W->FCabinetWriter, nullptr);
  EXPECT_NE(W->FCabinetReader, nullptr);
  ASSERT_NE(W->zm, nullptr);
  ASSERT_NE(W->zm2, nullptr);
  EXPECT_EQ(W->FindComponent("zm"), W->zm);
  EXPECT_EQ(W->FindComponent("zm2"), W->zm2);
  EXPECT_EQ(ProjectFtpData->Owner(), W);
  EXPECT_NE(BPOptionsDlg, nullptr);
  EXPECT_EQ(Application->HintHidePause, 5000);
  EXPECT_EQ(Application->HelpFile, Dir + "Tarnquill.chm");
  ASSERT_FALSE(TempPath.empty());
  EXPECT_EQ(TempPath.back(), '\\');
  EXPECT_TRUE(DirectoryExists(TempPath + "tempcab"));
  EXPECT_TRUE(SameText(ExcludeTrailingPathDelimiter(GetCurrentDir()), ExcludeTrailingPathDelimiter(Dir)));
  // Tabs hidden; the start page shown with its tab.
  EXPECT_EQ(W->PageControl1->ActivePage(), W->TabSheet9);
  EXPECT_TRUE(W->TabSheet9->TabVisible());
  EXPECT_FALSE(W->TabSheet1->TabVisible());
  EXPECT_FALSE(W->TabSheet16->TabVisible());
  ASSERT_EQ(W->trTargetDir->Items().Count(), 1);
  EXPECT_EQ(W->trTargetDir->Items()[0]->Text(), "<Home Directory>");
  EXPECT_FALSE(W->trTargetDir->ToolTips());
  EXPECT_TRUE(W->lbFiles->MultiSelect());
}

TEST_F(MainWindowTest, LanguagesComeFromLcidDatWithEnglishSelected) {
  TStrings& langs = W->cbLanguage->Items();
  ASSERT_GT(langs.Count(), 10);
  EXPECT_EQ(langs[0], "Language Neutral");
  EXPECT_EQ(langs.GetIntObject(0), 0);
  ASSERT_GE(W->cbLanguage->ItemIndex(), 0);
  EXPECT_EQ(langs.GetIntObject(W->cbLanguage->ItemIndex()), 1033);
  ASSERT_EQ(W->cbLanguageMergeModules->Items().Count(), langs.Count());
  for (int i = 0; i < langs.Count(); ++i) {
    EXPECT_EQ(W->cbLanguageMergeModules->Items()[i], langs[i]);
    EXPECT_EQ(W->cbLanguageMergeModules->Items().GetIntObject(i), langs.GetIntObject(i));
  }
}

TEST_F(MainWindowTest, HelpPanelsShowTheirTexts) {
  for (TRichEdit* panel : {W->reInfo, W->reDirectories, W->reChoices, W->reRegistry, W->reShortcuts, W->reEVar,
                           W->reMergeModules, W->reBuild, W->reGui, W->reMsi, W->reAssociations, W->reUpdates}) {
    EXPECT_GT(panel->Lines().Count(), 0) << panel->Name();
    EXPECT_TRUE(panel->ReadOnly()) << panel->Name();
  }
}

TEST_F(MainWindowTest, SideBarListsTwelveItemsWithTheKeptPictures) {
  TOutlookItems& items = W->Outlook1->Items();
  ASSERT_EQ(items.ItemCount(1), 12);
  const char* captions[] = {"Info", "Directories", "Choices", "Registry", "Shortcuts", "Environment",
                            "Associations", "Modules", "Gui", "Msi", "Build", "Updates"};
  for (int i = 1; i <= 12; ++i) EXPECT_EQ(items.GetItemCaption(1, i), captions[i - 1]);
  EXPECT_EQ(items.GetItemPicture(1, 9), W->FGuiItemPicture);
  EXPECT_EQ(items.GetItemPicture(1, 12), W->FUpdatesItemPicture);
  for (TPicture* p : {W->FGuiItemPicture, W->FMsiItemPicture, W->FBuildItemPicture, W->FUpdatesItemPicture}) {
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->Bitmap().Empty());
  }
  EXPECT_EQ(W->Outlook1->Width(), 100);
}

TEST_F(MainWindowTest, NewCodeButtonsLogEachCodeAndMarkTheProjectModified) {
  W->FModified = 0;
  std::string before = W->edPackageCode->Text();
  W->buPackageCodeGuidClick(W);
  EXPECT_NE(W->edPackageCode->Text(), before);
  EXPECT_EQ(W->FModified, 1);
  W->buProductCodeGuidClick(W);
  std::vector<std::string> lines = LogSinceLastStart();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[5], "New PackageCode : " + W->edPackageCode->Text());
  EXPECT_EQ(lines[6], "New ProductCode : " + W->edProductCode->Text());
}

TEST_F(MainWindowTest, CleanProductNameKeepsLettersDigitsAndBlanks) {
  W->edProductName->SetText("My Prod-uct 2.0 (beta)!");
  EXPECT_EQ(W->GetCleanProductName(), "My Product 20 beta");
}

TEST_F(MainWindowTest, HelpCommandsDoNothingWithoutHtmlHelp) {
  W->HtmlHelp().Unload();
  for (uint16_t command : {uint16_t(1), uint16_t(8)}) {
    bool callHelp = true;
    EXPECT_TRUE(W->AppHelp(command, 42, callHelp));
    EXPECT_FALSE(callHelp) << command;
  }
  bool callHelp = true;
  EXPECT_TRUE(W->AppHelp(3, 0, callHelp));
  EXPECT_TRUE(callHelp);
  W->Contents1Click(W);
  W->Index1Click(W);
}

TEST_F(MainWindowTest, HintOverFilesShowsFullPathOrEntryText) {
  W->lbFiles->Items().AddObject("setup.exe", new TFilePathObject("C:\\Product\\bin\\setup.exe"));
  W->lbFilesShortcuts->Items().Add("C:\\Product\\bin\\tool.exe");
  THintInfo info;
  info.CursorPos = POINT{3, 3};
  std::string hint = "plain";
  bool canShow = true;
  info.HintControl = W->lbFiles;
  W->AppShowHint(hint, canShow, info);
  EXPECT_EQ(hint, "C:\\Product\\bin\\setup.exe");
  hint = "plain";
  info.HintControl = W->lbFilesShortcuts;
  W->AppShowHint(hint, canShow, info);
  EXPECT_EQ(hint, "C:\\Product\\bin\\tool.exe");
  hint = "plain";
  info.HintControl = W->lbDirectories;
  W->AppShowHint(hint, canShow, info);
  EXPECT_EQ(hint, "plain");
  info.HintControl = W->lbFilesAssociations;  // empty list: nothing under the mouse
  W->AppShowHint(hint, canShow, info);
  EXPECT_EQ(hint, "plain");
  delete W->lbFiles->Items().GetObjectAt(0);
  W->lbFiles->Items().Clear();
}

TEST(CommandLineProject, OnlyOneArgumentWithIprIsAProject) {
  struct Case {
    std::vector<std::string> Args;
    std::string Project;
  } cases[] = {
      {{"C:\\Work\\Sample\\1.0\\Sample.IPR"}, "C:\\Work\\Sample\\1.0\\Sample.IPR"},
      {{" C:\\Work\\x.ipr  "}, "C:\\Work\\x.ipr"},
      {{"C:\\Work\\x.iprbackup"}, "C:\\Work\\x.iprbackup"},
      {{"C:\\Work\\x.IPR", "/extra"}, ""},
      {{"C:\\Work\\readme.txt"}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ProjectFromArguments(c.Args), c.Project) << (c.Args.empty() ? "" : c.Args[0]);
}

class MainWindowFilesTest : public MainWindowTest {
 protected:
  MainWindowFilesTest() { MakeWindowInSetUp = false; }
};

TEST_F(MainWindowFilesTest, MissingLanguagesAndHelpTextAreLoggedAndTheNewProjectStillExists) {
  Omit = {"lcid.dat", "help\\gui.rtf"};
  MakeWindow();
  EXPECT_EQ(W->cbLanguage->Items().Count(), 0);
  EXPECT_EQ(W->cbLanguageMergeModules->Items().Count(), 0);
  EXPECT_EQ(W->reGui->Lines().Count(), 0);
  EXPECT_GT(W->reInfo->Lines().Count(), 0);
  std::vector<std::string> lines = LogSinceLastStart();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[3].rfind("Languages not read from " + Dir + "lcid.dat", 0), 0u) << lines[3];
  EXPECT_EQ(lines[4].rfind("Help text not read from help\\gui.rtf", 0), 0u) << lines[4];
  EXPECT_EQ(lines[5].rfind("New ProductCode : {", 0), 0u);
  EXPECT_EQ(lines[6].rfind("New PackageCode : {", 0), 0u);
  EXPECT_EQ(TabCaptions(W->tcChoices), (std::vector<std::string>{"Core_Program", "Add A Sub-Choice"}));
  EXPECT_EQ(W->Caption(), "Untitled - Tarnquill - Install Project");
}

// A language list far longer than any real one: the start reads what the lists
// can use and says so.
TEST_F(MainWindowFilesTest, ALongLanguageFileIsReadToItsLimit) {
  Omit = {"lcid.dat"};
  {
    TTextFile f(Dir + "lcid.dat");
    f.Rewrite();
    f.WriteLn("not a language line");
    for (int i = 0; i < 200000; ++i) f.WriteLn(IntToStr(i == 700 ? 1033 : 5000 + i) + " Language " + IntToStr(i));
    f.Close();
  }
  MakeWindow();
  ASSERT_EQ(W->cbLanguage->Items().Count(), 1000);
  EXPECT_EQ(W->cbLanguage->Items()[999], "Language 999");
  EXPECT_EQ(W->cbLanguage->Items().GetIntObject(999), 5999);
  EXPECT_EQ(W->cbLanguageMergeModules->Items().Count(), 1000);
  EXPECT_EQ(W->cbLanguage->ItemIndex(), 700);  // 1033
  std::vector<std::string> lines = LogSinceLastStart();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Languages after the first 1000 in " + Dir + "lcid.dat are left out"),
            lines.end());
  DeleteFile(Dir + "lcid.dat");
}

TEST_F(MainWindowFilesTest, ProjectListIsReadInPairs) {
  {
    TTextFile f(Dir + "projects.dat");
    f.Rewrite();
    for (const char* line : {"Zeta Tool", "C:\\Projects\\Zeta", "Alpha App", "C:\\Projects\\Alpha"}) f.WriteLn(line);
    f.Close();
  }
  MakeWindow();
  ASSERT_EQ(W->FProjectList->Count(), 2);
  EXPECT_EQ((*W->FProjectList)[0], "Alpha App");
  auto* folder = dynamic_cast<TStringObject*>(W->FProjectList->GetObjectAt(0));
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->Value, "C:\\Projects\\Alpha");
  DeleteFile(Dir + "projects.dat");
}

TEST_F(MainWindowFilesTest, UpdaterBesideTheProgramIsStartedWithItsCommandLine) {
  ASSERT_TRUE(CopyFile(std::string(TQ_PROGRAM_DIR) + "\\lcid.dat", Dir + "Updates.exe", false));
  DeleteFile(Dir + "DontShowUpdates.dat");
  MakeWindow();
  ASSERT_EQ(ShellOpens.size(), 1u);
  EXPECT_EQ(ShellOpens[0].File, Dir + "Updates.exe");
  EXPECT_EQ(ShellOpens[0].Dir, Dir);
  EXPECT_EQ(ShellOpens[0].Params,
            "\"" + Dir + "Tarnquill.exe\" \"" + TarnquillUpdatesUrl + "\" \"Tarnquill\"");
  DeleteFile(Dir + "Updates.exe");
}

TEST_F(MainWindowFilesTest, MissingTemplateIsReportedAndTheRestOfTheProjectIsMade) {
  Omit = {"template.tpl"};
  DeleteFile(Dir + "template.tpl");
  Prompts.Expect(pkMessageBox, "template.tpl", IDOK);
  MakeWindow();
  EXPECT_FALSE(W->edPackageCode->Text().empty());
  EXPECT_FALSE(W->edProductCode->Text().empty());
  EXPECT_EQ(W->FHtmlPagesNames->Finish, "TqFinish.htm");
  EXPECT_EQ(W->edVersionComparison->Text(), "< 2.0");
  EXPECT_EQ(W->FModified, 0);
}

TEST_F(MainWindowFilesTest, DestroyingTheWindowPutsTheHelpHandlerBack) {
  int calls = 0;
  Application->OnHelp = [&calls](uint16_t, intptr_t, bool&) {
    ++calls;
    return true;
  };
  MakeWindow();
  bool callHelp = true;
  Application->OnHelp(1, 0, callHelp);
  EXPECT_EQ(calls, 0);
  delete W;
  W = nullptr;
  Application->OnHelp(1, 0, callHelp);
  EXPECT_EQ(calls, 1);
  Application->OnHelp = nullptr;
}

}  // namespace
}  // namespace tq::testing
