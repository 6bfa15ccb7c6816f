#pragma once
// The record of a tree view in the project file: the tree's display properties
// and its node list, a binary "Items.Data" value of fixed-size node records in
// depth-first order. Portable, so the project file can be read and checked
// without a window; the main window copies nodes between it and its trees.
#include <cstdint>
#include <string>
#include <vector>

#include "Component.h"
#include "TreeNodeData.h"

namespace tq {

using TStoredNode = TTreeNodeRecord;

// The node list as stored: depth-first, pre-order, each node followed by its
// children. The nodes' levels must describe a tree (the first node at level 0,
// no level more than one deeper than the one before).
class TStoredNodes : public TPersistent {
 public:
  TQ_PUBLISHED(TStoredNodes)
  void DefineProperties(TFiler& filer) override;

  std::vector<TStoredNode> Nodes;

  // The binary form and back. Decode checks every size and count against the
  // bytes it is given (EReadError "Stream read error" / "Invalid property value")
  // and reads the nesting without recursion.
  std::string Encode() const;
  void Decode(const std::string& bytes);
};

// A tree view's record under the class name and component name it is written
// with ("TNoToolTipsTreeView" "trTargetDir", "TTreeView" "trChoices").
// The display properties are the ones the main window's trees differ in from
// a tree view's defaults.
class TStoredTree : public TComponent {
 public:
  TStoredTree(std::string className, const std::string& name);
  static const TPropertyTable& ClassProperties();
  const TPropertyTable& Properties() const override { return ClassProperties(); }
  std::string ClassName() const override { return FClassName; }

  int Left = 0, Top = 0, Width = 0, Height = 0;
  int BorderStyle = 1;  // bsNone 0, bsSingle 1 (the default)
  int Indent = 19;
  int TabOrder = -1;
  bool HideSelection = true;
  TStoredNodes Items;

 private:
  std::string FClassName;
};

}  // namespace tq
