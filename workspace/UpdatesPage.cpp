// The main window's side of update creation: the update-support check box, the
// version tracking of the Info page and the Create Update button. The work itself
// (extracting and comparing the two builds' cabinets, writing the update files)
// belongs to the update publisher; this hands it the project and the window's
// update fields and takes the fields back.
#include <windows.h>
#include <shellapi.h>

#include <map>

#include "Cabinet.h"
#include "UpdateCreation.h"
#include "UpdateWindows.h"
#include "choices.h"
#include "main.h"

namespace tq {

namespace {

TUpdateProject UpdateProjectOf(const TRWInstallForm& form) {
  TUpdateProject project;
  project.AppDir = form.FAppDir;
  project.ProductName = form.edProductName->Text();
  project.ProductVersion = form.edProductVersion->Text();
  project.IncludePatching = form.ckbIncludePatching->Checked();
  // Every tab but the placeholder; a merge module's one choice has none.
  const int tabs = form.tcChoices->Tabs().Count();
  const int choices = form.FProjectType == 1 ? tabs : tabs - 1;
  for (int tab = 0; tab < choices; ++tab) {
    auto* choice = dynamic_cast<TChoice*>(form.tcChoices->Tabs().GetObjectAt(tab));
    if (!choice) continue;
    TUpdateChoice c;
    c.Name = choice->FName;
    for (int k = 0; k < choice->Files->Count(); ++k) c.Files.push_back(choice->Files->Get(k));
    for (int k = 0; k < choice->Directories->Count(); ++k) c.Directories.push_back(choice->Directories->Get(k));
    project.Choices.push_back(std::move(c));
  }
  TTreeNodes& nodes = form.trTargetDir->Items();
  std::map<const TTreeNode*, int> index;
  for (int i = 0; i < nodes.Count(); ++i) {
    const TTreeNode* node = nodes.Item(i);
    index[node] = i;
    auto parent = index.find(node->Parent());
    project.TargetDirs.push_back({node->Text(), parent == index.end() ? -1 : parent->second});
  }
  return project;
}

TUpdateState UpdateStateOf(const TRWInstallForm& form) {
  TUpdateState state;
  state.FVersionEdited = form.FVersionEdited;
  state.FUpdateVersion = form.FUpdateVersion;
  state.FUpdateFrom = form.FUpdateFrom;
  state.FAllowAutoUpdate = form.FAllowAutoUpdate;
  state.FUpdatePending = form.FUpdatePending;
  state.FUpdateCreated = form.FUpdateCreated;
  state.FPatchCount = form.FPatchCount;
  state.FModified = form.FModified;
  return state;
}

void TakeUpdateState(TRWInstallForm& form, const TUpdateState& state) {
  form.FVersionEdited = state.FVersionEdited;
  form.FUpdateVersion = state.FUpdateVersion;
  form.FUpdateFrom = state.FUpdateFrom;
  form.FAllowAutoUpdate = state.FAllowAutoUpdate;
  form.FUpdatePending = state.FUpdatePending;
  form.FUpdateCreated = state.FUpdateCreated;
  form.FPatchCount = state.FPatchCount;
  form.FModified = state.FModified;
}

// The files of a folder go to the recycle bin, silently.
void RecycleFolderFiles(HWND owner, const std::string& folder) {
  std::string from = IncludeTrailingPathDelimiter(folder) + "*.*";
  from.push_back('\0');  // the list ends with two NULs
  SHFILEOPSTRUCTA op{};
  op.hwnd = owner;
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_FILESONLY;
  SHFileOperationA(&op);
}

// Runs one update-creation call on the window's fields and writes them back,
// also when the call raises.
template <typename TCall>
auto WithUpdateCreator(TRWInstallForm& form, TCall call) {
  TUpdateState state = UpdateStateOf(form);
  TUpdateCreator creator(state, TabbedNotebookDlg->Maker());
  creator.ExtractCabinet = [&form](const std::string& cabinet, const std::string& folder) {
    form.FCabinetReader->ExtractFiles(cabinet, folder, 0);
  };
  creator.OnDeleteFolderFiles = [&form](const std::string& folder) {
    RecycleFolderFiles(form.WindowHandle(), folder);
  };
  creator.BusyView = ProgressDlg;
  struct TWriteBack {
    TRWInstallForm& Form;
    TUpdateState& State;
    ~TWriteBack() { TakeUpdateState(Form, State); }
  } writeBack{form, state};
  return call(creator, UpdateProjectOf(form));
}

}  // namespace

void TRWInstallForm::ckbIncludePatchingClick(TObject*) {
  FModified = 1;
  EnableVersionComparison();
}

void TRWInstallForm::EnableVersionComparison() {
  Label43->SetEnabled(ckbIncludePatching->Checked());
  edVersionComparison->SetEnabled(ckbIncludePatching->Checked());
}

void TRWInstallForm::edVersionComparisonChange(TObject*) { FModified = 1; }

std::string TRWInstallForm::GetMajorMinorVersion() const { return tq::GetMajorMinorVersion(edProductVersion->Text()); }

void TRWInstallForm::edProductVersionExit(TObject*) {
  TUpdateState state = UpdateStateOf(*this);
  ProductVersionExit(state, UpdateProjectOf(*this));
  TakeUpdateState(*this, state);
}

void TRWInstallForm::buCreateNewPatchClick(TObject*) {
  WithUpdateCreator(*this, [](TUpdateCreator& creator, const TUpdateProject& project) {
    creator.CreateNewPatchClick(project);
  });
}

bool TRWInstallForm::CreateUpdate(const std::string& fromVersion) {
  return WithUpdateCreator(*this, [&fromVersion](TUpdateCreator& creator, const TUpdateProject& project) {
    return creator.CreateUpdate(project, fromVersion);
  });
}

}  // namespace tq
