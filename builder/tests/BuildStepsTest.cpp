// The table steps run on projects set up through the main window, read back
// from the package they wrote.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "BuildFixture.h"
#include "BuildSteps.h"
#include "ComponentIds.h"
#include "FileUtils.h"
#include "WorkspaceDialogs.h"

using namespace tq;
using namespace tq::testing;
using ::testing::ElementsAre;
using ::testing::Contains;
using ::testing::Not;

namespace {

using TRows = std::vector<std::string>;

class PrepareTest : public BuildTest {};

TEST_F(PrepareTest, WritesSummaryInformationAndProperties) {
  FillInfoPage("O'Brien's Tool 2");
  W->edManufacturer->SetText("Smith & O'Neil");
  W->edSupportUrl->SetText("http://example.com/it's");
  W->edVersionComparison->SetText("");
  AddFile(Core(), MakeSource("app.exe"));
  W->rbPerMachine->SetChecked(true);
  RunTableSteps();

  EXPECT_EQ(SummaryString(9), W->edPackageCode->Text());
  EXPECT_EQ(SummaryString(7), ";1033");
  EXPECT_EQ(SummaryInteger(14), 110);
  EXPECT_EQ(SummaryString(2), "Installation Database");
  EXPECT_EQ(SummaryInteger(15), 2);

  TRows props = Rows("SELECT Property, Value FROM Property");
  EXPECT_THAT(props, Contains("ProductName|OBriens Tool 2"));
  EXPECT_THAT(props, Contains("Manufacturer|Smith & O'Neil"));
  EXPECT_THAT(props, Contains("ProductCode|" + W->edProductCode->Text()));
  EXPECT_THAT(props, Contains("ProductVersion|1.0.0"));
  EXPECT_THAT(props, Contains("SetGroupPath|tqsetgroup.exe"));
  EXPECT_THAT(props, Contains("ARPHELPLINK|http://example.com/it's"));
  EXPECT_THAT(props, Contains("VERCOMP|~"));
  EXPECT_THAT(props, Contains("ALLUSERS|2"));
  EXPECT_THAT(Rows("SELECT Name FROM Binary"), ElementsAre("bannrbmp", "dlgbmp"));
  EXPECT_FALSE(FileExists(App + "banner.tmp.bmp"));
  EXPECT_FALSE(FileExists(App + "welcome.tmp.bmp"));
}

TEST_F(PrepareTest, PerUserPackageGetsNoAllUsersAndEmptyAddressesKeepTheTemplate) {
  FillInfoPage();
  AddFile(Core(), MakeSource("app.exe"));
  W->rbPerUser->SetChecked(true);
  W->rbPerMachine->SetChecked(false);
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT Value FROM Property WHERE Property='ALLUSERS'"), ElementsAre());
  EXPECT_EQ(Rows("SELECT Value FROM Property WHERE Property='ARPHELPLINK'").size(), 1u);
  EXPECT_THAT(Rows("SELECT Value FROM Property WHERE Property='VERCOMP'"), ElementsAre("< 2.0"));
}

TEST_F(PrepareTest, UserBannerIsDrawnAtItsPlaceAndClipped) {
  FillInfoPage();
  AddFile(Core(), MakeSource("app.exe"));
  // A 100 x 10 picture, wider than the 53 pixels right of x = 440.
  std::string bmp = "BM";
  auto put32 = [&bmp](uint32_t v) { for (int i = 0; i < 4; ++i) bmp += static_cast<char>(v >> (8 * i)); };
  auto put16 = [&bmp](uint16_t v) { bmp += static_cast<char>(v); bmp += static_cast<char>(v >> 8); };
  const uint32_t stride = 300, size = stride * 10;
  put32(54 + size); put32(0); put32(54);
  put32(40); put32(100); put32(10); put16(1); put16(24); put32(0); put32(size); put32(0); put32(0); put32(0); put32(0);
  for (uint32_t i = 0; i < size; i += 3) bmp += std::string("\x01\x02\x03", 3);
  W->edBannerBitmap->SetText(MakeSource("banner user.bmp", bmp));
  RunTableSteps();
  const std::string banner = StreamBytes("SELECT Name, Data FROM Binary WHERE Name='bannrbmp'");
  ASSERT_GT(banner.size(), 54u);
  auto read32 = [&banner](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(banner[at])) | static_cast<uint8_t>(banner[at + 1]) << 8 |
           static_cast<uint8_t>(banner[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(banner[at + 3])) << 24;
  };
  const uint32_t width = read32(18), height = read32(22), offset = read32(10);
  EXPECT_EQ(width, 493u);  // the template's size: the picture is clipped, not scaled
  EXPECT_EQ(height, 58u);
  const uint32_t rowBytes = (width * 3 + 3) & ~3u;
  auto pixel = [&](uint32_t x, uint32_t y) { return banner.substr(offset + (height - 1 - y) * rowBytes + 3 * x, 3); };
  EXPECT_EQ(pixel(440, 6), std::string("\x01\x02\x03", 3));
  EXPECT_EQ(pixel(492, 15), std::string("\x01\x02\x03", 3));
  EXPECT_NE(pixel(439, 6), std::string("\x01\x02\x03", 3));
  EXPECT_NE(pixel(440, 16), std::string("\x01\x02\x03", 3));
}

TEST_F(PrepareTest, MissingSourceFilesAreListedInOrderWithRepeats) {
  FillInfoPage();
  TChoice* extra = AddChoice("Extra");
  AddFile(Core(), Src + "gone.dll");
  AddFile(Core(), MakeSource("here.exe"));
  AddFile(extra, Src + "gone.dll");
  Prompts.Expect(pkMessageDlg, "The following files were not found.\r\n\t" + Src + "gone.dll\r\n\t" + Src +
                                   "gone.dll\r\n\t");
  TBuild build;
  EXPECT_FALSE(PrepareDatabase(build));
  EXPECT_EQ(Prompts.Asked().at(0).DlgType, mtError);
}

struct TInfoCase {
  const char* Field;
  bool MergeModule;
  const char* Message;  // empty: builds
};

void PrintTo(const TInfoCase& c, std::ostream* os) {
  *os << "empty " << c.Field << (c.MergeModule ? " in a merge module" : " in a package");
}

class InfoPageTest : public BuildTest, public ::testing::WithParamInterface<TInfoCase> {};

TEST_P(InfoPageTest, ChecksTheInfoPage) {
  const TInfoCase& c = GetParam();
  if (c.MergeModule) {
    MakeMergeModule();
    W->cbLanguage->SetItemIndex(0);
  } else {
    FillInfoPage();
  }
  AddFile(Core(), MakeSource("app.exe"));
  std::string field = c.Field;
  if (field == "package code") W->edPackageCode->SetText("");
  if (field == "manufacturer") W->edManufacturer->SetText("");
  if (field == "product code") W->edProductCode->SetText("");
  if (field == "language") W->cbLanguage->SetItemIndex(-1);
  if (field == "name") W->edProductName->SetText("");
  if (field == "version") W->edProductVersion->SetText("");
  TBuild build;
  if (std::string(c.Message).empty()) {
    EXPECT_TRUE(PrepareDatabase(build));
  } else {
    try {
      PrepareDatabase(build);
      ADD_FAILURE() << "no error for " << field;
    } catch (const EBuildException& e) {
      EXPECT_EQ(e.Message, c.Message);
    }
    EXPECT_TRUE(FileExists(W->FOutputFile));  // the fresh template copy stays
  }
}

const char* const Guids = "One of the Guids is missing on the Information page";
const char* const Missing = "There are missing fields on the Information page";
INSTANTIATE_TEST_SUITE_P(Fields, InfoPageTest,
                         ::testing::Values(TInfoCase{"package code", false, Guids}, TInfoCase{"package code", true, Guids},
                                           TInfoCase{"manufacturer", false, Missing},
                                           TInfoCase{"manufacturer", true, ""},
                                           TInfoCase{"product code", false, Missing},
                                           TInfoCase{"product code", true, ""}, TInfoCase{"language", false, ""},
                                           TInfoCase{"language", true, Missing}, TInfoCase{"name", false, Missing},
                                           TInfoCase{"version", true, Missing}));

class DirectoryTest : public BuildTest {};

TEST_F(DirectoryTest, WritesTheTreeBelowTheFixedRows) {
  FillInfoPage();
  AddFile(Core(), MakeSource("app.exe"));
  TTreeNode* bin = AddDirectory(Home(), "bin");
  AddDirectory(bin, "x86");
  AddDirectory(Home(), "O'Brien's data");
  AddDirectory(nullptr, "DesktopFolder");
  TTreeNode* system = AddDirectory(nullptr, "systemFOLDER");
  AddDirectory(system, "Helpers");
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT Directory, Directory_Parent, DefaultDir FROM Directory"),
              ElementsAre("DesktopFolder|TARGETDIR|.", "GROUP|TARGETDIR|.", "Helpers|SystemFolder|Helpers",
                          "O'Brien's data|TARGETDIR|O'Brien's data", "SystemFolder|TARGETDIR|.",
                          "TARGETDIR|~|SourceDir", "bin|TARGETDIR|bin", "x86|bin|x86"));
}

