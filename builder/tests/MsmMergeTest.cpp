// The merge-module object on a package prepared as the table steps leave it
// and the fixture module that msibuild and gcab made: what lands in which
// table, what counts as a merge error, and how its calls fail.
#include <windows.h>
#include <objbase.h>

#include <algorithm>

#include "MergeTestSupport.h"
#include "MsiTestRows.h"
#include "MsmMerge.h"

using namespace tq;
using namespace tq::testing;
using namespace tq::testing;
using tq::testing::PackageRows;

namespace {

class MsmMergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    P = std::make_unique<TPreparedProject>(BuildTreeFolder("msm-merge"), StandardFiles());
    P->Prepare();
    LogFile = P->Dir + "msm.log";
  }
  void TearDown() override { CoUninitialize(); }

  // Runs the statements on the package and commits.
  void Change(std::initializer_list<std::string> statements) {
    TBuild b;
    b.CreateInstaller();
    b.OpenDatabase(P->Package);
    for (const std::string& s : statements) b.RunStatement(s);
    b.Commit();
  }
  // One whole merge as the builder runs it; answers the error count.
  int MergeFixture(const std::string& feature = "Typical", const std::string& redirect = "Data") {
    auto merge = CoMsmMerge::Create();
    merge->OpenDatabase(P->Package);
    merge->OpenModule(FixtureModule(), 1033);
    merge->OpenLog(LogFile);
    merge->Merge(feature, redirect);
    const int errors = merge->Errors().Count();
    merge->CloseDatabase(true);
    merge->CloseModule();
    merge->CloseLog();
    return errors;
  }
  std::vector<std::string> Rows(const std::string& sql) const { return PackageRows(P->Package, sql); }

  std::unique_ptr<TPreparedProject> P;
  std::string LogFile;
};

TEST_F(MsmMergeTest, ModuleTablesLandInThePackage) {
  ASSERT_EQ(MergeFixture(), 0) << ReadAll(LogFile);

  // The module's root is the redirect directory: its TARGETDIR children move
  // under Data, and the package keeps its one TARGETDIR.
  EXPECT_EQ(Rows("SELECT `Directory`,`Directory_Parent`,`DefaultDir` FROM `Directory`"),
            (std::vector<std::string>{"Data|TARGETDIR|Data", "FixtureDir" + Suffix + "|Data|Fixture",
                                      "FixtureSub" + Suffix + "|FixtureDir" + Suffix + "|Sub", "GROUP|TARGETDIR|.",
                                      "TARGETDIR|~|SourceDir"}));
  EXPECT_EQ(Rows("SELECT `Component`,`Directory_`,`KeyPath` FROM `Component` WHERE `Component`='FixComp3" + Suffix + "'"),
            std::vector<std::string>{Row({"FixComp3" + Suffix, "Data", "FixFile3" + Suffix})});

  // File rows follow the package's six (10..60) in the module's Sequence order.
  EXPECT_EQ(Rows("SELECT `File`,`Sequence`,`FileName` FROM `File` WHERE `Sequence` > 60"),
            (std::vector<std::string>{Row({"FixFile1" + Suffix, "62", "one.txt"}),
                                      Row({"FixFile2" + Suffix, "61", "two.dat"}),
                                      Row({"FixFile3" + Suffix, "63", "three.txt"})}));
  EXPECT_EQ(Rows("SELECT `File` FROM `File`").size(), 9u);

  EXPECT_EQ(Rows("SELECT `Registry`,`Root`,`Key`,`Name`,`Value`,`Component_` FROM `Registry`"),
            std::vector<std::string>{Row({"FixReg" + Suffix, "1", "Software\\TarnquillFixture", "Merged", "yes",
                                          "FixComp1" + Suffix})});
  EXPECT_EQ(Rows("SELECT `Value` FROM `Property` WHERE `Property`='FIXTUREMODE'"), std::vector<std::string>{"module"});

  // The placed action goes one after its base action, the numbered one keeps
  // its number, the package's own InstallFiles stays as it was.
  EXPECT_EQ(Rows("SELECT `Action`,`Sequence` FROM `InstallExecuteSequence` WHERE `Sequence` >= 1000 AND `Sequence` <= 1450"),
            (std::vector<std::string>{"CostFinalize|1000", "FixSetEarly" + Suffix + "|1450",
                                      "FixSetMode" + Suffix + "|1001", "InstallValidate|1400", "MigrateFeatureStates|1200"}));
  EXPECT_EQ(Rows("SELECT `Sequence` FROM `InstallExecuteSequence` WHERE `Action`='InstallFiles'"),
            std::vector<std::string>{"4000"});
  EXPECT_EQ(Rows("SELECT `Action`,`Type`,`Source`,`Target` FROM `CustomAction` WHERE `Action`='FixSetMode" + Suffix + "'"),
            std::vector<std::string>{Row({"FixSetMode" + Suffix, "51", "FIXTURESET", "after cost"})});

  // Every component of the module joins the feature.
  EXPECT_EQ(Rows("SELECT `Feature_`,`Component_` FROM `FeatureComponents` WHERE `Feature_`='Typical'").size(), 6u);
  for (int n = 1; n <= 3; ++n)
    EXPECT_EQ(Rows("SELECT `Feature_` FROM `FeatureComponents` WHERE `Component_`='FixComp" + std::to_string(n) + Suffix + "'"),
              std::vector<std::string>{"Typical"});

  // The module's bookkeeping stays in the module.
  for (const char* table : {"ModuleSignature", "ModuleComponents", "ModuleInstallExecuteSequence"})
    EXPECT_FALSE(HasTable(P->Package, table)) << table;

  const std::string log = ReadAll(LogFile);
  EXPECT_NE(log.find("Table Registry: 1 rows added"), std::string::npos) << log;
  EXPECT_NE(log.find("Created the table Registry"), std::string::npos) << log;
  EXPECT_NE(log.find("with 0 merge errors"), std::string::npos) << log;
}

