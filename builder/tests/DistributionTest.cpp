// The distribution on a program folder and a package folder of its own (both
// with blanks in their names), with the real zip engine, self-extractor stub
// and bootstrap stand-in: setup.ini, install.bat, the members of Setup.exe and
// their order, the floppy volumes, and the failures that must end a build.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Distribution.h"
#include "FileUtils.h"
#include "PromptsTesting.h"
#include "ZipSmth.h"
#include "kit/ZipTestKit.h"

namespace tq::testing {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class DistributionTest : public ::testing::Test {
 public:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
      if (c == '/') c = '_';
    Dir = std::string(TQ_BINARY_DIR) + "\\distribution-tests\\" + name + "." + IntToStr(GetCurrentProcessId()) + "\\";
    ziptest::RemoveTree(Dir);
    App = Dir + "program folder\\";
    Out = Dir + "my project\\";
    ASSERT_TRUE(ForceDirectories(App));
    ASSERT_TRUE(ForceDirectories(Out));
    for (const char* f : {"ZIPENG.DLL", "ZIPSTUB.BIN", "Install.exe", "Uninstall.exe", "InstMsiA.exe", "InstMsiW.exe",
                          "Installation.txt", "ProgressBar.class", "ProgressBarApplet.class"})
      ASSERT_TRUE(CopyFile(std::string(TQ_PROGRAM_DIR) + "\\" + f, App + f, false)) << f;
    // The front-ends record how the bootstrap started them.
    ASSERT_TRUE(CopyFile(TQ_RECORDER, App + "Vantrel.exe", false));
    ASSERT_TRUE(CopyFile(TQ_RECORDER, App + "Sorvex.exe", false));
    ziptest::WriteFileBytes(Out + "My Product.msi", ziptest::NoiseBytes(20000, 7));
    Job.PackageFile = Out + "My Product.msi";
    Job.AppDir = App;
    Job.ProductName = "My Product";
    Job.ProductVersion = "2.5.1.7";
  }

  // The pages of the HTML front-end as the generator writes them.
  void UseHtmlFrontEnd() {
    Job.HtmlUi = true;
    for (const char* p : {"Welcome", "License", "Readme", "CustInfo", "Location", "Group", "InstallType", "Custom",
                          "Install", "Progress", "Finish"}) {
      TDistributionPage page;
      page.Page = p;
      page.OutputName = std::string("tq") + p + ".htm";
      page.Included = std::string(p) != "License" && std::string(p) != "Readme" && std::string(p) != "CustInfo" &&
                      std::string(p) != "Group";
      WriteText(Out + page.OutputName, "<html></html>");
      Job.Pages.push_back(page);
    }
    WriteText(Out + "TQSetup.htm", "<html></html>");
    WriteText(Out + "tqstyle.css", "body {}");
    WriteText(Out + "logo.gif", "GIF89a");
    Job.Pages[0].SupportFiles.push_back(Out + "logo.gif");
  }
  void UseFlashFrontEnd() {
    Job.FlashUi = true;
    Job.FlashMovie = Out + "Setup Movie.exe";
    WriteText(Job.FlashMovie, "movie");
    WriteText(Out + "movie.swf", "swf");
    Job.FlashSupportFiles.push_back(Out + "movie.swf");
  }

  // The member names of an archive or self-extractor, in their order.
  static std::vector<std::string> Members(const std::string& path) {
    TZipSmith reader;
    reader.Unattended = true;
    reader.SetZipFileName(path);
    std::vector<std::string> names;
    for (const ZipDirEntry& e : reader.ZipContents()) names.push_back(e.FileName);
    return names;
  }

  TZipSmith Zip, Zip2;
  TDistributionJob Job;
  std::string Dir, App, Out;
};

// ---- setup.ini and install.bat ----

struct TIniCase {
  const char* Name;
  bool Html, Flash, PerMachine, DisableComplete, DisableCustom;
  const char* Text;
};

void PrintTo(const TIniCase& c, std::ostream* os) { *os << c.Name; }

class SetupIniTest : public DistributionTest, public ::testing::WithParamInterface<TIniCase> {};

