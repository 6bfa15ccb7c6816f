#pragma once
// The "Installed By" dialog both front-ends show at the end of a successful
// installation: a framed picture, "Installed By" "Tarnquill", and the
// publisher's web address, which opens in the browser when clicked.
#include <functional>
#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TInstallationByDlg : public TForm {
 public:
  explicit TInstallationByDlg(TComponent* owner);
  std::string ClassName() const override { return "TInstallationByDlg"; }

  TPanel* Panel1 = nullptr;
  TImage* Image1 = nullptr;
  TLabel* Label1 = nullptr;  // "Installed By"
  TLabel* Label2 = nullptr;  // "Tarnquill"
  TLabel* Label3 = nullptr;  // the web address
  TButton* OKButton = nullptr;

  void Label3Click(TObject* sender);
  void OKButtonClick(TObject* sender);

  // Opens an address with the shell's "open" verb; tests replace it.
  static std::function<void(const std::string& address)>& OpenAddressHook();
};

}  // namespace tq
