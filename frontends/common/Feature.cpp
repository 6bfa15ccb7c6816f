#include "Feature.h"

#include <deque>

#include "SysUtils.h"

namespace tq {

namespace {

struct TParked {
  std::string Name;
  std::string Parent;
  TFeature* Record;
};

}  // namespace

TTreeNode* FindFeatureNode(const TTreeNodes& nodes, const std::string& name) {
  for (TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext())
    if (n->Text() == name) return n;
  return nullptr;
}

std::vector<std::string> PlaceFeatureRows(TTreeNodes& nodes, const std::vector<TFeatureRow>& rows,
                                          std::vector<std::unique_ptr<TFeature>>& records) {
  nodes.Clear();
  records.clear();
  std::deque<TParked> parked;
  for (const TFeatureRow& row : rows) {
    if (LowerCase(row.Name) == "brindleregdata") continue;
    records.push_back(std::make_unique<TFeature>(row.Name, row.Description, row.Display, row.Level));
    TFeature* record = records.back().get();
    if (row.Parent.empty()) {
      nodes.AddObject(nullptr, row.Name, record);
    } else if (TTreeNode* parent = FindFeatureNode(nodes, row.Parent)) {
      nodes.AddChildObject(parent, row.Name, record);
    } else {
      parked.push_back({row.Name, row.Parent, record});
    }
  }
  // Turn over the parked rows until a whole round places none.
  size_t unplacedInRow = 0;
  while (!parked.empty() && unplacedInRow < parked.size()) {
    TParked p = parked.front();
    parked.pop_front();
    if (TTreeNode* parent = FindFeatureNode(nodes, p.Parent)) {
      nodes.AddChildObject(parent, p.Name, p.Record);
      unplacedInRow = 0;
    } else {
      parked.push_back(p);
      ++unplacedInRow;
    }
  }
  std::vector<std::string> orphans;
  for (const TParked& p : parked) orphans.push_back(p.Name);
  return orphans;
}

}  // namespace tq
