#pragma once
// The "Which Path" dialog: whether a program group goes to the current user's
// or all users' Programs folder. It has no code of its own.
#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TWhichGroupPathDlg : public TForm {
 public:
  explicit TWhichGroupPathDlg(TComponent* owner);
  std::string ClassName() const override { return "TWhichGroupPathDlg"; }
  TRadioGroup* rgWhichUser = nullptr;  // "Current User" (0) or "All Users" (1)
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;
};

}  // namespace tq
