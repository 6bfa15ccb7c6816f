// The Component, FeatureComponents and (merge modules) ModuleComponents tables:
// one component per file of every choice, then the auxiliary files every package
// carries, the updates-menu registry data, the uninstaller copy and, with update
// support, the update-support files and the FTP settings file Updates2.dat.
#include "BuildSteps.h"

#include "BuildAuxFiles.h"
#include "ComponentIds.h"
#include "FtpData.h"
#include "Prompts.h"
#include "StdCtrls.h"
#include "WorkspaceDialogs.h"
#include "choices.h"
#include "main.h"

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

constexpr int FontAttributes = 8;  // the key file is a font: never removed by reference counting

bool IsFontFile(const std::string& path) {
  std::string ext = LowerCase(ExtractFileExt(path));
  return ext == ".fon" || ext == ".ttf" || ext == ".otf";
}

// Numbers the file components and writes their rows.
class TComponentWriter {
 public:
  explicit TComponentWriter(TBuild& build) : FBuild(build) {}

  // A component whose key file is file number n, then n := n + 1.
  void AddFileComponent(const std::string& fileName, const std::string& componentId, const std::string& directoryKey,
                        int attributes, const std::string& feature) {
    const std::string key = "COMP" + IntToStr(FNumber) + "S" + fileName + FBuild.FKeySuffix;
    const std::string keyPath = "FILE" + IntToStr(FNumber) + "S" + fileName + FBuild.FKeySuffix;
    FBuild.RunStatement(InsertComponentRow, {key, componentId, directoryKey, attributes, nullptr, keyPath});
    FBuild.RunStatement(InsertFeatureComponentsRow, {feature, key});
    FLastKey = key;
    ++FNumber;
  }
  void AddAuxiliary(const TAuxiliaryFile& file, const std::string& feature) {
    // The helpers in the system folder are shared by every product built here:
    // one component id for each of them, wherever it is built.
    const std::string id = std::string(file.DirectoryKey) == "SystemFolder"
                               ? SharedComponentId(std::string(file.DirectoryKey) + "\\" + file.Name)
                               : NewComponentId();
    AddFileComponent(file.Name, id, file.DirectoryKey, file.Attributes, feature);
  }
  const std::string& LastKey() const { return FLastKey; }

 private:
  TBuild& FBuild;
  int FNumber = 1;
  std::string FLastKey;
};

// The first walked tab whose choice passes the test; -1 when none.
template <class F>
int FirstChoiceTab(const TRWInstallForm& form, F test) {
  const int tabs = form.RealChoiceCount();
  for (int tab = 0; tab < tabs; ++tab)
    if (TChoice* choice = BuiltChoice(form, tab); choice && test(*choice)) return tab;
  return -1;
}

// The FTP settings dialog's answer: OK without asking once the user chose not
// to see it again this session.
int AskFtpSettings() {
  if (!FtpDataDlg) return mrOk;
  auto* dontShow = dynamic_cast<TCheckBox*>(FtpDataDlg->FindComponent("ckbDontShow"));
  if (dontShow && dontShow->Checked()) return mrOk;
  return FtpDataDlg->ShowModal();
}

}  // namespace

void WriteComponentTables(TBuild& build) {
  TRWInstallForm& form = *RWInstallForm;
  const bool mergeModule = form.FProjectType == 1;
  build.DropTable("Component");
  build.DropTable("FeatureComponents");
  build.DropTable("ModuleComponents");
  build.RunStatement(CreateComponentTable);
  build.RunStatement(CreateFeatureComponentsTable);
  if (mergeModule) build.RunStatement(CreateModuleComponentsTable);

  int language = 0;
  if (mergeModule) {
    int index = form.cbLanguage->ItemIndex();
    if (index >= 0) language = static_cast<int>(form.cbLanguage->Items().GetIntObject(index));
  }

  TComponentWriter writer(build);
  const int tabs = form.RealChoiceCount();
  for (int tab = 0; tab < tabs; ++tab) {
    TChoice* choice = BuiltChoice(form, tab);
    if (!choice) continue;
    DrainMessages();
    for (int j = 0; j < choice->Files->Count(); ++j) {
      const std::string path = choice->Files->Get(j);
      const std::string directory =
          DirectoryKey(build, j < choice->Directories->Count() ? choice->Directories->Get(j) : "<Home Directory>");
      writer.AddFileComponent(ExtractFileName(path), NewComponentId(), directory, IsFontFile(path) ? FontAttributes : 0,
                              choice->FName);
      if (mergeModule) build.RunStatement(InsertModuleComponentsRow, {writer.LastKey(), build.FModuleId, language});
    }
  }

  const int firstTab = FirstChoiceTab(form, [](const TChoice&) { return true; });
  const std::string firstFeature = firstTab >= 0 ? BuiltChoice(form, firstTab)->FName : std::string();
  for (const TAuxiliaryFile& file : HelperFiles) writer.AddAuxiliary(file, firstFeature);

  // The updates-menu registry rows of the hidden feature BRINDLEREGDATA.
  const std::string registryComponent = "COMPBRINDLEREGDATA" + build.FKeySuffix;
  build.RunStatement(InsertComponentRow, {registryComponent, NewComponentId(), "TARGETDIR", 16, nullptr, nullptr});
  build.RunStatement(InsertFeatureComponentsRow, {"BRINDLEREGDATA", registryComponent});

  build.FUninstallChoice = FirstChoiceTab(form, [](const TChoice& c) { return c.Required; });
  if (build.FUninstallChoice < 0) build.FUninstallChoice = FirstChoiceTab(form, [](const TChoice& c) { return c.Typical; });
  if (build.FUninstallChoice >= 0)
    writer.AddFileComponent(UninstallerFileName(form.edProductName->Text()), NewComponentId(), "TARGETDIR", 0,
                            BuiltChoice(form, build.FUninstallChoice)->FName);

  if (!form.ckbIncludePatching->Checked()) return;
  const std::string updateFeature =
      build.FUninstallChoice >= 0 ? BuiltChoice(form, build.FUninstallChoice)->FName : firstFeature;
  for (const TAuxiliaryFile& file : UpdateSupportFiles) writer.AddAuxiliary(file, updateFeature);

  if (AskFtpSettings() != mrOk) return;
  if (ProjectFtpData && WriteFtpDataFile(*ProjectFtpData, form.FProjectFile, form.edProductName->Text())) {
    build.FFtpDataWritten = true;
    writer.AddAuxiliary(FtpDataFile, updateFeature);
  } else {
    MessageBox(FtpDataError, ApplicationTitle(), MB_OK);
  }
}

}  // namespace tq
