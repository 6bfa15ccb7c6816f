#pragma once
// The item list of a list-like control (combo and list boxes, tab captions):
// a string list that keeps each item's text and object and tells its control
// about every change, so the window always shows the list.
#include <functional>
#include <string>
#include <vector>

#include "Classes.h"

namespace tq {

class TControlItems : public TStrings {
 public:
  // What the control does with each change; index is the item's position.
  struct TSink {
    std::function<void(int index, const std::string& s)> Inserted;
    std::function<void(int index)> Deleted;
    std::function<void()> Cleared;
    // The text of an item changed (default: deleted and inserted again).
    std::function<void(int index, const std::string& s)> Replaced;
  };
  TControlItems() = default;
  void SetSink(TSink sink) { FSink = std::move(sink); }
  // What the control does when a batch of changes (BeginUpdate ... EndUpdate)
  // begins (true) and ends.
  void SetBatchSink(std::function<void(bool updating)> sink) { FBatchSink = std::move(sink); }
  // Sorted lists insert every new item at its place (case-insensitive order).
  bool Sorted() const { return FSorted; }
  void SetSorted(bool sorted);

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObjectAt(int index) const override;
  void PutObjectAt(int index, TObject* obj) override;
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const std::string& s) override;
  void InsertObject(int index, const std::string& s, TObject* obj) override;
  int Add(const std::string& s) override;
  int AddObject(const std::string& s, TObject* obj) override;
  // A check mark or other per-item flag kept by some controls.
  bool Flag(int index) const;
  void SetFlag(int index, bool v);

 protected:
  void SetUpdateState(bool updating) override;

 private:
  struct TItem {
    std::string S;
    TObject* O = nullptr;
    bool Flag = false;
  };
  void CheckIndex(int index, bool allowEnd = false) const;
  int SortedPosition(const std::string& s) const;
  std::vector<TItem> FItems;
  TSink FSink;
  std::function<void(bool updating)> FBatchSink;
  bool FSorted = false;
};

// A batch of changes to a list: BeginUpdate now, EndUpdate when it goes out of
// scope (also when a change throws).
class TUpdateBatch {
 public:
  explicit TUpdateBatch(TStrings& list) : FList(list) { FList.BeginUpdate(); }
  ~TUpdateBatch() { FList.EndUpdate(); }
  TUpdateBatch(const TUpdateBatch&) = delete;
  TUpdateBatch& operator=(const TUpdateBatch&) = delete;

 private:
  TStrings& FList;
};

}  // namespace tq
