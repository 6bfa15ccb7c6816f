#pragma once
// TSelectDirectoryDlg, "Select Directory": the destination folder picker of the
// setup pages. Preset it to a path (the nodes along it are opened and the
// nearest known folder selected), show it modally, then read DestinationPath.
//
// The selected path is the selected node's path without "My Computer". OK is
// refused while the root is selected (or nothing), and a drive alone comes back
// with its backslash ("C:\"), so the destination is always a real folder path.
//
// A right-click on the tree while a node is selected adds "New Directory" below
// that node (its own sub-folders read first) and, a moment later, starts editing
// the new name in place; the tree only, nothing is made on disk.
#include <string>

#include "DirectoryTree.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TSelectDirectoryDlg : public TForm {
 public:
  explicit TSelectDirectoryDlg(TComponent* owner);
  std::string ClassName() const override { return "TSelectDirectoryDlg"; }

  TDirectoryTree* DirectoryTree1 = nullptr;
  TLabel* Label2 = nullptr;  // the selected path
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;
  TTimer* Timer1 = nullptr;

  // Opens the nodes along path, selects the last one found, shows path.
  void Preset(const std::string& path);
  // The selected node's path without "My Computer" ("My Computer" for the root).
  std::string SelectedPath() const;
  // SelectedPath, a drive alone with its backslash.
  std::string DestinationPath() const;
  // The node the last right-click added.
  TTreeNode* NewFolderNode() const { return FNewNode; }

  void DirectoryTree1Change(TObject* sender);
  void DirectoryTree1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void Timer1Timer(TObject* sender);
  void OKBtnClick(TObject* sender);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TTreeNode* FNewNode = nullptr;
};

extern TSelectDirectoryDlg* SelectDirectoryDlg;

}  // namespace tq
