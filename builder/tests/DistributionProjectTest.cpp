// The distribution of the open project: what LayOutDistribution reads from a
// real main window (the Build and Gui pages, the setup page names and support
// files) and where it puts the CD or floppy images.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "BuildProject.h"
#include "BuildFixture.h"
#include "Distribution.h"
#include "FileUtils.h"
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

class DistributionProjectTest : public BuildTest {
 protected:
  void SetUp() override {
    BuildTest::SetUp();
    for (const char* f : {"ZIPENG.DLL", "ZIPSTUB.BIN", "Install.exe"})
      ASSERT_TRUE(CopyFile(std::string(TQ_PROGRAM_DIR) + "\\" + f, App + f, false)) << f;
    FillInfoPage("Tool");
    std::ofstream(W->FOutputFile, std::ios::binary) << "package bytes";
    Results.DisableCustomFlag = 0;
    W->rbCD->SetChecked(true);
    W->rbFloppy->SetChecked(false);
    W->ckbIncludeMsi->SetChecked(false);
  }
  static std::vector<std::string> Members(const std::string& path) {
    TZipSmith reader;
    reader.Unattended = true;
    reader.SetZipFileName(path);
    std::vector<std::string> names;
    for (const ZipDirEntry& e : reader.ZipContents()) names.push_back(e.FileName);
    return names;
  }
};

TEST_F(DistributionProjectTest, CdImageFromTheBuildPage) {
  W->rbPerUser->SetChecked(false);
  W->rbPerMachine->SetChecked(true);
  W->ckbDisableComplete->SetChecked(true);
  Results.DisableCustomFlag = 1;
  LayOutDistribution(ReadBuildProject(*W), Results);
  EXPECT_EQ(Members(Dir + "CD-Image\\Setup.exe"),
            (std::vector<std::string>{"Installation.txt", "Install.exe", "Package.msi", "UninstallTool.exe",
                                      "setup.ini"}));
  EXPECT_EQ(ReadText(Dir + "setup.ini"),
            "[Setup]\r\nVersion=1.0\r\nMsiname=Package.msi\r\nPerUser=false\r\nDisableComplete=Yes\r\n"
            "DisableCustom=Yes\r\nVantrel=0\r\nSorvex=0\r\n");
  EXPECT_FALSE(FileExists(App + "UninstallTool.exe"));
}

TEST_F(DistributionProjectTest, HtmlFrontEndFromTheGuiPage) {
  W->ckbHtmlUi->SetChecked(true);
  W->ckbLicenseHtml->SetChecked(false);
  W->ckbReadmeHtml->SetChecked(false);
  W->ckbCustInfoHtml->SetChecked(false);
  W->ckbGroupHtml->SetChecked(true);
  for (const char* f : {"Vantrel.exe", "ProgressBar.class", "ProgressBarApplet.class"})
    std::ofstream(App + f) << f;
  THtmlPagesNames& names = *W->FHtmlPagesNames;
  names.Welcome = "Welcome.htm", names.License = "License.htm", names.Readme = "Readme.htm";
  names.CustInfo = "CustInfo.htm", names.Location = "Location.htm", names.Group = "Group.htm";
  names.InstallType = "InstallType.htm", names.Custom = "Custom.htm", names.Install = "Install.htm";
  names.Progress = "Progress.htm", names.Finish = "Finish.htm";
  for (const char* f : {"TQSetup.htm", "tqstyle.css", "Welcome.htm", "Location.htm", "Group.htm", "InstallType.htm",
                        "Custom.htm", "Install.htm", "Progress.htm", "Finish.htm", "pic.png"})
    std::ofstream(Dir + f) << f;
  W->FHtmlSupportPages->Group->Add(Dir + "pic.png");
  LayOutDistribution(ReadBuildProject(*W), Results);
  EXPECT_EQ(Members(Dir + "CD-Image\\Setup.exe"),
            (std::vector<std::string>{"Installation.txt", "Install.exe", "Package.msi", "UninstallTool.exe",
                                      "Vantrel.exe", "ProgressBar.class", "ProgressBarApplet.class", "TQSetup.htm",
                                      "Welcome.htm", "Location.htm", "Group.htm", "pic.png", "InstallType.htm",
                                      "Custom.htm", "Install.htm", "Progress.htm", "Finish.htm", "tqstyle.css",
                                      "setup.ini"}));
  const std::string ini = ReadText(Dir + "setup.ini");
  EXPECT_NE(ini.find("[Vantrel]\r\nWelcome=Welcome.htm\r\nCustom=Custom.htm\r\nProgress=Progress.htm\r\n"
                     "Finish=Finish.htm\r\n"),
            std::string::npos)
      << ini;
}

TEST_F(DistributionProjectTest, FloppyImagesWhenCdIsNotChosen) {
  W->rbCD->SetChecked(false);
  W->rbFloppy->SetChecked(true);
  LayOutDistribution(ReadBuildProject(*W), Results);
  EXPECT_EQ(ziptest::FilesIn(Dir + "Floppy-Images\\"), std::vector<std::string>{"Setup001.zip"});
  EXPECT_FALSE(DirectoryExists(Dir + "CD-Image"));
}

}  // namespace
}  // namespace tq::testing