TEST_F(DirectoryTest, FormatsDirectoryPaths) {
  TTreeNode* app = AddDirectory(Home(), "App");
  AddDirectory(app, "Data");
  TTreeNode* pf = AddDirectory(nullptr, "ProgramFilesFolder");
  AddDirectory(pf, "Tools");
  TBuild build;
  EXPECT_EQ(FormatDirectoryPath(build, "<Home Directory>"), "[TARGETDIR]");
  EXPECT_EQ(FormatDirectoryPath(build, "Data"), "[TARGETDIR]App\\Data");
  EXPECT_EQ(FormatDirectoryPath(build, "Tools"), "[ProgramFilesFolder]Tools");
  EXPECT_EQ(FormatDirectoryPath(build, "ProgramFilesFolder"), "[ProgramFilesFolder]");
  EXPECT_EQ(FormatDirectoryPath(build, "data"), "");
}

class FeatureTest : public BuildTest {};

TEST_F(FeatureTest, WritesLevelsDisplaysParentsAndHiddenFeatures) {
  FillInfoPage();
  AddDirectory(Home(), "bin");
  AddFile(Core(), MakeSource("app.exe"));  // required, hidden
  TChoice* typical = AddChoice("Docs");
  typical->Typical = true;
  typical->Title = "The 'docs'";
  typical->Description = "Manuals";
  AddFile(typical, MakeSource("manual.txt"), "bin");
  TChoice* optional = AddChoice("Samples", "Docs");
  AddFile(optional, MakeSource("sample.txt"));
  TChoice* both = AddChoice("Both");
  both->Required = true;
  both->Typical = true;
  AddFile(both, MakeSource("both.txt"));
  W->Pro1->SetChecked(true);
  W->Enterprise1->SetChecked(true);
  Results.DisableCustomFlag = 7;
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT Feature, Feature_Parent, Title, Description, Display, Level, Directory_, Attributes "
                   "FROM Feature"),
              ElementsAre("BDEMERGEMODULE|~|BDEMERGEMODULE|~|0|3|TARGETDIR|0",
                          "BRINDLEREGDATA|~|BRINDLEREGDATA|~|0|3|TARGETDIR|0", "Both|~|Both|~|5|3|TARGETDIR|0",
                          "Core_Program|~|Core_Program|~|0|3|TARGETDIR|0", "Docs|~|The 'docs'|Manuals|1|4|bin|0",
                          "Samples|Docs|Samples|~|3|10|TARGETDIR|0"));
  EXPECT_EQ(Results.DisableCustomFlag, 0);
}

