#pragma once
// The tree view with its node list. Nodes live in the list whether or not the
// window exists yet; selecting a node (by the user or through Selected) fires
// OnChange when the selection changes.
//
// A tree view is stored in a component stream with its display properties
// and, when it has nodes, "Items.Data": an int32 count of top-level nodes,
// then each node depth first as int32 size (25 + text length), ImageIndex,
// SelectedIndex, StateIndex, OverlayIndex, Data (0), child count, and the
// text as a short string.
#include <string>
#include <vector>

#include "StdCtrls.h"

namespace tq {

class TTreeNodes;
class TTreeView;

class TTreeNode : public TObject {
 public:
  std::string ClassName() const override { return "TTreeNode"; }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& s);
  void* Data = nullptr;  // the caller's object, not owned (stored as 0)
  int ImageIndex = 0;
  int SelectedIndex = 0;
  int StateIndex = -1;
  int OverlayIndex = -1;

  int Level() const;
  TTreeNode* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int index) const;  // a child
  TTreeNode* operator[](int index) const { return Item(index); }
  bool HasChildren() const { return !FChildren.empty(); }
  int Index() const;          // position among its siblings
  int AbsoluteIndex() const;  // position in the whole tree, in tree order
  TTreeNode* getFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
  TTreeNode* getNextSibling() const;
  TTreeNode* getPrevSibling() const;
  TTreeNode* GetNext() const;  // the next node in tree order (children first)
  TTreeNode* GetPrev() const;
  bool IsFirstNode() const;    // the first node of the tree
  bool HasAsParent(const TTreeNode* node) const;

  bool Expanded() const { return FExpanded; }
  void Expand(bool recursive);
  void Collapse(bool recursive);
  void SetExpanded(bool v) { v ? Expand(false) : Collapse(false); }
  bool Selected() const;
  void SetSelected(bool v);
  void MakeVisible();
  bool EditText();  // starts in-place editing
  void EndEdit(bool cancel);
  void Delete();    // deletes the node and its subtree
  void DeleteChildren();
  HTREEITEM ItemId() const { return FId; }
  TTreeNodes* Owner() const { return FOwner; }
  TTreeView* TreeView() const;

 private:
  friend class TTreeNodes;
  friend class TTreeView;
  explicit TTreeNode(TTreeNodes* owner) : FOwner(owner) {}
  void SetExpandedBelow(bool expanded, bool recursive);
  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<TTreeNode*> FChildren;
  std::string FText;
  bool FExpanded = false;
  HTREEITEM FId = nullptr;
};

class TTreeNodes : public TPersistent {
 public:
  explicit TTreeNodes(TTreeView* owner) : FOwner(owner) {}
  ~TTreeNodes() override;
  std::string ClassName() const override { return "TTreeNodes"; }
  void Assign(const TPersistent& source) override;
  // "Data": the stored node list (see the top of this file).
  void DefineProperties(TFiler& filer) override;
  void WriteData(TStream& stream) const;
  void ReadData(TStream& stream);

  // A node after the last sibling of `sibling` (a top-level node without one).
  TTreeNode* Add(TTreeNode* sibling, const std::string& s);
  TTreeNode* AddObject(TTreeNode* sibling, const std::string& s, void* data);
  TTreeNode* AddFirst(TTreeNode* sibling, const std::string& s);
  // The last child of parent (a top-level node without one).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& s);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::string& s, void* data);
  TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& s);
  // Before `sibling` (at the end of the top level without one).
  TTreeNode* Insert(TTreeNode* sibling, const std::string& s);
  void Delete(TTreeNode* node);
  void Clear();
  int Count() const;                 // all nodes
  TTreeNode* Item(int index) const;  // by position in tree order
  TTreeNode* operator[](int index) const { return Item(index); }
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
  int TopCount() const { return static_cast<int>(FRoots.size()); }
  TTreeNode* TopItem(int index) const { return FRoots.at(static_cast<size_t>(index)); }
  void BeginUpdate();
  void EndUpdate();
  TTreeView* Owner() const { return FOwner; }

 private:
  friend class TTreeNode;
  friend class TTreeView;
  std::vector<TTreeNode*>& Siblings(TTreeNode* parent) { return parent ? parent->FChildren : FRoots; }
  TTreeNode* InsertNode(TTreeNode* parent, int position, const std::string& s, void* data);
  void FreeSubtree(TTreeNode* node);
  TTreeView* FOwner;
  std::vector<TTreeNode*> FRoots;
  int FUpdateCount = 0;
};

using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVChangingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowChange)>;
using TTVEditingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowEdit)>;
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, std::string& s)>;
using TTVExpandingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowExpansion)>;

class TTreeView : public TWinControl {
 public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;
  TQ_PUBLISHED(TTreeView)
  int Indent() const { return FIndent; }
  void SetIndent(int v);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  TBorderStyle BorderStyle() const { return FBorder ? bsSingle : bsNone; }
  void SetBorderStyle(TBorderStyle s) { FBorder = s == bsSingle; }
  TTreeNodes& Items() { return FItems; }
  TTreeNode* Selected() const { return FSelected; }
  // Selects a node (nullptr: none); fires OnChange when the selection changes.
  void SetSelected(TTreeNode* node);
  TTreeNode* GetNodeAt(int x, int y) const;
  void FullExpand();
  void FullCollapse();
  bool IsEditing() const;
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  bool ToolTips() const { return FToolTips; }
  void SetToolTips(bool v) { FToolTips = v; }
  TTreeNode* TopItem() const;

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandingEvent OnExpanding;
  TTVExpandingEvent OnCollapsing;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  friend class TTreeNode;
  friend class TTreeNodes;
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  void DestroyHandle() override;
  bool CNNotify(NMHDR* header, LRESULT& result) override;
  virtual void Change(TTreeNode* node);
  void CreateItem(TTreeNode* node);  // the window item of a node and its subtree
  TTreeNode* NodeFromItem(HTREEITEM item) const;
  void NodeDeleting(TTreeNode* node);
  TTreeNodes FItems{this};
  TTreeNode* FSelected = nullptr;
  bool FSelecting = false;
  bool FDeleting = false;
  bool FReadOnly = false;
  bool FToolTips = true;
  bool FShowLines = true, FShowRoot = true, FShowButtons = true, FHideSelection = true;
  bool FBorder = true;
  int FIndent = 19;
};

}  // namespace tq