TEST_F(MsmMergeTest, RowsHeldWithOtherDataAreCountedLoggedAndKept) {
  Change({"INSERT INTO `Property` (`Property`,`Value`) VALUES ('FIXTUREMODE','package')",
          "INSERT INTO `CustomAction` (`Action`,`Type`,`Source`,`Target`) VALUES ('FixSetEarly" + Suffix +
              "',51,'FIXTUREEARLY','the package')",
          // The same row as the module's: no error.
          "INSERT INTO `CustomAction` (`Action`,`Type`,`Source`,`Target`) VALUES ('FixSetMode" + Suffix +
              "',51,'FIXTURESET','after cost')",
          "INSERT INTO `Directory` (`Directory`,`Directory_Parent`,`DefaultDir`) VALUES ('FixtureSub" + Suffix +
              "','TARGETDIR','Elsewhere')"});
  auto merge = CoMsmMerge::Create();
  merge->OpenDatabase(P->Package);
  merge->OpenModule(FixtureModule(), 1033);
  merge->OpenLog(LogFile);
  merge->Merge("Typical", "Data");
  ASSERT_EQ(merge->Errors().Count(), 3);
  std::vector<std::string> where;
  for (int i = 0; i < 3; ++i) where.push_back(merge->Errors().Item(i).Table + ":" + merge->Errors().Item(i).Keys);
  std::sort(where.begin(), where.end());
  EXPECT_EQ(where, (std::vector<std::string>{"CustomAction:FixSetEarly" + Suffix, "Directory:FixtureSub" + Suffix,
                                             "Property:FIXTUREMODE"}));
  merge->CloseDatabase(true);
  merge->CloseModule();
  merge->CloseLog();

  // The package's rows stay; the rest of the module is merged all the same.
  EXPECT_EQ(Rows("SELECT `Value` FROM `Property` WHERE `Property`='FIXTUREMODE'"), std::vector<std::string>{"package"});
  EXPECT_EQ(Rows("SELECT `DefaultDir` FROM `Directory` WHERE `Directory`='FixtureSub" + Suffix + "'"),
            std::vector<std::string>{"Elsewhere"});
  EXPECT_EQ(Rows("SELECT `File` FROM `File`").size(), 9u);
  const std::string log = ReadAll(LogFile);
  for (const std::string& key : std::vector<std::string>{"FIXTUREMODE", "FixSetEarly" + Suffix, "FixtureSub" + Suffix})
    EXPECT_NE(log.find("row " + key + ":"), std::string::npos) << key << "\n" << log;
  EXPECT_NE(log.find("Value is 'package' in the database, 'module' in the module"), std::string::npos) << log;
  EXPECT_NE(log.find("with 3 merge errors"), std::string::npos) << log;
}

