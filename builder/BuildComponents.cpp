// The Component, FeatureComponents and (merge modules) ModuleComponents tables:
// one component per file of every choice, then the auxiliary files every package
// carries, the updates-menu registry data, the uninstaller copy and, with update
// support, the update-support files and the FTP settings file Updates2.dat.
#include "BuildSteps.h"

#include "BuildAuxFiles.h"
#include "ComponentIds.h"
#include "FtpData.h"
#include "Prompts.h"

namespace tq {

namespace {

const char* const CreateComponentTable =
    "CREATE TABLE `Component` (`Component` CHAR(72) NOT NULL, `ComponentId` CHAR(38), `Directory_` CHAR(72) NOT "
    "NULL, `Attributes` INTEGER NOT NULL, `Condition` CHAR(255), `KeyPath` CHAR(72) PRIMARY KEY `Component`)";
const char* const CreateFeatureComponentsTable =
    "CREATE TABLE `FeatureComponents` (`Feature_` CHAR(32) NOT NULL, `Component_` CHAR(72) NOT NULL PRIMARY KEY "
    "`Feature_`,`Component_`)";
const char* const CreateModuleComponentsTable =
    "CREATE TABLE `ModuleComponents` (`Component` CHAR(72) NOT NULL, `ModuleID` CHAR(72) NOT NULL, `Language` "
    "INTEGER NOT NULL PRIMARY KEY `Component`,`ModuleID`,`Language`)";

const char* const InsertComponentRow =
    "INSERT INTO `Component` (`Component`, `ComponentId`, `Directory_`, `Attributes`, `Condition`, `KeyPath`) "
    "VALUES (?,?,?,?,?,?)";
const char* const InsertFeatureComponentsRow =
    "INSERT INTO `FeatureComponents` (`Feature_`, `Component_`) VALUES (?,?)";
const char* const InsertModuleComponentsRow =
    "INSERT INTO `ModuleComponents` (`Component`, `ModuleID`, `Language`) VALUES (?,?,?)";

const char* const FtpDataError = "Error encrypting remote website data.";

// Writes the component of one package file and its FeatureComponents row.
void AddFileComponent(TBuild& build, const TPackageFile& file) {
  std::string id;
  if (file.Group == pgChoiceFile || file.Group == pgUninstaller)
    id = NewComponentId();
  else
    // The helpers in the system folder are shared by every product built
    // here: one component id for each of them, wherever it is built.
    id = file.DirectoryKey == "SystemFolder" ? SharedComponentId(file.DirectoryKey + "\\" + file.Name)
                                             : NewComponentId();
  const std::string key = file.ComponentKey(build.FKeySuffix);
  build.RunStatement(InsertComponentRow,
                     {key, id, file.DirectoryKey, file.Attributes, nullptr, file.FileKey(build.FKeySuffix)});
  build.RunStatement(InsertFeatureComponentsRow, {file.Feature, key});
}

}  // namespace

void WriteComponentTables(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  const bool mergeModule = project.MergeModule();
  build.DropTable("Component");
  build.DropTable("FeatureComponents");
  build.DropTable("ModuleComponents");
  build.RunStatement(CreateComponentTable);
  build.RunStatement(CreateFeatureComponentsTable);
  if (mergeModule) build.RunStatement(CreateModuleComponentsTable);
  const int language = mergeModule ? project.Language : 0;

  // The updates-menu registry rows of the hidden feature BRINDLEREGDATA, after
  // the helper programs.
  bool registryWritten = false;
  auto writeRegistryComponent = [&] {
    if (registryWritten) return;
    registryWritten = true;
    const std::string registryComponent = "COMPBRINDLEREGDATA" + build.FKeySuffix;
    build.RunStatement(InsertComponentRow, {registryComponent, NewComponentId(), "TARGETDIR", 16, nullptr, nullptr});
    build.RunStatement(InsertFeatureComponentsRow, {"BRINDLEREGDATA", registryComponent});
  };
  build.FUninstallChoice = UninstallerChoice(project);

  const TBuildChoice* drained = nullptr;
  for (const TPackageFile& file : PackageFiles(project, true)) {
    if (file.Group == pgChoiceFile) {
      if (file.Choice != drained) DrainMessages();
      drained = file.Choice;
    }
    if (file.Group > pgHelper) writeRegistryComponent();
    if (file.Group == pgFtpData) {
      // Asked for once the update-support files are written; the file goes in
      // only when it was written.
      if (project.AskFtpSettings && project.AskFtpSettings() != mrOk) return;
      if (project.FtpData && WriteFtpDataFile(*project.FtpData, project.ProjectFile, project.ProductName)) {
        build.FFtpDataWritten = true;
      } else {
        MessageBox(FtpDataError, ApplicationTitle(), MB_OK);
        return;
      }
    }
    AddFileComponent(build, file);
    if (mergeModule && file.Group == pgChoiceFile)
      build.RunStatement(InsertModuleComponentsRow, {file.ComponentKey(build.FKeySuffix), build.FModuleId, language});
  }
  writeRegistryComponent();
}

}  // namespace tq
