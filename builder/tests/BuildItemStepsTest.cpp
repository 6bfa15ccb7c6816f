// The Registry, Shortcut, Environment and association steps on projects taken
// from a real main window and given their items as the build reads them,
// read back from the package they wrote.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "BuildFixture.h"
#include "BuildSteps.h"
#include "Registry.h"

using namespace tq;
using namespace tq::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using TRows = std::vector<std::string>;

class ItemStepsTest : public BuildTest {
 protected:
  // Core_Program with app.exe and readme.txt in <Home Directory>, a typical
  // choice Docs with three files in bin; the window's project as the build
  // reads it.
  TBuildProject Project(const std::string& productName = "Tool") {
    FillInfoPage(productName);
    AddDirectory(AddDirectory(Home(), "bin"), "data");
    AddFile(Core(), MakeSource("app.exe"));
    AddFile(Core(), MakeSource("readme.txt"));
    TChoice* docs = AddChoice("Docs");
    docs->Typical = true;
    for (const char* name : {"one.txt", "two.txt", "three.txt"}) AddFile(docs, MakeSource(name), "bin");
    TBuildProject project = ReadBuildProject(*W);
    project.AskFtpSettings = [] { return static_cast<int>(mrCancel); };
    return project;
  }
  std::string App() const { return Src + "app.exe"; }
  // The table steps in the build's order, then the commit.
  void Build(const TBuildProject& project) {
    TBuild build;
    build.FProject = std::make_shared<TBuildProject>(project);
    ASSERT_TRUE(PrepareDatabase(build));
    WriteDirectoryTable(build);
    WriteFeatureTable(build);
    if (project.MergeModule()) build.FModuleId = "Module" + build.FKeySuffix;
    WriteComponentTables(build);
    WriteFileTables(build);
    WriteRegistryTable(build);
    EXPECT_TRUE(WriteShortcutTable(build));
    WriteEnvironmentTable(build);
    EXPECT_TRUE(WriteAssociations(build));
    build.CommitDatabase();
  }
  // The message the build stops with; empty when it built.
  std::string BuildError(const TBuildProject& project) {
    try {
      Build(project);
    } catch (const EBuildException& e) {
      return e.Message;
    }
    return {};
  }
  // The first components of the two choices, as the installer lists them.
  static constexpr const char* CoreComponent = "COMP1Sapp.exe";
  static constexpr const char* DocsComponent = "COMP3Sone.txt";
  // The rows of the working-directory actions in a table.
  TRows WorkDirRows(const std::string& columns, const std::string& table) {
    TRows rows;
    for (const std::string& row : Rows("SELECT " + columns + " FROM `" + table + "`"))
      if (row.rfind("WORKDIR", 0) == 0) rows.push_back(row);
    return rows;
  }
};

// ---- registry entries ----

TEST_F(ItemStepsTest, RegistryOfAPlaceholderOnlyPageIsEmpty) {
  Build(Project());
  EXPECT_THAT(Rows("SELECT `Registry` FROM `Registry`"), IsEmpty());
}

TEST_F(ItemStepsTest, RegistryEntriesKeepTheirRootAndTextAsTyped) {
  TBuildProject p = Project();
  p.RegEntries = {{0, "Folder", 1, "Software\\Quill Works\\Sam's Tool", "Install's path", "[TARGETDIR]", "Core_Program"},
                  {1, "Default", -1, "\\Software\\Quill Works\\Default", "", "it's -1", "Docs"},
                  {2, "NoKey", 2, "", "Name", "Value", ""}};
  Build(p);
  const std::string core = CoreComponent, docs = DocsComponent;
  EXPECT_THAT(Rows("SELECT `Registry`, `Root`, `Key`, `Name`, `Value`, `Component_` FROM `Registry`"),
              ElementsAre("Default|-1|Software\\Quill Works\\Default|~|it's -1|" + docs,
                          "Folder|1|Software\\Quill Works\\Sam's Tool|Install's path|[TARGETDIR]|" + core));
}

TEST_F(ItemStepsTest, RegistryEntryWithAKeyButNoChoiceStopsNumberedByItsTab) {
  TBuildProject p = Project();
  p.RegEntries = {{0, "Fine", 1, "Software\\A", "", "", "Core_Program"}, {1, "NoChoice", 1, "Software\\B", "", "", ""}};
  EXPECT_EQ(BuildError(p), "Registry entry number 1 is missing the Choice field.");
}

TEST_F(ItemStepsTest, ItemOfAChoiceWithoutComponentsStopsWithItsPageAndEntry) {
  TBuildProject p = Project();
  p.RegEntries = {{0, "Lost", 1, "Software\\A", "", "", "Gone"}};
  EXPECT_EQ(BuildError(p),
            "Registry entry number 0: the choice \"Gone\" installs no component (is it a choice of this project?).");
}

