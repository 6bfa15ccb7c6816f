// The cabinet phase after the real table steps, on a project set up through a
// real main window: the cabinet follows the File table the steps wrote, and
// the package installs through Windows Installer with every file in place.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>

#include "BuildCabinet.h"
#include "BuildProject.h"
#include "BuildCabinetTestSupport.h"
#include "MsiTestRows.h"
#include "BuildFixture.h"
#include "FileUtils.h"

using namespace tq;
using namespace tq::testing;

namespace {

class ProjectCabinetTest : public BuildTest {
 protected:
  struct TProjectFile {
    std::string Path, Directory, Content;
    bool Installed;
  };
  // Core_Program (required) with two files, a typical choice with a file in
  // Data and an empty one, an optional choice whose file stays out.
  void MakeProject() {
    FillInfoPage("CabTool");
    W->edProductCode->SetText(tq::testing::NewGuid());
    AddDirectory(Home(), "Data");
    auto add = [&](TChoice* choice, const std::string& name, const std::string& dir, std::string content,
                   bool installed) {
      std::string path = MakeSource(name, content);
      AddFile(choice, path, dir);
      Files.push_back({path, dir, content, installed});
    };
    add(Core(), "readme.txt", "<Home Directory>", tq::testing::TextContent(3000, 11), true);
    add(Core(), "tool.bin", "<Home Directory>", tq::testing::RandomContent(250000, 12), true);
    TChoice* typical = AddChoice("Docs");
    typical->Typical = true;
    add(typical, "manual long name.txt", "Data", tq::testing::TextContent(1200000, 13), true);
    add(typical, "empty.dat", "Data", "", true);
    TChoice* extra = AddChoice("Extras");
    add(extra, "extra.txt", "<Home Directory>", "optional", false);
  }
  void Build() {
    RunTableSteps();
    TBuild cabinetBuild;
    BuildCabinet(cabinetBuild);
  }
  std::string Target() const { return Dir + "target\\"; }
  std::string Installed(const TProjectFile& f) const {
    return Target() + (f.Directory == "Data" ? "Data\\" : "") + ExtractFileName(f.Path);
  }
  std::vector<TProjectFile> Files;
};

TEST_F(ProjectCabinetTest, CabinetFollowsTheFileTableOfTheTableSteps) {
  MakeProject();
  Build();
  std::vector<std::string> keys;
  for (const std::string& row : Rows("SELECT `Sequence`,`File` FROM `File`")) keys.push_back(row);
  // Rows() sorts its text; put them in Sequence order.
  std::sort(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
    return std::stoi(a) < std::stoi(b);
  });
  for (std::string& k : keys) k = k.substr(k.find('|') + 1);
  ASSERT_GE(keys.size(), Files.size() + 4);
  EXPECT_EQ(keys[0], "FILE1Sreadme.txt");

  std::string cab = Dir + "stored.cab";
  tq::testing::WriteAll(cab, tq::testing::StreamBytes(W->FOutputFile, PackageCabinetName));
  tq::testing::TCabinetTools tools;
  EXPECT_EQ(tq::testing::CabinetMembers(tools.Reader, cab), keys);
  EXPECT_EQ(Rows("SELECT `LastSequence` FROM `Media`"),
            std::vector<std::string>{IntToStr(10 * static_cast<int>(keys.size()) + 10)});
  EXPECT_EQ(tq::testing::FileCountIn(TempPath + CabinetWorkFolder), 0);
  EXPECT_FALSE(FileExists(TempPath + PackageCabinetName));
}