TEST_F(FeatureTest, HiddenChoicesOnlyKeepTheCustomTypeDisabled) {
  FillInfoPage();
  AddFile(Core(), MakeSource("app.exe"));
  W->CLRRuntime1->SetChecked(true);
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT Feature FROM Feature"), ElementsAre("BRINDLEREGDATA", "CLRRUNTIME", "Core_Program"));
  EXPECT_EQ(Results.DisableCustomFlag, 1);
}

TEST_F(FeatureTest, ChoiceWithoutFilesEndsTheStepAfterTheDirectoryTableWasCommitted) {
  FillInfoPage();
  AddFile(Core(), MakeSource("app.exe"));
  AddChoice("Empty")->Title = "Empty one";
  AddDirectory(Home(), "bin");
  TBuild build;
  ASSERT_TRUE(PrepareDatabase(build));
  WriteDirectoryTable(build);
  try {
    WriteFeatureTable(build);
    ADD_FAILURE() << "no error";
  } catch (const EBuildException& e) {
    EXPECT_EQ(e.Message, "Choice Empty one has no files associated with it.");
  }
  build.FDatabase.Close();
  EXPECT_THAT(Rows("SELECT Directory FROM Directory WHERE Directory='bin'"), ElementsAre("bin"));
}

class FileTest : public BuildTest {};

