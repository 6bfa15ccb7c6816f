// TObject and TList.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>
#if defined(__GNUG__)
#include <cxxabi.h>
#endif

#include "Classes.h"

namespace tq {

std::string TObject::ClassName() const {
  const char* raw = typeid(*this).name();
  std::string name = raw;
#if defined(__GNUG__)
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(raw, nullptr, nullptr, &status), std::free);
  if (status == 0 && demangled) name = demangled.get();
#endif
  size_t p = name.rfind("::");
  if (p != std::string::npos) name = name.substr(p + 2);
  return name;
}

TList::~TList() = default;

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", {index});
}

int TList::Add(void* item) {
  FItems.push_back(item);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count()) throw EListError("List index out of bounds (%d)", {index});
  FItems.insert(FItems.begin() + index, item);
}

void TList::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
}

int TList::Remove(void* item) {
  int i = IndexOf(item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* item) {
  int i = IndexOf(item);
  if (i < 0) return nullptr;
  Delete(i);
  return item;
}

int TList::IndexOf(void* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TList::Clear() {
  FItems.clear();
  FItems.shrink_to_fit();
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  void* item = FItems[static_cast<size_t>(curIndex)];
  FItems.erase(FItems.begin() + curIndex);
  FItems.insert(FItems.begin() + newIndex, item);
}

void TList::Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }

void TList::Sort(const TListSortCompare& compare) {
  // Stable, so that equal entries keep their order in every build.
  std::stable_sort(FItems.begin(), FItems.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void* TList::First() const { return Get(0); }
void* TList::Last() const { return Get(Count() - 1); }

void TList::SetCount(int count) {
  if (count < 0) throw EListError("List count out of bounds (%d)", {count});
  FItems.resize(static_cast<size_t>(count), nullptr);
}

void TList::SetCapacity(int capacity) {
  if (capacity < Count()) throw EListError("List capacity out of bounds (%d)", {capacity});
  FItems.reserve(static_cast<size_t>(capacity));
}

void* TList::Get(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)];
}

void TList::Put(int index, void* item) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)] = item;
}

}  // namespace tq