// ---- the updates menu ----

class UpdatesMenuTest : public ItemStepsTest {
 protected:
  void SetUp() override {
    ItemStepsTest::SetUp();
    // Keys of this test alone: the Wine prefix is shared by every test run.
    Token = "[" + IntToStr(GetCurrentProcessId()) + "." + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "]";
    Product = "Tool " + Token;
  }
  void TearDown() override {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    registry.DeleteKey("\\Software\\Quorvel\\Tarnquill\\" + Product);
    for (const std::string& key : MenuKeys) registry.DeleteKey("\\Software\\Quorvel\\UpdatesMenu\\" + key);
    ItemStepsTest::TearDown();
  }
  void SetTitle(const std::string& title) {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKey("\\Software\\Quorvel\\Tarnquill\\" + Product, true));
    registry.WriteString("ProgramTitle", title);
  }
  void AddMenu(const std::string& name, const std::string& caption, int position) {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKey("\\Software\\Quorvel\\UpdatesMenu\\" + name, true));
    registry.WriteString("ParentMenuCaption", caption);
    registry.WriteInteger("MenuPosition", position);
    MenuKeys.push_back(name);
  }
  TBuildProject PatchingProject() {
    TBuildProject p = Project(Product);
    p.IncludePatching = true;
    return p;
  }
  TRows MenuRows() { return Rows("SELECT `Registry`, `Root`, `Key`, `Name`, `Value`, `Component_` FROM `Registry`"); }
  std::string Token, Product;
  std::vector<std::string> MenuKeys;
};

TEST_F(UpdatesMenuTest, SubKeyWithinTheTitleGivesCaptionAndPosition) {
  const std::string title = "Acme Editor " + Token + " - document";
  SetTitle(title);
  AddMenu("Acme Editor " + Token, "&Help's", 3);
  Build(PatchingProject());
  const std::string key = "Software\\Quorvel\\UpdatesMenu\\" + title;
  EXPECT_THAT(MenuRows(), ElementsAre("UpdatesMenuMenuPosition|2|" + key + "|MenuPosition|#3|COMPBRINDLEREGDATA",
                                      "UpdatesMenuParentMenuCaption|2|" + key +
                                          "|ParentMenuCaption|&Help's|COMPBRINDLEREGDATA"));
}

TEST_F(UpdatesMenuTest, SubKeyHoldingTheTitleMatchesAndNoneMatchingWritesNothing) {
  SetTitle("Editor " + Token);
  AddMenu("Editor " + Token + " Main", "Tools", 2);
  const TBuildProject p = PatchingProject();
  Build(p);
  EXPECT_EQ(MenuRows().size(), 2u);

  SetTitle("Other " + Token);
  Build(p);
  EXPECT_THAT(MenuRows(), IsEmpty());
}

TEST_F(UpdatesMenuTest, TitleIsAskedForOnceAndStored) {
  Prompts.Expect(pkInputQuery, "Please enter some unique text from your program's title line", mrOk,
                 "Asked " + Token);
  AddMenu("Asked " + Token, "Menu", 1);
  const TBuildProject p = PatchingProject();
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  registry.DeleteKey("\\Software\\Quorvel\\Tarnquill\\" + Product);  // never asked before
  Build(p);
  EXPECT_EQ(MenuRows().size(), 2u);
  EXPECT_EQ(Prompts.Asked().at(0).Caption, "Program Title Line");
  Build(p);  // no second question
  EXPECT_EQ(Prompts.Asked().size(), 1u);
}

// ---- file associations ----

TEST_F(ItemStepsTest, AssociationsGiveThreeRowsEachNumberedAcrossTheStep) {
  TBuildProject p = Project();
  const std::string one = Src + "one.txt";
  p.RegEntries = {{0, "Entry", 1, "Software\\A", "", "", "Core_Program"}};
  p.Associations = {{0, "SamText", "txt", "Core_Program", "0", App()},
                    {1, "Skipped", "", "Core_Program", "0", App()},
                    {2, "SamNotes", ".txt", "Docs", "2", one}};
  Build(p);
  const std::string core = CoreComponent, docs = DocsComponent;
  EXPECT_THAT(Rows("SELECT `Registry`, `Root`, `Key`, `Name`, `Value`, `Component_` FROM `Registry`"),
              ElementsAre("Entry|1|Software\\A|~|~|" + core,
                          "SamNotes3|0|.txt|~|SamNotes|" + docs,
                          "SamNotes4|0|SamNotes\\DefaultIcon|~|[bin]one.txt,2|" + docs,
                          "SamNotes5|0|SamNotes\\Shell\\Open\\Command|~|\"[bin]one.txt\" \"%1\"|" + docs,
                          "SamText0|0|.txt|~|SamText|" + core,
                          "SamText1|0|SamText\\DefaultIcon|~|[TARGETDIR]app.exe,0|" + core,
                          "SamText2|0|SamText\\Shell\\Open\\Command|~|\"[TARGETDIR]app.exe\" \"%1\"|" + core));
}

