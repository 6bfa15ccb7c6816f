#pragma once
// The system-folder picker of the Directories and Shortcuts pages: the
// installer's system folder names, several at a time or one.
#include <string>

#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TSystemFoldersDlg : public TForm {
 public:
  explicit TSystemFoldersDlg(TComponent* owner);
  std::string ClassName() const override { return "TSystemFoldersDlg"; }

  TLabel* Label1 = nullptr;  // the prompt
  TLabel* Label2 = nullptr;
  TListBox* lbSystemFolders = nullptr;
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;
  TButton* HelpBtn = nullptr;

  // Shows the dialog's topic in the program's help file.
  void HelpBtnClick(TObject* sender);
  // Closes with OK when an entry is selected.
  void lbSystemFoldersDblClick(TObject* sender);
  // Switches between picking several folders and picking one, with the prompt
  // shown above the list.
  void SetSelectionMode(bool multiSelect, const std::string& prompt);
};

extern TSystemFoldersDlg* SystemFoldersDlg;

}  // namespace tq
