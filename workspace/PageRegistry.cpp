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
  TurnPlaceholder(w, ipRegistry, entry);
}

void TRWInstallForm::edNameRegistryChange(TObject*) { RenameSelected(*this, ipRegistry); }

void TRWInstallForm::cbRootClick(TObject*) { EditField(*this, tcRegistry, &TRegEntry::Root, SelectedIndex(cbRoot)); }

void TRWInstallForm::cbKeyChange(TObject*) { EditField(*this, tcRegistry, &TRegEntry::Key, cbKey->Text()); }

void TRWInstallForm::edValNameChange(TObject*) { EditField(*this, tcRegistry, &TRegEntry::ValName, edValName->Text()); }

void TRWInstallForm::edValValueChange(TObject*) {
  EditField(*this, tcRegistry, &TRegEntry::ValValue, edValValue->Text());
}

void TRWInstallForm::cbChoicesRegistryClick(TObject*) {
  EditField(*this, tcRegistry, &TRegEntry::Choice, SelectedText(cbChoicesRegistry));
}

void TRWInstallForm::buDeleteRegistryClick(TObject*) { DeleteSelectedItem(*this, ipRegistry); }

void TRWInstallForm::edNameRegistryKeyPress(TObject*, char& key) { CheckNameClash(*this, ipRegistry, key); }

}  // namespace tq
