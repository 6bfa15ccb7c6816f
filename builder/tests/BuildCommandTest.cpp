// The Build button on the real main window: its checks, reminders, the status
// label, cancelling between steps, failing steps and the end of a build.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

#include "BuildCommand.h"
#include "BuildFixture.h"
#include "FileUtils.h"
#include "WorkspaceDialogs.h"

using namespace tq;
using namespace tq::testing;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

const TColor Purple = 0x800080, Green = 0x008000, Red = 0x0000FF;

class BuildCommandTest : public BuildTest {
 protected:
  void SimpleProject() {
    FillInfoPage();
    AddFile(Core(), MakeSource("app.exe"));
  }
  // With the HTML front-end, whose pages were generated before the build.
  void HtmlProject() {
    SimpleProject();
    W->ckbHtmlUi->SetChecked(true);
    for (const char* page : {"TQSetup.htm", "tqstyle.css", "TqWelcome.htm", "TqLicense.htm", "TqReadme.htm",
                             "TqCustInfo.htm", "TqLocation.htm", "TqGroup.htm", "TqInstallType.htm", "TqCustom.htm",
                             "TqInstall.htm", "TqProgress.htm", "TqFinish.htm"})
      std::ofstream(Dir + page) << "<html></html>";
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static std::vector<std::string> FolderNames(const std::string& dir) {
    std::vector<std::string> names;
    TSearchRec f;
    if (FindFirst(dir + "*.*", faAnyFile, f) == 0) {
      do {
        if (f.Name != "." && f.Name != "..") names.push_back(f.Name);
      } while (FindNext(f) == 0);
      FindClose(f);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Files next to the package that are neither the package, the project's
  // sources nor the distribution: work files a build left.
  std::vector<std::string> WorkFilesBeside() const {
    std::vector<std::string> names;
    for (const std::string& name : FolderNames(Dir))
      if (name.find(".partial") != std::string::npos || name.find(".previous") != std::string::npos)
        names.push_back(name);
    return names;
  }
  void ExpectEnded(const std::string& caption, TColor color) {
    EXPECT_EQ(W->labBuilding->Caption(), caption);
    EXPECT_EQ(W->labBuilding->Font().Color(), color);
    EXPECT_TRUE(W->labBuilding->Visible());
    EXPECT_FALSE(W->Timer1->Enabled());
    EXPECT_FALSE(W->buBuildCancel->Enabled());
    EXPECT_TRUE(W->buBuild->Enabled());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_FALSE(BuildRunning());
  }
};

TEST_F(BuildCommandTest, EmptyProductNameShowsOnlyTheError) {
  Prompts.Expect(pkMessageDlg, "Please fill in project data and save project before building.");
  W->labBuilding->SetVisible(false);
  ClickBuild();
  EXPECT_EQ(Prompts.Asked().at(0).DlgType, mtError);
  EXPECT_FALSE(W->labBuilding->Visible());
  EXPECT_EQ(W->labBuilding->Caption(), "");
  EXPECT_FALSE(W->Timer1->Enabled());
  EXPECT_FALSE(FileExists(W->FOutputFile));
}

TEST_F(BuildCommandTest, SuccessfulBuildEndsComplete) {
  SimpleProject();
  W->FModified = 0;
  ClickBuild();
  ExpectEnded("Build Complete", Green);
  EXPECT_THAT(Rows("SELECT File FROM File WHERE Sequence=10"), ElementsAre("FILE1Sapp.exe"));
  EXPECT_EQ(W->FModified, 0);
}

TEST_F(BuildCommandTest, HtmlReminderCancelStartsNothing) {
  SimpleProject();
  W->ckbHtmlUi->SetChecked(true);
  Prompts.Expect(pkModalForm, "GenerateHtmlPagesReminderDlg", mrCancel);
  ClickBuild();
  EXPECT_FALSE(FileExists(W->FOutputFile));
  EXPECT_FALSE(W->labBuilding->Visible() && W->labBuilding->Caption() != "");
}

TEST_F(BuildCommandTest, HtmlReminderOkBuildsAndTickedBoxSkipsIt) {
  HtmlProject();
  Prompts.Expect(TExpectedPrompt(pkModalForm, "GenerateHtmlPagesReminderDlg", mrOk, {},
                                 [] { GenerateHtmlPagesReminderDlg->ckbDontRemind->SetChecked(true); }));
  ClickBuild();
  ExpectEnded("Build Complete", Green);
  ClickBuild();  // no second reminder
  ExpectEnded("Build Complete", Green);
}

// Modal forms are shown for real (their buttons pressed by posted clicks);
// every other prompt follows the script.
class TRealModalForms : public TScriptedPrompts {
 public:
  int ShowModal(const std::string& name, const std::function<int()>& show) override {
    Shown.push_back(name);
    return show();
  }
  std::vector<std::string> Shown;
};

// The texts of a window's visible child windows, in window order.
std::vector<std::string> ShownTexts(HWND window) {
  std::vector<std::string> texts;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char text[512] = "";
    GetWindowTextA(child, text, sizeof text);
    if ((GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) && text[0]) texts.push_back(text);
  }
  return texts;
}

void PressLater(TButton* button) { PostMessageA(button->Handle(), BM_CLICK, 0, 0); }

TEST_F(BuildCommandTest, RemindersAreRealDialogsWithTheirTextAndButtons) {
  TRealModalForms real;
  TPromptScope scope(real);
  PressLater(GenerateHtmlPagesReminderDlg->OKBtn);
  EXPECT_EQ(GenerateHtmlPagesReminderDlg->ShowModal(), mrOk);
  PressLater(GenerateHtmlPagesReminderDlg->CancelBtn);
  EXPECT_EQ(GenerateHtmlPagesReminderDlg->ShowModal(), mrCancel);
  EXPECT_EQ(GenerateHtmlPagesReminderDlg->Caption(), "Generate Html Pages Reminder");
  EXPECT_THAT(ShownTexts(GenerateHtmlPagesReminderDlg->Handle()),
              UnorderedElementsAre("Your build includes the Html Ui pages.", "Have you generated them?",
                          "Have you edited them as needed?", "If you are ready to proceed, click Ok below,",
                          "otherwise Cancel.", "Don't remind me of this in further builds", "OK", "Cancel"));

  PressLater(VersionReminderDlg->OKBtn);
  EXPECT_EQ(VersionReminderDlg->ShowModal(), mrOk);
  PressLater(VersionReminderDlg->CancelBtn);
  EXPECT_EQ(VersionReminderDlg->ShowModal(), mrCancel);
  EXPECT_EQ(VersionReminderDlg->Caption(), "Reminder");
  EXPECT_THAT(ShownTexts(VersionReminderDlg->Handle()),
              UnorderedElementsAre("Correct Version numbers are important for update support. If you needed to up the "
                          "Version number on the Info page, and forgot to do so, then click Cancel below and set "
                          "the correct Version number before building.",
                          "Don't show me this dialog again this session", "OK", "Cancel"));
  // The text fits the dialog: nothing of it lies below the check box.
  HWND label = FindWindowExA(VersionReminderDlg->Handle(), nullptr, "STATIC", nullptr);
  ASSERT_NE(label, nullptr);
  RECT text{}, box{};
  GetWindowRect(label, &text);
  GetWindowRect(VersionReminderDlg->ckbDontShow->Handle(), &box);
  EXPECT_LE(text.bottom, box.top);
}

// A user's answers to the real reminders: OK with the box ticked builds and
// spares the next build the question; Cancel starts nothing.
TEST_F(BuildCommandTest, TheRealHtmlReminderLetsTheBuildGoOnOrStopsIt) {
  HtmlProject();
  TRealModalForms real;
  TPromptScope scope(real);
  PressLater(GenerateHtmlPagesReminderDlg->CancelBtn);
  ClickBuild();
  EXPECT_FALSE(FileExists(W->FOutputFile));
  PostMessageA(GenerateHtmlPagesReminderDlg->ckbDontRemind->Handle(), BM_CLICK, 0, 0);
  PressLater(GenerateHtmlPagesReminderDlg->OKBtn);
  ClickBuild();
  ExpectEnded("Build Complete", Green);
  EXPECT_TRUE(GenerateHtmlPagesReminderDlg->ckbDontRemind->Checked());
  ClickBuild();
  ExpectEnded("Build Complete", Green);
  EXPECT_EQ(real.Shown, (std::vector<std::string>{"GenerateHtmlPagesReminderDlg", "GenerateHtmlPagesReminderDlg"}));
}

TEST_F(BuildCommandTest, TheRealVersionReminderCancelStopsTheBuild) {
  SimpleProject();
  W->ckbIncludePatching->SetChecked(true);
  TRealModalForms real;
  real.Expect(pkMessageDlg, "Correct version numbers are imporatant", mrCancel);
  TPromptScope scope(real);
  PressLater(VersionReminderDlg->CancelBtn);
  ClickBuild();
  EXPECT_FALSE(FileExists(W->FOutputFile));
  EXPECT_EQ(real.Shown, (std::vector<std::string>{"VersionReminderDlg"}));
  EXPECT_TRUE(real.Done());
}

struct TVersionCase {
  int Question;   // answer to the confirmation
  int Reminder;   // answer of the reminder dialog (0: not shown)
  bool Builds;
};

void PrintTo(const TVersionCase& c, std::ostream* os) {
  *os << "question " << c.Question << " reminder " << c.Reminder;
}

class VersionReminderTest : public BuildCommandTest, public ::testing::WithParamInterface<TVersionCase> {};

TEST_P(VersionReminderTest, AsksBeforeAnUpdateSupportBuild) {
  const TVersionCase& c = GetParam();
  SimpleProject();
  W->ckbIncludePatching->SetChecked(true);
  Prompts.Expect(pkMessageDlg, "Correct version numbers are imporatant for updates to work correctly.", c.Question);
  if (c.Reminder) Prompts.Expect(pkModalForm, "VersionReminderDlg", c.Reminder);
  if (c.Builds) Prompts.Expect(pkModalForm, "FtpDataDlg", mrCancel);
  ClickBuild();
  EXPECT_EQ(FileExists(W->FOutputFile), c.Builds);
  if (c.Builds) {
    ExpectEnded("Build Complete", Green);
    EXPECT_EQ(W->FUpdatePending, 0);
    EXPECT_EQ(W->FModified, 1);
  } else {
    EXPECT_EQ(W->FUpdatePending, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, VersionReminderTest,
                         ::testing::Values(TVersionCase{mrYes, 0, true}, TVersionCase{mrCancel, mrOk, true},
                                           TVersionCase{mrCancel, mrCancel, false}));

TEST_F(BuildCommandTest, UpdateSupportWithoutAutomaticUpdatesAsksNothingMore) {
  SimpleProject();
  W->ckbIncludePatching->SetChecked(true);
  VersionReminderDlg->ckbDontShow->SetChecked(true);
  W->FAllowAutoUpdate = 0;
  W->FUpdateFrom = "1.0";
  Prompts.Expect(pkModalForm, "FtpDataDlg", mrCancel);
  ClickBuild();
  ExpectEnded("Build Complete", Green);
  EXPECT_EQ(W->FUpdatePending, 0);
  EXPECT_EQ(W->FModified, 1);
}

TEST_F(BuildCommandTest, CancelTakesEffectAfterTheRunningStep) {
  SimpleProject();
  W->ckbIncludePatching->SetChecked(true);
  VersionReminderDlg->ckbDontShow->SetChecked(true);
  // The FTP settings dialog of the Component step: Cancel is pressed meanwhile.
  Prompts.Expect(TExpectedPrompt(pkModalForm, "FtpDataDlg", mrCancel, {}, [this] {
    EXPECT_TRUE(BuildRunning());
    EXPECT_FALSE(W->buBuild->Enabled());
    EXPECT_TRUE(W->buBuildCancel->Enabled());
    EXPECT_TRUE(W->Timer1->Enabled());
    EXPECT_EQ(W->labBuilding->Font().Color(), Purple);
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    W->buBuildCancel->Click();
  }));
  ClickBuild();
  ExpectEnded("Build Cancelled", Red);
  // An unfinished package never takes the package's place.
  EXPECT_FALSE(FileExists(W->FOutputFile));
  EXPECT_EQ(WorkFilesBeside(), std::vector<std::string>{});
  EXPECT_EQ(W->FUpdatePending, 1);
}

TEST_F(BuildCommandTest, StepRaisingShowsItsMessageOnce) {
  SimpleProject();
  AddChoice("Empty");
  Prompts.Expect(pkMessageDlg, "Choice Empty has no files associated with it.");
  ClickBuild();
  ASSERT_EQ(Prompts.Asked().size(), 1u);
  EXPECT_EQ(Prompts.Asked()[0].DlgType, mtError);
  ExpectEnded("Build Error", Red);
}

TEST_F(BuildCommandTest, InstallerErrorsAndStandardExceptionsAreShownToo) {
  SimpleProject();
  W->ckbIncludePatching->SetChecked(true);
  VersionReminderDlg->ckbDontShow->SetChecked(true);
  Prompts.Expect(TExpectedPrompt(pkModalForm, "FtpDataDlg", mrOk, {}, [] { throw std::runtime_error("disk on fire"); }));
  Prompts.Expect(pkMessageDlg, "disk on fire");
  ClickBuild();
  ExpectEnded("Build Error", Red);
  EXPECT_EQ(W->FUpdatePending, 1);
}

TEST_F(BuildCommandTest, MissingSourceFilesEndTheBuildWithoutAnotherDialog) {
  SimpleProject();
  AddFile(Core(), Src + "gone.txt");
  Prompts.Expect(pkMessageDlg, "The following files were not found.");
  ClickBuild();
  EXPECT_EQ(Prompts.Asked().size(), 1u);
  ExpectEnded("Build Error", Red);
}

TEST_F(BuildCommandTest, ClosingWaitsForTheEndOfTheBuildAndNewIsRefused) {
  SimpleProject();
  W->ckbIncludePatching->SetChecked(true);
  VersionReminderDlg->ckbDontShow->SetChecked(true);
  bool closedDuringBuild = true;
  Prompts.Expect(TExpectedPrompt(pkModalForm, "FtpDataDlg", mrCancel, {}, [this, &closedDuringBuild] {
    EXPECT_FALSE(W->New1->Enabled());
    EXPECT_FALSE(W->Open1->Enabled());
    W->Close();
    closedDuringBuild = Application->Terminated();
  }));
  // After the build the window closes: the project changed, so it asks.
  Prompts.Expect(pkMessageDlg, "The current project needs saving.", mrCancel);
  ClickBuild();
  EXPECT_FALSE(closedDuringBuild);
  ExpectEnded("Build Complete", Green);
  EXPECT_TRUE(W->New1->Enabled());
  EXPECT_TRUE(W->Open1->Enabled());
}

class ProductNameRefusedTest : public BuildCommandTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ProductNameRefusedTest, BeforeAnythingIsWritten) {
  SimpleProject();
  W->edProductName->SetText(GetParam());
  ForceDirectories(Dir + "somewhere");
  Write(Dir + "somewhere\\Uninstallvictim.exe", "the victim");
  const std::vector<std::string> app = FolderNames(App), dir = FolderNames(Dir);
  Prompts.Expect(pkMessageDlg, "The Product Name on the Information page cannot be used in file names: \"" +
                                   std::string(GetParam()) + "\"");
  ClickBuild();
  ASSERT_EQ(Prompts.Asked().size(), 1u);
  EXPECT_EQ(Prompts.Asked()[0].DlgType, mtError);
  EXPECT_EQ(FolderNames(App), app);
  EXPECT_EQ(FolderNames(Dir), dir);
  EXPECT_EQ(Bytes(Dir + "somewhere\\Uninstallvictim.exe"), "the victim");
  EXPECT_FALSE(BuildRunning());
}

INSTANTIATE_TEST_SUITE_P(Names, ProductNameRefusedTest,
                         ::testing::Values("x\\..\\..\\somewhere\\victim", "..\\somewhere\\victim", "a/b", "..",
                                           "CON", "nul .txt", "Lpt1", "COM9.app", "Tool.", "Tool ", "a:b",
                                           "what?", "tab\there"));

// A build that fails at any step leaves the package and distribution of the
// build before as they were, and no work file.
class FailedBuildTest : public BuildCommandTest {
 protected:
  void SetUp() override {
    BuildCommandTest::SetUp();
    SimpleProject();
    Source = MakeSource("data.bin", std::string(200000, 'd'));
    AddFile(Core(), Source);
    ClickBuild();
    ExpectEnded("Build Complete", Green);
    Package = Bytes(W->FOutputFile);
    Setup = Bytes(Dir + "CD-Image\\Setup.exe");
    SetupIni = Bytes(Dir + "setup.ini");
    ASSERT_FALSE(Package.empty());
    ASSERT_FALSE(Setup.empty());
    ASSERT_FALSE(SetupIni.empty());
  }
  void ExpectOldBuildKept() {
    ExpectEnded("Build Error", Red);
    EXPECT_EQ(Bytes(W->FOutputFile), Package) << "the package of the build before";
    EXPECT_EQ(Bytes(Dir + "CD-Image\\Setup.exe"), Setup) << "the distribution of the build before";
    EXPECT_EQ(FolderNames(Dir + "CD-Image\\"), std::vector<std::string>{"Setup.exe"});
    EXPECT_EQ(Bytes(Dir + "setup.ini"), SetupIni) << "the setup.ini of the build before";
    EXPECT_EQ(WorkFilesBeside(), std::vector<std::string>{});
    EXPECT_THAT(Rows("SELECT File FROM File WHERE Sequence=20"), ElementsAre("FILE2Sdata.bin"));
  }
  std::string Source, Package, Setup, SetupIni;
};

TEST_F(FailedBuildTest, LockedSourceNamesTheFile) {
  HANDLE lock = CreateFileA(Source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Prompts.Expect(pkMessageDlg, "Cannot add the file " + Source + " to the cabinet");
  ClickBuild();
  CloseHandle(lock);
  ExpectOldBuildKept();
}

TEST_F(FailedBuildTest, SourceDeletedAfterTheCheckNamesTheFile) {
  W->ckbIncludePatching->SetChecked(true);
  VersionReminderDlg->ckbDontShow->SetChecked(true);
  // The Component step's FTP settings dialog: the file goes meanwhile.
  Prompts.Expect(TExpectedPrompt(pkModalForm, "FtpDataDlg", mrCancel, {}, [this] { DeleteFile(Source); }));
  Prompts.Expect(pkMessageDlg, "Cannot add the file " + Source + " to the cabinet");
  ClickBuild();
  ExpectOldBuildKept();
}

TEST_F(FailedBuildTest, FailingDistributionBringsTheOldPackageBack) {
  // Install.exe is part of every distribution; setup.ini names the version.
  ASSERT_TRUE(DeleteFile(App + "Install.exe"));
  W->edProductVersion->SetText("1.5.0");
  Prompts.Expect(pkMessageDlg, "Install.exe");
  ClickBuild();
  ExpectOldBuildKept();
}

// The update baseline follows the package: a build whose distribution fails
// leaves the one of the build before, a complete build replaces it.
TEST_F(FailedBuildTest, FailingDistributionKeepsTheOldUpdateBaseline) {
  W->ckbIncludePatching->SetChecked(true);
  VersionReminderDlg->ckbDontShow->SetChecked(true);
  W->FAllowAutoUpdate = 0;
  const std::string old = App + "Patches\\Tool\\Version1.0\\Old\\";
  const auto build = [this](const std::string& failure) {
    Prompts.Expect(pkModalForm, "FtpDataDlg", mrCancel);
    if (!failure.empty()) Prompts.Expect(pkMessageDlg, failure);
    ClickBuild();
  };
  build("");
  ExpectEnded("Build Complete", Green);
  Package = Bytes(W->FOutputFile);
  Setup = Bytes(Dir + "CD-Image\\Setup.exe");
  SetupIni = Bytes(Dir + "setup.ini");
  const std::string baseline = Bytes(old + "primary.cab");
  ASSERT_FALSE(baseline.empty());

  Write(Source, std::string(200000, 'e'));  // the next cabinet differs
  ASSERT_TRUE(DeleteFile(App + "Install.exe"));
  build("Install.exe");
  ExpectOldBuildKept();
  EXPECT_TRUE(Bytes(old + "primary.cab") == baseline) << "the baseline of the build before";
  EXPECT_EQ(FolderNames(old), std::vector<std::string>{"primary.cab"});

  ASSERT_TRUE(CopyFile(std::string(TQ_PROGRAM_DIR) + "\\Install.exe", App + "Install.exe", false));
  build("");
  ExpectEnded("Build Complete", Green);
  EXPECT_FALSE(Bytes(old + "primary.cab") == baseline) << "the new build's baseline";
  EXPECT_EQ(FolderNames(old), std::vector<std::string>{"primary.cab"});
  EXPECT_EQ(WorkFilesBeside(), std::vector<std::string>{});
}

// The first build with update support makes the baseline's folders; when it
// fails they go with its baseline.
TEST_F(FailedBuildTest, FailedFirstUpdateBuildLeavesNoUpdateFolders) {
  W->ckbIncludePatching->SetChecked(true);
  VersionReminderDlg->ckbDontShow->SetChecked(true);
  W->FAllowAutoUpdate = 0;
  ASSERT_FALSE(DirectoryExists(App + "Patches"));
  ASSERT_TRUE(DeleteFile(App + "Install.exe"));
  Prompts.Expect(pkModalForm, "FtpDataDlg", mrCancel);
  Prompts.Expect(pkMessageDlg, "Install.exe");
  ClickBuild();
  ExpectOldBuildKept();
  EXPECT_FALSE(DirectoryExists(App + "Patches"));
}

TEST_F(FailedBuildTest, StaleWorkFilesOfAKilledBuildGoWithTheNextBuild) {
  Write(W->FOutputFile + ".partial", "half a package");
  Write(W->FOutputFile + ".previous", "an old package");
  ForceDirectories(Dir + "CD-Image.partial");
  Write(Dir + "CD-Image.partial\\Setup.zip", "half an archive");
  ClickBuild();
  ExpectEnded("Build Complete", Green);
  EXPECT_EQ(WorkFilesBeside(), std::vector<std::string>{});
  EXPECT_EQ(FolderNames(Dir + "CD-Image\\"), std::vector<std::string>{"Setup.exe"});
  EXPECT_NE(Bytes(W->FOutputFile), "half a package");
}

TEST_F(BuildCommandTest, DotsCycleAcrossBuilds) {
  // Earlier builds of this process ran the timer as long as they took: start
  // where a fresh program starts.
  BuildingDotCount = 1;
  std::vector<std::string> captions;
  for (int i = 0; i < 7; ++i) {
    BuildingTimerTick(*W);
    captions.push_back(W->labBuilding->Caption());
  }
  EXPECT_THAT(captions, ElementsAre("Building.", "Building..", "Building...", "Building....", "Building.....",
                                    "Building", "Building."));
}

}  // namespace
