// Merge modules of a project on a real main window: the Modules page items and
// the built-in database-engine modules merged by the Build button, the checks
// and messages of a merge, and merge-module projects built into a .msm that a
// package then takes in and Windows Installer installs.
#include <windows.h>
#include <objbase.h>

#include <gmock/gmock.h>

#include "MergeTestSupport.h"  // first: its helpers call the platform's FindClose
#include "BuildCabinet.h"
#include "BuildFixture.h"
#include "BuildSteps.h"
#include "FileUtils.h"
#include "MergeItem.h"
#include "MsiTestRows.h"
#include "Registry.h"
#include "WorkspaceDialogs.h"
#include "merge.h"

using namespace tq;
using namespace tq::testing;
using namespace tq::testing;
using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

class MergeProjectTest : public BuildTest {
 protected:
  void SetUp() override {
    BuildTest::SetUp();
    CoInitialize(nullptr);
    if (!BdePathDlg) Application->CreateForm(BdePathDlg);
  }
  void TearDown() override {
    BuildTest::TearDown();
    CoUninitialize();
  }
  // An install package with one file in Core and the folder Shared.
  void MakePackageProject() {
    FillInfoPage("MergeTool");
    W->edProductCode->SetText(tq::testing::NewGuid());
    AddDirectory(Home(), "Shared");
    AddFile(Core(), MakeSource("core.txt", "the package's own file"));
  }
  // A Modules page item: the new project's default item on tab 0 while it
  // names no module, else a new one before the placeholder.
  TMerge* AddMerge(const std::string& module, const std::string& directory, const std::string& choice) {
    TControlItems& tabs = W->tcMergeModules->Tabs();
    TMerge* item = nullptr;
    for (int i = 0; !item && i + 1 < tabs.Count(); ++i) {
      auto* m = dynamic_cast<TMerge*>(tabs.GetObjectAt(i));
      if (m && m->MergeModule.empty()) item = m;
    }
    if (!item) {
      item = new TMerge(W);
      tabs.InsertObject(tabs.Count() - 1, item->FName, item);
    }
    item->MergeModule = module;
    item->Directory = directory;
    item->Choice = choice;
    return item;
  }
  void ExpectBuildComplete() { EXPECT_EQ(W->labBuilding->Caption(), "Build Complete"); }
  std::string Installed(const std::string& target, const TModuleFile& f, const std::string& under) const {
    return target + under + f.Folder + f.Name;
  }
};