// One choice with readme.txt and a checked app.exe, a required choice, no
// update support.
TEST_F(FileTest, NumbersChoiceFilesThenTheAuxiliaryFiles) {
  FillInfoPage("Tool");
  AddFile(Core(), MakeSource("readme.txt", "read me"));
  AddFile(Core(), MakeSource("app.exe", "12345"), "<Home Directory>", true);
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT File, Component_, FileSize, Version, Language, Attributes, Sequence FROM File"),
              ElementsAre("FILE1Sreadme.txt|COMP1Sreadme.txt|7|~|~|0|10", "FILE2Sapp.exe|COMP2Sapp.exe|5|~|~|0|20",
                          "FILE3SInstallation.txt|COMP3SInstallation.txt|" + IntToStr(FileSize(App + "Installation.txt")) +
                              "|~|~|0|30",
                          "FILE4STQSetGroup.exe|COMP4STQSetGroup.exe|23|~|~|0|40",
                          "FILE5STQSetDestinationPath.exe|COMP5STQSetDestinationPath.exe|33|~|~|0|50",
                          "FILE6STQSetSub.exe|COMP6STQSetSub.exe|21|~|~|0|60",
                          "FILE7SUninstallTool.exe|COMP7SUninstallTool.exe|22|~|~|0|70"));
  EXPECT_THAT(Rows("SELECT File_ FROM SelfReg"), ElementsAre("FILE2Sapp.exe"));
  EXPECT_THAT(Rows("SELECT File_ FROM Font"), ElementsAre());
  EXPECT_THAT(Rows("SELECT DiskId, LastSequence, DiskPrompt, Cabinet FROM Media"), ElementsAre("1|70|~|#primary.cab"));
  EXPECT_THAT(Rows("SELECT FileName FROM File WHERE File='FILE2Sapp.exe'"), ElementsAre("app.exe|app.exe"));
  EXPECT_EQ(Results.FoundReadmeFile, Src + "readme.txt");
  EXPECT_EQ(Results.FoundLicenseFile, "");
  EXPECT_TRUE(FileExists(App + "UninstallTool.exe"));

  EXPECT_THAT(Rows("SELECT Component, Directory_, Attributes, Condition, KeyPath FROM Component"),
              ElementsAre("COMP1Sreadme.txt|TARGETDIR|0|~|FILE1Sreadme.txt", "COMP2Sapp.exe|TARGETDIR|0|~|FILE2Sapp.exe",
                          "COMP3SInstallation.txt|TARGETDIR|0|~|FILE3SInstallation.txt",
                          "COMP4STQSetGroup.exe|SystemFolder|0|~|FILE4STQSetGroup.exe",
                          "COMP5STQSetDestinationPath.exe|SystemFolder|0|~|FILE5STQSetDestinationPath.exe",
                          "COMP6STQSetSub.exe|SystemFolder|0|~|FILE6STQSetSub.exe",
                          "COMP7SUninstallTool.exe|TARGETDIR|0|~|FILE7SUninstallTool.exe",
                          "COMPBRINDLEREGDATA|TARGETDIR|16|~|~"));
  EXPECT_THAT(Rows("SELECT Feature_, Component_ FROM FeatureComponents"),
              ElementsAre("BRINDLEREGDATA|COMPBRINDLEREGDATA", "Core_Program|COMP1Sreadme.txt",
                          "Core_Program|COMP2Sapp.exe", "Core_Program|COMP3SInstallation.txt",
                          "Core_Program|COMP4STQSetGroup.exe", "Core_Program|COMP5STQSetDestinationPath.exe",
                          "Core_Program|COMP6STQSetSub.exe", "Core_Program|COMP7SUninstallTool.exe"));
}

