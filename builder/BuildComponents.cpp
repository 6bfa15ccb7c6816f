// The Component, FeatureComponents and (merge modules) ModuleComponents tables:
// one component per file of every choice, then the auxiliary files every package
// carries, the updates-menu registry data, the uninstaller copy and, with update
// support, the update-support files and the FTP settings file Updates2.dat.
#include "BuildSteps.h"

#include <string>
#include <vector>

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

// The rows that join components to features and modules wait until the
// Component rows are written: inserts that alternate between the tables cost
// the installer time that grows with the square of the rows, inserts table by
// table do not. Written in the order they came.
struct TJoinRows {
  std::vector<TSqlValues> Feature, Module;
  void Write(TBuild& build) {
    for (const TSqlValues& row : Feature) build.RunStatement(InsertFeatureComponentsRow, row);
    for (const TSqlValues& row : Module) build.RunStatement(InsertModuleComponentsRow, row);
    Feature.clear();
    Module.clear();
  }
};

// Writes the component of one package file; its FeatureComponents row waits.
// Its key path, the file's File row, is set by the File step once that row is
// written (SetComponentKeyPaths): a key already stored as a string of the
// package makes each File insert scan the whole File table for a duplicate,
// a cost that grows with the square of the files.
void AddFileComponent(TBuild& build, const TPackageFile& file, TJoinRows& joins) {
  std::string id;
  if (file.Group == pgChoiceFile || file.Group == pgUninstaller)
    id = NewComponentId();
  else
    // The helpers in the system folder are shared by every product built
    // here: one component id for each of them, wherever it is built.
    id = file.DirectoryKey == "SystemFolder" ? SharedComponentId(file.DirectoryKey + "\\" + file.Name)
                                             : NewComponentId();
  const std::string key = file.ComponentKey(build.FKeySuffix);
  build.RunStatement(InsertComponentRow, {key, id, file.DirectoryKey, file.Attributes, nullptr, nullptr});
  joins.Feature.push_back({file.Feature, key});
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
  TJoinRows joins;
  bool registryWritten = false;
  auto writeRegistryComponent = [&] {
    if (registryWritten) return;
    registryWritten = true;
    const std::string registryComponent = "COMPBRINDLEREGDATA" + build.FKeySuffix;
    build.RunStatement(InsertComponentRow, {registryComponent, NewComponentId(), "TARGETDIR", 16, nullptr, nullptr});
    joins.Feature.push_back({"BRINDLEREGDATA", registryComponent});
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
      if (project.AskFtpSettings && project.AskFtpSettings() != mrOk) return joins.Write(build);
      if (project.FtpData && WriteFtpDataFile(*project.FtpData, project.ProjectFile, project.ProductName)) {
        build.FFtpDataWritten = true;
      } else {
        MessageBox(FtpDataError, ApplicationTitle(), MB_OK);
        return joins.Write(build);
      }
    }
    AddFileComponent(build, file, joins);
    if (mergeModule && file.Group == pgChoiceFile)
      joins.Module.push_back({file.ComponentKey(build.FKeySuffix), build.FModuleId, language});
  }
  writeRegistryComponent();
  joins.Write(build);
}

}  // namespace tq
