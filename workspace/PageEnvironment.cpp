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
  TurnPlaceholder(w, ipEnvironment, evar);
}

void TRWInstallForm::edNameEvarChange(TObject*) { RenameSelected(*this, ipEnvironment); }

void TRWInstallForm::cbValueEVarChange(TObject*) { EditField(*this, tcEVar, &TEVar::Value, cbValueEVar->Text()); }

void TRWInstallForm::cbChoicesEvarClick(TObject*) {
  EditField(*this, tcEVar, &TEVar::Choice, SelectedText(cbChoicesEvar));
}

void TRWInstallForm::ckbNoActionClick(TObject*) { EditField(*this, tcEVar, &TEVar::NoAction, ckbNoAction->Checked()); }

void TRWInstallForm::ckbDeleteClick(TObject*) { EditField(*this, tcEVar, &TEVar::Delete, ckbDelete->Checked()); }

void TRWInstallForm::rgHowToInstallClick(TObject*) {
  EditField(*this, tcEVar, &TEVar::HowToInstall, SelectedIndex(rgHowToInstall));
}

void TRWInstallForm::rgTypeClick(TObject*) { EditField(*this, tcEVar, &TEVar::TheType, SelectedIndex(rgType)); }

void TRWInstallForm::buEVarDeleteClick(TObject*) { DeleteSelectedItem(*this, ipEnvironment); }

void TRWInstallForm::edNameEvarKeyPress(TObject*, char& key) { CheckNameClash(*this, ipEnvironment, key); }

}  // namespace tq
