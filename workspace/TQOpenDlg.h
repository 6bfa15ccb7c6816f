#pragma once
// The Open command's dialog: the products of the project list and the version
// folders of the chosen product.
#include <string>

#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TTQOpenDlg : public TForm {
 public:
  explicit TTQOpenDlg(TComponent* owner);
  std::string ClassName() const override { return "TTQOpenDlg"; }

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TListBox* ListBox1 = nullptr;  // product names, in project-list order
  TListBox* ListBox2 = nullptr;  // version folders of the chosen product
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;

  // Lists the products of the main window's project list, none chosen.
  void FormShow(TObject* sender);
  // Lists the version folders of the chosen product.
  void ListBox1Click(TObject* sender);
  // Closes with OK only when a product and a version are chosen.
  void OKBtnClick(TObject* sender);
  static bool IsVersionName(const std::string& name);
};

extern TTQOpenDlg* TQOpenDlg;

}  // namespace tq