TEST_F(ItemStepsTest, AssociationWithAnUnknownChoiceOrFileStops) {
  TBuildProject p = Project();
  p.Associations = {{0, "Doc", "doc", "Core_Program", "0", Src + "elsewhere.exe"}};
  EXPECT_EQ(BuildError(p), "FileAssociation entry number 0has an invalid associated file:" + Src + "elsewhere.exe");
  p.Associations = {{1, "Doc", "doc", "BRINDLEREGDATA", "0", App()}};
  EXPECT_EQ(BuildError(p), "FileAssociation entry number 1has an invalid choice:BRINDLEREGDATA");
}

// ---- shortcuts ----

TEST_F(ItemStepsTest, ShortcutsPointAtTheirFileAndCarryTheirWorkingDirectory) {
  TBuildProject p = Project();
  const std::string two = Src + "two.txt";
  p.Shortcuts = {{0, "Start", "Program Group", "app.exe", "Core_Program", App(), "-x 'y'", "Starts it", 0, ""},
                 {1, "Home", "<Home Directory>", "two.txt", "Docs", two, "", "", 1, ""},
                 {2, "Data", "data", "app.exe", "Core_Program", App(), "", "", 2, "data"},
                 {3, "NoChoice", "bin", "app.exe", "", App(), "", "", 0, ""}};
  Build(p);
  const std::string core = CoreComponent, docs = DocsComponent;
  EXPECT_THAT(Rows("SELECT `Shortcut`, `Directory_`, `Name`, `Component_`, `Target`, `Arguments`, `Description`, "
                   "`Hotkey`, `Icon_`, `IconIndex`, `ShowCmd`, `WkDir` FROM `Shortcut`"),
              ElementsAre("Data|data|app.exe|" + core + "|[#FILE1Sapp.exe]|~|~|~|~|~|7|data",
                          "Home|TARGETDIR|two.txt|" + docs + "|[#FILE4Stwo.txt]|~|~|~|~|~|3|WORKDIR9999",
                          "Start|GROUP|app.exe|" + core + "|[#FILE1Sapp.exe]|-x 'y'|Starts it|~|~|~|1|WORKDIR9999"));
  EXPECT_THAT(WorkDirRows("`Action`, `Type`, `Source`, `Target`", "CustomAction"),
              ElementsAre("WORKDIR2|51|WORKDIR2|[TARGETDIR]bin\\data"));
  EXPECT_THAT(WorkDirRows("`Action`, `Sequence`", "InstallUISequence"),
              ElementsAre("WORKDIR2|1252"));
  EXPECT_THAT(WorkDirRows("`Action`", "InstallExecuteSequence"), IsEmpty());
}

TEST_F(ItemStepsTest, ShortcutTargetIsNumberedOverEveryChoicesFiles) {
  TBuildProject p = Project();
  const std::string three = Src + "three.txt";
  p.Shortcuts = {{0, "Third", "bin", "three.txt", "Docs", three, "", "", 0, ""},
                 {1, "Gone", "bin", "gone.txt", "Docs", Src + "gone.txt", "", "", 0, ""}};
  Build(p);
  // Two files of Core_Program, then one, two, three: three.txt is file 5;
  // a target no longer among the files points past the last one.
  EXPECT_THAT(Rows("SELECT `Shortcut`, `Target` FROM `Shortcut`"),
              ElementsAre("Gone|[#FILE6Sgone.txt]", "Third|[#FILE5Sthree.txt]"));
}

TEST_F(ItemStepsTest, ShowCmdMapsToTheInstallersWindowStates) {
  TBuildProject p = Project();
  for (int show : {0, 1, 2, 5})
    p.Shortcuts.push_back({show, "S" + IntToStr(show), "bin", "app.exe", "Core_Program", App(), "", "", show, ""});
  Build(p);
  EXPECT_THAT(Rows("SELECT `Shortcut`, `ShowCmd` FROM `Shortcut`"), ElementsAre("S0|1", "S1|3", "S2|7", "S5|1"));
}

TEST_F(ItemStepsTest, ShortcutWithoutDirectoryOrTargetStops) {
  TBuildProject p = Project();
  p.Shortcuts = {{4, "NoDir", "", "app.exe", "Core_Program", App(), "", "", 0, ""}};
  EXPECT_EQ(BuildError(p), "Shortcut entry number 4 is missing the Directory field");
  p.Shortcuts = {{1, "NoTarget", "bin", "", "Core_Program", "", "", "", 0, ""}};
  EXPECT_EQ(BuildError(p), "Shortcut entry number 1 has not had a target selected.");
}