TEST_F(MsmMergeTest, RedirectToTargetDirKeepsTheModulesRoot) {
  ASSERT_EQ(MergeFixture("Required", "TARGETDIR"), 0) << ReadAll(LogFile);
  EXPECT_EQ(Rows("SELECT `Directory_Parent` FROM `Directory` WHERE `Directory`='FixtureDir" + Suffix + "'"),
            std::vector<std::string>{"TARGETDIR"});
  EXPECT_EQ(Rows("SELECT `Directory_` FROM `Component` WHERE `Component`='FixComp3" + Suffix + "'"),
            std::vector<std::string>{"TARGETDIR"});
  EXPECT_EQ(Rows("SELECT `Feature_` FROM `FeatureComponents` WHERE `Component_`='FixComp1" + Suffix + "'"),
            std::vector<std::string>{"Required"});
}

TEST_F(MsmMergeTest, MergingTwiceChangesNothingTheSecondTime) {
  ASSERT_EQ(MergeFixture(), 0);
  const auto files = Rows("SELECT `File`,`Sequence` FROM `File`");
  // The File rows are there already (with their new numbers): the same rows.
  EXPECT_EQ(MergeFixture(), 0) << ReadAll(LogFile);
  EXPECT_EQ(Rows("SELECT `File`,`Sequence` FROM `File`").size(), files.size());
}

TEST_F(MsmMergeTest, ExtractsTheModulesCabinetByteForByte) {
  auto merge = CoMsmMerge::Create();
  merge->OpenModule(FixtureModule(), 1033);
  const std::string cab = P->Dir + "temp.cab";
  ASSERT_TRUE(merge->ExtractCAB(cab));
  EXPECT_TRUE(ReadAll(cab) == ReadAll(FixtureCabinet()));
  merge->CloseModule();

  // A module without files carries no cabinet: no file, no failure.
  const std::string bare = P->Dir + "bare.msm";
  ASSERT_TRUE(::CopyFileA((std::string(TQ_PROGRAM_DIR) + "\\templatemsm.tpl").c_str(), bare.c_str(), FALSE));
  auto other = CoMsmMerge::Create();
  other->OpenModule(bare, 1033);
  EXPECT_FALSE(other->ExtractCAB(P->Dir + "none.cab"));
  EXPECT_EQ(GetFileAttributesA((P->Dir + "none.cab").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MsmMergeTest, DatabaseClosedWithoutCommitStaysAsItWas) {
  const auto before = Rows("SELECT `File` FROM `File`");
  auto merge = CoMsmMerge::Create();
  merge->OpenDatabase(P->Package);
  merge->OpenModule(FixtureModule(), 1033);
  merge->Merge("Typical", "Data");
  merge->CloseDatabase(false);
  EXPECT_EQ(Rows("SELECT `File` FROM `File`"), before);
}

TEST_F(MsmMergeTest, FailuresNameWhatFailed) {
  struct TCase {
    const char* What;
    std::function<void(TMsmMerge&)> Run;
    std::string Expected;  // a piece of the message
  };
  const std::string missing = P->Dir + "missing.msm";
  const std::vector<TCase> cases = {
      {"module file missing", [&](TMsmMerge& m) { m.OpenModule(missing, 1033); }, missing},
      {"a package is no module", [&](TMsmMerge& m) { m.OpenModule(P->Package, 1033); }, "is not a merge module"},
      {"other language", [&](TMsmMerge& m) { m.OpenModule(FixtureModule(), 1031); }, "is for language 1033, not 1031"},
      {"feature missing",
       [&](TMsmMerge& m) {
         m.OpenDatabase(P->Package);
         m.OpenModule(FixtureModule(), 1033);
         m.Merge("NoSuchFeature", "Data");
       },
       "has no feature NoSuchFeature"},
      {"redirect directory missing",
       [&](TMsmMerge& m) {
         m.OpenDatabase(P->Package);
         m.OpenModule(FixtureModule(), 1033);
         m.Merge("Typical", "NoSuchDir");
       },
       "has no directory NoSuchDir"},
      {"merge without a module",
       [&](TMsmMerge& m) {
         m.OpenDatabase(P->Package);
         m.Merge("Typical", "Data");
       },
       "no merge module is open"},
  };
  for (const TCase& c : cases) {
    auto merge = CoMsmMerge::Create();
    try {
      c.Run(*merge);
      ADD_FAILURE() << c.What << ": no failure";
    } catch (const EMsmError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Expected), std::string::npos) << c.What << ": " << e.what();
    }
  }
  // A language-neutral request of the same primary language is offered.
  auto merge = CoMsmMerge::Create();
  EXPECT_NO_THROW(merge->OpenModule(FixtureModule(), 2057));
}

}  // namespace
