// The Choices page's file list: picking a directory, adding and deleting
// files and the list's scroll extent.
#include "ItemPages.h"

#include "AddFilesDlg.h"
#include "SysUtils.h"
#include "choices.h"

namespace tq {

void TRWInstallForm::ClearFilesList() {
  TControlItems& items = lbFiles->Items();
  for (int i = items.Count() - 1; i >= 0; --i) {
    TObject* path = items.GetObjectAt(i);
    items.PutObjectAt(i, nullptr);
    delete path;
  }
  items.Clear();
}

void TRWInstallForm::SetFilesListExtent() { SetListExtent(lbFiles); }

void TRWInstallForm::lbDirectoriesClick(TObject*) {
  int index = lbDirectories->ItemIndex();
  if (index < 0 || index >= FDirNodeNames->Count()) return;
  buAddFiles->SetEnabled(true);
  buDeleteSelectedFiles->SetEnabled(true);
  ClearFilesList();
  std::string dir = FDirNodeNames->Get(index);
  int count = std::min(FChoiceFilePaths->Count(), FChoiceFileDirs->Count());
  for (int i = 0; i < count; ++i) {
    if (FChoiceFileDirs->Get(i) != dir) continue;
    std::string path = FChoiceFilePaths->Get(i);
    int entry = lbFiles->Items().AddObject(ExtractFileName(path), new TFilePathObject(path));
    lbFiles->SetChecked(entry, FChoiceFilePaths->GetIntObject(i) != 0);
  }
  SetFilesListExtent();
}

void TRWInstallForm::buAddFilesClick(TObject*) {
  if (OpenDlg) OpenDlg->ShowModal();
}

void TRWInstallForm::buDeleteSelectedFilesClick(TObject*) {
  // The list shows one directory's files: a file listed under two directories
  // loses only this directory's entry.
  int dirIndex = lbDirectories->ItemIndex();
  bool haveDir = dirIndex >= 0 && dirIndex < FDirNodeNames->Count();
  std::string dir = haveDir ? FDirNodeNames->Get(dirIndex) : "";
  TControlItems& items = lbFiles->Items();
  for (int i = items.Count() - 1; i >= 0; --i) {
    if (!lbFiles->Selected(i)) continue;
    auto* path = dynamic_cast<TFilePathObject*>(items.GetObjectAt(i));
    if (path) {
      int count = std::min(FChoiceFilePaths->Count(), FChoiceFileDirs->Count());
      for (int k = 0; k < count; ++k)
        if (SameText(FChoiceFilePaths->Get(k), path->Path) && (!haveDir || FChoiceFileDirs->Get(k) == dir)) {
          FChoiceFilePaths->Delete(k);
          FChoiceFileDirs->Delete(k);
          break;
        }
    }
    items.PutObjectAt(i, nullptr);
    delete path;
    items.Delete(i);
    FModified = 1;
  }
  if (TChoice* choice = SelectedItem<TChoice>(tcChoices)) {
    choice->Files->Assign(*FChoiceFilePaths);
    choice->Directories->Assign(*FChoiceFileDirs);
  }
}

}  // namespace tq
