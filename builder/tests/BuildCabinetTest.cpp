// The cabinet phase on packages prepared from the templates with the rows the
// table steps write: the cabinet's members and their order, the stream in the
// package, the Media row, the merge-module tables, the update copy and what a
// failed phase leaves behind.
#include "BuildCabinetTestSupport.h"

#include <algorithm>

using namespace tq;
using namespace tq::testing;

namespace {

class CabinetPhaseTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }

  TPreparedProject MakeProject(std::vector<TSourceFile> files = StandardFiles(),
                               bool mergeModule = false, bool withMediaRow = true) {
    TPreparedProject p(BuildTreeFolder("buildcab-tests"), std::move(files), mergeModule);
    p.Prepare(withMediaRow);
    return p;
  }
  void Run(const TCabinetJob& job) {
    TBuild build;  // fresh, as the driver makes it
    RunCabinetPhase(build, Tools.Writer, job);
    EXPECT_FALSE(Tools.Writer.IsOpen());
  }
  // The stored cabinet, written out to a file of its own.
  std::string StoredCabinet(const TPreparedProject& p, const std::string& name = PackageCabinetName) {
    std::string bytes = StreamBytes(p.Package, name);
    std::string path = p.Dir + "stored.cab";
    WriteAll(path, bytes);
    return path;
  }
  // The File keys in Sequence order.
  static std::vector<std::string> KeysInSequence(const std::string& package) {
    std::vector<std::string> keys;
    for (auto& row : Rows(package, "SELECT `File` FROM `File` ORDER BY `Sequence`", 1)) keys.push_back(row[0]);
    return keys;
  }
  // Package and work folder after a failed phase: nothing committed, nothing left.
  void ExpectNothingLeft(const TPreparedProject& p) {
    EXPECT_EQ(StreamBytes(p.Package, PackageCabinetName), "<no stream>");
    EXPECT_EQ(FileCountIn(p.WorkDir + CabinetWorkFolder), 0);
    EXPECT_EQ(GetFileAttributesA((p.WorkDir + PackageCabinetName).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((p.Package + ".partial").c_str()), INVALID_FILE_ATTRIBUTES) << "a work copy stayed";
  }

  TCabinetTools Tools;
};

