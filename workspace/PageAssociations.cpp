// The Associations page's tab change.
#include "ItemPages.h"

#include "associations.h"

namespace tq {

void FillAssociationsPage(TRWInstallForm& w) {
  TAssociation* association = SelectedItem<TAssociation>(w.tcAssociations);
  if (!association) return;
  w.edNameAssociations->SetText(association->FName);
  w.edExtensionAssociations->SetText(association->Extension);
  w.edDescriptionAssociations->SetText(association->Description);
  w.edIconIndexAssociations->SetText(association->IconIndex);
  SelectComboText(w.cbChoicesAssociations, association->Choice);
  if (w.cbChoicesAssociations->ItemIndex() >= 0 &&
      FillChoiceFileList(w, w.lbFilesAssociations, association->Choice)) {
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
  }
  if (PlaceholderSelected(w.tcAssociations)) {
    TurnPlaceholder(w.tcAssociations, w.edNameAssociations, association->FName, "Add A File Association",
                    new TAssociation(&w));
    w.cbChoicesAssociations->SetItemIndex(-1);
    w.lbFilesAssociations->Items().Clear();
  }
}

}  // namespace tq