TEST_F(MergeProjectTest, ItemsNeedDirectoryAndChoice) {
  MakePackageProject();
  struct TCase {
    std::string Directory, Choice;
    std::string Message;
  };
  const std::vector<TCase> cases = {
      {"", "", "Merge Module entry number 0 is missing the Directory field"},
      {"Shared", "", "Merge Module entry number 0 is missing the Choice field"},
      {"", "Core_Program", "Merge Module entry number 0 is missing the Directory field"},
  };
  for (const TCase& c : cases) {
    TMerge item(nullptr);
    item.MergeModule = FixtureModule();
    item.Directory = c.Directory;
    item.Choice = c.Choice;
    try {
      item.MergeIntoPackage(0);
      ADD_FAILURE() << c.Message << ": no failure";
    } catch (const EBuildException& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
  }
  // Through the Build button: the item on the first tab, with a module and a
  // directory but no choice, ends the build with the message.
  AddMerge(FixtureModule(), "Shared", "");
  Prompts.Expect(pkMessageDlg, "Merge Module entry number 0 is missing the Choice field");
  ClickBuild();
  EXPECT_EQ(W->labBuilding->Caption(), "Build Error");
}

TEST_F(MergeProjectTest, HomeDirectoryMergesIntoTargetDir) {
  MakePackageProject();
  AddMerge(FixtureModule(), "<Home Directory>", Core()->FName);
  // The placeholder has no module and is never merged.
  ClickBuild();
  ExpectBuildComplete();
  EXPECT_THAT(Rows("SELECT `Directory_Parent` FROM `Directory` WHERE `Directory`='FixtureDir" + Suffix + "'"),
              ElementsAre("TARGETDIR"));
  EXPECT_THAT(Rows("SELECT `Feature_` FROM `FeatureComponents` WHERE `Component_`='FixComp2" + Suffix + "'"),
              ElementsAre(Core()->FName));
  EXPECT_THAT(Rows("SELECT `File`,`Sequence` FROM `File` WHERE `File`='FixFile2" + Suffix + "'"),
              ElementsAre(Row({"FixFile2" + Suffix, "61"})));
  EXPECT_NE(tq::testing::ReadAll(App + "msm.log").find("Merging"), std::string::npos);
}

TEST_F(MergeProjectTest, MergeErrorsAreCountedAndTheBuildGoesOn) {
  MakePackageProject();
  TMerge* item = AddMerge(FixtureModule(), "Shared", Core()->FName);
  RunTableSteps();
  {
    TBuild b;
    b.CreateInstaller();
    b.OpenDatabase(W->FOutputFile);
    b.RunStatement("INSERT INTO `Property` (`Property`,`Value`) VALUES ('FIXTUREMODE','package')");
    b.RecreateTable("CustomAction", "CREATE TABLE `CustomAction` (`Action` CHAR(72) NOT NULL, `Type` SHORT NOT NULL, "
                                    "`Source` CHAR(72), `Target` CHAR(255) PRIMARY KEY `Action`)");
    for (const char* action : {"FixSetMode", "FixSetEarly"})
      b.RunStatement("INSERT INTO `CustomAction` (`Action`,`Type`,`Source`,`Target`) VALUES (?,51,'OTHER','other')",
                     {action + Suffix});
    b.Commit();
  }
  Prompts.Expect(pkMessageDlg, MergeErrorsMessage(3, FixtureModule()));
  item->MergeIntoPackage(0);
  EXPECT_EQ(Prompts.Asked().at(0).DlgType, mtError);
  const std::string log = tq::testing::ReadAll(App + "msm.log");
  for (const std::string& key : std::vector<std::string>{"FIXTUREMODE", "FixSetMode" + Suffix, "FixSetEarly" + Suffix})
    EXPECT_NE(log.find("row " + key + ":"), std::string::npos) << key << "\n" << log;
  // The rest of the module is in the package.
  EXPECT_EQ(Rows("SELECT `File` FROM `File` WHERE `File`='FixFile1" + Suffix + "'").size(), 1u);
}

TEST_F(MergeProjectTest, DatabaseEnginePathIsAskedOnceAndStored) {
  MakePackageProject();
  const std::string engine = Dir + "Engine";
  ForceDirectories(engine);
  ASSERT_TRUE(CopyFile(FixtureModule(), engine + "\\BDE_PRO.MSM", false));
  ASSERT_TRUE(CopyFile(FixtureModule(), engine + "\\Bde_Ent.MSM", false));
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(BdeRegistryKey, true));
  registry.DeleteValue("BdeProPath");
  registry.DeleteValue("BdeEntPath");
  auto answer = [](const std::string& text) {
    return TExpectedPrompt(pkModalForm, "BdePathDlg", mrOk, {}, [text] { BdePathDlg->edBdePath->SetText(text); });
  };

  // Nothing entered: nothing stored, and the build says what is missing.
  TMerge builtIn(nullptr);
  Prompts.Expect(answer(""));
  try {
    builtIn.MergeIntoPackage(-2);
    ADD_FAILURE() << "no failure";
  } catch (const EBuildException& e) {
    EXPECT_NE(std::string(e.what()).find("BDE_PRO.MSM"), std::string::npos) << e.what();
  }
  EXPECT_EQ(registry.ReadString("BdeProPath"), "");

  // A folder: the module file name follows; stored, and not asked again.
  W->Pro1->SetChecked(true);
  RunTableSteps();
  Prompts.Expect(answer(engine));
  BdePathDlg->edBdePath->SetText("");
  builtIn.MergeIntoPackage(-2);
  const std::string expected = LowerCase(engine) + "\\BDE_PRO.MSM";
  EXPECT_EQ(registry.ReadString("BdeProPath"), expected);
  EXPECT_EQ(Rows("SELECT `Feature_` FROM `FeatureComponents` WHERE `Component_`='FixComp1" + Suffix + "'"),
            std::vector<std::string>{"BDEMERGEMODULE"});
  EXPECT_EQ(BdeModulePath("BdeProPath", "BDE_PRO.MSM"), expected);  // no prompt this time

  // A file name ending in .MSM in any letter case is used lower-cased as it is.
  Prompts.Expect(answer(engine + "\\Bde_Ent.MSM"));
  EXPECT_EQ(BdeModulePath("BdeEntPath", "BDE_ENT.MSM"), LowerCase(engine + "\\Bde_Ent.MSM"));
  EXPECT_EQ(registry.ReadString("BdeEntPath"), LowerCase(engine + "\\Bde_Ent.MSM"));
  registry.DeleteValue("BdeProPath");
  registry.DeleteValue("BdeEntPath");
}

