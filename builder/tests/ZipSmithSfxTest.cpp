// Turning an archive into a self-extractor, and running the result.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>

#include "PromptsTesting.h"
#include "ZipSmth.h"
#include "kit/ZipTestKit.h"

namespace tq::testing {
namespace {

using namespace ziptest;

const std::string kStub = TQ_PROGRAM_DIR "\\ZIPSTUB.BIN";
const std::string kRecorder = TQ_BINARY_DIR "\\zipstub-test-bin\\zipstub_recorder.exe";
const std::string kStubIcon = TQ_BINARY_DIR "\\platform\\zipstub\\zipstub.ico";

class ZipSmithSfx : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    Work = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipsmith-sfx\\" + name);
    Temp = FreshFolder(Work + "temp dir");
    Cd = FreshFolder(Work + "CD-Image");
    // The distribution's settings.
    Zip.Unattended = true;
    Zip.SetDLLDirectory(TQ_PROGRAM_DIR);
    Zip.SFXPath = kStub;
    Zip.SFXOptions = {SFXAutoRun, SFXHideOverWriteBox, SFXCheckSize, SFXNoSuccessMsg};
    Zip.SFXOverWriteMode = OvrAlways;
    Zip.SFXDefaultDir = "><";
    Zip.SFXCommandLine = "><install.exe";
    Zip.OnMessage = [this](TObject*, int, const std::string& m) { Messages.push_back(m); };
  }
  void AddDistribution(const std::string& archive) {
    WriteFileBytes(Work + "install.exe", ReadFileBytes(kRecorder));
    WriteFileBytes(Work + "setup.ini", Bytes("[Setup]\r\nVersion=1.0\r\n"));
    WriteFileBytes(Work + "My Product.msi", NoiseBytes(50000, 4));
    Zip.SetZipFileName(archive);
    for (const char* f : {"install.exe", "setup.ini", "My Product.msi"}) Zip.FSpecArgs().Add(Work + f);
    Zip.Add();
    ASSERT_EQ(Zip.SuccessCnt(), 3);
  }
  void ExpectRunsAndStartsInstall(const std::string& exe) {
    Temp = FreshFolder(Temp);
    EXPECT_EQ(RunWithTempFolder(exe, Temp, Work), 7u);
    const std::string ran = RunFolderIn(Temp);  // "><"
    EXPECT_EQ(ReadFileBytes(ran + "setup.ini"), Bytes("[Setup]\r\nVersion=1.0\r\n"));
    EXPECT_EQ(ReadFileBytes(ran + "My Product.msi"), NoiseBytes(50000, 4));
    TBytes rec = ReadFileBytes(ran + "cmdline.txt");
    std::string line = std::string(rec.begin(), rec.end());
    EXPECT_EQ(line.substr(0, line.find('\n')), "\"" + ran + "install.exe\"");
  }
  std::string Work, Temp, Cd;
  std::vector<std::string> Messages;
  TZipSmith Zip;
};

TEST_F(ZipSmithSfx, DistributionArchiveBecomesSetupExe) {
  AddDistribution(Cd + "Setup.zip");
  ASSERT_EQ(Zip.ConvertSFX(), 0);
  EXPECT_FALSE(FileExists(Cd + "Setup.zip")) << "the archive goes";
  EXPECT_EQ(Zip.ZipFileName(), Cd + "Setup.exe");
  EXPECT_EQ(Zip.Count(), 3) << "listed again through the moved offsets";
  EXPECT_FALSE(Zip.StructureError());

  TBytes exe = ReadFileBytes(Cd + "Setup.exe");
  size_t stubSize = ReadFileBytes(kStub).size();
  ASSERT_GT(exe.size(), stubSize + 52);
  EXPECT_TRUE(std::equal(exe.begin(), exe.begin() + long(stubSize), ReadFileBytes(kStub).begin()));
  const uint8_t* rec = &exe[stubSize];
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(rec), 3), "MPV");
  EXPECT_EQ(rec[3], 0xCC);
  EXPECT_EQ(rec[6] | (rec[7] << 8), 52);
  TArchive a = ReadArchive(exe, 0);  // offsets count from the program's start
  ASSERT_EQ(a.Members.size(), 3u);
  EXPECT_EQ(a.Members[0].LocalOffset, stubSize + 52);
  ExpectRunsAndStartsInstall(Cd + "Setup.exe");
}

