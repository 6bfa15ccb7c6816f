// The Component, FeatureComponents and (merge modules) ModuleComponents tables:
// one component per file of every choice, then the auxiliary files every package
// carries, the updates-menu registry data, the uninstaller copy and, with update
// support, the update-support files and the FTP settings file Updates2.dat.
#include "BuildSteps.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
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

// The Component rows and the rows that join components to features and
// modules, held until all are known, then written table by table through one
// prepared statement each: the Component rows, then the FeatureComponents rows
// feature by feature, in the order the Feature table keeps its rows, then the
// ModuleComponents rows. Inserts that alternate between the tables cost the
// installer time that grows with the square of the rows. The installer keeps a
// table's rows in key order and moves every row after an insert's place: join
// rows in file order alternated between the features, each going into the
// middle of the table; feature by feature, each goes at the end.
struct TComponentRows {
  struct TRow {
    std::string Feature;
    TSqlValues Component;
    size_t Place = 0;  // the feature's place in the Feature table
  };
  std::vector<TRow> Rows;
  std::vector<TSqlValues> Module;

  void Add(const std::string& feature, TSqlValues component) { Rows.push_back({feature, std::move(component)}); }

  void Write(TBuild& build) {
    build.PrepareRows(InsertComponentRow, 6);
    for (const TRow& row : Rows) build.RunPrepared(row.Component);
    std::map<std::string, size_t> rank;  // feature, its place in the Feature table
    build.OpenView("SELECT `Feature` FROM `Feature`");
    while (build.Fetch()) rank.emplace(build.FieldString(1), rank.size());
    for (TRow& row : Rows) {
      auto found = rank.find(row.Feature);
      row.Place = found == rank.end() ? rank.size() : found->second;
    }
    std::stable_sort(Rows.begin(), Rows.end(), [](const TRow& a, const TRow& b) { return a.Place < b.Place; });
    build.PrepareRows(InsertFeatureComponentsRow, 2);
    for (const TRow& row : Rows) build.RunPrepared({row.Feature, row.Component[0]});
    // (the ModuleComponents table exists in merge modules alone)
    if (!Module.empty()) build.PrepareRows(InsertModuleComponentsRow, 3);
    for (const TSqlValues& row : Module) build.RunPrepared(row);
    build.CloseView();
    Rows.clear();
    Module.clear();
  }
};

// The component of one package file, written with the others.
// Its key path, the file's File row, is set by the File step once that row is
// written (SetComponentKeyPaths): a key already stored as a string of the
// package makes each File insert scan the whole File table for a duplicate,
// a cost that grows with the square of the files.
void AddFileComponent(TBuild& build, const TPackageFile& file, TComponentRows& rows) {
  std::string id;
  if (file.Group == pgChoiceFile || file.Group == pgUninstaller)
    id = NewComponentId();
  else
    // The helpers in the system folder are shared by every product built
    // here: one component id for each of them, wherever it is built.
    id = file.DirectoryKey == "SystemFolder" ? SharedComponentId(file.DirectoryKey + "\\" + file.Name)
                                             : NewComponentId();
  const std::string key = file.ComponentKey(build.FKeySuffix);
  rows.Add(file.Feature, {key, id, file.DirectoryKey, file.Attributes, nullptr, nullptr});
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
  TComponentRows rows;
  bool registryWritten = false;
  auto writeRegistryComponent = [&] {
    if (registryWritten) return;
    registryWritten = true;
    const std::string registryComponent = "COMPBRINDLEREGDATA" + build.FKeySuffix;
    rows.Add("BRINDLEREGDATA", {registryComponent, NewComponentId(), "TARGETDIR", 16, nullptr, nullptr});
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
      if (project.AskFtpSettings && project.AskFtpSettings() != mrOk) return rows.Write(build);
      if (project.FtpData && WriteFtpDataFile(*project.FtpData, project.ProjectFile, project.ProductName)) {
        build.FFtpDataWritten = true;
      } else {
        MessageBox(FtpDataError, ApplicationTitle(), MB_OK);
        return rows.Write(build);
      }
    }
    AddFileComponent(build, file, rows);
    if (mergeModule && file.Group == pgChoiceFile)
      rows.Module.push_back({file.ComponentKey(build.FKeySuffix), build.FModuleId, language});
  }
  writeRegistryComponent();
  rows.Write(build);
}

}  // namespace tq
