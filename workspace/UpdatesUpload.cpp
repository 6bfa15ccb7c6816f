// The main window's side of the update upload: the Upload button of the
// Updates page and the upload the build hands over to. The work itself (the
// FTP session, the lists, the update files and the roll-back) belongs to the
// update publisher; this hands it the project's settings and names.
#include "FtpDataDlg.h"
#include "IniFiles.h"
#include "UpdateUpload.h"
#include "main.h"

namespace tq {

void TRWInstallForm::buUploadToFtpSiteClick(TObject*) { UploadUpdates(FUpdateFrom, false); }

bool TRWInstallForm::UploadUpdates(const std::string& From, bool Silent) {
  TUpdateUpload upload;
  upload.Owner = this;
  upload.Settings = ProjectFtpData;
  upload.AppDir = FAppDir;
  upload.ProductName = edProductName->Text();
  upload.From = From;
  upload.Silent = Silent;
  upload.ConfirmSettings = [] {
    if (!FtpDataDlg || FtpDataDlg->ckbDontShow->Checked()) return true;
    return FtpDataDlg->ShowModal() == mrOk;
  };
  return tq::UploadUpdates(upload);
}

void TRWInstallForm::WriteUpdatesIni(TIniFile& Ini) { tq::WriteUpdatesIni(Ini, FAppDir, edProductName->Text()); }

}  // namespace tq
