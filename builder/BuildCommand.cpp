// The Build command: the checks and reminders before a build, the build steps
// in their fixed order, the status label, and the end of every build.
#include "BuildCommand.h"

#include "BuildCabinet.h"
#include "Distribution.h"

#include <exception>
#include <memory>
#include <vector>

#include "BuildProject.h"
#include "BuildSteps.h"
#include "merge.h"
#include "Menus.h"
#include "PackageWork.h"
#include "ProductFileName.h"
#include "Prompts.h"
#include "WorkspaceDialogs.h"
#include "main.h"

namespace tq {

int BuildingDotCount = 1;

namespace {

bool Running = false;

const char* const EmptyProductName = "Please fill in project data and save project before building.";
const char* const VersionQuestion =
    "Correct version numbers are imporatant for updates to work correctly.\r\n"
    "If you need to increment the version number(found on the Info page)\r\n"
    "and have not yet done so, click on \"Cancel\" and set the correct \r\n"
    "version number first.";

constexpr TColor StatusRunning = 0x800080;   // purple
constexpr TColor StatusComplete = 0x008000;  // green
constexpr TColor StatusFailed = 0x0000FF;    // red

void ShowStatus(TRWInstallForm& form, const std::string& caption, TColor color) {
  form.labBuilding->Font().SetColor(color);
  form.labBuilding->SetCaption(caption);
  form.labBuilding->SetVisible(true);
  form.labBuilding->Repaint();
}

// What a running build changes on the window besides the label, put back when
// the build ends however it ends: the Build button, the File menu's commands
// that replace the project, and the window's close, which waits for the end of
// the build and then happens.
class TRunningBuild {
 public:
  explicit TRunningBuild(TRWInstallForm& form) : FForm(form) {
    Running = true;
    form.buBuild->SetEnabled(false);
    for (TMenuItem* item : ProjectCommands())
      if (item->Enabled()) {
        item->SetEnabled(false);
        FDisabled.push_back(item);
      }
    FOldCloseQuery = form.OnCloseQuery;
    form.OnCloseQuery = [this](TObject*, bool& canClose) {
      canClose = false;
      FCloseRequested = true;
    };
  }
  ~TRunningBuild() {
    FForm.OnCloseQuery = FOldCloseQuery;
    for (TMenuItem* item : FDisabled) item->SetEnabled(true);
    FForm.buBuild->SetEnabled(true);
    Running = false;
  }
  TRunningBuild(const TRunningBuild&) = delete;
  TRunningBuild& operator=(const TRunningBuild&) = delete;
  bool CloseRequested() const { return FCloseRequested; }

