#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DeltaApplier.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "Prompts.h"
#include "TestData.h"
#include "UpdReader.h"
#include "UpdateCreation.h"

using namespace tq;
using namespace tq::testing;
namespace fs = std::filesystem;

TEST(UpdateNames, MajorMinorVersion) {
  EXPECT_EQ(GetMajorMinorVersion("3"), "3");
  EXPECT_EQ(GetMajorMinorVersion("2.1"), "2.1");
  EXPECT_EQ(GetMajorMinorVersion("2.1.7"), "2.1");
  EXPECT_EQ(GetMajorMinorVersion("2.1.7.9"), "2.1");
  EXPECT_EQ(GetMajorMinorVersion(""), "");
}

TEST(UpdateNames, DirectoryPartOfTheFileName) {
  std::vector<TTargetDirNode> t = {
      {"<Home Directory>", -1}, {"Bin", 0}, {"Data", 1}, {"SystemFolder", -1}, {"Sub", 3}};
  EXPECT_EQ(UpdateDirPath(t, 0), "000TARGET");
  EXPECT_EQ(UpdateDirPath(t, 1), "Bin");
  EXPECT_EQ(UpdateDirPath(t, 2), "Bin.Data");
  EXPECT_EQ(UpdateDirPath(t, 3), "000SYSSystemFolder");
  EXPECT_EQ(UpdateDirPath(t, 4), "000SYSSystemFolder.Sub");
}

namespace {
// Installs a scripted prompt service for one test.
struct ScriptedPrompts {
  TScriptedPrompts Script;
  TPromptService* Previous;
  ScriptedPrompts() { Previous = SetPromptService(&Script); }
  ~ScriptedPrompts() { SetPromptService(Previous); }
};
}  // namespace

TEST(UpdateVersionTracking, AsksOnlyForAnEditedChangedVersionWithUpdateSupport) {
  TUpdateProject p;
  p.IncludePatching = true;
  TUpdateState s;
  {
    ScriptedPrompts prompts;  // nothing is asked
    p.ProductVersion = "1.0.3";
    ProductVersionExit(s, p);  // not edited
    EXPECT_EQ(s.FUpdateVersion, "");
    s.FVersionEdited = 1;
    ProductVersionExit(s, p);  // first version: silent
    EXPECT_EQ(s.FUpdateVersion, "1.0");
    EXPECT_EQ(s.FVersionEdited, 0);
    s.FVersionEdited = 1;
    p.ProductVersion = "1.0.4";  // same major.minor
    ProductVersionExit(s, p);
    EXPECT_TRUE(prompts.Script.Done()) << ::testing::PrintToString(prompts.Script.Problems());
  }
  {
    ScriptedPrompts prompts;
    prompts.Script.Expect(pkMessageDlg, "from version 1.0 to 1.1?", mrCancel);
    prompts.Script.Expect(pkMessageDlg, "Do you want to allow automatic updates", mrNo);
    s.FUpdateCreated = 1;
    s.FUpdatePending = 0;
    p.ProductVersion = "1.1";
    s.FVersionEdited = 1;
    ProductVersionExit(s, p);  // Cancel: nothing changes
    EXPECT_EQ(s.FUpdateVersion, "1.0");
    EXPECT_EQ(s.FUpdateCreated, 1);
    s.FVersionEdited = 1;
    ProductVersionExit(s, p);
    EXPECT_EQ(s.FAllowAutoUpdate, 0);
    EXPECT_EQ(s.FUpdatePending, 1);
    EXPECT_EQ(s.FUpdateCreated, 0);
    EXPECT_EQ(s.FUpdateFrom, "1.0");
    EXPECT_EQ(s.FUpdateVersion, "1.1");
    EXPECT_TRUE(prompts.Script.Done()) << ::testing::PrintToString(prompts.Script.Problems());
  }
  {
    ScriptedPrompts prompts;  // update support off: nothing changes
    p.IncludePatching = false;
    p.ProductVersion = "2.0";
    s.FVersionEdited = 1;
    ProductVersionExit(s, p);
    EXPECT_EQ(s.FUpdateVersion, "1.1");
    EXPECT_TRUE(prompts.Script.Done());
  }
}

TEST(UpdateCabinetNames, MembersLoseTheirFileKeyPrefix) {
  TScratchDir dir;
  for (const char* n : {"FILE1Sapp.exe", "FILE12Sreadme.txt", "FILES.txt", "FILE3Xa", "file4Sb", "FILE5S",
                        "FILE6Sdup.txt", "FILE7Sdup.txt"})
    WriteFileBytes(dir.Path() / n, Bytes{1});
  RenameExtractedCabFiles(dir.Str());
  for (const char* n : {"app.exe", "readme.txt", "FILES.txt", "FILE3Xa", "file4Sb", "FILE5S", "dup.txt"})
    EXPECT_TRUE(fs::exists(dir.Path() / n)) << n;
  EXPECT_FALSE(fs::exists(dir.Path() / "FILE1Sapp.exe"));
  // Of two members with the same file name, one keeps its member name.
  EXPECT_NE(fs::exists(dir.Path() / "FILE6Sdup.txt"), fs::exists(dir.Path() / "FILE7Sdup.txt"));
}