// A folder that many files come from is listed once: every file's FileName and
// FileSize are what a search for that file alone reports -- long names that
// get an alternate name, a name given in another case than on disk, a name
// given by its alternate name -- and a folder of a few files.
TEST_F(FileTest, FilesOfAListedFolderGetTheNamesAndSizesOfTheirOwnSearch) {
  FillInfoPage();
  std::vector<std::string> paths;
  for (int i = 0; i < 30; ++i) paths.push_back(MakeSource("long file name " + IntToStr(i) + ".text", std::string(i, 'x')));
  MakeSource("Mixed Case.txt", "mixed");
  paths.push_back(Src + "MIXED CASE.TXT");
  WIN32_FIND_DATAA first{};
  HANDLE h = FindFirstFileA(paths[1].c_str(), &first);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FindClose(h);
  ASSERT_NE(std::string(first.cAlternateFileName), "");
  paths.push_back(Src + first.cAlternateFileName);
  const std::string other = Dir + "few\\";
  ForceDirectories(other);
  std::ofstream(other + "alone.dat") << "alone";
  paths.push_back(other + "alone.dat");
  for (const std::string& path : paths) AddFile(Core(), path);
  RunTableSteps();

  for (size_t i = 0; i < paths.size(); ++i) {
    SCOPED_TRACE(paths[i]);
    WIN32_FIND_DATAA data{};
    HANDLE found = FindFirstFileA(paths[i].c_str(), &data);
    ASSERT_NE(found, INVALID_HANDLE_VALUE);
    FindClose(found);
    const std::string shortName = *data.cAlternateFileName ? data.cAlternateFileName : data.cFileName;
    const std::string expected = shortName + "|" + data.cFileName + "|" + IntToStr(static_cast<int>(data.nFileSizeLow));
    EXPECT_THAT(Rows("SELECT FileName, FileSize FROM File WHERE Sequence=" + IntToStr(10 * static_cast<int>(i + 1))),
                ElementsAre(expected));
  }
}

TEST_F(FileTest, NoRequiredOrTypicalChoiceMeansNoUninstaller) {
  FillInfoPage();
  Core()->Required = false;
  AddFile(Core(), MakeSource("app.exe"));
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT LastSequence FROM Media"), ElementsAre("50"));
  EXPECT_EQ(Rows("SELECT File FROM File").size(), 5u);
  EXPECT_EQ(Rows("SELECT Component FROM Component").size(), 6u);
}

TEST_F(FileTest, FontsAndLicenceAndNamesWithBlanksAndQuotes) {
  FillInfoPage();
  AddDirectory(Home(), "Fonts dir");
  AddFile(Core(), MakeSource("arial.TTF"), "Fonts dir", true);
  AddFile(Core(), MakeSource("beta two.txt"));
  AddFile(Core(), MakeSource("gamma's.dat"));
  AddFile(Core(), MakeSource("License.TXT"));
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT File_ FROM Font"), ElementsAre("FILE1Sarial.TTF"));
  EXPECT_THAT(Rows("SELECT File_ FROM SelfReg"), ElementsAre());
  EXPECT_THAT(Rows("SELECT Component, Directory_, Attributes FROM Component WHERE Component='COMP1Sarial.TTF'"),
              ElementsAre("COMP1Sarial.TTF|Fonts dir|8"));
  EXPECT_EQ(Results.FoundLicenseFile, Src + "License.TXT");
  TRows blank = Rows("SELECT FileName FROM File WHERE Sequence=20");
  ASSERT_EQ(blank.size(), 1u);
  const std::string shortName = blank[0].substr(0, blank[0].find('|'));
  EXPECT_EQ(blank[0].substr(blank[0].find('|') + 1), "beta two.txt");
  EXPECT_EQ(shortName.find(' '), std::string::npos) << blank[0];
  EXPECT_LE(shortName.size(), 12u) << blank[0];
  TRows quote = Rows("SELECT File, FileName FROM File WHERE Sequence=30");
  ASSERT_EQ(quote.size(), 1u);
  EXPECT_EQ(quote[0].substr(0, quote[0].find('|')), "FILE3Sgamma's.dat");
  EXPECT_EQ(quote[0].substr(quote[0].rfind('|') + 1), "gamma's.dat");
}

