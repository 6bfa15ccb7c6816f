// The main window's side of update creation: the update-support check box, the
// version tracking of the Info page and the Create Update button. The work itself
// (extracting and comparing the two builds' cabinets, writing the update files)
// belongs to the update publisher; this hands it the project and the window's
// update fields.
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
  for (int tab = 0; tab < form.RealChoiceCount(); ++tab) {
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

// Runs one update-creation call on the window's update fields.
template <typename TCall>
auto WithUpdateCreator(TRWInstallForm& form, TCall call) {
  TUpdateCreator creator(form, TabbedNotebookDlg->Maker());
  creator.ExtractCabinet = [&form](const std::string& cabinet, const std::string& folder) {
    form.FCabinetReader->ExtractFiles(cabinet, folder, 0);
  };
  creator.OnDeleteFolderFiles = [&form](const std::string& folder) {
    RecycleFolderFiles(form.WindowHandle(), folder);
  };
  creator.BusyView = ProgressDlg;
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

void TRWInstallForm::edProductVersionExit(TObject*) { ProductVersionExit(*this, UpdateProjectOf(*this)); }

void TRWInstallForm::buCreateNewPatchClick(TObject*) {
  WithUpdateCreator(*this, [](TUpdateCreator& creator, const TUpdateProject& project) {
    creator.CreateNewPatchClick(project);
  });
}

bool TRWInstallForm::CreateRecordedUpdate() {
  return WithUpdateCreator(*this, [](TUpdateCreator& creator, const TUpdateProject& project) {
    return creator.CreateRecordedUpdate(project);
  });
}

bool TRWInstallForm::CreateUpdate(const std::string& fromVersion) {
  return WithUpdateCreator(*this, [&fromVersion](TUpdateCreator& creator, const TUpdateProject& project) {
    return creator.CreateUpdate(project, fromVersion);
  });
}

}  // namespace tq