TEST_P(SetupIniTest, HoldsTheKeysOfTheFrontEnd) {
  const TIniCase& c = GetParam();
  if (c.Html) UseHtmlFrontEnd();
  if (c.Flash) UseFlashFrontEnd();
  Job.PerMachine = c.PerMachine;
  Job.DisableComplete = c.DisableComplete;
  Job.DisableCustom = c.DisableCustom;
  WriteText(Out + "setup.ini", "[Old]\r\nStale=1\r\n");  // an earlier build's file is replaced, not merged
  WriteSetupIni(Job);
  EXPECT_EQ(ReadText(Out + "setup.ini"), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, SetupIniTest,
    ::testing::Values(
        TIniCase{"Neither", false, false, false, false, false,
                 "[Setup]\r\nVersion=2.5\r\nMsiname=My Product.msi\r\nPerUser=true\r\nVantrel=0\r\nSorvex=0\r\n"},
        TIniCase{"PerMachineWithFlags", false, false, true, true, true,
                 "[Setup]\r\nVersion=2.5\r\nMsiname=My Product.msi\r\nPerUser=false\r\nDisableComplete=Yes\r\n"
                 "DisableCustom=Yes\r\nVantrel=0\r\nSorvex=0\r\n"},
        TIniCase{"Html", true, false, false, false, false,
                 "[Setup]\r\nVersion=2.5\r\nMsiname=My Product.msi\r\nPerUser=true\r\nVantrel=1\r\nSorvex=0\r\n"
                 "[Vantrel]\r\nWelcome=tqWelcome.htm\r\nCustom=tqCustom.htm\r\nProgress=tqProgress.htm\r\n"
                 "Finish=tqFinish.htm\r\n"},
        TIniCase{"Flash", false, true, false, true, false,
                 "[Setup]\r\nVersion=2.5\r\nMsiname=My Product.msi\r\nPerUser=true\r\nDisableComplete=Yes\r\n"
                 "Vantrel=0\r\nSorvex=1\r\n[Sorvex]\r\nFlashMovie=Setup Movie.exe\r\n"}),
    [](const ::testing::TestParamInfo<TIniCase>& i) { return std::string(i.param.Name); });

TEST_F(DistributionTest, VersionWithoutSecondDotIsKeptWhole) {
  Job.ProductVersion = "3";
  WriteSetupIni(Job);
  EXPECT_NE(ReadText(Out + "setup.ini").find("Version=3\r\n"), std::string::npos);
}

TEST_F(DistributionTest, InstallBatQuotesThePackageName) {
  UseFlashFrontEnd();
  WriteInstallBat(Job);
  EXPECT_EQ(ReadText(App + "install.bat"),
            "@echo off\r\n"
            "echo The Flash installation will not execute due to your firewall settings\r\n"
            "echo Standard msi installation will begin\r\n"
            "echo See help file if you want to get Flash installation running\r\n"
            "msiexec /i \"My Product.msi\"\r\n");
}

// ---- the members of Setup.exe ----

TEST_F(DistributionTest, WithoutFrontEndSetupExeHoldsTheBootstrapPackageAndSettings) {
  MakeDistribution(Job, Zip);
  const std::string cd = Out + "CD-Image\\";
  EXPECT_EQ(ziptest::FilesIn(cd), std::vector<std::string>{"Setup.exe"});
  EXPECT_EQ(Members(cd + "Setup.exe"), (std::vector<std::string>{"Installation.txt", "Install.exe", "My Product.msi",
                                                                  "UninstallMy Product.exe", "setup.ini"}));
  EXPECT_FALSE(FileExists(App + "UninstallMy Product.exe")) << "the uninstaller's copy is temporary";
  EXPECT_TRUE(FileExists(Out + "setup.ini"));
}

TEST_F(DistributionTest, HtmlFrontEndMembersFollowThePages) {
  UseHtmlFrontEnd();
  Job.IncludeMsi = true;
  Job.LicenseHtml = true;  // the License page is then included
  Job.Pages[1].Included = true;
  WriteText(Out + "gui licence.txt", "licence from the Gui page");
  WriteText(Out + "license.txt", "licence of the choices");
  WriteText(Out + "readme.txt", "readme of the choices");
  Job.LicenseFile = Out + "gui licence.txt";
  Job.FoundLicenseFile = Out + "license.txt";
  Job.FoundReadmeFile = Out + "readme.txt";
  MakeDistribution(Job, Zip);
  EXPECT_EQ(Members(Out + "CD-Image\\Setup.exe"),
            (std::vector<std::string>{"Installation.txt", "Install.exe", "My Product.msi", "InstMsiW.exe",
                                      "InstMsiA.exe", "gui licence.txt", "readme.txt", "UninstallMy Product.exe",
                                      "Vantrel.exe", "ProgressBar.class", "ProgressBarApplet.class", "TQSetup.htm",
                                      "tqWelcome.htm", "logo.gif", "tqLicense.htm", "tqLocation.htm",
                                      "tqInstallType.htm", "tqCustom.htm", "tqInstall.htm", "tqProgress.htm",
                                      "tqFinish.htm", "tqstyle.css", "setup.ini"}));
}

TEST_F(DistributionTest, LicenceFallsBackToTheChoicesFile) {
  UseHtmlFrontEnd();
  WriteText(Out + "license.txt", "licence of the choices");
  Job.LicenseHtml = false;
  Job.LicenseFile = Out + "gui licence.txt";  // named, but the box is off
  Job.FoundLicenseFile = Out + "license.txt";
  std::vector<std::string> m = DistributionMembers(Job);
  EXPECT_EQ(m[3], Out + "license.txt");
  Job.LicenseHtml = true;  // box on, but the Gui page's file is missing
  m = DistributionMembers(Job);
  EXPECT_EQ(m[3], Out + "license.txt");
  Job.FoundLicenseFile = Out + "missing.txt";  // neither exists: no licence
  m = DistributionMembers(Job);
  EXPECT_EQ(m[3], UninstallerCopyPath(Job));
}

TEST_F(DistributionTest, FlashFrontEndCarriesInstallBatAndTheGuiProgram) {
  UseFlashFrontEnd();
  MakeDistribution(Job, Zip);
  EXPECT_EQ(Members(Out + "CD-Image\\Setup.exe"),
            (std::vector<std::string>{"Installation.txt", "Install.exe", "My Product.msi", "UninstallMy Product.exe",
                                      "install.bat", "Sorvex.exe", "Setup Movie.exe", "movie.swf", "setup.ini"}));
}

TEST_F(DistributionTest, SetupExeUnpacksIntoTheTemporaryFolderAndStartsTheBootstrap) {
  UseHtmlFrontEnd();
  MakeDistribution(Job, Zip);
  const std::string temp = ziptest::FreshFolder(Dir + "temp folder");
  EXPECT_EQ(ziptest::RunWithTempFolder(Out + "CD-Image\\Setup.exe", temp, Dir), 0u);
  const std::string ran = ziptest::RunFolderIn(temp);  // "><"
  const std::string log = ReadText(ran + "Install.log");
  EXPECT_NE(log.find("Front-end: Vantrel"), std::string::npos) << log;
  const std::string rec = ReadText(ran + "Vantrel.cmdline.txt");
  EXPECT_EQ(rec.substr(0, rec.find_first_of("\r\n")),
            "\"My Product.msi\" \"tqWelcome.htm\" \"tqFinish.htm\" \"tqCustom.htm\" \"tqProgress.htm\"")
      << log;
  EXPECT_TRUE(FileExists(ran + "tqstyle.css"));
}

TEST_F(DistributionTest, RebuildReplacesSetupExeAndSetupIni) {
  MakeDistribution(Job, Zip);
  Job.DisableComplete = true;
  MakeDistribution(Job, Zip);
  EXPECT_EQ(ziptest::FilesIn(Out + "CD-Image\\"), std::vector<std::string>{"Setup.exe"});
  EXPECT_NE(ReadText(Out + "setup.ini").find("DisableComplete=Yes"), std::string::npos);
}

// ---- failures end the build ----

TEST_F(DistributionTest, MissingStubRaisesAndLeavesNoSetupExe) {
  MakeDistribution(Job, Zip);  // an earlier, good build
  ASSERT_TRUE(DeleteFile(App + "ZIPSTUB.BIN"));
  try {
    MakeDistribution(Job, Zip);
    ADD_FAILURE() << "no exception";
  } catch (const EDistributionError& e) {
    EXPECT_NE(std::string(e.what()).find("ZIPSTUB.BIN not found"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(FileExists(Out + "CD-Image\\Setup.exe")) << "the old Setup.exe would pass for this build's";
  EXPECT_FALSE(FileExists(App + "UninstallMy Product.exe"));
}

TEST_F(DistributionTest, MissingEngineRaises) {
  ASSERT_TRUE(DeleteFile(App + "ZIPENG.DLL"));
  EXPECT_THROW(MakeDistribution(Job, Zip), EDistributionError);
  EXPECT_FALSE(FileExists(Out + "CD-Image\\Setup.exe"));
}

struct TMissingCase {
  const char* Name;
  const char* File;  // in the program folder
  bool Flash;
};
void PrintTo(const TMissingCase& c, std::ostream* os) { *os << c.Name; }

class MissingFileTest : public DistributionTest, public ::testing::WithParamInterface<TMissingCase> {};

TEST_P(MissingFileTest, Raises) {
  if (GetParam().Flash) UseFlashFrontEnd();
  ASSERT_TRUE(DeleteFile(App + GetParam().File));
  EXPECT_THROW(MakeDistribution(Job, Zip), EDistributionError);
  EXPECT_FALSE(FileExists(Out + "CD-Image\\Setup.exe"));
}

INSTANTIATE_TEST_SUITE_P(Files, MissingFileTest,
                         ::testing::Values(TMissingCase{"Uninstaller", "Uninstall.exe", false},
                                           TMissingCase{"Bootstrap", "Install.exe", false},
                                           TMissingCase{"FlashFrontEnd", "Sorvex.exe", true}),
                         [](const ::testing::TestParamInfo<TMissingCase>& i) { return std::string(i.param.Name); });

TEST_F(DistributionTest, ProductNameLeadingOutOfTheFolderRaises) {
  Job.ProductName = "..\\..\\Evil";
  EXPECT_THROW(MakeDistribution(Job, Zip), EDistributionError);
  EXPECT_FALSE(FileExists(Dir + "Evil.exe"));
}

// ---- floppy images ----

TEST_F(DistributionTest, FloppyVolumesReplaceAnEarlierLargerSet) {
  ziptest::WriteFileBytes(Job.PackageFile, ziptest::NoiseBytes(3000000, 11));
  TPromptScript prompts;  // no question may come up
  MakeFloppyDistribution(Job, Zip, Zip2);
  const std::string floppy = Out + "Floppy-Images\\";
  EXPECT_EQ(ziptest::FilesIn(floppy), (std::vector<std::string>{"Setup001.zip", "Setup002.zip", "Setup003.zip"}));
  for (const std::string& v : ziptest::FilesIn(floppy)) EXPECT_LE(FileSize(floppy + v), 1300000) << v;

  // A smaller rebuild: no question about the existing volumes, none left over.
  ziptest::WriteFileBytes(Job.PackageFile, ziptest::NoiseBytes(1500000, 12));
  MakeFloppyDistribution(Job, Zip, Zip2);
  EXPECT_EQ(ziptest::FilesIn(floppy), (std::vector<std::string>{"Setup001.zip", "Setup002.zip"}));
}

// The build lays the distribution out in a work folder: a layout that fails
// leaves the earlier set whole, one that succeeds replaces it; no work folder
// stays either way, nor one a killed build left.
TEST_F(DistributionTest, LayingOutInTheWorkFolderReplacesAWholeSetOrNothing) {
  const std::string floppy = Out + "Floppy-Images\\", work = Out + "Floppy-Images.partial\\";
  Job.CdImage = false;
  ziptest::WriteFileBytes(Job.PackageFile, ziptest::NoiseBytes(3000000, 11));
  LayOutInWorkFolder(Job, Zip, Zip2);
  const std::vector<std::string> set{"Setup001.zip", "Setup002.zip", "Setup003.zip"};
  ASSERT_EQ(ziptest::FilesIn(floppy), set);
  const std::string first = ReadText(floppy + "Setup001.zip");

  ziptest::WriteFileBytes(Job.PackageFile, ziptest::NoiseBytes(1500000, 12));
  ASSERT_TRUE(DeleteFile(App + "Install.exe"));
  ASSERT_TRUE(ForceDirectories(work));
  WriteText(work + "Setup009.zip", "a volume of a killed build");
  EXPECT_THROW(LayOutInWorkFolder(Job, Zip, Zip2), EDistributionError);
  EXPECT_EQ(ziptest::FilesIn(floppy), set);
  EXPECT_EQ(ReadText(floppy + "Setup001.zip"), first);
  EXPECT_FALSE(DirectoryExists(work));

  ASSERT_TRUE(CopyFile(std::string(TQ_PROGRAM_DIR) + "\\Install.exe", App + "Install.exe", false));
  LayOutInWorkFolder(Job, Zip, Zip2);
  EXPECT_EQ(ziptest::FilesIn(floppy), (std::vector<std::string>{"Setup001.zip", "Setup002.zip"}));
  EXPECT_NE(ReadText(floppy + "Setup001.zip"), first);
  EXPECT_FALSE(DirectoryExists(work));
}

// setup.ini and install.bat are laid out in the work folder with the rest: a
// layout that fails leaves the earlier ones byte for byte, one that succeeds
// puts the new ones in their places (and none in the distribution folder).
TEST_F(DistributionTest, SetupIniAndInstallBatAreReplacedOnlyWithAWholeDistribution) {
  const std::string work = Out + "CD-Image.partial\\";
  UseFlashFrontEnd();
  const std::string oldIni = "[Setup]\r\nVersion=1.0\r\nMsiname=My Product.msi\r\n";
  const std::string oldBat = "msiexec /i \"Old Product.msi\"\r\n";
  WriteText(Out + "setup.ini", oldIni);
  WriteText(App + "install.bat", oldBat);
  ASSERT_TRUE(DeleteFile(App + "Install.exe"));
  EXPECT_THROW(LayOutInWorkFolder(Job, Zip, Zip2), EDistributionError);
  EXPECT_EQ(ReadText(Out + "setup.ini"), oldIni);
  EXPECT_EQ(ReadText(App + "install.bat"), oldBat);
  EXPECT_EQ(ziptest::FilesIn(Out + "CD-Image\\"), std::vector<std::string>{});
  EXPECT_FALSE(DirectoryExists(work));

  ASSERT_TRUE(CopyFile(std::string(TQ_PROGRAM_DIR) + "\\Install.exe", App + "Install.exe", false));
  LayOutInWorkFolder(Job, Zip, Zip2);
  EXPECT_NE(ReadText(Out + "setup.ini").find("Version=2.5\r\n"), std::string::npos);
  EXPECT_EQ(ReadText(App + "install.bat"), InstallBatText("My Product.msi"));
  EXPECT_EQ(ziptest::FilesIn(Out + "CD-Image\\"), std::vector<std::string>{"Setup.exe"});
  EXPECT_EQ(Members(Out + "CD-Image\\Setup.exe"),
            (std::vector<std::string>{"Installation.txt", "Install.exe", "My Product.msi", "UninstallMy Product.exe",
                                      "install.bat", "Sorvex.exe", "Setup Movie.exe", "movie.swf", "setup.ini"}));
  EXPECT_FALSE(DirectoryExists(work));
}

TEST_F(DistributionTest, FloppyFailureRaises) {
  ASSERT_TRUE(DeleteFile(App + "ZIPSTUB.BIN"));
  EXPECT_THROW(MakeFloppyDistribution(Job, Zip, Zip2), EDistributionError);
  EXPECT_EQ(ziptest::FilesIn(Out + "Floppy-Images\\"), std::vector<std::string>{});
}

// ---- for the host's unzip and zip (distribution_peer_check) ----

TEST(DistributionPeer, WritesDistributions) {
  char buf[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("TQ_PEER_DIST_DIR", buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) GTEST_SKIP() << "TQ_PEER_DIST_DIR not set";
  const std::string peer = IncludeTrailingPathDelimiter(std::string(buf, n));
  struct TPeerFixture : DistributionTest {
    void TestBody() override {}
  } f;
  f.SetUp();
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  f.UseHtmlFrontEnd();
  f.Job.IncludeMsi = true;
  MakeDistribution(f.Job, f.Zip);
  ziptest::RemoveTree(peer + "cd");
  ASSERT_TRUE(ForceDirectories(peer + "cd"));
  ASSERT_TRUE(CopyFile(f.Out + "CD-Image\\Setup.exe", peer + "cd\\Setup.exe", false));
  ASSERT_TRUE(CopyFile(f.Out + "setup.ini", peer + "cd\\setup.ini", false));

  ziptest::WriteFileBytes(f.Job.PackageFile, ziptest::NoiseBytes(3000000, 5));
  MakeFloppyDistribution(f.Job, f.Zip, f.Zip2);
  ziptest::RemoveTree(peer + "floppy");
  ASSERT_TRUE(ForceDirectories(peer + "floppy"));
  for (const std::string& v : ziptest::FilesIn(f.Out + "Floppy-Images\\"))
    ASSERT_TRUE(CopyFile(f.Out + "Floppy-Images\\" + v, peer + "floppy\\" + v, false));
}

}  // namespace
}  // namespace tq::testing
