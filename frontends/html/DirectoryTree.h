#pragma once
// TDirectoryTree: the computer's drives and folders as a tree, for the folder
// dialog. The root "My Computer" holds one node per drive ("C:"), each folder
// node is named after its folder; a node's path is its text after each
// ancestor's text and a backslash, up to the drive ("C:\Program Files"). A
// folder's sub-folders are read from disk when the node is first opened, once.
// Nodes are kept sorted by text, also after their text was edited in place
// (editing changes only the tree, nothing on disk).
//
// Images (program bitmap resources, 16 x 16 on white): 0 DIRCLOSE, 1 DIROPEN,
// 2 COMPUTER, 3 HARDDISK, 4 CDROMDISK, 5 FLOPPYDISK, 6 RAMDISK, 7 REMOTEDISK;
// a drive's image follows its drive type.
//
// A mouse press on a node other than the root (its label, icon or button):
// Directory := its path, OnChange; the node is opened and selected; a node that
// turns out to have no sub-folders loses its expand button, one that got its
// first sub-folders is expanded.
#include <set>
#include <string>

#include "TreeView.h"

namespace tq {

class TDirectoryTree : public TTreeView {
 public:
  explicit TDirectoryTree(TComponent* owner);
  ~TDirectoryTree() override;
  std::string ClassName() const override { return "TDirectoryTree"; }

  // The path of the node last opened.
  const std::string& Directory() const { return FDirectory; }
  // Fires when Directory was set (hides the tree view's selection event).
  TNotifyEvent OnChange;

  virtual void DoChange();
  // Rebuilds the tree: the root and one node per drive; selects the current drive.
  virtual void LoadDrives();
  // Adds a node for every sub-folder of path below node.
  void AddSubDirectories(const std::string& path, TTreeNode* node);
  // Reads the node's sub-folders when it has none yet; Directory := its path.
  void OpenNode(TTreeNode* node);
  // The node's path (empty for the root).
  std::string NodePath(const TTreeNode* node) const;
  // A node shows an expand button before its sub-folders are read.
  bool MarkedAsHavingChildren(const TTreeNode* node) const { return FMarked.count(node) != 0; }
  TTreeNode* Root() const { return Items().GetFirstNode(); }
  // A new folder name below node, at its sorted place (nothing is created on disk).
  TTreeNode* AddNewFolder(TTreeNode* node, const std::string& name) { return AddSorted(node, name, 0, 1, false); }

  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void InitWindow() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  bool CNNotify(NMHDR* header, LRESULT& result) override;

 private:
  TTreeNodes& Items() const { return const_cast<TDirectoryTree*>(this)->TTreeView::Items(); }
  // A child of parent at its sorted place, with its images and expand button.
  TTreeNode* AddSorted(TTreeNode* parent, const std::string& text, int image, int selectedImage, bool marked);
  void ShowLook(TTreeNode* node);
  void SetMarked(TTreeNode* node, bool marked);
  void MouseDownOn(int x, int y);
  void ResortEdited();
  void* FImages = nullptr;  // HIMAGELIST, owned
  std::string FCurrentDrive;
  std::string FDirectory;
  std::set<const TTreeNode*> FMarked;
  TTreeNode* FEdited = nullptr;  // waits to move to its sorted place
};

}  // namespace tq
