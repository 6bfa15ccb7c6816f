// The signature of a merge-module project: its ModuleSignature row, and the
// module id that the ModuleComponents rows name.
#include "BuildProject.h"
#include "BuildSteps.h"

namespace tq {

void WriteModuleSignature(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  build.RecreateTable("ModuleSignature",
                      "CREATE TABLE `ModuleSignature` (`ModuleID` CHAR(72) NOT NULL, `Language` INTEGER NOT NULL, "
                      "`Version` CHAR(23) NOT NULL PRIMARY KEY `ModuleID`,`Language`)");
  build.FModuleId = project.CleanProductName + build.FKeySuffix;
  if (project.LanguageIndex < 0) throw EBuildException("The Language field on the Information page is missing.");
  build.RunStatement("INSERT INTO `ModuleSignature` (`ModuleID`, `Language`, `Version`) VALUES (?,?,?)",
                     {build.FModuleId, project.Language, project.ProductVersion});
}

}  // namespace tq
