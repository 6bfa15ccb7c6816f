// Install.exe in a folder of its own, as the self-extractor leaves it: it must
// start the front-end that setup.ini names with that front-end's command line,
// or hand the package to msiexec, in its own folder whatever the current
// folder is, and say what it did in Install.log.
#include <gtest/gtest.h>

#include <ostream>

#include "StandInFixture.h"

namespace tq::testing {
namespace {

const char* const Package = "My Product.msi";

std::string SetupIni(const std::string& switches, const std::string& sections = "") {
  return "[Setup]\r\nVersion=1.0\r\nMsiname=My Product.msi\r\nPerUser=true\r\n" + switches + sections;
}

const char* const VantrelSection =
    "[Vantrel]\r\nWelcome=Welcome.htm\r\nCustom=Custom Features.htm\r\nProgress=Progress.htm\r\nFinish=Finish.htm\r\n";

class InstallTest : public StandInFolder {
 protected:
  void SetUp() override {
    StandInFolder::SetUp();
    CopyProgram("Install.exe", "Install.exe");
    Write(Package, "not a real package");
    // Every case gets the recording msiexec, so that no case can start the real one.
    SetEnvironmentVariableA("TQ_STANDIN_MSIEXEC", CopyRecorder("system\\msiexec.exe").c_str());
  }
  std::string Folder() const { return Dir.substr(0, Dir.size() - 1); }
};

struct FrontEndCase {
  const char* Name;
  std::string Ini;
  const char* FakeFrontEnd;  // placed beside Install.exe, or nullptr
  const char* Recording;     // where the started program records itself
  std::string Arguments;     // "%DIR%" stands for the folder, with its backslash
  const char* LogLine;
};

void PrintTo(const FrontEndCase& c, std::ostream* os) { *os << c.Name; }

class InstallFrontEndTest : public InstallTest, public ::testing::WithParamInterface<FrontEndCase> {};

TEST_P(InstallFrontEndTest, StartsWhatSetupIniNamesInItsOwnFolder) {
  const FrontEndCase& c = GetParam();
  Write("setup.ini", c.Ini);
  if (c.FakeFrontEnd) CopyRecorder(c.FakeFrontEnd);

  EXPECT_EQ(Run("Install.exe", ""), 0);

  std::string expected = c.Arguments;
  if (size_t at = expected.find("%DIR%"); at != std::string::npos) expected.replace(at, 5, Dir);
  std::string recording = Read(c.Recording);
  ASSERT_FALSE(recording.empty()) << c.Recording << " was not started; log:\n" << Read("Install.log");
  EXPECT_EQ(Line(recording, 0), expected);
  EXPECT_EQ(Line(recording, 1), Folder());
  // Only one program is started.
  for (const char* other : {"Vantrel.cmdline.txt", "Sorvex.cmdline.txt", "system\\msiexec.cmdline.txt"})
    if (std::string(other) != c.Recording) {
      EXPECT_FALSE(Exists(other)) << other;
    }
  std::string log = Read("Install.log");
  EXPECT_NE(log.find(c.LogLine), std::string::npos) << log;
  EXPECT_NE(log.find("Exit code: 0"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallFrontEndTest,
    ::testing::Values(
        FrontEndCase{"Vantrel", SetupIni("Vantrel=1\r\nSorvex=0\r\n", VantrelSection), "Vantrel.exe",
                     "Vantrel.cmdline.txt",
                     "\"My Product.msi\" \"Welcome.htm\" \"Finish.htm\" \"Custom Features.htm\" \"Progress.htm\"",
                     "Front-end: Vantrel"},
        FrontEndCase{"Sorvex", SetupIni("Vantrel=0\r\nSorvex=1\r\n", "[Sorvex]\r\nFlashMovie=Setup GUI.exe\r\n"),
                     "Sorvex.exe", "Sorvex.cmdline.txt", "\"My Product.msi\" \"Setup GUI.exe\"",
                     "Front-end: Sorvex"},
        FrontEndCase{"NoFrontEnd", SetupIni("Vantrel=0\r\nSorvex=0\r\n"), "Vantrel.exe",
                     "system\\msiexec.cmdline.txt", "/i \"%DIR%My Product.msi\"", "Front-end: none"},
        FrontEndCase{"NamedFrontEndMissing", SetupIni("Vantrel=1\r\nSorvex=0\r\n", VantrelSection), nullptr,
                     "system\\msiexec.cmdline.txt", "/i \"%DIR%My Product.msi\"",
                     "Front-end Vantrel.exe is missing"}),
    [](const ::testing::TestParamInfo<FrontEndCase>& info) { return std::string(info.param.Name); });

TEST_F(InstallTest, EndsWithTheExitCodeOfWhatItStarted) {
  Write("setup.ini", SetupIni("Vantrel=0\r\nSorvex=0\r\n"));
  SetEnvironmentVariableA("TQ_RECORDER_EXIT_CODE", "1602");
  EXPECT_EQ(Run("Install.exe", ""), 1602);
  EXPECT_NE(Read("Install.log").find("Exit code: 1602"), std::string::npos);
}

TEST_F(InstallTest, AppendsToItsLogAtEveryStart) {
  Write("setup.ini", SetupIni("Vantrel=0\r\nSorvex=0\r\n"));
  Run("Install.exe", "");
  Run("Install.exe", "");
  std::string log = Read("Install.log");
  size_t first = log.find("Install started");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(log.find("Install started", first + 1), std::string::npos) << log;
}

struct BrokenCase {
  const char* Name;
  const char* Ini;  // nullptr: no setup.ini
  long ExitCode;
  const char* LogLine;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.Name; }

class InstallBrokenTest : public InstallTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(InstallBrokenTest, StartsNothingAndSaysWhy) {
  const BrokenCase& c = GetParam();
  if (c.Ini) Write("setup.ini", c.Ini);
  CopyRecorder("Vantrel.exe");
  EXPECT_EQ(Run("Install.exe", ""), c.ExitCode);
  EXPECT_FALSE(Exists("system\\msiexec.cmdline.txt"));
  EXPECT_FALSE(Exists("Vantrel.cmdline.txt"));
  std::string log = Read("Install.log");
  EXPECT_NE(log.find(c.LogLine), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallBrokenTest,
    ::testing::Values(
        BrokenCase{"NoSetupIni", nullptr, ERROR_FILE_NOT_FOUND, "No setup.ini beside Install.exe"},
        BrokenCase{"NoPackageNamed", "[Setup]\r\nVantrel=1\r\n", ERROR_FILE_NOT_FOUND, "setup.ini names no package"},
        BrokenCase{"PackageMissing", "[Setup]\r\nMsiname=Other.msi\r\nVantrel=1\r\n", ERROR_FILE_NOT_FOUND,
                   "The package is missing"},
        // A name that leaves the folder is refused, even when such a file exists.
        BrokenCase{"PackageOutsideTheFolder", "[Setup]\r\nMsiname=..\\My Product.msi\r\n", ERROR_INVALID_NAME,
                   "is not a file name in this folder"}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace tq::testing