TEST_F(CabinetPhaseTest, InstallPackageCabinetHoldsEveryFileInSequenceOrder) {
  TPreparedProject p = MakeProject();
  Run(p.Job());

  std::string cab = StoredCabinet(p);
  EXPECT_EQ(CabinetMembers(Tools.Reader, cab), KeysInSequence(p.Package));
  // Every member is its source, byte for byte.
  std::string out = p.Dir + "out\\";
  CreateDirectoryA(out.c_str(), nullptr);
  Tools.Reader.ExtractFiles(cab, out);
  for (size_t i = 0; i < p.Files.size(); ++i)
    EXPECT_EQ(ReadAll(out + p.FileKey(i)), p.Files[i].Content) << p.FileKey(i);

  // The Media row covers every File row: 6 rows -> 70.
  auto media = Rows(p.Package, "SELECT `DiskId`,`LastSequence`,`Cabinet` FROM `Media`", 3);
  ASSERT_EQ(media.size(), 1u);
  EXPECT_EQ(media[0], (std::vector<std::string>{"1", "70", "#primary.cab"}));
  // Work files gone; no update copy without update support.
  EXPECT_EQ(FileCountIn(p.WorkDir + CabinetWorkFolder), 0);
  EXPECT_EQ(GetFileAttributesA((p.WorkDir + PackageCabinetName).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((p.AppDir + "Patches").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Two merges: each leaves its module's files in the work folder and File rows
// in the package; the second listing sees the first module's files again.
TEST_F(CabinetPhaseTest, MergedFilesFollowInSequenceOrderEachOnce) {
  TPreparedProject p = MakeProject({{"a.txt", "TARGETDIR", "Required", "project a"},
                                    {"b.txt", "TARGETDIR", "Typical", "project b"}});
  const std::string tempcab = p.WorkDir + CabinetWorkFolder;
  auto merge = [&](std::vector<std::pair<std::string, int>> rows) {
    return [&p, tempcab, rows] {
      TBuild m;
      m.OpenDatabase(p.Package);
      for (auto& [key, sequence] : rows) {
        WriteAll(tempcab + key, "merged " + key);
        // Extraction carries the member's attributes: a read-only one among them.
        if (key == "mod2.dll") SetFileAttributesA((tempcab + key).c_str(), FILE_ATTRIBUTE_READONLY);
        m.RunStatement("INSERT INTO `File` (`File`,`Component_`,`FileName`,`FileSize`,`Sequence`) VALUES (?,'COMP1Sa.txt',?,?,?)",
                       {key, key, static_cast<int>(("merged " + key).size()), sequence});
      }
      m.Commit();
    };
  };
  TCabinetJob job = p.Job();
  // The first module's files get high numbers, the second's fall in between.
  job.Merges.push_back(merge({{"mod1.dll", 500}, {"mod1.hlp", 30}}));
  job.Merges.push_back(merge({{"mod2.dll", 40}}));
  Run(job);

  std::vector<std::string> members = CabinetMembers(Tools.Reader, StoredCabinet(p));
  EXPECT_EQ(members, (std::vector<std::string>{p.FileKey(0), p.FileKey(1), "mod1.hlp", "mod2.dll", "mod1.dll"}));
  // LastSequence reaches the highest merged number.
  EXPECT_EQ(Rows(p.Package, "SELECT `LastSequence` FROM `Media`", 1), (std::vector<std::vector<std::string>>{{"500"}}));
  EXPECT_EQ(FileCountIn(tempcab), 0) << "the read-only merged file stayed";
}

TEST_F(CabinetPhaseTest, WithoutMergesTheCabinetHoldsExactlyTheProjectFiles) {
  TPreparedProject p = MakeProject();
  // A file an earlier build left in the work folder, read-only, named like a key.
  const std::string stale = p.WorkDir + CabinetWorkFolder + p.FileKey(2);
  WriteAll(stale, "stale bytes of an earlier build");
  SetFileAttributesA(stale.c_str(), FILE_ATTRIBUTE_READONLY);
  Run(p.Job());
  std::string out = p.Dir + "out\\";
  CreateDirectoryA(out.c_str(), nullptr);
  std::string cab = StoredCabinet(p);
  EXPECT_EQ(CabinetMembers(Tools.Reader, cab).size(), p.Files.size());
  Tools.Reader.ExtractFiles(cab, out);
  EXPECT_EQ(ReadAll(out + p.FileKey(2)), p.Files[2].Content);
}

TEST_F(CabinetPhaseTest, MergeModuleGetsItsCabinetAndItsTables) {
  TPreparedProject p = MakeProject({{"lib.dll", "Data", "Required", RandomContent(1000, 9)},
                                    {"lib.txt", "TARGETDIR", "Required", "text"}},
                                   /*mergeModule=*/true);
  TCabinetJob job = p.Job();
  job.KeepUpdateCopy = true;  // never for a merge module
  Run(job);

  EXPECT_EQ(StreamBytes(p.Package, PackageCabinetName), "<no stream>");
  std::string cab = StoredCabinet(p, ModuleCabinetName);
  EXPECT_EQ(CabinetMembers(Tools.Reader, cab),
            (std::vector<std::string>{"FILE1Slib.dll.11111111_2222_3333_4444_555555555555",
                                      "FILE2Slib.txt.11111111_2222_3333_4444_555555555555"}));
  EXPECT_FALSE(HasTable(p.Package, "Feature"));
  EXPECT_FALSE(HasTable(p.Package, "Media"));
  EXPECT_TRUE(HasTable(p.Package, "FeatureComponents"));
  EXPECT_TRUE(Rows(p.Package, "SELECT * FROM `FeatureComponents`", 2).empty());
  EXPECT_EQ(GetFileAttributesA((p.AppDir + "Patches").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CabinetPhaseTest, UpdateCopyIsTheStoredCabinetAndReplacesTheEarlierOne) {
  TPreparedProject p = MakeProject();
  TCabinetJob job = p.Job();
  job.KeepUpdateCopy = true;
  const std::string old = UpdateCopyFolder(job);
  EXPECT_EQ(old, p.AppDir + "Patches\\Tarnquill cabinet test\\Version1.2\\Old\\");
  Run(job);
  EXPECT_EQ(ReadAll(old + PackageCabinetName), StreamBytes(p.Package, PackageCabinetName));
  EXPECT_NE(GetFileAttributesA((p.AppDir + "Patches\\Tarnquill cabinet test\\Version1.2\\New").c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(FileCountIn(old), 1) << "a partial copy stayed";

  // The next good build of the version replaces it.
  TPreparedProject q = MakeProject({{"other.txt", "TARGETDIR", "Required", "another build"}});
  TCabinetJob next = q.Job();
  next.KeepUpdateCopy = true;
  next.AppDir = p.AppDir;
  Run(next);
  EXPECT_EQ(ReadAll(old + PackageCabinetName), StreamBytes(q.Package, PackageCabinetName));
}

// Failures at each stage of the phase: the baseline that update creation
// compares against stays as it was, the package gets no cabinet, and no work
// file stays behind.
struct TFailureCase {
  const char* Name;
  bool MissingSource;   // a source file is gone: adding it fails
  bool FailingMerge;    // a merge raises
  bool NoMediaRow;      // the package lacks its Media row: after the cabinet was written
};

void PrintTo(const TFailureCase& c, std::ostream* os) { *os << c.Name; }

class CabinetPhaseFailure : public CabinetPhaseTest, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(CabinetPhaseFailure, KeepsTheBaselineAndCommitsNothing) {
  const TFailureCase& c = GetParam();
  TPreparedProject p = MakeProject(StandardFiles(), false, !c.NoMediaRow);
  TCabinetJob job = p.Job();
  job.KeepUpdateCopy = true;
  const std::string old = UpdateCopyFolder(job);
  for (size_t at = old.find('\\', 3); at != std::string::npos; at = old.find('\\', at + 1))
    CreateDirectoryA(old.substr(0, at).c_str(), nullptr);
  WriteAll(old + PackageCabinetName, "baseline of the last good build");
  if (c.MissingSource) DeleteFileA(p.SourcePath(3).c_str());
  if (c.FailingMerge) {
    job.Merges.push_back([&] {
      WriteAll(p.WorkDir + CabinetWorkFolder + "left.dll", "left behind");
      throw EBuildException("merge failed");
    });
  }
  const std::string package = ReadAll(p.Package);
  TBuild build;
  EXPECT_THROW(RunCabinetPhase(build, Tools.Writer, job), Exception);
  EXPECT_FALSE(Tools.Writer.IsOpen());
  EXPECT_TRUE(ReadAll(p.Package) == package) << "the package changed";
  EXPECT_EQ(ReadAll(old + PackageCabinetName), "baseline of the last good build");
  EXPECT_EQ(FileCountIn(old), 1);
  ExpectNothingLeft(p);

  // The writer and the work folder serve the next build.
  TPreparedProject q = MakeProject({{"next.txt", "TARGETDIR", "Required", "next"}});
  Run(q.Job());
  EXPECT_EQ(CabinetMembers(Tools.Reader, StoredCabinet(q)), std::vector<std::string>{q.FileKey(0)});
}

INSTANTIATE_TEST_SUITE_P(Stages, CabinetPhaseFailure,
                         ::testing::Values(TFailureCase{"MissingSource", true, false, false},
                                           TFailureCase{"FailingMerge", false, true, false},
                                           TFailureCase{"NoMediaRow", false, false, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CabinetPhaseTest, WorkFolderIsEmptiedOfReadOnlyFilesAndMadeWhenMissing) {
  std::string dir = BuildTreeFolder("buildcab-tests");
  EXPECT_TRUE(EmptyCabinetWorkFolder(dir));
  std::string tempcab = dir + CabinetWorkFolder;
  ASSERT_NE(GetFileAttributesA(tempcab.c_str()), INVALID_FILE_ATTRIBUTES);
  WriteAll(tempcab + "plain.txt", "x");
  WriteAll(tempcab + "locked.txt", "y");
  SetFileAttributesA((tempcab + "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryA((tempcab + "sub").c_str(), nullptr);
  EXPECT_TRUE(EmptyCabinetWorkFolder(dir));
  EXPECT_EQ(FileCountIn(tempcab), 0);
}

}  // namespace