namespace {

using Members = std::vector<std::pair<std::string, Bytes>>;

// The test's stand-in for a cabinet: name, size and bytes of each member.
void WriteCabinet(const fs::path& p, const Members& m) {
  std::ofstream f(p, std::ios::binary);
  for (const auto& [name, data] : m) {
    f << name << '\n' << data.size() << '\n';
    f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  }
}

void ExtractCabinet(const std::string& cab, const std::string& folder) {
  std::ifstream f(NativeTestPath(cab), std::ios::binary);
  if (!f) throw Exception("Cannot open file " + cab);
  std::string name;
  size_t size;
  while (std::getline(f, name) && f >> size) {
    f.get();
    Bytes b(size);
    f.read(reinterpret_cast<char*>(b.data()), std::streamsize(size));
    WriteFileBytes(NativeTestPath(folder + name), b);
  }
}

class UpdateCreationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Project.AppDir = App().string() + (App().string().back() == '/' ? "" : std::string(1, SepChar()));
    Project.ProductName = "Widget";
    Project.IncludePatching = true;
    Project.TargetDirs = {{"<Home Directory>", -1}, {"Data", 0}, {"SystemFolder", -1}};
    Project.Choices = {
        {"Core", {"C:\\src\\app.exe", "C:\\src\\data.bin"}, {"<Home Directory>", "Data"}},
        {"Extras", {"C:\\src\\readme.txt"}, {"<Home Directory>"}},
    };
    Creator.ExtractCabinet = ExtractCabinet;
    State.FUpdateFrom = "1.0";
    State.FUpdateVersion = "1.1";
    fs::create_directories(V10() / "Old");
    fs::create_directories(V10() / "New");
    fs::create_directories(V11() / "Old");
  }
  static char SepChar() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
  }
  fs::path App() const { return Dir.Path() / "prog"; }
  fs::path V10() const { return App() / "Patches" / "Widget" / "Version1.0"; }
  fs::path V11() const { return App() / "Patches" / "Widget" / "Version1.1"; }
  fs::path CoreUpd() const { return V10() / "Patch0.Core.000TARGET.upd"; }

  Members Build(const Bytes& app) {
    return {{"FILE1Sapp.exe", app}, {"FILE2Sdata.bin", Data}, {"FILE3Sreadme.txt", Readme}};
  }

  TScratchDir Dir;
  TUpdateProject Project;
  TUpdateState State;
  TUpdateFileMaker Builder;
  TUpdateCreator Creator{State, Builder};
  Bytes App1 = TextBytes(200000, 1);
  Bytes App2 = Concat({Slice(App1, 0, 50000), TextBytes(700, 2), Slice(App1, 50000, 150000)});
  Bytes App3 = Concat({Slice(App2, 0, 120000), TextBytes(900, 3), Slice(App2, 121000, App2.size() - 121000)});
  Bytes Data = RandomBytes(30000, 4);
  Bytes Readme = TextBytes(2000, 5);
};

}  // namespace

TEST_F(UpdateCreationTest, WritesOneFilePerChangedChoiceAndDirectoryAndRotatesTheCabinets) {
  WriteCabinet(V10() / "Old" / "primary.cab", Build(App1));
  WriteCabinet(V10() / "New" / "primary.cab", Build(App2));
  Bytes oldCab = ReadFileBytes(V10() / "Old" / "primary.cab");
  Bytes newCab = ReadFileBytes(V10() / "New" / "primary.cab");
  ScriptedPrompts prompts;
  prompts.Script.Expect(pkShowMessage, "Update created successfully.");
  EXPECT_TRUE(Creator.CreateUpdate(Project, "1.0"));
  EXPECT_TRUE(prompts.Script.Done()) << ::testing::PrintToString(prompts.Script.Problems());
  EXPECT_EQ(State.FPatchCount, 0);

  TUpdFile u = ReadUpdFile(ReadFileBytes(CoreUpd()));
  ASSERT_TRUE(u.Ok) << u.Error;
  ASSERT_EQ(u.Entries.size(), 1u);
  EXPECT_EQ(u.Entries[0].Name, "app.exe");
  TDeltaResult r = ApplyDelta(App1, u.Entries[0].Delta);
  ASSERT_TRUE(r.Ok) << r.Error;
  EXPECT_TRUE(r.NewFile == App2);
  EXPECT_FALSE(fs::exists(V10() / "Patch0.Core.Data.upd"));
  EXPECT_FALSE(fs::exists(V10() / "Patch0.Extras.000TARGET.upd"));

  EXPECT_TRUE(fs::is_empty(V10() / "Old" / "Old"));
  EXPECT_TRUE(fs::is_empty(V10() / "New" / "New"));
  EXPECT_FALSE(fs::exists(V10() / "New" / "primary.cab"));
  EXPECT_EQ(ReadFileBytes(V10() / "Old" / "Patch0.cab"), oldCab);
  EXPECT_EQ(ReadFileBytes(V10() / "Old" / "primary.cab"), newCab);
}

