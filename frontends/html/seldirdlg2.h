#pragma once
// TSelectDirectoryDlg2, "Group Selection": the program-group picker of the setup
// pages. Each time it is shown it lists the existing groups (the sub-folders of
// the current user's Programs folder or, after "All Users" in the "Which Path"
// question on Windows NT, of the common one) and proposes the package's base
// name; a double-click takes a listed group. After OK the group is edGroup's text.
//
// What it needs of its owner is set once before it is shown:
//   GroupDlg->IsNT = form->IsNT;
//   GroupDlg->PackageBaseName = form->GetPackageBaseName();
//   GroupDlg->AskWhichPath = [&](bool& allUsers) { ... };   // false: Cancel
#include <functional>
#include <string>

#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TSelectDirectoryDlg2 : public TForm {
 public:
  explicit TSelectDirectoryDlg2(TComponent* owner);
  std::string ClassName() const override { return "TSelectDirectoryDlg2"; }

  TEdit* edGroup = nullptr;
  TListBox* lbGroups = nullptr;
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;

  bool IsNT = false;
  std::string PackageBaseName;
  // The "Which Path" question: true with allUsers set, or false for Cancel.
  std::function<bool(bool& allUsers)> AskWhichPath;
  // The shell's special folders (CSIDL numbers), replaceable for tests.
  std::function<bool(int csidl, std::string& path)> SpecialFolder = ShellSpecialFolder;

  // The folder whose sub-folders are listed, with its backslash.
  const std::string& Folder() const { return FFolder; }

  void FormShow(TObject* sender);
  void lbGroupsDblClick(TObject* sender);
  static bool ShellSpecialFolder(int csidl, std::string& path);

 private:
  std::string FFolder;
};

extern TSelectDirectoryDlg2* SelectDirectoryDlg2;

}  // namespace tq
