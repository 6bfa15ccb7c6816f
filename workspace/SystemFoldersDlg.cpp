#include "SystemFoldersDlg.h"

namespace tq {

TSystemFoldersDlg* SystemFoldersDlg = nullptr;

TSystemFoldersDlg::TSystemFoldersDlg(TComponent* owner) : TForm(owner) {
  TQ_FIELD(Label1);
  TQ_FIELD(Label2);
  TQ_FIELD(lbSystemFolders);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  TQ_FIELD(HelpBtn);
  TQ_HANDLER(TSystemFoldersDlg, HelpBtnClick);
  TQ_HANDLER(TSystemFoldersDlg, lbSystemFoldersDblClick);
  LoadLayoutResource("SYSTEMFOLDERSDLG");
}

void TSystemFoldersDlg::HelpBtnClick(TObject*) { Application->HelpContext(HelpContext()); }

void TSystemFoldersDlg::lbSystemFoldersDblClick(TObject*) {
  if (lbSystemFolders->SelCount() > 0) SetModalResult(mrOk);
}

void TSystemFoldersDlg::SetSelectionMode(bool multiSelect, const std::string& prompt) {
  lbSystemFolders->SetMultiSelect(multiSelect);
  Label1->SetCaption(prompt);
}

}  // namespace tq