TEST_F(ProjectCabinetTest, BuiltPackageInstallsTheTypicalSetByteForByte) {
  CoInitialize(nullptr);
  MakeProject();
  Build();
  const std::string log = Dir + "install.log";
  ASSERT_EQ(RunAndWait("msiexec.exe /i \"" + W->FOutputFile + "\" /qn /l*v \"" + log + "\" TARGETDIR=\"" +
                       Target() + "\""),
            0)
      << tq::testing::ReadAll(log).substr(0, 20000);
  for (const TProjectFile& f : Files) {
    if (f.Installed)
      EXPECT_TRUE(tq::testing::ReadAll(Installed(f)) == f.Content) << Installed(f) << " differs from its source";
    else
      EXPECT_FALSE(FileExists(Installed(f))) << Installed(f);
  }
  // The note every package carries lands beside the product's files.
  EXPECT_EQ(tq::testing::ReadAll(Target() + "Installation.txt"), tq::testing::ReadAll(App + "Installation.txt"));

  const std::string removeLog = Dir + "remove.log";
  ASSERT_EQ(RunAndWait("msiexec.exe /x " + W->edProductCode->Text() + " /qn /l*v \"" + removeLog +
                       "\" TARGETDIR=\"" + Target() + "\""),
            0)
      << tq::testing::ReadAll(removeLog).substr(0, 20000);
  for (const TProjectFile& f : Files) EXPECT_FALSE(FileExists(Installed(f))) << "left: " << Installed(f);
  CoUninitialize();
}

// For the peers (run as buildcabinet_project_peer_write): the built package
// and "files.txt" with every File row in Sequence order, its place below the
// install folder and its source as a host path.
TEST_F(ProjectCabinetTest, WritesPackageForPeers) {
  const char* peerDir = std::getenv("TQ_PEER_PACKAGE_DIR");
  if (!peerDir) GTEST_SKIP() << "run as buildcabinet_project_peer_write";
  MakeProject();
  Build();
  const std::string root = std::string(peerDir) + "\\";
  ASSERT_TRUE(CopyFile(W->FOutputFile, root + "package.msi", false));
  std::map<std::string, std::string> sources;  // member name -> source
  for (const TCabinetMember& m : ProjectCabinetJob(ReadBuildProject(*W)).ProjectFiles) sources[m.Name] = m.SourceFile;
  std::map<std::string, std::string> dirs;  // component -> directory key
  for (const std::string& row : Rows("SELECT `Component`,`Directory_` FROM `Component`"))
    dirs[row.substr(0, row.find('|'))] = row.substr(row.find('|') + 1);
  std::vector<std::pair<int, std::string>> lines;
  for (const std::string& row : Rows("SELECT `Sequence`,`File`,`Component_`,`FileName` FROM `File`")) {
    std::vector<std::string> f;
    for (size_t at = 0;;) {
      size_t bar = row.find('|', at);
      f.push_back(row.substr(at, bar == std::string::npos ? std::string::npos : bar - at));
      if (bar == std::string::npos) break;
      at = bar + 1;
    }
    ASSERT_EQ(f.size(), 5u) << row;  // the FileName holds short|long
    ASSERT_TRUE(sources.count(f[1])) << f[1] << " is no member";
    // A copy of the source beside the package: the test's own folder goes
    // when it passes.
    const std::string copy = root + "sources\\" + f[1];
    ASSERT_TRUE(ForceDirectories(root + "sources") && CopyFile(sources[f[1]], copy, false)) << copy;
    std::string host = copy.substr(2);  // "Z:\..." on the host is "/..."
    std::replace(host.begin(), host.end(), '\\', '/');
    lines.push_back({std::stoi(f[0]), f[1] + "\t" + (dirs[f[2]] == "Data" ? "Data/" : "") + f[4] + "\t" + host});
  }
  std::sort(lines.begin(), lines.end());
  std::ofstream list(root + "files.txt", std::ios::binary);
  for (auto& [sequence, line] : lines) list << line << '\n';
}

// A source that changed between the File step and the cabinet phase: the
// package would describe other bytes than its cabinet holds.
TEST_F(ProjectCabinetTest, SourceChangedAfterTheFileStepEndsThePhaseNamingIt) {
  MakeProject();
  RunTableSteps();
  const TProjectFile& grown = Files[1];
  std::ofstream(grown.Path, std::ios::binary | std::ios::app) << "more bytes";
  TBuild cabinetBuild;
  std::string message;
  try {
    BuildCabinet(cabinetBuild);
  } catch (const std::exception& e) {
    message = e.what();
  }
  EXPECT_NE(message.find("The file " + grown.Path + " changed during the build"), std::string::npos) << message;
  EXPECT_NE(message.find("250000 bytes"), std::string::npos) << message;
  EXPECT_NE(message.find("250010 bytes"), std::string::npos) << message;
  EXPECT_EQ(tq::testing::StreamBytes(W->FOutputFile, PackageCabinetName), "<no stream>") << "no cabinet stored";
}

}  // namespace
