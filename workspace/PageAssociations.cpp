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
  if (PlaceholderSelected(w.tcAssociations)) {
    TurnPlaceholder(w.tcAssociations, w.edNameAssociations, association->FName, "Add A File Association",
                    new TAssociation(&w));
    w.cbChoicesAssociations->SetItemIndex(-1);
    w.lbFilesAssociations->Items().Clear();
  }
}

void TRWInstallForm::edNameAssociationsChange(TObject*) {
  if (FUpdating) return;
  if (TAssociation* association = SelectedItem<TAssociation>(tcAssociations)) {
    association->FName = edNameAssociations->Text();
    tcAssociations->Tabs().Put(tcAssociations->TabIndex(), association->FName);
    FModified = 1;
  }
}

void TRWInstallForm::edExtensionAssociationsChange(TObject*) {
  if (FUpdating) return;
  if (TAssociation* association = SelectedItem<TAssociation>(tcAssociations)) {
    association->Extension = edExtensionAssociations->Text();
    FModified = 1;
  }
}

void TRWInstallForm::edDescriptionAssociationsChange(TObject*) {
  if (FUpdating) return;
  if (TAssociation* association = SelectedItem<TAssociation>(tcAssociations)) {
    association->Description = edDescriptionAssociations->Text();
    FModified = 1;
  }
}

void TRWInstallForm::edIconIndexAssociationsChange(TObject*) {
  if (FUpdating) return;
  if (TAssociation* association = SelectedItem<TAssociation>(tcAssociations)) {
    association->IconIndex = edIconIndexAssociations->Text();
    FModified = 1;
  }
}

void TRWInstallForm::cbChoicesAssociationsClick(TObject*) {
  if (FUpdating) return;
  TAssociation* association = SelectedItem<TAssociation>(tcAssociations);
  if (!association) return;
  FModified = 1;
  const int index = cbChoicesAssociations->ItemIndex();
  if (index < 0) return;
  association->Choice = cbChoicesAssociations->Items()[index];
  ShowAssociationFiles(*this, association);
}

void TRWInstallForm::lbFilesAssociationsClick(TObject*) {
  if (FUpdating) return;
  TAssociation* association = SelectedItem<TAssociation>(tcAssociations);
  const int index = lbFilesAssociations->ItemIndex();
  if (!association || index < 0) return;
  association->FileName = lbFilesAssociations->Items()[index];
  FModified = 1;
}

void TRWInstallForm::SetAssociationFilesListExtent() { SetListExtent(lbFilesAssociations); }

void TRWInstallForm::buDeleteAssociationsClick(TObject*) {
  FModified = 1;
  if (DeleteSelectedItemTab(tcAssociations)) tcChoicesChange(tcAssociations);
}

void TRWInstallForm::edNameAssociationsKeyPress(TObject*, char& key) {
  CheckNameClash(tcAssociations, edNameAssociations, key,
                 "The name you have chosen for this file association entry is the same as another entry. Please "
                 "make the name unique.");
}

}  // namespace tq
