// The Associations page: its tab change, editors, delete button and name check.
#include "ItemPages.h"

#include "associations.h"

namespace tq {

namespace {

// Lists the files of the association's choice and selects its file; a choice
// with a single file has it chosen without a click.
void ShowAssociationFiles(TRWInstallForm& w, TAssociation* association) {
  if (!FillChoiceFileList(w, w.lbFilesAssociations, association->Choice)) return;
  TControlItems& items = w.lbFilesAssociations->Items();
  for (int i = 0; i < items.Count(); ++i)
    if (items[i] == association->FileName) {
      w.lbFilesAssociations->SetItemIndex(i);
      break;
    }
  if (w.lbFilesAssociations->ItemIndex() < 0 && items.Count() == 1) {
    w.lbFilesAssociations->SetItemIndex(0);
    association->FileName = items[0];
    w.FModified = 1;
  }
  w.SetAssociationFilesListExtent();
}

}  // namespace

void FillAssociationsPage(TRWInstallForm& w) {
  TAssociation* association = SelectedItem<TAssociation>(w.tcAssociations);
  if (!association) return;
  w.edNameAssociations->SetText(association->FName);
  w.edExtensionAssociations->SetText(association->Extension);
  w.edDescriptionAssociations->SetText(association->Description);
  w.edIconIndexAssociations->SetText(association->IconIndex);
  SelectComboText(w.cbChoicesAssociations, association->Choice);
  if (w.cbChoicesAssociations->ItemIndex() >= 0) ShowAssociationFiles(w, association);
  if (TurnPlaceholder(w, ipAssociations, association)) {
    w.cbChoicesAssociations->SetItemIndex(-1);
    w.lbFilesAssociations->Items().Clear();
  }
}

void TRWInstallForm::edNameAssociationsChange(TObject*) { RenameSelected(*this, ipAssociations); }

void TRWInstallForm::edExtensionAssociationsChange(TObject*) {
  EditField(*this, tcAssociations, &TAssociation::Extension, edExtensionAssociations->Text());
}

void TRWInstallForm::edDescriptionAssociationsChange(TObject*) {
  EditField(*this, tcAssociations, &TAssociation::Description, edDescriptionAssociations->Text());
}

void TRWInstallForm::edIconIndexAssociationsChange(TObject*) {
  EditField(*this, tcAssociations, &TAssociation::IconIndex, edIconIndexAssociations->Text());
}

// Marks the project modified even when no choice is selected.
void TRWInstallForm::cbChoicesAssociationsClick(TObject*) {
  EditSelected<TAssociation>(*this, tcAssociations, [this](TAssociation& association) {
    if (std::optional<std::string> choice = SelectedText(cbChoicesAssociations)) {
      association.Choice = *choice;
      ShowAssociationFiles(*this, &association);
    }
  });
}

void TRWInstallForm::lbFilesAssociationsClick(TObject*) {
  EditField(*this, tcAssociations, &TAssociation::FileName, SelectedText(lbFilesAssociations));
}

void TRWInstallForm::SetAssociationFilesListExtent() { SetListExtent(lbFilesAssociations); }

// Marks the project modified even when there was nothing to delete.
void TRWInstallForm::buDeleteAssociationsClick(TObject*) {
  FModified = 1;
  DeleteSelectedItem(*this, ipAssociations);
}

void TRWInstallForm::edNameAssociationsKeyPress(TObject*, char& key) { CheckNameClash(*this, ipAssociations, key); }

}  // namespace tq
