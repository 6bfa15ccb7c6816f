// One merge as the cabinet phase runs it (MergeModuleInto): the module's
// cabinet unpacked into the work folder and its files packed into the
// package's cabinet in File order; Windows Installer installs the merged
// package with the module's files under the redirect folder.
#include <windows.h>
#include <objbase.h>

#include <cstdlib>

#include "MergeTestSupport.h"
#include "MsiTestRows.h"
#include "merge.h"

using namespace tq;
using namespace tq::testing;
using namespace tq::testing;
using tq::testing::PackageRows;
using tq::testing::RunAndWait;

namespace {

class MergeModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    P = std::make_unique<TPreparedProject>(BuildTreeFolder("merge-module"), StandardFiles());
    P->Prepare();
  }
  void TearDown() override { CoUninitialize(); }

  TModuleMergeJob Job(const std::string& module = FixtureModule()) {
    TModuleMergeJob job;
    job.PackageFile = P->Package;
    job.ModuleFile = module;
    job.Feature = "Typical";
    job.RedirectDirectory = "Data";
    job.LogFile = P->AppDir + "msm.log";
    job.WorkDir = P->WorkDir;
    job.Reader = &Tools.Reader;
    job.ItemModule = module;
    return job;
  }
  // The cabinet phase with the fixture merged as its one merge.
  void BuildWithFixture() {
    TCabinetJob job = P->Job();
    job.Merges.push_back([this] { Errors = MergeModuleInto(Job()); });
    TBuild build;
    RunCabinetPhase(build, Tools.Writer, job);
  }

  std::unique_ptr<TPreparedProject> P;
  TCabinetTools Tools;
  int Errors = -1;
};

TEST_F(MergeModuleTest, UnpacksTheModulesFilesIntoTheWorkFolder) {
  EXPECT_EQ(MergeModuleInto(Job()), 0);
  for (const TModuleFile& f : ModuleFiles())
    EXPECT_TRUE(ReadAll(P->WorkDir + "tempcab\\" + f.Key) == f.Content()) << f.Key;
  // The module's cabinet is gone once unpacked.
  EXPECT_EQ(GetFileAttributesA((P->WorkDir + "temp.cab").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(ReadAll(P->AppDir + "msm.log").find("Merging"), std::string::npos);
}

TEST_F(MergeModuleTest, PackageCabinetFollowsTheFileTable) {
  BuildWithFixture();
  EXPECT_EQ(Errors, 0);
  // Nine File rows: LastSequence 100 covers the module's 61..63.
  EXPECT_EQ(PackageRows(P->Package, "SELECT `LastSequence` FROM `Media`"), std::vector<std::string>{"100"});
  const std::string cab = P->Dir + "check.cab";
  tq::testing::WriteAll(cab, StreamBytes(P->Package, PackageCabinetName));
  std::vector<std::string> expected;
  for (size_t i = 0; i < P->Files.size(); ++i) expected.push_back(P->FileKey(i));
  for (const char* key : {"FixFile2", "FixFile1", "FixFile3"}) expected.push_back(key + Suffix);
  EXPECT_EQ(CabinetMembers(Tools.Reader, cab), expected);
  // The work folder is empty again, and no module cabinet stayed behind.
  EXPECT_EQ(FileCountIn(P->WorkDir + "tempcab\\"), 0);
  EXPECT_EQ(GetFileAttributesA((P->WorkDir + "temp.cab").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MergeModuleTest, NoModuleObtainedLeavesThePackageAsItWas) {
  const auto before = PackageRows(P->Package, "SELECT `File` FROM `File`");
  EXPECT_EQ(MergeModuleInto(Job("")), 0);
  EXPECT_EQ(PackageRows(P->Package, "SELECT `File` FROM `File`"), before);
  EXPECT_EQ(FileCountIn(P->WorkDir + "tempcab\\"), 0);
}

TEST_F(MergeModuleTest, ModuleThatCannotBeOpenedNamesItsFile) {
  const std::string missing = P->Dir + "no such module.msm";
  try {
    MergeModuleInto(Job(missing));
    FAIL() << "no failure";
  } catch (const EBuildException& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
  }
}

TEST(MergeErrors, MessageNamesCountModuleAndLog) {
  EXPECT_EQ(MergeErrorsMessage(3, "C:\\Modules\\shared.msm"),
            "There were 3 merge errors merging C:\\Modules\\shared.msm.\r\n\r\n"
            "For additional information see the msm.log file");
}

// Writes a package with the fixture merged for msitools and gcab to read
// (check-peer-merge.sh), when run with TQ_PEER_MERGE_DIR set.
TEST_F(MergeModuleTest, WritesMergedPackageForPeers) {
  const char* peerDir = std::getenv("TQ_PEER_MERGE_DIR");
  if (!peerDir) GTEST_SKIP() << "TQ_PEER_MERGE_DIR not set";
  BuildWithFixture();
  ASSERT_EQ(Errors, 0);
  const std::string out = std::string(peerDir) + "\\merged.msi";
  ASSERT_TRUE(::CopyFileA(P->Package.c_str(), out.c_str(), FALSE));
}

TEST_F(MergeModuleTest, MergedPackageInstallsTheModulesFiles) {
  BuildWithFixture();
  ASSERT_EQ(Errors, 0);
  const std::string target = P->Dir + "target\\";
  const std::string log = P->Dir + "install.log";
  ASSERT_EQ(RunAndWait("msiexec.exe /i \"" + P->Package + "\" /qn /l*v \"" + log + "\" TARGETDIR=\"" + target + "\""),
            0)
      << ReadAll(log).substr(0, 20000);
  for (const TModuleFile& f : ModuleFiles()) {
    const std::string installed = target + "Data\\" + f.Folder + f.Name;
    EXPECT_TRUE(ReadAll(installed) == f.Content()) << installed;
  }
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TarnquillFixture", 0, KEY_READ, &key), ERROR_SUCCESS);
  char value[64] = {};
  DWORD size = sizeof value;
  EXPECT_EQ(RegQueryValueExA(key, "Merged", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_STREQ(value, "yes");
  // The module's custom action ran in the execute sequence.
  EXPECT_NE(ReadAll(log).find("FixSetMode" + Suffix), std::string::npos);

  const std::string removeLog = P->Dir + "remove.log";
  ASSERT_EQ(RunAndWait("msiexec.exe /x " + P->ProductCode + " /qn /l*v \"" + removeLog + "\" TARGETDIR=\"" + target +
                       "\""),
            0)
      << ReadAll(removeLog).substr(0, 20000);
  for (const TModuleFile& f : ModuleFiles())
    EXPECT_EQ(GetFileAttributesA((target + "Data\\" + f.Folder + f.Name).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
