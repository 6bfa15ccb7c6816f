// The Environment page: its tab change, editors, delete button and name check.
#include "ItemPages.h"

#include "evar.h"

namespace tq {

void FillEnvironmentPage(TRWInstallForm& w) {
  TEVar* evar = SelectedItem<TEVar>(w.tcEVar);
  if (!evar) return;
  w.edNameEvar->SetText(evar->FName);
  w.cbValueEVar->SetText(evar->Value);
  SelectComboText(w.cbChoicesEvar, evar->Choice);
  w.ckbNoAction->SetChecked(evar->NoAction);
  w.ckbDelete->SetChecked(evar->Delete);
  w.rgHowToInstall->SetItemIndex(evar->HowToInstall);
  w.rgType->SetItemIndex(evar->TheType);
  if (PlaceholderSelected(w.tcEVar))
    TurnPlaceholder(w.tcEVar, w.edNameEvar, evar->FName, "Add An Environment Variable", new TEVar(&w));
}

void TRWInstallForm::edNameEvarChange(TObject*) {
  if (FUpdating) return;
  if (TEVar* evar = SelectedItem<TEVar>(tcEVar)) {
    evar->FName = edNameEvar->Text();
    tcEVar->Tabs().Put(tcEVar->TabIndex(), evar->FName);
    FModified = 1;
  }
}

void TRWInstallForm::cbValueEVarChange(TObject*) {
  if (FUpdating) return;
  if (TEVar* evar = SelectedItem<TEVar>(tcEVar)) {
    evar->Value = cbValueEVar->Text();
    FModified = 1;
  }
}

void TRWInstallForm::cbChoicesEvarClick(TObject*) {
  if (FUpdating) return;
  TEVar* evar = SelectedItem<TEVar>(tcEVar);
  int index = cbChoicesEvar->ItemIndex();
  if (!evar || index < 0) return;
  evar->Choice = cbChoicesEvar->Items()[index];
  FModified = 1;
}

void TRWInstallForm::ckbNoActionClick(TObject*) {
  if (FUpdating) return;
  if (TEVar* evar = SelectedItem<TEVar>(tcEVar)) {
    evar->NoAction = ckbNoAction->Checked();
    FModified = 1;
  }
}

void TRWInstallForm::ckbDeleteClick(TObject*) {
  if (FUpdating) return;
  if (TEVar* evar = SelectedItem<TEVar>(tcEVar)) {
    evar->Delete = ckbDelete->Checked();
    FModified = 1;
  }
}

void TRWInstallForm::rgHowToInstallClick(TObject*) {
  if (FUpdating) return;
  TEVar* evar = SelectedItem<TEVar>(tcEVar);
  if (!evar || rgHowToInstall->ItemIndex() < 0) return;
  evar->HowToInstall = rgHowToInstall->ItemIndex();
  FModified = 1;
}

void TRWInstallForm::rgTypeClick(TObject*) {
  if (FUpdating) return;
  TEVar* evar = SelectedItem<TEVar>(tcEVar);
  if (!evar || rgType->ItemIndex() < 0) return;
  evar->TheType = rgType->ItemIndex();
  FModified = 1;
}

void TRWInstallForm::buEVarDeleteClick(TObject*) {
  if (!DeleteSelectedItemTab(tcEVar)) return;
  tcChoicesChange(tcEVar);
  FModified = 1;
}

void TRWInstallForm::edNameEvarKeyPress(TObject*, char& key) {
  CheckNameClash(tcEVar, edNameEvar, key,
                 "The name you have chosen for this environment entry is the same as another entry. Please make "
                 "the name unique.");
}

}  // namespace tq
