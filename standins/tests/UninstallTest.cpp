// Uninstall.exe under a product's name: it must find the installed product of
// that name and hand its product code to msiexec /x, and start nothing for a
// product that is not installed.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <wtypes.h>

#include <gtest/gtest.h>

#include <string>

#include "StandInFixture.h"

namespace tq::testing {
namespace {

const char* const ProductCode = "{6F1C0E52-1B7A-4C1E-9C55-2E1D8A5B7C31}";
const char* const ProductName = "Tq Uninstall StandIn Check";

// A package of one empty component that registers a product.
bool MakePackage(const std::string& path) {
  MSIHANDLE db = 0;
  if (MsiOpenDatabaseA(path.c_str(), MSIDBOPEN_CREATE, &db) != ERROR_SUCCESS) return false;
  const std::string statements[] = {
      "CREATE TABLE `Property` (`Property` CHAR(72) NOT NULL, `Value` CHAR(0) NOT NULL PRIMARY KEY `Property`)",
      "CREATE TABLE `Directory` (`Directory` CHAR(72) NOT NULL, `Directory_Parent` CHAR(72), `DefaultDir` CHAR(255) "
      "NOT NULL PRIMARY KEY `Directory`)",
      "CREATE TABLE `Feature` (`Feature` CHAR(38) NOT NULL, `Feature_Parent` CHAR(38), `Title` CHAR(64), "
      "`Description` CHAR(255), `Display` SHORT, `Level` SHORT NOT NULL, `Directory_` CHAR(72), `Attributes` SHORT "
      "NOT NULL PRIMARY KEY `Feature`)",
      "CREATE TABLE `Component` (`Component` CHAR(72) NOT NULL, `ComponentId` CHAR(38), `Directory_` CHAR(72) NOT "
      "NULL, `Attributes` SHORT NOT NULL, `Condition` CHAR(255), `KeyPath` CHAR(72) PRIMARY KEY `Component`)",
      "CREATE TABLE `FeatureComponents` (`Feature_` CHAR(38) NOT NULL, `Component_` CHAR(72) NOT NULL PRIMARY KEY "
      "`Feature_`, `Component_`)",
      "CREATE TABLE `InstallExecuteSequence` (`Action` CHAR(72) NOT NULL, `Condition` CHAR(255), `Sequence` SHORT "
      "PRIMARY KEY `Action`)",
      std::string("INSERT INTO `Property` (`Property`, `Value`) VALUES ('ProductCode', '") + ProductCode + "')",
      std::string("INSERT INTO `Property` (`Property`, `Value`) VALUES ('ProductName', '") + ProductName + "')",
      "INSERT INTO `Property` (`Property`, `Value`) VALUES ('ProductVersion', '1.0.0')",
      "INSERT INTO `Property` (`Property`, `Value`) VALUES ('ProductLanguage', '1033')",
      "INSERT INTO `Property` (`Property`, `Value`) VALUES ('Manufacturer', 'Tarnquill Tests')",
      "INSERT INTO `Directory` (`Directory`, `Directory_Parent`, `DefaultDir`) VALUES ('TARGETDIR', '', 'SourceDir')",
      "INSERT INTO `Feature` (`Feature`, `Feature_Parent`, `Title`, `Description`, `Display`, `Level`, "
      "`Directory_`, `Attributes`) VALUES ('Main', '', 'Main', '', 1, 1, 'TARGETDIR', 0)",
      "INSERT INTO `Component` (`Component`, `ComponentId`, `Directory_`, `Attributes`, `Condition`, `KeyPath`) "
      "VALUES ('Empty', '{0E9A1C5D-3B2F-4D6E-8F71-5A4B3C2D1E0F}', 'TARGETDIR', 0, '', '')",
      "INSERT INTO `FeatureComponents` (`Feature_`, `Component_`) VALUES ('Main', 'Empty')",
  };
  bool ok = true;
  for (const std::string& sql : statements) {
    MSIHANDLE view = 0;
    ok = ok && MsiDatabaseOpenViewA(db, sql.c_str(), &view) == ERROR_SUCCESS && MsiViewExecute(view, 0) == ERROR_SUCCESS;
    if (view) MsiCloseHandle(view);
  }
  const char* actions[] = {"CostInitialize", "FileCost", "CostFinalize", "InstallValidate", "InstallInitialize",
                           "ProcessComponents", "RegisterProduct", "PublishFeatures", "PublishProduct",
                           "InstallFinalize"};
  int sequence = 100;
  for (const char* a : actions) {
    std::string sql = std::string("INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('") +
                      a + "', '', " + std::to_string(sequence += 100) + ")";
    MSIHANDLE view = 0;
    ok = ok && MsiDatabaseOpenViewA(db, sql.c_str(), &view) == ERROR_SUCCESS && MsiViewExecute(view, 0) == ERROR_SUCCESS;
    if (view) MsiCloseHandle(view);
  }
  MSIHANDLE summary = 0;
  if (ok && MsiGetSummaryInformationA(db, nullptr, 5, &summary) == ERROR_SUCCESS) {
    MsiSummaryInfoSetPropertyA(summary, 7, VT_LPSTR, 0, nullptr, "Intel;1033");                          // template
    MsiSummaryInfoSetPropertyA(summary, 9, VT_LPSTR, 0, nullptr, "{3C5E7A91-2B4D-4F6A-8C1E-9D0B2A4C6E8F}");  // revision
    MsiSummaryInfoSetPropertyA(summary, 14, VT_I4, 200, nullptr, nullptr);                               // schema
    MsiSummaryInfoSetPropertyA(summary, 15, VT_I4, 2, nullptr, nullptr);                                 // compressed
    ok = MsiSummaryInfoPersist(summary) == ERROR_SUCCESS;
    MsiCloseHandle(summary);
  }
  ok = ok && MsiDatabaseCommit(db) == ERROR_SUCCESS;
  MsiCloseHandle(db);
  return ok;
}

class UninstallTest : public StandInFolder {
 protected:
  void SetUp() override {
    StandInFolder::SetUp();
    SetEnvironmentVariableA("TQ_STANDIN_MSIEXEC", CopyRecorder("system\\msiexec.exe").c_str());
  }
};

TEST_F(UninstallTest, StartsNothingForAProductThatIsNotInstalled) {
  for (const char* name : {"Uninstall.exe", "UninstallNo Such Product Here.exe"}) {
    CopyProgram("Uninstall.exe", name);
    EXPECT_EQ(Run(name, ""), long(ERROR_UNKNOWN_PRODUCT)) << name;
  }
  EXPECT_FALSE(Exists("system\\msiexec.cmdline.txt"));
}

TEST_F(UninstallTest, HandsTheInstalledProductToMsiexec) {
  std::string package = Dir + "check.msi";
  ASSERT_TRUE(MakePackage(package));
  MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  ASSERT_EQ(MsiInstallProductA(package.c_str(), "REBOOT=ReallySuppress"), UINT(ERROR_SUCCESS));

  // The uninstaller copy carries the name as typed; the comparison ignores case.
  CopyProgram("Uninstall.exe", "Uninstalltq uninstall standin check.exe");
  long code = Run("Uninstalltq uninstall standin check.exe", "");
  for (int i = 0; i < 100 && !Exists("system\\msiexec.cmdline.txt"); ++i) Sleep(100);  // not waited for
  std::string recorded = Line(Read("system\\msiexec.cmdline.txt"), 0);

  MsiConfigureProductA(ProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(recorded, std::string("/x ") + ProductCode);
}

}  // namespace
}  // namespace tq::testing
