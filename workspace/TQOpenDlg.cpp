#include "TQOpenDlg.h"

#include "Dialogs.h"
#include "main.h"

namespace tq {

TTQOpenDlg* TQOpenDlg = nullptr;

TTQOpenDlg::TTQOpenDlg(TComponent* owner) : TForm(owner) {
  TQ_FIELD(Label1);
  TQ_FIELD(Label2);
  TQ_FIELD(ListBox1);
  TQ_FIELD(ListBox2);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  TQ_HANDLER(TTQOpenDlg, FormShow);
  TQ_HANDLER(TTQOpenDlg, ListBox1Click);
  TQ_HANDLER(TTQOpenDlg, OKBtnClick);
  LoadLayoutResource("TQOPENDLG");
}

bool TTQOpenDlg::IsVersionName(const std::string& name) { return TRWInstallForm::IsVersionName(name); }

void TTQOpenDlg::FormShow(TObject*) {
  ListBox1->Clear();
  ListBox2->Clear();
  if (RWInstallForm && RWInstallForm->FProjectList)
    for (int i = 0; i < RWInstallForm->FProjectList->Count(); ++i)
      ListBox1->Items().Add(RWInstallForm->FProjectList->Get(i));
  ListBox1->SetItemIndex(-1);
}

void TTQOpenDlg::ListBox1Click(TObject*) {
  const int index = ListBox1->ItemIndex();
  if (index < 0) return;
  ListBox2->Clear();
  if (!RWInstallForm || !RWInstallForm->FProjectList || index >= RWInstallForm->FProjectList->Count()) return;
  auto* folder = dynamic_cast<TStringObject*>(RWInstallForm->FProjectList->GetObjectAt(index));
  if (!folder) return;
  for (const std::string& version : TRWInstallForm::ListVersionFolders(folder->Value))
    ListBox2->Items().Add(version);
}

void TTQOpenDlg::OKBtnClick(TObject*) {
  if (ListBox1->ItemIndex() >= 0 && ListBox2->ItemIndex() >= 0) {
    SetModalResult(mrOk);
    return;
  }
  SetModalResult(mrNone);  // stay open
  MessageDlg(ListBox1->ItemIndex() >= 0 ? "Please select a version." : "Please select a project.", mtError, mbOK);
}

}  // namespace tq