TEST_F(UpdateCreationTest, ALaterBuildOfTheNewVersionStillUpdatesFromTheOldVersion) {
  WriteCabinet(V10() / "Old" / "primary.cab", Build(App1));
  WriteCabinet(V10() / "New" / "primary.cab", Build(App2));
  ScriptedPrompts prompts;
  prompts.Script.Expect(pkShowMessage, "Update created successfully.");
  prompts.Script.Expect(pkShowMessage, "Update created successfully.");
  prompts.Script.Expect(pkShowMessage, "No changes to update.");
  ASSERT_TRUE(Creator.CreateUpdate(Project, "1.0"));
  Bytes version10Cabinet = ReadFileBytes(V10() / "Old" / "Patch0.cab");

  // Version 1.1 is built again with another change and the update made again.
  WriteCabinet(V10() / "New" / "primary.cab", Build(App3));
  ASSERT_TRUE(Creator.CreateUpdate(Project, "1.0"));
  EXPECT_EQ(ReadFileBytes(V10() / "Old" / "Patch0.cab"), version10Cabinet);
  TUpdFile u = ReadUpdFile(ReadFileBytes(CoreUpd()));
  ASSERT_TRUE(u.Ok) << u.Error;
  ASSERT_EQ(u.Entries.size(), 1u);
  TDeltaResult r = ApplyDelta(App1, u.Entries[0].Delta);  // from what 1.0's users have
  ASSERT_TRUE(r.Ok) << r.Error;
  EXPECT_TRUE(r.NewFile == App3);

  // A build that undoes the change: the earlier update file must not stay behind.
  WriteCabinet(V10() / "New" / "primary.cab", Build(App1));
  EXPECT_FALSE(Creator.CreateUpdate(Project, "1.0"));
  EXPECT_FALSE(fs::exists(CoreUpd()));
  EXPECT_TRUE(fs::exists(V10() / "New" / "primary.cab"));  // not rotated
  EXPECT_EQ(ReadFileBytes(V10() / "Old" / "Patch0.cab"), version10Cabinet);
  EXPECT_TRUE(prompts.Script.Done()) << ::testing::PrintToString(prompts.Script.Problems());
}

TEST_F(UpdateCreationTest, MissingCabinetsAreReported) {
  ScriptedPrompts prompts;
  prompts.Script.Expect(pkShowMessage, "Nothing to update.");
  prompts.Script.Expect(pkShowMessage, "No new build to update. Build project first.");
  EXPECT_FALSE(Creator.CreateUpdate(Project, "1.0"));
  WriteCabinet(V10() / "Old" / "primary.cab", Build(App1));
  EXPECT_FALSE(Creator.CreateUpdate(Project, "1.0"));
  EXPECT_FALSE(fs::exists(V10() / "Old" / "Old"));
  EXPECT_TRUE(prompts.Script.Done()) << ::testing::PrintToString(prompts.Script.Problems());
}

TEST_F(UpdateCreationTest, CreateUpdateButtonRecordsTheAllowedPairOnce) {
  WriteCabinet(V10() / "Old" / "primary.cab", Build(App1));
  WriteCabinet(V11() / "Old" / "primary.cab", Build(App2));
  ScriptedPrompts prompts;
  prompts.Script.Expect(pkShowMessage, "Update created successfully.");
  prompts.Script.Expect(pkMessageDlg, "has previously been created and uploaded. No new update created now.");
  Creator.CreateNewPatchClick(Project);
  EXPECT_EQ(State.FUpdateCreated, 1);
  TIniFile ini(Project.AppDir + "AllowedUpdates.ini");
  EXPECT_EQ(ini.ReadString("AllowedUpdates", "From1.0To1.1", ""), "Yes");
  EXPECT_TRUE(fs::exists(CoreUpd()));
  Creator.CreateNewPatchClick(Project);
  EXPECT_TRUE(prompts.Script.Done()) << ::testing::PrintToString(prompts.Script.Problems());
}

TEST_F(UpdateCreationTest, CreateUpdateButtonWithoutTheNewBuildRaises) {
  ScriptedPrompts prompts;
  EXPECT_THROW(Creator.CreateNewPatchClick(Project), EFOpenError);
}
