#include "ControlItems.h"

namespace tq {

void TControlItems::CheckIndex(int index, bool allowEnd) const {
  if (index < 0 || index > Count() || (!allowEnd && index == Count())) Error("List index out of bounds (%d)", index);
}

std::string TControlItems::Get(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].S;
}

void TControlItems::Put(int index, const std::string& s) {
  CheckIndex(index);
  Changing();
  FItems[static_cast<size_t>(index)].S = s;
  if (FSink.Replaced) {
    FSink.Replaced(index, s);
  } else {
    if (FSink.Deleted) FSink.Deleted(index);
    if (FSink.Inserted) FSink.Inserted(index, s);
  }
  Changed();
}

TObject* TControlItems::GetObjectAt(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].O;
}

void TControlItems::PutObjectAt(int index, TObject* obj) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)].O = obj;
}

bool TControlItems::Flag(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].Flag;
}

void TControlItems::SetFlag(int index, bool v) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)].Flag = v;
}

void TControlItems::SetUpdateState(bool updating) {
  // The control settles before the list's OnChange tells anyone.
  if (updating) TStrings::SetUpdateState(true);
  if (FBatchSink) FBatchSink(updating);
  if (!updating) TStrings::SetUpdateState(false);
}

void TControlItems::Clear() {
  if (FItems.empty()) return;
  Changing();
  FItems.clear();
  if (FSink.Cleared) FSink.Cleared();
  Changed();
}

void TControlItems::Delete(int index) {
  CheckIndex(index);
  Changing();
  FItems.erase(FItems.begin() + index);
  if (FSink.Deleted) FSink.Deleted(index);
  Changed();
}

void TControlItems::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TControlItems::InsertObject(int index, const std::string& s, TObject* obj) {
  CheckIndex(index, true);
  Changing();
  FItems.insert(FItems.begin() + index, TItem{s, obj, false});
  if (FSink.Inserted) FSink.Inserted(index, s);
  Changed();
}

int TControlItems::SortedPosition(const std::string& s) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (AnsiCompareText(FItems[static_cast<size_t>(mid)].S, s) <= 0) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

int TControlItems::Add(const std::string& s) { return AddObject(s, nullptr); }

int TControlItems::AddObject(const std::string& s, TObject* obj) {
  int index = FSorted ? SortedPosition(s) : Count();
  InsertObject(index, s, obj);
  return index;
}

void TControlItems::SetSorted(bool sorted) {
  if (sorted == FSorted) return;
  FSorted = sorted;
  if (!sorted || FItems.size() < 2) return;
  std::vector<TItem> items = std::move(FItems);
  FItems.clear();
  if (FSink.Cleared) FSink.Cleared();
  for (TItem& it : items) {
    int index = SortedPosition(it.S);
    FItems.insert(FItems.begin() + index, it);
    if (FSink.Inserted) FSink.Inserted(index, it.S);
  }
}

}  // namespace tq
