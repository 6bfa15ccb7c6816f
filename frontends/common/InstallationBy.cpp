#include "InstallationBy.h"

#include <windows.h>
#include <shellapi.h>

namespace tq {

TInstallationByDlg::TInstallationByDlg(TComponent* owner) : TForm(owner) {
  TQ_FIELD(Panel1);
  TQ_FIELD(Image1);
  TQ_FIELD(Label1);
  TQ_FIELD(Label2);
  TQ_FIELD(Label3);
  TQ_FIELD(OKButton);
  TQ_HANDLER(TInstallationByDlg, Label3Click);
  TQ_HANDLER(TInstallationByDlg, OKButtonClick);
  LoadLayoutResource("INSTALLATIONBY");
}

std::function<void(const std::string&)>& TInstallationByDlg::OpenAddressHook() {
  static std::function<void(const std::string&)> hook = [](const std::string& address) {
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  return hook;
}

void TInstallationByDlg::Label3Click(TObject*) { OpenAddressHook()("http://" + Label3->Caption()); }

// Shown without waiting, the dialog has no modal loop to end: OK closes it.
void TInstallationByDlg::OKButtonClick(TObject*) {
  if (!Modal()) Close();
}

}  // namespace tq