TEST_F(MergeProjectTest, ModuleProjectGetsItsSignature) {
  MakeMergeModule();
  W->edProductName->SetText("My Tool 2!");
  AddFile(Core(), MakeSource("tool.txt", "tool"));
  RunTableSteps();
  std::string code = W->edPackageCode->Text();
  code = code.substr(1, code.size() - 2);
  for (char& c : code)
    if (c == '-') c = '_';
  const std::string id = "My Tool 2." + code;
  EXPECT_THAT(Rows("SELECT `ModuleID`,`Language`,`Version` FROM `ModuleSignature`"), ElementsAre(id + "|1033|1.0.0"));
  EXPECT_THAT(Rows("SELECT `ModuleID` FROM `ModuleComponents`"), ElementsAre(id));
}

// A merge-module project made, saved, loaded and built, then merged into a
// package that Windows Installer installs.
TEST_F(MergeProjectTest, OwnModuleProjectBuildsAndMergesIntoAPackage) {
  MakeMergeModule();
  const std::string choiceName = Core()->FName;
  AddDirectory(Home(), "Tools");
  const std::string toolBytes = tq::testing::RandomContent(70000, 21);
  const std::string noteBytes = tq::testing::TextContent(9000, 22);
  AddFile(Core(), MakeSource("tool.bin", toolBytes), "Tools");
  AddFile(Core(), MakeSource("note.txt", noteBytes));
  W->FProjectFile = Dir + "project\\Module.ipr";
  W->SaveProject();
  W->NewProject(0);
  W->LoadProject(Dir + "project\\Module.ipr");
  ASSERT_EQ(W->tcChoices->Tabs().Count(), 1);
  EXPECT_EQ(W->tcChoices->Tabs()[0], choiceName);
  const std::string module = Dir + "Module.msm";
  W->FOutputFile = module;
  W->FModified = 0;
  ClickBuild();
  ExpectBuildComplete();
  ASSERT_TRUE(FileExists(module));

  W->NewProject(0);
  W->FOutputFile = Dir + "Package.msi";
  MakePackageProject();
  AddMerge(module, "Shared", Core()->FName);
  W->FModified = 0;
  ClickBuild();
  ExpectBuildComplete();
  EXPECT_EQ(tq::testing::ReadAll(App + "msm.log").find("Merge error"), std::string::npos)
      << tq::testing::ReadAll(App + "msm.log");

  const std::string target = Dir + "target\\";
  const std::string log = Dir + "install.log";
  ASSERT_EQ(RunAndWait("msiexec.exe /i \"" + W->FOutputFile + "\" /qn /l*v \"" + log + "\" TARGETDIR=\"" + target +
                       "\""),
            0)
      << tq::testing::ReadAll(log).substr(0, 20000);
  EXPECT_TRUE(tq::testing::ReadAll(target + "Shared\\Tools\\tool.bin") == toolBytes);
  EXPECT_TRUE(tq::testing::ReadAll(target + "Shared\\note.txt") == noteBytes);
  EXPECT_EQ(tq::testing::ReadAll(target + "core.txt"), "the package's own file");
  const std::string removeLog = Dir + "remove.log";
  EXPECT_EQ(RunAndWait("msiexec.exe /x " + W->edProductCode->Text() + " /qn /l*v \"" + removeLog +
                       "\" TARGETDIR=\"" + target + "\""),
            0)
      << tq::testing::ReadAll(removeLog).substr(0, 20000);
}

}  // namespace
