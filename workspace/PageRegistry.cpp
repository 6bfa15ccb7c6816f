// The Registry page: its tab change, editors, delete button and name check.
#include "ItemPages.h"

#include "regentry.h"

namespace tq {

void FillRegistryPage(TRWInstallForm& w) {
  TRegEntry* entry = SelectedItem<TRegEntry>(w.tcRegistry);
  if (!entry) return;
  w.edNameRegistry->SetText(entry->FName);
  w.cbRoot->SetItemIndex(entry->Root >= 0 && entry->Root < w.cbRoot->Items().Count() ? entry->Root : -1);
  w.cbKey->SetText(entry->Key);
  w.edValName->SetText(entry->ValName);
  w.edValValue->SetText(entry->ValValue);
  SelectComboText(w.cbChoicesRegistry, entry->Choice);
  if (PlaceholderSelected(w.tcRegistry))
    TurnPlaceholder(w.tcRegistry, w.edNameRegistry, entry->FName, "Add A Registry Entry", new TRegEntry(&w));
}

void TRWInstallForm::edNameRegistryChange(TObject*) {
  if (FUpdating) return;
  if (TRegEntry* entry = SelectedItem<TRegEntry>(tcRegistry)) {
    entry->FName = edNameRegistry->Text();
    tcRegistry->Tabs().Put(tcRegistry->TabIndex(), entry->FName);
    FModified = 1;
  }
}

void TRWInstallForm::cbRootClick(TObject*) {
  if (FUpdating) return;
  if (TRegEntry* entry = SelectedItem<TRegEntry>(tcRegistry))
    if (cbRoot->ItemIndex() >= 0) {
      entry->Root = cbRoot->ItemIndex();
      FModified = 1;
    }
}

void TRWInstallForm::cbKeyChange(TObject*) {
  if (FUpdating) return;
  if (TRegEntry* entry = SelectedItem<TRegEntry>(tcRegistry)) {
    entry->Key = cbKey->Text();
    FModified = 1;
  }
}

void TRWInstallForm::edValNameChange(TObject*) {
  if (FUpdating) return;
  if (TRegEntry* entry = SelectedItem<TRegEntry>(tcRegistry)) {
    entry->ValName = edValName->Text();
    FModified = 1;
  }
}

void TRWInstallForm::edValValueChange(TObject*) {
  if (FUpdating) return;
  if (TRegEntry* entry = SelectedItem<TRegEntry>(tcRegistry)) {
    entry->ValValue = edValValue->Text();
    FModified = 1;
  }
}

void TRWInstallForm::cbChoicesRegistryClick(TObject*) {
  if (FUpdating) return;
  TRegEntry* entry = SelectedItem<TRegEntry>(tcRegistry);
  int index = cbChoicesRegistry->ItemIndex();
  if (!entry || index < 0) return;
  entry->Choice = cbChoicesRegistry->Items()[index];
  FModified = 1;
}

void TRWInstallForm::buDeleteRegistryClick(TObject*) {
  if (!DeleteSelectedItemTab(tcRegistry)) return;
  tcChoicesChange(tcRegistry);
  FModified = 1;
}

void TRWInstallForm::edNameRegistryKeyPress(TObject*, char& key) {
  CheckNameClash(tcRegistry, edNameRegistry, key,
                 "The name you have chosen for this registry entry is the same as another entry. Please make the "
                 "name unique.");
}

}  // namespace tq
