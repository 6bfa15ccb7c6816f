// A CD distribution as the build lays it out: the self-extractor ZIPSTUB.BIN
// with the zip component's settings (unpack into the temporary folder, start
// "><install.exe" there) in front of an archive of the bootstrap, the package,
// setup.ini and the front-end. Run as a user runs Setup.exe, it must end in the
// front-end (or msiexec) started in the temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StandInFixture.h"
#include "kit/ZipTestKit.h"

namespace tq::testing {
namespace {

using ziptest::Bytes;
using ziptest::ReadFileBytes;
using ziptest::TBuildMember;
using ziptest::TBytes;

// The option record the zip component writes after the stub: signature, flags,
// record size, then the caption, the folder, the command line and the message,
// each with a length byte; padded to four bytes.
TBytes OptionRecord(uint8_t flags, const std::vector<std::string>& texts) {
  TBytes r = {0x4D, 0x50, 0x56, flags, 0, 1, 0, 0};
  for (const std::string& t : texts) {
    r.push_back(uint8_t(t.size()));
    r.insert(r.end(), t.begin(), t.end());
  }
  while (r.size() % 4) r.push_back(0);
  r[6] = uint8_t(r.size());
  r[7] = uint8_t(r.size() >> 8);
  return r;
}

// Auto-run, no overwrite box, overwrite always, no success message.
const uint8_t CdFlags = 0x40 | 0x04 | 0x08 | 0x80;

TBytes CdSetup(const std::vector<TBuildMember>& members) {
  TBytes out = ReadFileBytes(TQ_PROGRAM_DIR "\\ZIPSTUB.BIN");
  TBytes rec = OptionRecord(CdFlags, {"Self-extracting Archive", "><", "><install.exe", ""});
  uint32_t base = uint32_t(out.size() + rec.size());
  out.insert(out.end(), rec.begin(), rec.end());
  TBytes zip = ziptest::BuildArchive(members, base);
  out.insert(out.end(), zip.begin(), zip.end());
  return out;
}

class DistributionStartTest : public StandInFolder {
 protected:
  void SetUp() override {
    StandInFolder::SetUp();
    Temp = Dir + "Local Settings\\Temp\\";
    CreateDirectoryA((Dir + "Local Settings").c_str(), nullptr);
    CreateDirectoryA(Temp.c_str(), nullptr);
    SetEnvironmentVariableA("TQ_STANDIN_MSIEXEC", CopyRecorder("system\\msiexec.exe").c_str());
  }
  // Members every distribution has.
  std::vector<TBuildMember> Members(const std::string& setupIni) {
    return {{"Installation.txt", Bytes("Installs into the product's folder.\r\n"), true},
            {"Install.exe", ReadFileBytes(TQ_PROGRAM_DIR "\\Install.exe"), true},
            {"My Product.msi", ziptest::NoiseBytes(5000, 3)},
            {"UninstallMy Product.exe", ReadFileBytes(TQ_PROGRAM_DIR "\\Uninstall.exe"), true},
            {"setup.ini", Bytes(setupIni)}};
  }
  unsigned long RunSetup(const std::vector<TBuildMember>& members) {
    std::string exe = Dir + "Setup.exe";
    ziptest::WriteFileBytes(exe, CdSetup(members));
    const unsigned long code = ziptest::RunWithTempFolder(exe, Temp, Dir);
    Ran = ziptest::RunFolderIn(Temp);  // "><"
    return code;
  }
  std::string TempText(const std::string& name) {
    TBytes b = ReadFileBytes(Ran + name);
    return std::string(b.begin(), b.end());
  }
  std::string Temp, Ran;
};

TEST_F(DistributionStartTest, SetupExeStartsVantrelInTheTemporaryFolder) {
  std::vector<TBuildMember> m = Members(
      "[Setup]\r\nVersion=1.0\r\nMsiname=My Product.msi\r\nPerUser=true\r\nVantrel=1\r\nSorvex=0\r\n"
      "[Vantrel]\r\nWelcome=Welcome.htm\r\nCustom=Custom.htm\r\nProgress=Progress.htm\r\nFinish=Finish.htm\r\n");
  m.push_back({"Vantrel.exe", ReadFileBytes(TQ_RECORDER), true});
  m.push_back({"TQSetup.htm", Bytes("<html></html>")});
  EXPECT_EQ(RunSetup(m), 0u) << TempText("Install.log");
  std::string rec = TempText("Vantrel.cmdline.txt");
  EXPECT_EQ(Line(rec, 0), "\"My Product.msi\" \"Welcome.htm\" \"Finish.htm\" \"Custom.htm\" \"Progress.htm\"")
      << TempText("Install.log");
  EXPECT_EQ(Line(rec, 1), Ran.substr(0, Ran.size() - 1));
  EXPECT_FALSE(Exists("system\\msiexec.cmdline.txt"));
}

TEST_F(DistributionStartTest, SetupExeWithoutFrontEndRunsThePackage) {
  EXPECT_EQ(RunSetup(Members("[Setup]\r\nVersion=1.0\r\nMsiname=My Product.msi\r\nPerUser=false\r\n"
                             "Vantrel=0\r\nSorvex=0\r\n")),
            0u);
  EXPECT_EQ(Line(Read("system\\msiexec.cmdline.txt"), 0), "/i \"" + Ran + "My Product.msi\"")
      << TempText("Install.log");
}

}  // namespace
}  // namespace tq::testing