TEST_F(ItemStepsTest, MergeModuleItemsCarryTheKeySuffixAndNoCustomActions) {
  MakeMergeModule();
  W->cbLanguage->SetItemIndex(0);
  AddDirectory(Home(), "bin");
  TChoice* only = Core();
  AddFile(only, MakeSource("app.exe"), "bin");
  TBuildProject p = ReadBuildProject(*W);
  const std::string s = p.KeySuffix;
  ASSERT_FALSE(s.empty());
  const std::string feature = only->FName;
  p.RegEntries = {{0, "Entry", 2, "Software\\M", "V", "1", feature}};
  p.Shortcuts = {{0, "Group", "Program Group", "app.exe", feature, Src + "app.exe", "", "", 0, "bin"},
                 {1, "Home", "<Home Directory>", "app.exe", feature, Src + "app.exe", "", "", 0, ""}};
  p.EVars = {{0, "Environment1", "PATH", "<Home Directory>", feature, false, true, 1, 0}};
  p.Associations = {{0, "ModDoc", "mdoc", feature, "0", Src + "app.exe"}};
  Build(p);
  EXPECT_THAT(Rows("SELECT `Shortcut`, `Directory_`, `Target`, `WkDir` FROM `Shortcut`"),
              ElementsAre("Group" + s + "|GROUP" + s + "|[#FILE1Sapp.exe" + s + "]|bin" + s,
                          "Home" + s + "|TARGETDIR|[#FILE1Sapp.exe" + s + "]|WORKDIR9999" + s));
  EXPECT_THAT(Rows("SELECT `Registry` FROM `Registry`"),
              ElementsAre("Entry" + s, "ModDoc0" + s, "ModDoc1" + s, "ModDoc2" + s));
  EXPECT_THAT(Rows("SELECT `Value` FROM `Registry` WHERE `Registry`='ModDoc2" + s + "'"),
              ElementsAre("\"[bin" + s + "]app.exe\" \"%1\""));
  EXPECT_THAT(Rows("SELECT `Environment` FROM `Environment`"), ElementsAre("Environment1" + s));
  EXPECT_THAT(Rows("SELECT `Action` FROM `CustomAction`"), ElementsAre("<no view>"));  // the module has no such table
}

// ---- environment ----

TEST_F(ItemStepsTest, EnvironmentNamesAndValuesInTheInstallersNotation) {
  TBuildProject p = Project();
  // Tab, EVar, Name, Value, Choice, NoAction, Delete, HowToInstall, TheType.
  p.EVars = {{0, "E0", "PATH", "C:\\it's", "Core_Program", false, true, 1, 0},
             {1, "E1", "PATH", "C:\\sys", "Core_Program", false, true, 1, 1},
             {2, "E2", "KEEP", "x", "Core_Program", true, false, 0, 0},
             {3, "E3", "PLAIN", "y", "Core_Program", false, false, 7, 1},
             {4, "E4", "HOME", "<Home Directory>", "Core_Program", false, false, 2, 0},
             {5, "E5", "BIN", "<home directory>\\bin", "Core_Program", false, false, 2, 0},
             {6, "E6", "HINT", "<hint>\\x", "Core_Program", false, false, 2, 0},
             {7, "E7", "SKIPPED", "z", "", false, false, 2, 0}};
  Build(p);
  const std::string c = CoreComponent;
  EXPECT_THAT(Rows("SELECT `Environment`, `Name`, `Value`, `Component_` FROM `Environment`"),
              ElementsAre("E0|-=PATH|[~];C:\\it's|" + c, "E1|*-=PATH|[~];C:\\sys|" + c, "E2|+KEEP|x;[~]|" + c,
                          "E3|*=PLAIN|y|" + c, "E4|=HOME|[TARGETDIR]|" + c, "E5|=BIN|[TARGETDIR]bin|" + c,
                          "E6|=HINT|<hint>\\x|" + c));
}

TEST_F(ItemStepsTest, EnvironmentEntryWithoutNameOrValueStops) {
  TBuildProject p = Project();
  p.EVars = {{2, "E", "", "v", "Core_Program", false, true, 1, 0}};
  EXPECT_EQ(BuildError(p), "Environment entry number 2 is missing the Name field.");
  p.EVars = {{3, "E", "N", "", "Core_Program", false, true, 1, 0}};
  EXPECT_EQ(BuildError(p), "Environment entry number 3 is missing the Value field.");
}

}  // namespace
