#pragma once
// The basic object model: TObject, pointer lists, string lists and streams.
// Indexes count from 0 (as the Pascal-style lists do).
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "SysUtils.h"

namespace tq {

class TObject;
using TNotifyEvent = std::function<void(TObject* sender)>;

// Root of the class hierarchy.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;
  // The class name without namespace ("TStringList"); derived classes need not
  // override it.
  virtual std::string ClassName() const;
};

// Frees an object and clears the pointer (Pascal's FreeAndNil).
template <class T>
void FreeAndNil(T*& p) {
  T* q = p;
  p = nullptr;
  delete q;
}

// ---- TList ---------------------------------------------------------------

using TListSortCompare = std::function<int(void* a, void* b)>;

// A list of untyped pointers; a bad index raises EListError
// "List index out of bounds (%d)".
class TList : public TObject {
 public:
  TList() = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  ~TList() override;

  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  int Remove(void* item);   // index it had, or -1
  void* Extract(void* item);
  int IndexOf(void* item) const;
  void Clear();
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  void Pack();  // drops nil entries
  void Sort(const TListSortCompare& compare);
  void* First() const;
  void* Last() const;

  int Count() const { return static_cast<int>(FItems.size()); }
  void SetCount(int count);
  int Capacity() const { return static_cast<int>(FItems.capacity()); }
  void SetCapacity(int capacity);
  void* Get(int index) const;
  void Put(int index, void* item);
  void* Items(int index) const { return Get(index); }
  void* operator[](int index) const { return Get(index); }
  std::vector<void*>& List() { return FItems; }

 private:
  void CheckIndex(int index) const;
  std::vector<void*> FItems;
};

// ---- TStrings ------------------------------------------------------------

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings;

namespace detail {
// Indexed-property helpers so that translated code reads naturally:
//   list.Strings[i] = "x";   s = list.Strings[i];   list.Objects[i] = obj;
//   list.Values["Name"] = "v";   s = list.Names[i];
class TStringRef {
 public:
  TStringRef(TStrings* owner, int index) : FOwner(owner), FIndex(index) {}
  operator std::string() const { return str(); }
  std::string str() const;
  TStringRef& operator=(const std::string& s);
  TStringRef& operator=(const TStringRef& other) { return *this = other.str(); }
  friend bool operator==(const TStringRef& a, const std::string& b) { return a.str() == b; }
  friend bool operator==(const TStringRef& a, const char* b) { return a.str() == b; }
  friend std::ostream& operator<<(std::ostream& os, const TStringRef& r) { return os << r.str(); }
  friend std::string operator+(const TStringRef& a, const std::string& b) { return a.str() + b; }
  friend std::string operator+(const std::string& a, const TStringRef& b) { return a + b.str(); }
  friend std::string operator+(const TStringRef& a, const char* b) { return a.str() + b; }
  friend std::string operator+(const char* a, const TStringRef& b) { return a + b.str(); }

 private:
  TStrings* FOwner;
  int FIndex;
};
class TObjectRef {
 public:
  TObjectRef(TStrings* owner, int index) : FOwner(owner), FIndex(index) {}
  operator TObject*() const;
  TObject* operator->() const { return *this; }
  TObjectRef& operator=(TObject* o);
  TObjectRef& operator=(const TObjectRef& other) { return *this = static_cast<TObject*>(other); }

 private:
  TStrings* FOwner;
  int FIndex;
};
class TValueRef {
 public:
  TValueRef(TStrings* owner, std::string name) : FOwner(owner), FName(std::move(name)) {}
  operator std::string() const { return str(); }
  std::string str() const;
  TValueRef& operator=(const std::string& s);
  friend bool operator==(const TValueRef& a, const std::string& b) { return a.str() == b; }
  friend bool operator==(const TValueRef& a, const char* b) { return a.str() == b; }
  friend std::ostream& operator<<(std::ostream& os, const TValueRef& r) { return os << r.str(); }

 private:
  TStrings* FOwner;
  std::string FName;
};
struct TStringsProp {
  TStrings* Owner;
  TStringRef operator[](int i) const { return TStringRef(Owner, i); }
};
struct TObjectsProp {
  TStrings* Owner;
  TObjectRef operator[](int i) const { return TObjectRef(Owner, i); }
};
struct TNamesProp {
  TStrings* Owner;
  std::string operator[](int i) const;
};
struct TValuesProp {
  TStrings* Owner;
  TValueRef operator[](const std::string& name) const { return TValueRef(Owner, name); }
};
}  // namespace detail

