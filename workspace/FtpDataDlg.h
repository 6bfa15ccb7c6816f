#pragma once
// The project's FTP settings for update publishing: the server, the account, the
// updates directory on the server and its http address.
#include <string>

#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TFtpDataDlg : public TForm {
 public:
  explicit TFtpDataDlg(TComponent* owner);
  std::string ClassName() const override { return "TFtpDataDlg"; }

  TLabel* labIntro = nullptr;
  TGroupBox* gbFtpData = nullptr;
  TLabel* labFtpHostIp = nullptr;
  TEdit* edFtpHostIp = nullptr;
  TLabel* labFtpPort = nullptr;
  TEdit* edFtpPort = nullptr;
  TLabel* labFtpUserId = nullptr;
  TEdit* edFtpUserId = nullptr;
  TLabel* labFtpPassword = nullptr;
  TEdit* edFtpPassword = nullptr;
  TLabel* labFtpDirectory = nullptr;
  TEdit* edFtpDirectory = nullptr;
  TLabel* labDirectoryHint = nullptr;
  TLabel* labDirectoryExample = nullptr;
  TLabel* labURL = nullptr;
  TEdit* edURL = nullptr;
  TLabel* labURLHint = nullptr;
  TLabel* labURLExample = nullptr;
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;
  TCheckBox* ckbDontShow = nullptr;

  // 1 once the user edited a setting since the dialog was shown.
  int changed = 0;

  // Fills the edits from the project's settings when a host name is set.
  void FormShow(TObject* Sender);
  // The change handler of all six edits.
  void edFtpHostIPChange(TObject* Sender);
  // Stores the six edits in the project's settings.
  void OKBtnClick(TObject* Sender);
};

extern TFtpDataDlg* FtpDataDlg;

}  // namespace tq
