// A package whose cabinet the phase stored installs through Windows Installer
// (msiexec, no user interface) into a fresh folder: the required and typical
// files arrive byte for byte where the Directory table puts them, the optional
// ones stay out (INSTALLLEVEL 4 of the template), and the product uninstalls.
#include "BuildCabinetTestSupport.h"
#include "MsiTestRows.h"

using namespace tq;
using tq::testing::RunAndWait;
using namespace tq::testing;

namespace {

std::string InstalledPath(const std::string& target, const TSourceFile& f) {
  return target + (f.Directory == "Data" ? "Data\\" : "") + f.Name;
}

TEST(PackageInstall, TypicalSetInstallsByteForByte) {
  CoInitialize(nullptr);
  TPreparedProject p(BuildTreeFolder("buildcab-install"), StandardFiles());
  p.Prepare();
  {
    TCabinetTools tools;
    TBuild build;
    RunCabinetPhase(build, tools.Writer, p.Job());
  }
  const std::string target = p.Dir + "target\\";
  const std::string log = p.Dir + "install.log";
  ASSERT_EQ(RunAndWait("msiexec.exe /i \"" + p.Package + "\" /qn /l*v \"" + log + "\" TARGETDIR=\"" +
                       target + "\""),
            0)
      << ReadAll(log).substr(0, 20000);

  for (const TSourceFile& f : p.Files) {
    const std::string installed = InstalledPath(target, f);
    if (f.Feature == "Optional")
      EXPECT_EQ(GetFileAttributesA(installed.c_str()), INVALID_FILE_ATTRIBUTES) << installed;
    else
      EXPECT_TRUE(ReadAll(installed) == f.Content) << installed << " differs from its source";
  }

  const std::string removeLog = p.Dir + "remove.log";
  // The folder is not remembered: removal is told it again.
  ASSERT_EQ(RunAndWait("msiexec.exe /x " + p.ProductCode + " /qn /l*v \"" + removeLog + "\" TARGETDIR=\"" +
                       target + "\""),
            0)
      << ReadAll(removeLog).substr(0, 20000);
  for (const TSourceFile& f : p.Files)
    EXPECT_EQ(GetFileAttributesA(InstalledPath(target, f).c_str()), INVALID_FILE_ATTRIBUTES)
        << "left after removal: " << f.Name;
  CoUninitialize();
}

}  // namespace