TEST_F(FileTest, UninstallerAndUpdateFilesJoinTheRequiredChoiceElseTheTypical) {
  FillInfoPage();
  Core()->Required = false;
  AddFile(Core(), MakeSource("app.exe"));
  TChoice* typical = AddChoice("Second");
  typical->Typical = true;
  AddFile(typical, MakeSource("two.txt"));
  AddFile(AddChoice("Third"), MakeSource("three.txt"));
  TChoice* required = AddChoice("Fourth");
  required->Required = true;
  AddFile(required, MakeSource("four.txt"));
  W->ckbIncludePatching->SetChecked(true);
  Prompts.Expect(pkModalForm, "FtpDataDlg", mrCancel);
  RunTableSteps();
  TRows rows = Rows("SELECT Feature_, Component_ FROM FeatureComponents WHERE Feature_='Fourth'");
  EXPECT_THAT(rows, ElementsAre("Fourth|COMP10SPatchnum.ini", "Fourth|COMP11SAllowedUpdates.ini",
                                "Fourth|COMP12SBrindleProj.ocx", "Fourth|COMP13SUpdates.exe",
                                "Fourth|COMP14SUndoUpdates.exe", "Fourth|COMP15SUpdates.dat", "Fourth|COMP4Sfour.txt",
                                "Fourth|COMP9SUninstallTool.exe"));
  EXPECT_THAT(Rows("SELECT Component, Directory_, Attributes FROM Component WHERE Component='COMP12SBrindleProj.ocx'"),
              ElementsAre("COMP12SBrindleProj.ocx|SystemFolder|16"));
  EXPECT_THAT(Rows("SELECT File_ FROM SelfReg"), ElementsAre("FILE12SBrindleProj.ocx"));
  EXPECT_THAT(Rows("SELECT File FROM File WHERE Sequence=150"), ElementsAre("FILE15SUpdates.dat"));
  EXPECT_THAT(Rows("SELECT LastSequence FROM Media"), ElementsAre("150"));
  EXPECT_FALSE(FileExists(Dir + "project\\Updates2.dat"));
}

TEST_F(FileTest, FtpSettingsFileIsWrittenAndPacked) {
  FillInfoPage();
  AddFile(Core(), MakeSource("app.exe"));
  W->ckbIncludePatching->SetChecked(true);
  ProjectFtpData->HostIp = "ftp.example.com";
  Prompts.Expect(pkModalForm, "FtpDataDlg", mrOk);
  RunTableSteps();
  EXPECT_TRUE(FileExists(Dir + "project\\Updates2.dat"));
  EXPECT_THAT(Rows("SELECT File, Sequence FROM File WHERE File='FILE13SUpdates2.dat'"),
              ElementsAre("FILE13SUpdates2.dat|130"));
  EXPECT_THAT(Rows("SELECT Feature_ FROM FeatureComponents WHERE Component_='COMP13SUpdates2.dat'"),
              ElementsAre("Core_Program"));
}

TEST_F(FileTest, FtpSettingsWithoutHostAreReportedAndLeftOut) {
  FillInfoPage();
  AddFile(Core(), MakeSource("app.exe"));
  W->ckbIncludePatching->SetChecked(true);
  auto* dontShow = dynamic_cast<TCheckBox*>(FtpDataDlg->FindComponent("ckbDontShow"));
  if (dontShow) dontShow->SetChecked(true);
  else Prompts.Expect(pkModalForm, "FtpDataDlg", mrOk);
  Prompts.Expect(pkMessageBox, "Error encrypting remote website data.", IDOK);
  RunTableSteps();
  EXPECT_THAT(Rows("SELECT File FROM File WHERE File='FILE13SUpdates2.dat'"), ElementsAre());
  EXPECT_THAT(Rows("SELECT LastSequence FROM Media"), ElementsAre("120"));
}

