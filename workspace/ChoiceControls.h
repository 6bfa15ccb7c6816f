#pragma once
// The list and tree controls of the Choices and Directories pages, and the
// "Add Files" dialog's file list.
#include <string>

#include "CheckLst.h"
#include "FileCtrls.h"
#include "TreeView.h"

namespace tq {

// A check-list box with multi-selection and both scroll bars.
class TMultiSelectCheckListBox : public TCheckListBox {
 public:
  explicit TMultiSelectCheckListBox(TComponent* owner);
  std::string ClassName() const override { return "TMultiSelectCheckListBox"; }

 protected:
  void CreateParams(TCreateParams& params) override;
};

// A tree view whose long node texts show no tool tip.
class TNoToolTipsTreeView : public TTreeView {
 public:
  explicit TNoToolTipsTreeView(TComponent* owner);
  std::string ClassName() const override { return "TNoToolTipsTreeView"; }
};

// A file list box laid out in columns (the "Add Files" dialog's file list).
class TMultiColumnFileListBox : public TFileListBox {
 public:
  explicit TMultiColumnFileListBox(TComponent* owner) : TFileListBox(owner) {}
  std::string ClassName() const override { return "TMultiColumnFileListBox"; }

 protected:
  void CreateParams(TCreateParams& params) override;
};

// The object of a file list entry: a copy of the file's full source path.
class TFilePathObject : public TObject {
 public:
  explicit TFilePathObject(std::string path) : Path(std::move(path)) {}
  std::string ClassName() const override { return "TFilePathObject"; }
  std::string Path;
};

// Makes the classes known to window layouts.
void RegisterChoiceControlClasses();

}  // namespace tq
