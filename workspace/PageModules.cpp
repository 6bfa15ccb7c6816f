// The Modules page: its tab change, editors, browse and delete buttons and
// name check.
#include "ItemPages.h"

#include "MergeItem.h"

namespace tq {

void FillModulesPage(TRWInstallForm& w) {
  TMerge* merge = SelectedItem<TMerge>(w.tcMergeModules);
  if (!merge) return;
  w.edNameMergeModules->SetText(merge->FName);
  w.edMergeModule->SetText(merge->MergeModule);
  SelectComboText(w.cbChoicesMergeModules, merge->Choice);
  w.cbDirectoryMergeModules->SetItemIndex(DirNodeIndex(w, merge->Directory));
  TControlItems& languages = w.cbLanguageMergeModules->Items();
  int language = -1;
  for (int i = 0; i < languages.Count() && language < 0; ++i)
    if (languages.GetIntObject(i) == merge->Language) language = i;
  w.cbLanguageMergeModules->SetItemIndex(language);
  if (PlaceholderSelected(w.tcMergeModules))
    TurnPlaceholder(w.tcMergeModules, w.edNameMergeModules, merge->FName, "Add A Merge Module", new TMerge(&w));
}

void TRWInstallForm::edNameMergeModulesChange(TObject*) {
  if (FUpdating) return;
  if (TMerge* merge = SelectedItem<TMerge>(tcMergeModules)) {
    merge->FName = edNameMergeModules->Text();
    tcMergeModules->Tabs().Put(tcMergeModules->TabIndex(), merge->FName);
    FModified = 1;
  }
}

void TRWInstallForm::edMergeModuleChange(TObject*) {
  if (FUpdating) return;
  if (TMerge* merge = SelectedItem<TMerge>(tcMergeModules)) {
    merge->MergeModule = edMergeModule->Text();
    FModified = 1;
  }
}

void TRWInstallForm::buBrowseMergeModulesClick(TObject*) {
  if (OpenDialog3->Execute()) edMergeModule->SetText(OpenDialog3->FileName);
}

void TRWInstallForm::cbDirectoryMergeModulesClick(TObject*) {
  if (FUpdating) return;
  TMerge* merge = SelectedItem<TMerge>(tcMergeModules);
  int index = cbDirectoryMergeModules->ItemIndex();
  if (!merge || index < 0 || index >= FDirNodeNames->Count()) return;
  merge->Directory = FDirNodeNames->Get(index);
  FModified = 1;
}

void TRWInstallForm::cbChoicesMergeModulesClick(TObject*) {
  if (FUpdating) return;
  TMerge* merge = SelectedItem<TMerge>(tcMergeModules);
  int index = cbChoicesMergeModules->ItemIndex();
  if (!merge || index < 0) return;
  merge->Choice = cbChoicesMergeModules->Items()[index];
  FModified = 1;
}

void TRWInstallForm::cbLanguageMergeModulesClick(TObject*) {
  if (FUpdating) return;
  TMerge* merge = SelectedItem<TMerge>(tcMergeModules);
  if (!merge) return;
  int index = cbLanguageMergeModules->ItemIndex();
  merge->Language = index >= 0 ? static_cast<int>(cbLanguageMergeModules->Items().GetIntObject(index)) : 1033;
  FModified = 1;
}

void TRWInstallForm::buDeleteMergeModulesClick(TObject*) {
  if (!DeleteSelectedItemTab(tcMergeModules)) return;
  tcChoicesChange(tcMergeModules);
  FModified = 1;
}

void TRWInstallForm::edNameMergeModulesKeyPress(TObject*, char& key) {
  CheckNameClash(tcMergeModules, edNameMergeModules, key,
                 "The name you have chosen for this merge module entry is the same as another entry. Please make "
                 "the name unique.");
}

}  // namespace tq
