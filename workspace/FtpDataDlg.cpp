#include "FtpDataDlg.h"

#include "FtpData.h"
#include "main.h"

namespace tq {

TFtpDataDlg* FtpDataDlg = nullptr;

TFtpDataDlg::TFtpDataDlg(TComponent* owner) : TForm(owner) {
  TQ_FIELD(labIntro);
  TQ_FIELD(gbFtpData);
  TQ_FIELD(labFtpHostIp);
  TQ_FIELD(edFtpHostIp);
  TQ_FIELD(labFtpPort);
  TQ_FIELD(edFtpPort);
  TQ_FIELD(labFtpUserId);
  TQ_FIELD(edFtpUserId);
  TQ_FIELD(labFtpPassword);
  TQ_FIELD(edFtpPassword);
  TQ_FIELD(labFtpDirectory);
  TQ_FIELD(edFtpDirectory);
  TQ_FIELD(labDirectoryHint);
  TQ_FIELD(labDirectoryExample);
  TQ_FIELD(labURL);
  TQ_FIELD(edURL);
  TQ_FIELD(labURLHint);
  TQ_FIELD(labURLExample);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  TQ_FIELD(ckbDontShow);
  TQ_HANDLER(TFtpDataDlg, FormShow);
  TQ_HANDLER(TFtpDataDlg, edFtpHostIPChange);
  TQ_HANDLER(TFtpDataDlg, OKBtnClick);
  LoadLayoutResource("FTPDATADLG");
}

void TFtpDataDlg::FormShow(TObject*) {
  if (ProjectFtpData && !ProjectFtpData->HostIp.empty()) {
    edFtpHostIp->SetText(ProjectFtpData->HostIp);
    edFtpPort->SetText(ProjectFtpData->Port);
    edFtpUserId->SetText(ProjectFtpData->UserId);
    edFtpPassword->SetText(ProjectFtpData->Password);
    edFtpDirectory->SetText(ProjectFtpData->Directory);
    edURL->SetText(ProjectFtpData->URL);
  }
  // Filling the edits is not an edit of the user's.
  changed = 0;
}

void TFtpDataDlg::edFtpHostIPChange(TObject*) { changed = 1; }

void TFtpDataDlg::OKBtnClick(TObject*) {
  if (ProjectFtpData) {
    ProjectFtpData->HostIp = edFtpHostIp->Text();
    ProjectFtpData->Port = edFtpPort->Text();
    ProjectFtpData->UserId = edFtpUserId->Text();
    ProjectFtpData->Password = edFtpPassword->Text();
    ProjectFtpData->Directory = edFtpDirectory->Text();
    ProjectFtpData->URL = edURL->Text();
  }
  // A project already marked modified stays so.
  if (RWInstallForm && !RWInstallForm->FModified) RWInstallForm->FModified = static_cast<uint8_t>(changed);
  SetModalResult(mrOk);
}

}  // namespace tq