TEST_F(ZipSmithSfx, AddingToANewExeStartsFromAnEmptySelfExtractor) {
  AddDistribution(Cd + "Direct.exe");
  EXPECT_EQ(Zip.Count(), 3);
  ExpectRunsAndStartsInstall(Cd + "Direct.exe");
}

TEST_F(ZipSmithSfx, IconReplacement) {
  TBytes icon = ReadFileBytes(kStubIcon);
  ASSERT_EQ(icon.size(), 766u);
  for (size_t i = 22 + 40; i < 22 + 40 + 64; ++i) icon[i] ^= 0x5A;  // another palette
  AddDistribution(Cd + "Setup.zip");
  Zip.SFXIcon = icon;
  ASSERT_EQ(Zip.ConvertSFX(), 0);
  TBytes exe = ReadFileBytes(Cd + "Setup.exe");
  TBytes image(icon.begin() + 22, icon.end());
  auto found = std::search(exe.begin(), exe.end(), image.begin(), image.end());
  EXPECT_NE(found, exe.end()) << "the new image is in the program";
  TBytes old = ReadFileBytes(kStubIcon);
  EXPECT_EQ(std::search(exe.begin(), exe.end(), old.begin() + 22, old.end()), exe.end()) << "the old one is gone";
  EXPECT_EQ(RunWithTempFolder(Cd + "Setup.exe", Temp, Work), 7u);
}

TEST_F(ZipSmithSfx, IconOfAnotherSizeIsRefused) {
  AddDistribution(Cd + "Setup.zip");
  Zip.SFXIcon = TBytes(700, 1);
  EXPECT_EQ(Zip.ConvertSFX(), -12);
  EXPECT_FALSE(FileExists(Cd + "Setup.exe"));
  EXPECT_TRUE(FileExists(Cd + "Setup.zip")) << "the archive stays";
}

TEST_F(ZipSmithSfx, TextLimitsAndExtensions) {
  AddDistribution(Cd + "Setup.ZIP");
  Zip.SFXCaption = std::string(256, 'c');
  EXPECT_EQ(Zip.ConvertSFX(), -9);
  ASSERT_FALSE(Messages.empty());
  EXPECT_EQ(Messages.back().rfind("Error - On or more of the 4 property strings", 0), 0u);
  EXPECT_NE(Messages.back().find("= 271"), std::string::npos) << Messages.back();
  Zip.SFXCaption = std::string(255, 'c');
  EXPECT_EQ(Zip.ConvertSFX(), 0);
  EXPECT_TRUE(FileExists(Cd + "Setup.exe"));

  WriteFileBytes(Cd + "other.dat", ReadFileBytes(Cd + "Setup.exe"));
  Zip.SetZipFileName(Cd + "other.dat");
  EXPECT_EQ(Zip.ConvertSFX(), -9);
  EXPECT_EQ(Messages.back(), "Error: input file is not a zip file");
}

// For the host's unzip (see the zipsmith_peer_unzip test): a converted
// self-extractor must read as a zip archive whose offsets are all right.
TEST_F(ZipSmithSfx, WriteForPeerChecks) {
  std::string peer = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipsmith-peer");
  AddDistribution(peer + "Setup.zip");
  ASSERT_EQ(Zip.ConvertSFX(), 0);
  std::ofstream(peer + "Setup.exe.expect", std::ios::binary)
      << "defX\tinstall.exe\nstor\tsetup.ini\nstor\tMy Product.msi\n";
}

TEST_F(ZipSmithSfx, MissingArchiveOrStub) {
  Zip.SetZipFileName(Cd + "none.zip");
  EXPECT_EQ(Zip.ConvertSFX(), -9);
  EXPECT_EQ(Messages.back(), "Error - no zip file specified!");
}

}  // namespace
}  // namespace tq::testing
