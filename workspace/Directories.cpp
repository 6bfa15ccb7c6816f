// The Directories page: adding, removing and renaming the target directory
// tree's nodes.
#include "ItemPages.h"

#include "Prompts.h"
#include "SysUtils.h"
#include "SystemFoldersDlg.h"

namespace tq {

namespace {

// Deletes node with its subtree, forgetting it as the operations' node.
void DeleteDirNode(TRWInstallForm& w, TTreeNode* node) {
  if (w.FSelectedDirNode && (w.FSelectedDirNode == node || w.FSelectedDirNode->HasAsParent(node)))
    w.FSelectedDirNode = nullptr;
  node->Delete();
}

// Adds a "Directory" node under parent (a top-level node without one), shows
// it and starts its in-place editing.
TTreeNode* AddDirNode(TRWInstallForm& w, TTreeNode* parent) {
  TTreeNode* node = parent ? w.trTargetDir->Items().AddChild(parent, "Directory")
                           : w.trTargetDir->Items().Add(nullptr, "Directory");
  if (parent) parent->Expand(false);
  return node;
}

}  // namespace

TTreeNode* FindDirNode(TRWInstallForm& w, const std::string& text) {
  TTreeNodes& nodes = w.trTargetDir->Items();
  for (int i = 0; i < nodes.Count(); ++i)
    if (nodes.Item(i)->Text() == text) return nodes.Item(i);
  return nullptr;
}

void TRWInstallForm::AddChildNode1Click(TObject*) {
  TTreeNode* node = AddDirNode(*this, FSelectedDirNode);
  node->EditText();
  FModified = 1;
}

void TRWInstallForm::RemoveNode1Click(TObject*) {
  if (!FSelectedDirNode || FSelectedDirNode->IsFirstNode()) return;
  DeleteDirNode(*this, FSelectedDirNode);
  FModified = 1;
}

void TRWInstallForm::buTargetDirectoriesAddClick(TObject*) {
  FSelectedDirNode = trTargetDir->Selected();
  TTreeNode* node = AddDirNode(*this, FSelectedDirNode);
  if (trTargetDir->HandleAllocated()) trTargetDir->SetFocus();
  node->EditText();
  FModified = 1;
}

void TRWInstallForm::buTargetDirectoriesDeleteClick(TObject*) {
  FSelectedDirNode = trTargetDir->Selected();
  if (!FSelectedDirNode || FSelectedDirNode->IsFirstNode()) return;
  if (MessageDlg("Do you want to delete " + FSelectedDirNode->Text() + "?", mtConfirmation, mbYesNo) != mrYes)
    return;
  DeleteDirNode(*this, FSelectedDirNode);
  trTargetDir->SetSelected(trTargetDir->Items().GetFirstNode());
  FModified = 1;
}

void TRWInstallForm::buTargetDirectoriesRenameClick(TObject*) {
  TTreeNode* node = trTargetDir->Selected();
  if (!node || node->IsFirstNode()) return;
  node->EditText();
  FModified = 1;
}

void TRWInstallForm::buTargetDirectoriesAddSystemFoldersClick(TObject*) {
  if (!SystemFoldersDlg || SystemFoldersDlg->ShowModal() != mrOk) return;
  TListBox* folders = SystemFoldersDlg->lbSystemFolders;
  for (int i = 0; i < folders->Items().Count(); ++i) {
    if (!folders->Selected(i)) continue;
    std::string name = folders->Items()[i];
    if (FindDirNode(*this, name)) continue;
    trTargetDir->Items().Add(nullptr, name);
    FModified = 1;
  }
}

// An in-place rename: an empty name is refused (the node keeps its text);
// any other new name marks the project modified.
void TRWInstallForm::trTargetDirEdited(TObject*, TTreeNode* node, std::string& s) {
  if (!node) return;
  if (Trim(s).empty()) {
    s = node->Text();
    return;
  }
  if (s != node->Text()) FModified = 1;
}

}  // namespace tq