// An abstract list of strings, each with an object slot. The object slot may
// also hold a plain integer (GetIntObject / PutIntObject / AddIntObject).
// Text joins the lines with CR LF; reading accepts CR LF, LF and CR.
class TStrings : public TObject {
 public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // The element access a concrete list provides.
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);
  virtual TObject* GetObjectAt(int index) const;
  virtual void PutObjectAt(int index, TObject* obj);
  virtual void Clear() = 0;
  virtual void Delete(int index) = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void InsertObject(int index, const std::string& s, TObject* obj);

  virtual int Add(const std::string& s);
  virtual int AddObject(const std::string& s, TObject* obj);
  int AddIntObject(const std::string& s, intptr_t value) { return AddObject(s, IntToObject(value)); }
  intptr_t GetIntObject(int index) const { return ObjectToInt(GetObjectAt(index)); }
  void PutIntObject(int index, intptr_t value) { PutObjectAt(index, IntToObject(value)); }
  static TObject* IntToObject(intptr_t v) { return reinterpret_cast<TObject*>(v); }
  static intptr_t ObjectToInt(TObject* o) { return reinterpret_cast<intptr_t>(o); }

  void Append(const std::string& s) { Add(s); }
  virtual void AddStrings(const TStrings& strings);
  virtual void Assign(const TStrings& source);
  virtual int IndexOf(const std::string& s) const;  // case-insensitive; -1 if none
  int IndexOfName(const std::string& name) const;   // case-insensitive
  int IndexOfObject(TObject* obj) const;
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  bool Equals(const TStrings& other) const;

  std::string operator[](int index) const { return Get(index); }
  std::string Text() const;
  void SetText(const std::string& text);
  std::string CommaText() const;
  void SetCommaText(const std::string& text);
  std::string DelimitedText(char delimiter = ',', char quote = '"') const;
  void SetDelimitedText(const std::string& text, char delimiter = ',', char quote = '"');
  std::string Name(int index) const;            // text before the first "="
  std::string ValueFromIndex(int index) const;  // text after the first "="
  std::string Value(const std::string& name) const;
  void SetValue(const std::string& name, const std::string& value);  // "" deletes

  virtual void LoadFromFile(const std::string& fileName);
  virtual void SaveToFile(const std::string& fileName) const;
  virtual void LoadFromStream(class TStream& stream);
  virtual void SaveToStream(class TStream& stream) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Properties in Pascal form; see detail:: above.
  detail::TStringsProp Strings{this};
  detail::TObjectsProp Objects{this};
  detail::TNamesProp Names{this};
  detail::TValuesProp Values{this};

  // Called around every change (outside BeginUpdate/EndUpdate pairs, and once at
  // the outermost EndUpdate).
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Derived lists call these around their changes.
  virtual void Changing();
  virtual void Changed();
  virtual void SetUpdateState(bool updating);  // Changing() / Changed()
  // Case rules for IndexOf/IndexOfName; TStringList makes them follow CaseSensitive.
  virtual int CompareStrings(const std::string& a, const std::string& b) const;
  void Error(const std::string& fmt, int index) const;  // raises EStringListError

 private:
  int FUpdateCount = 0;
};

using TStringListSortCompare = std::function<int(class TStringList& list, int index1, int index2)>;

// The in-memory string list: optional sorting, duplicate handling, case rule.
// "List index out of bounds (%d)", "String list does not allow duplicates"
// and "Operation not allowed on sorted string list" are raised as EStringListError.
class TStringList : public TStrings {
 public:
  TStringList() = default;
  ~TStringList() override;

  int Count() const override { return static_cast<int>(FList.size()); }
  std::string Get(int index) const override;
  const std::string& GetRef(int index) const;
  void Put(int index, const std::string& s) override;
  TObject* GetObjectAt(int index) const override;
  void PutObjectAt(int index, TObject* obj) override;
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const std::string& s) override;
  void InsertObject(int index, const std::string& s, TObject* obj) override;
  int Add(const std::string& s) override;
  int AddObject(const std::string& s, TObject* obj) override;
  int IndexOf(const std::string& s) const override;
  void Exchange(int index1, int index2) override;

  // Binary search of a sorted list: true when found; index is the match or the
  // insertion point. With dupIgnore/dupError the first of equal entries.
  virtual bool Find(const std::string& s, int& index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value) { FDuplicates = value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value);
  // When set, the list deletes its objects when they are removed or the list dies.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool value) { FOwnsObjects = value; }

 protected:
  int CompareStrings(const std::string& a, const std::string& b) const override;

 private:
  struct TItem {
    std::string S;
    TObject* O = nullptr;
  };
  void InsertItem(int index, const std::string& s, TObject* obj);
  void CheckIndex(int index) const;
  std::vector<TItem> FList;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
};

// ---- Streams -------------------------------------------------------------

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

// A sequential/random-access byte stream. Read and Write move as many bytes as
// they can and return the count; ReadBuffer and WriteBuffer insist on all of
// them ("Stream read error" / "Stream write error").
class TStream : public TObject {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t newSize);

  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source's position; count 0 copies all of source
  // from its beginning. Returns the count copied.
  int64_t CopyFrom(TStream& source, int64_t count);

  // Conveniences for fixed-size values (little-endian as in memory).
  template <class T>
  void ReadValue(T& v) { ReadBuffer(&v, sizeof(T)); }
  template <class T>
  void WriteValue(const T& v) { WriteBuffer(&v, sizeof(T)); }
};

using THandle = intptr_t;
constexpr THandle INVALID_FILE_HANDLE = -1;

// File open modes: one access mode or fmCreate, plus one share mode.
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;
constexpr uint16_t fmCreate = 0xFFFF;  // create or truncate, read/write, exclusive

// A stream over an operating-system file handle (FileUtils.h's FileOpen).
class THandleStream : public TStream {
 public:
  explicit THandleStream(THandle handle) : FHandle(handle) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;
  THandle Handle() const { return FHandle; }

 protected:
  THandle FHandle;
};

// A named file: "Cannot open file %s" (EFOpenError) or "Cannot create file %s"
// (EFCreateError) when it cannot be had.
class TFileStream : public THandleStream {
 public:
  TFileStream(const std::string& fileName, uint16_t mode);
  ~TFileStream() override;
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
};

// A stream over a growable memory block.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t newSize) override;
  void Clear();
  uint8_t* Memory() { return FData.data(); }
  const uint8_t* Memory() const { return FData.data(); }
  const std::vector<uint8_t>& Bytes() const { return FData; }
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// A stream over a std::string.
class TStringStream : public TStream {
 public:
  explicit TStringStream(std::string data = {}) : FData(std::move(data)) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t newSize) override;
  std::string ReadString(int64_t count);
  void WriteString(const std::string& s) { WriteBuffer(s.data(), static_cast<int64_t>(s.size())); }
  const std::string& DataString() const { return FData; }

 private:
  std::string FData;
  int64_t FPosition = 0;
};

}  // namespace tq