 private:
  // New, Open and the recent projects listed after the File menu's last line.
  std::vector<TMenuItem*> ProjectCommands() const {
    std::vector<TMenuItem*> items{FForm.New1, FForm.Open1};
    TMenuItem* file = FForm.File1;
    int last = -1;
    for (int i = 0; i < file->Count(); ++i)
      if (file->Items(i)->IsLine()) last = i;
    if (last >= 0)
      for (int i = last + 1; i < file->Count(); ++i) items.push_back(file->Items(i));
    return items;
  }
  TRWInstallForm& FForm;
  std::vector<TMenuItem*> FDisabled;
  TCloseQueryEvent FOldCloseQuery;
  bool FCloseRequested = false;
};

// The steps of a build, each after a drain of the message queue and a test of
// the Cancel button, on the project read from the window as the build started.
// False when the preparation found missing source files. The results the
// distribution needs are copied out before the table steps' builder goes.
bool RunSteps(TRWInstallForm& form, std::unique_ptr<TBuild>& build, TBuildResults& results) {
  auto goOn = [&form] {
    DrainMessages();
    return form.FCancelBuild == 0;
  };
  if (!goOn()) return true;
  if (!PrepareDatabase(*build)) return false;
  if (!goOn()) return true;
  WriteDirectoryTable(*build);
  if (!goOn()) return true;
  WriteFeatureTable(*build);
  if (!goOn()) return true;
  WriteComponentTables(*build);
  if (!goOn()) return true;
  WriteFileTables(*build);
  WriteLicenseText(*build);  // no drain between: the two are one step
  if (!goOn()) return true;
  WriteRegistryTable(*build);
  if (!goOn()) return true;
  WriteShortcutTable(*build);
  if (!goOn()) return true;
  WriteEnvironmentTable(*build);
  if (!goOn()) return true;
  WriteAssociations(*build);
  if (!goOn()) return true;
  build->CommitDatabase();
  results = build->FResults;
  if (!goOn()) return true;

  // The cabinet phase runs on a fresh builder: nothing of the table steps'
  // state carries over, only the project they built.
  std::shared_ptr<const TBuildProject> project = build->FProject;
  build = std::make_unique<TBuild>();
  build->FProject = project;
  BuildCabinet(*build);
  goOn();
  return true;
}

void EndRunning(TRWInstallForm& form) {
  form.Timer1->SetEnabled(false);
  Screen->SetCursor(crDefault);
  form.buBuildCancel->SetEnabled(false);
}

void Failed(TRWInstallForm& form) {
  form.Timer1->SetEnabled(false);
  ShowStatus(form, "Build Error", StatusFailed);
  Screen->SetCursor(crDefault);
  form.buBuildCancel->SetEnabled(false);
}

// The reminders before a build; false when the user chose not to build now.
bool Remind(TRWInstallForm& form, bool updateSupport) {
  if (form.ckbHtmlUi->Checked() && GenerateHtmlPagesReminderDlg &&
      !GenerateHtmlPagesReminderDlg->ckbDontRemind->Checked() && GenerateHtmlPagesReminderDlg->ShowModal() != mrOk)
    return false;
  if (updateSupport && !(VersionReminderDlg && VersionReminderDlg->ckbDontShow->Checked()) &&
      MessageDlg(VersionQuestion, mtConfirmation, {mbYes, mbCancel}) != mrYes) {
    if (!VersionReminderDlg || VersionReminderDlg->ShowModal() != mrOk) return false;
  }
  return true;
}

// After a good build of a new version with update support: offers to make the
// update from FUpdateFrom to FUpdateVersion out of this build's cabinet,
// record the pair and upload it.
void OfferUpdate(TRWInstallForm& form) {
  const std::string question = "Tarnquill is ready to create and upload an \r\nupdate from Version " +
                               form.FUpdateFrom + " to " + form.FUpdateVersion + "." + "\r\n" +
                               "If you don't proceed now, you can create the update" + "\r\n" +
                               "from the Updates page later." + "\r\n" + "Do you want to proceed?";
  if (MessageDlg(question, mtConfirmation, {mbYes, mbNo}) != mrYes) return;
  if (form.CreateRecordedUpdate()) form.UploadUpdates(form.FUpdateFrom, true);
}

// The end of a build whose steps all ran or were cancelled. Only a complete
// build replaces the package, and only together with its distribution.
void Finish(TRWInstallForm& form, TPackageWork& work, bool updateSupport, const TBuildProject& project,
            const TBuildResults& results) {
  if (form.FCancelBuild == 0) {
    work.PutInPlace();
    LayOutDistribution(project, results);
    work.Keep();
  }
  if (form.FCancelBuild != 0) {
    ShowStatus(form, "Build Cancelled", StatusFailed);
  } else {
    if (updateSupport) {
      form.FUpdatePending = 0;
      form.FModified = 1;
      if (form.FAllowAutoUpdate != 0 && !form.FUpdateFrom.empty()) OfferUpdate(form);
    }
    ShowStatus(form, "Build Complete", StatusComplete);
  }
  EndRunning(form);
}

void ReportError(TRWInstallForm& form, const std::string& message) {
  Failed(form);
  MessageDlg(message, mtError, mbOK);
}

}  // namespace

bool BuildRunning() { return Running; }

void BuildButtonClick(TRWInstallForm& form) {
  if (Running) return;
  if (form.edProductName->Text().empty()) {
    MessageDlg(EmptyProductName, mtError, mbOK);
    return;
  }
  // The name becomes part of file names: nothing is written for one that
  // would lead elsewhere.
  if (const std::string fault = ProductFileNameFault(form.edProductName->Text()); !fault.empty()) {
    MessageDlg(ProductFileNameMessage(form.edProductName->Text(), fault), mtError, mbOK);
    return;
  }
  const bool updateSupport = form.ckbIncludePatching->Checked();
  if (!Remind(form, updateSupport)) return;

  bool closeRequested = false;
  {
    TRunningBuild running(form);
    form.buBuildCancel->SetEnabled(true);
    form.FCancelBuild = 0;
    try {
      auto build = std::make_unique<TBuild>();
      ShowStatus(form, "Building", StatusRunning);
      form.Timer1->SetEnabled(true);
      Screen->SetCursor(crHourGlass);
      std::shared_ptr<const TBuildProject> project = std::make_shared<TBuildProject>(ReadBuildProject(form));
      build->FProject = project;
      // The steps build into a work file beside the package.
      TPackageWork work(project->OutputFile);
      TBuildResults results;
      bool success = false;
      try {
        success = RunSteps(form, build, results);
      } catch (...) {
        build.reset();
        Failed(form);
        throw;
      }
      build.reset();
      if (success)
        Finish(form, work, updateSupport, *project, results);
      else
        Failed(form);
    } catch (const std::exception& e) {
      ReportError(form, e.what());
    } catch (...) {
      ReportError(form, "The build ended with an error of unknown kind.");
    }
    closeRequested = running.CloseRequested();
  }
  if (closeRequested) form.Close();
}

void BuildingTimerTick(TRWInstallForm& form) {
  form.labBuilding->SetCaption("Building" + std::string(static_cast<size_t>(BuildingDotCount), '.'));
  BuildingDotCount = (BuildingDotCount + 1) % 6;
}

void InstallBuildCommand(TRWInstallForm& form) {
  form.buBuild->OnClick = [&form](TObject*) { BuildButtonClick(form); };
  form.Timer1->OnTimer = [&form](TObject*) { BuildingTimerTick(form); };
  ModuleMerger() = MergeBuildModule;
}

}  // namespace tq