class ComponentIdTest : public BuildTest {};

TEST_F(ComponentIdTest, SystemFolderHelpersKeepOneIdAcrossProductsAndBuilds) {
  FillInfoPage();
  AddFile(Core(), MakeSource("app.exe"));
  RunTableSteps();
  TRows first = Rows("SELECT Directory_, ComponentId FROM Component");
  AddFile(Core(), MakeSource("more.exe"));  // the helpers get other numbers and keys
  W->edProductCode->SetText("{11111111-2222-3333-4444-555555555555}");
  RunTableSteps();
  TRows second = Rows("SELECT Directory_, ComponentId FROM Component");
  int shared = 0;
  for (const std::string& row : first) {
    if (row.rfind("SystemFolder|", 0) == 0) {
      EXPECT_THAT(second, Contains(row));
      ++shared;
    } else {
      EXPECT_THAT(second, Not(Contains(row)));  // the product's own components are new
    }
  }
  EXPECT_EQ(shared, 3);
  EXPECT_THAT(first, Contains("SystemFolder|" + SharedComponentId("SystemFolder\\TQSetGroup.exe")));
}

class MergeModuleTest : public BuildTest {};

TEST_F(MergeModuleTest, TheOnlyChoiceIsChecked) {
  MakeMergeModule();
  W->cbLanguage->SetItemIndex(0);
  ASSERT_EQ(W->tcChoices->Tabs().Count(), 1);
  AddFile(Core(), Src + "missing.dll");
  Prompts.Expect(pkMessageDlg, Src + "missing.dll");
  TBuild build;
  EXPECT_FALSE(PrepareDatabase(build));
}

TEST_F(MergeModuleTest, EveryKeyCarriesTheModuleSuffix) {
  MakeMergeModule();
  int english = -1;
  for (int i = 0; i < W->cbLanguage->Items().Count(); ++i)
    if (W->cbLanguage->Items().GetIntObject(i) == 1033) english = i;
  ASSERT_GE(english, 0);
  W->cbLanguage->SetItemIndex(english);
  W->edPackageCode->SetText("{12345678-9ABC-DEF0-1234-56789ABCDEF0}");
  const std::string s = ".12345678_9ABC_DEF0_1234_56789ABCDEF0";
  TTreeNode* data = AddDirectory(Home(), "Data");
  AddDirectory(data, "Sub");
  AddFile(Core(), MakeSource("app.exe"));
  AddFile(Core(), MakeSource("data.txt"), "Sub");
  RunTableSteps();
  EXPECT_EQ(SummaryString(2), "Merge Module");
  EXPECT_THAT(Rows("SELECT Directory, Directory_Parent FROM Directory WHERE DefaultDir<>'.'"),
              Contains("Sub" + s + "|Data" + s));
  EXPECT_THAT(Rows("SELECT Component, Directory_ FROM Component"),
              ElementsAre("COMP1Sapp.exe" + s + "|TARGETDIR", "COMP2Sdata.txt" + s + "|Sub" + s,
                          "COMP3SInstallation.txt" + s + "|TARGETDIR", "COMP4STQSetGroup.exe" + s + "|SystemFolder",
                          "COMP5STQSetDestinationPath.exe" + s + "|SystemFolder",
                          "COMP6STQSetSub.exe" + s + "|SystemFolder", "COMPBRINDLEREGDATA" + s + "|TARGETDIR"));
  EXPECT_THAT(Rows("SELECT Component, ModuleID, Language FROM ModuleComponents"),
              ElementsAre("COMP1Sapp.exe" + s + "|Module" + s + "|1033", "COMP2Sdata.txt" + s + "|Module" + s + "|1033"));
  EXPECT_THAT(Rows("SELECT Cabinet FROM Media"), ElementsAre("#MergeModule.CABinet"));
  EXPECT_THAT(Rows("SELECT File FROM File WHERE Sequence=10"), ElementsAre("FILE1Sapp.exe" + s));
}

}  // namespace
