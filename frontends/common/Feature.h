#pragma once
// The package's features as the front-ends list them: one TFeature per row of
// the Feature table, kept as the data of a node of a hidden tree (the node's
// text is the feature key).
//
// The tree is built from the rows in table order. A row whose parent is not in
// the tree yet is parked; parked rows are placed in turn, again and again,
// until a whole round over them places none. Rows whose parent never appears
// (a child of the hidden feature, a parent missing from the table) are left
// out and returned to the caller, which logs them. The hidden feature
// "BRINDLEREGDATA" (any letter case) is never in the tree.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "TreeView.h"

namespace tq {

class TFeature : public TObject {
 public:
  TFeature(std::string name, std::string description, int32_t display, int32_t level)
      : Name(std::move(name)), Description(std::move(description)), Display(display), Level(level) {}
  std::string ClassName() const override { return "TFeature"; }
  std::string Name;         // the feature key, also the node's text
  std::string Description;
  int32_t Display = 0;      // 0: never listed
  int32_t Level = 0;        // 3 required, 4 typical, higher: other
};

// One row of the Feature table as read: Feature, Feature_Parent, Description,
// Display, Level.
struct TFeatureRow {
  std::string Name;
  std::string Parent;
  std::string Description;
  int32_t Display = 0;
  int32_t Level = 0;
};

// Rebuilds the tree from the rows. The records go to `records` (the caller
// keeps them as long as the nodes). Returns the names of the rows left out
// because their parent never appeared.
std::vector<std::string> PlaceFeatureRows(TTreeNodes& nodes, const std::vector<TFeatureRow>& rows,
                                          std::vector<std::unique_ptr<TFeature>>& records);

// The first node in tree order whose text equals name exactly; nullptr when none.
TTreeNode* FindFeatureNode(const TTreeNodes& nodes, const std::string& name);

// The record of a node of a feature tree.
inline TFeature* FeatureOf(const TTreeNode* node) { return static_cast<TFeature*>(node->Data); }

}  // namespace tq
