// The Modules page: its tab change, editors, browse and delete buttons and
// name check.
#include "ItemPages.h"

#include "MergeItem.h"

namespace tq {

namespace {

// The LCID held with the selected language; 1033 when none is selected.
int SelectedLanguage(TComboBox* box) {
  const int index = box->ItemIndex();
  return index >= 0 ? static_cast<int>(box->Items().GetIntObject(index)) : 1033;
}

}  // namespace

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
  TurnPlaceholder(w, ipModules, merge);
}

void TRWInstallForm::edNameMergeModulesChange(TObject*) { RenameSelected(*this, ipModules); }

void TRWInstallForm::edMergeModuleChange(TObject*) {
  EditField(*this, tcMergeModules, &TMerge::MergeModule, edMergeModule->Text());
}

void TRWInstallForm::buBrowseMergeModulesClick(TObject*) {
  if (OpenDialog3->Execute()) edMergeModule->SetText(OpenDialog3->FileName);
}

void TRWInstallForm::cbDirectoryMergeModulesClick(TObject*) {
  EditField(*this, tcMergeModules, &TMerge::Directory, SelectedDirNode(*this, cbDirectoryMergeModules));
}

void TRWInstallForm::cbChoicesMergeModulesClick(TObject*) {
  EditField(*this, tcMergeModules, &TMerge::Choice, SelectedText(cbChoicesMergeModules));
}

void TRWInstallForm::cbLanguageMergeModulesClick(TObject*) {
  EditField(*this, tcMergeModules, &TMerge::Language, SelectedLanguage(cbLanguageMergeModules));
}

void TRWInstallForm::buDeleteMergeModulesClick(TObject*) { DeleteSelectedItem(*this, ipModules); }

void TRWInstallForm::edNameMergeModulesKeyPress(TObject*, char& key) { CheckNameClash(*this, ipModules, key); }

}  // namespace tq
