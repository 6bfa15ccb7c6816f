// TStrings (the abstract string list) and TStringList.
#include <algorithm>
#include <memory>
#include <numeric>

#include "Classes.h"

namespace tq {

// ---- Property helpers --------------------------------------------------------

namespace detail {
std::string TStringRef::str() const { return FOwner->Get(FIndex); }
TStringRef& TStringRef::operator=(const std::string& s) {
  FOwner->Put(FIndex, s);
  return *this;
}
TObjectRef::operator TObject*() const { return FOwner->GetObjectAt(FIndex); }
TObjectRef& TObjectRef::operator=(TObject* o) {
  FOwner->PutObjectAt(FIndex, o);
  return *this;
}
std::string TValueRef::str() const { return FOwner->Value(FName); }
TValueRef& TValueRef::operator=(const std::string& s) {
  FOwner->SetValue(FName, s);
  return *this;
}
std::string TNamesProp::operator[](int i) const { return Owner->Name(i); }
}  // namespace detail

// ---- TStrings ------------------------------------------------------------------

void TStrings::Error(const std::string& fmt, int index) const { throw EStringListError(fmt, {index}); }

void TStrings::Put(int index, const std::string& s) {
  TObject* obj = GetObjectAt(index);
  BeginUpdate();
  try {
    Delete(index);
    InsertObject(index, s, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TObject* TStrings::GetObjectAt(int /*index*/) const { return nullptr; }
void TStrings::PutObjectAt(int /*index*/, TObject* /*obj*/) {}

void TStrings::InsertObject(int index, const std::string& s, TObject* obj) {
  Insert(index, s);
  PutObjectAt(index, obj);
}

int TStrings::Add(const std::string& s) {
  int i = Count();
  Insert(i, s);
  return i;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
  int i = Add(s);
  PutObjectAt(i, obj);
  return i;
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObjectAt(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  BeginUpdate();
  try {
    Clear();
    AddStrings(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const { return AnsiCompareText(a, b); }

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t p = s.find('=');
    if (p != std::string::npos && CompareStrings(s.substr(0, p), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* obj) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObjectAt(i) == obj) return i;
  return -1;
}

void TStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  try {
    std::string s = Get(index1);
    TObject* o = GetObjectAt(index1);
    Put(index1, Get(index2));
    PutObjectAt(index1, GetObjectAt(index2));
    Put(index2, s);
    PutObjectAt(index2, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  BeginUpdate();
  try {
    std::string s = Get(curIndex);
    TObject* o = GetObjectAt(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
      size_t start = i;
      while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
      Add(text.substr(start, i - start));
      if (i < n && text[i] == '\r') ++i;
      if (i < n && text[i] == '\n') ++i;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::DelimitedText(char delimiter, char quote) const {
  if (Count() == 1 && Get(0).empty()) return std::string(2, quote);
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    bool needQuote = false;
    for (char c : s)
      if (static_cast<unsigned char>(c) <= ' ' || c == quote || c == delimiter) needQuote = true;
    if (i > 0) out += delimiter;
    out += needQuote ? AnsiQuotedStr(s, quote) : s;
  }
  return out;
}

void TStrings::SetDelimitedText(const std::string& text, char delimiter, char quote) {
  auto isBlank = [](char c) { return c != 0 && static_cast<unsigned char>(c) <= ' '; };
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    while (i < n) {
      std::string s;
      if (text[i] == quote) {
        ++i;
        while (i < n) {
          if (text[i] == quote) {
            if (i + 1 < n && text[i + 1] == quote) {
              s += quote;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          s += text[i++];
        }
      } else {
        size_t start = i;
        while (i < n && static_cast<unsigned char>(text[i]) > ' ' && text[i] != delimiter) ++i;
        s = text.substr(start, i - start);
      }
      Add(s);
      while (i < n && isBlank(text[i])) ++i;
      if (i < n && text[i] == delimiter) {
        if (i + 1 == n) Add("");
        do ++i;
        while (i < n && isBlank(text[i]));
      } else if (i < n && text[i] == 0) {
        ++i;  // a stray NUL separates nothing; skip it
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const { return DelimitedText(',', '"'); }
void TStrings::SetCommaText(const std::string& text) { SetDelimitedText(text, ',', '"'); }

std::string TStrings::Name(int index) const {
  std::string s = Get(index);
  size_t p = s.find('=');
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::ValueFromIndex(int index) const {
  std::string s = Get(index);
  size_t p = s.find('=');
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

std::string TStrings::Value(const std::string& name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
  int i = IndexOfName(name);
  if (!value.empty()) {
    if (i < 0) i = Add("");
    Put(i, name + "=" + value);
  } else if (i >= 0) {
    Delete(i);
  }
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

void TStrings::LoadFromStream(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (!text.empty()) stream.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
  std::string text = Text();
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

void TStrings::Changing() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TStrings::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

// ---- TStringList ---------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (TItem& item : FList) delete item.O;
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) Error("List index out of bounds (%d)", index);
}

std::string TStringList::Get(int index) const { return GetRef(index); }

const std::string& TStringList::GetRef(int index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)].S;
}

void TStringList::Put(int index, const std::string& s) {
  if (FSorted) Error("Operation not allowed on sorted string list", 0);
  CheckIndex(index);
  Changing();
  FList[static_cast<size_t>(index)].S = s;
  Changed();
}

TObject* TStringList::GetObjectAt(int index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)].O;
}

void TStringList::PutObjectAt(int index, TObject* obj) {
  CheckIndex(index);
  Changing();
  FList[static_cast<size_t>(index)].O = obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TItem> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (TItem& item : old) delete item.O;
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  TObject* obj = FList[static_cast<size_t>(index)].O;
  FList.erase(FList.begin() + index);
  if (FOwnsObjects) delete obj;
  Changed();
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* obj) {
  if (FSorted) Error("Operation not allowed on sorted string list", 0);
  if (index < 0 || index > Count()) Error("List index out of bounds (%d)", index);
  InsertItem(index, s, obj);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* obj) {
  Changing();
  FList.insert(FList.begin() + index, TItem{s, obj});
  Changed();
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* obj) {
  int index;
  if (!FSorted) {
    index = Count();
  } else if (Find(s, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) Error("String list does not allow duplicates", 0);
  }
  InsertItem(index, s, obj);
  return index;
}

int TStringList::IndexOf(const std::string& s) const {
  if (!FSorted) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
  Changed();
}

bool TStringList::Find(const std::string& s, int& index) const {
  bool found = false;
  int l = 0;
  int h = Count() - 1;
  while (l <= h) {
    int i = l + (h - l) / 2;
    int c = CompareStrings(FList[static_cast<size_t>(i)].S, s);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) l = i;
      }
    }
  }
  index = l;
  return found;
}

void TStringList::Sort() {
  CustomSort([](TStringList& list, int a, int b) {
    return list.CompareStrings(list.FList[static_cast<size_t>(a)].S, list.FList[static_cast<size_t>(b)].S);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (Count() <= 1) return;
  Changing();
  // Sort a permutation (the comparer sees the entries in their old places),
  // stably, then lay the entries out in that order.
  std::vector<int> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
  std::vector<TItem> sorted;
  sorted.reserve(FList.size());
  for (int i : order) sorted.push_back(std::move(FList[static_cast<size_t>(i)]));
  FList.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (value == FSorted) return;
  if (value) Sort();
  FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == FCaseSensitive) return;
  FCaseSensitive = value;
  if (FSorted) Sort();
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
  return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

}  // namespace tq
