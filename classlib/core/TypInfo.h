#pragma once
// Published properties: a table per class that lists, in stream order, the
// properties a component stream stores, each with its kind, accessors, default
// and stored rule; plus the tables of names behind identifier values (named
// integer constants, enumerations and set elements).
//
// A class publishes its properties by declaring TQ_PUBLISHED in its body and
// defining ClassProperties() once, starting from its ancestor's table:
//
//   class TMyItem : public TComponent {
//    public:
//     using TComponent::TComponent;
//     TQ_PUBLISHED(TMyItem)
//     std::string FName;                  // the item's own text "Name"
//     int FRoot = -1;
//     TStringList FFiles;
//     TFont FFont;
//     bool FVisible = true;
//     void SetRoot(int v) { FRoot = v; /* change handler */ }
//   };
//
//   const TPropertyTable& TMyItem::ClassProperties() {
//     static const TPropertyTable table =
//         TPropertyBuilder<TMyItem>("TMyItem", TComponent::ClassProperties())
//             .String("Name", &TMyItem::FName)           // takes the place of the
//                                                        // inherited Name, before Tag
//             .Integer("Root", [](const TMyItem& c) { return c.FRoot; }, &TMyItem::SetRoot)
//             .Strings("Files", &TMyItem::FFiles)       // "Files.Strings"
//             .Object("Font", &TMyItem::FFont)          // "Font.Color", ...
//             .Boolean("Visible", &TMyItem::FVisible)   // no default: always written
//             .Build();
//     return table;
//   }
//
// Accessors are a data member pointer, a member function, or a callable taking
// the object (const for getters). A property added under the name of an
// inherited one takes its place in the order (a redeclaration); others follow
// the inherited ones in the order added. Modifiers apply to the property just
// added: .Default(v), .NoDefault(), .Stored(false) or .Stored(predicate),
// .Idents(map) (an Integer written as an identifier when the map names it).
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace tq {

class TObject;
class TPersistent;
class TStrings;
class TCollection;

// ---- Names behind identifier values ----------------------------------------

struct TIdentMapEntry {
  int32_t Value;
  const char* Name;
};

// A two-way map between integer values and their identifiers ("clBlue"). The
// first entry with a given value is the name written for it; later entries are
// read-only aliases. Identifiers compare without regard to letter case.
class TIdentMap {
 public:
  TIdentMap(std::string typeName, std::vector<TIdentMapEntry> entries);
  const std::string& TypeName() const { return FTypeName; }
  bool IdentToInt(const std::string& ident, int32_t& value) const;
  bool IntToIdent(int32_t value, std::string& ident) const;
  const std::vector<TIdentMapEntry>& Entries() const { return FEntries; }

 private:
  std::string FTypeName;
  std::vector<TIdentMapEntry> FEntries;
};

// The element names of an enumeration or of a set's element type, in ordinal
// order (element i is bit i of a set).
class TEnumNames {
 public:
  TEnumNames(std::string typeName, std::vector<std::string> names);
  const std::string& TypeName() const { return FTypeName; }
  int Count() const { return static_cast<int>(FNames.size()); }
  const std::string& Name(int ordinal) const { return FNames.at(static_cast<size_t>(ordinal)); }
  int ValueOf(const std::string& name) const;  // -1 when not an element
  // Set text "[a, b]" and back (the order of the elements is ordinal order).
  std::string SetToString(uint32_t set) const;

 private:
  std::string FTypeName;
  std::vector<std::string> FNames;
};

// Registered integer constants by type name ("TColor", "TFontCharset") and the
// search over all of them that a text reader needs for a bare identifier.
void RegisterIntegerConsts(const TIdentMap& map);
const TIdentMap* FindIntegerConsts(const std::string& typeName);
bool FindIntegerConst(const std::string& ident, int32_t& value);  // any registered map

// ---- Property tables --------------------------------------------------------

enum class TPropKind {
  Integer,      // int32, optionally with named constants
  Int64,
  Boolean,
  Enumeration,  // ordinal with element names, stored as an identifier
  Set,          // bit mask over element names
  Float,
  String,
  Strings,      // a string list, stored under "<Prop>.Strings"
  Object,       // a nested persistent (a font, a node list): its properties
                // are stored under "<Prop>.<Sub>"
  Collection    // a collection of items (value tag 14)
};

struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::Integer;
  const TIdentMap* Idents = nullptr;   // Integer
  const TEnumNames* Names = nullptr;   // Enumeration, Set
  // Default: ordinals (Integer, Int64, Boolean, Enumeration, Set) are stored
  // always unless a default is declared; Float when not 0; String when not
  // empty; Strings when not empty; Collection when it has items.
  bool HasDefault = false;
  int64_t DefaultOrd = 0;
  std::function<bool(const TPersistent&)> StoredFn;  // empty: stored

  std::function<int64_t(const TPersistent&)> GetOrd;
  std::function<void(TPersistent&, int64_t)> SetOrd;
  std::function<double(const TPersistent&)> GetFloat;
  std::function<void(TPersistent&, double)> SetFloat;
  std::function<std::string(const TPersistent&)> GetStr;
  std::function<void(TPersistent&, const std::string&)> SetStr;
  std::function<TStrings*(TPersistent&)> GetStrings;
  std::function<TPersistent*(TPersistent&)> GetNested;
  std::function<void(TPersistent&, TPersistent*)> SetNested;  // optional: nil
  std::function<TCollection*(TPersistent&)> GetCollection;

  bool IsStored(const TPersistent& obj) const { return !StoredFn || StoredFn(obj); }
  // True when the value equals the default, so that a writer leaves it out.
  bool IsDefault(TPersistent& obj) const;
};

class TPropertyTable {
 public:
  TPropertyTable() = default;
  TPropertyTable(std::string className, std::vector<TPropInfo> props)
      : FClassName(std::move(className)), FProps(std::move(props)) {}
  const std::string& ClassName() const { return FClassName; }
  const std::vector<TPropInfo>& Props() const { return FProps; }
  int Count() const { return static_cast<int>(FProps.size()); }
  const TPropInfo* Find(const std::string& name) const;  // case-insensitive

 private:
  std::string FClassName;
  std::vector<TPropInfo> FProps;
};

namespace detail {

template <class M>
struct MemberFnArg;
template <class C, class R, class A>
struct MemberFnArg<R (C::*)(A)> {
  using type = std::remove_cvref_t<A>;
};
template <class C, class R, class A>
struct MemberFnArg<R (C::*)(A) noexcept> {
  using type = std::remove_cvref_t<A>;
};

template <class C, class T, class G>
std::function<T(const C&)> MakeGetter(G g) {
  if constexpr (std::is_member_object_pointer_v<G>)
    return [g](const C& c) -> T { return static_cast<T>(c.*g); };
  else if constexpr (std::is_member_function_pointer_v<G>)
    return [g](const C& c) -> T { return static_cast<T>((c.*g)()); };
  else
    return [g](const C& c) -> T { return static_cast<T>(g(c)); };
}

template <class C, class T, class S>
std::function<void(C&, T)> MakeSetter(S s) {
  if constexpr (std::is_member_object_pointer_v<S>) {
    return [s](C& c, T v) {
      using F = std::remove_reference_t<decltype(c.*s)>;
      c.*s = static_cast<F>(v);
    };
  } else if constexpr (std::is_member_function_pointer_v<S>) {
    return [s](C& c, T v) {
      using A = typename MemberFnArg<S>::type;
      (c.*s)(static_cast<A>(v));
    };
  } else {
    return [s](C& c, T v) { s(c, v); };
  }
}

// Access to an owned sub-object: a data member (object or pointer) or a callable
// returning a pointer or reference.
template <class C, class R, class G>
std::function<R*(TPersistent&)> MakeObjectGetter(G g) {
  return [g](TPersistent& p) -> R* {
    C& c = static_cast<C&>(p);
    if constexpr (std::is_member_object_pointer_v<G>) {
      auto& m = c.*g;
      if constexpr (std::is_pointer_v<std::remove_reference_t<decltype(m)>>)
        return m;
      else
        return &m;
    } else {
      decltype(auto) r = std::invoke(g, c);
      if constexpr (std::is_pointer_v<std::remove_reference_t<decltype(r)>>)
        return r;
      else
        return &r;
    }
  };
}

}  // namespace detail

// Builds the table of class C (see the example at the top of this file).
template <class C>
class TPropertyBuilder {
 public:
  TPropertyBuilder(std::string className, const TPropertyTable& inherited)
      : FClassName(std::move(className)), FProps(inherited.Props()) {}

  template <class G, class S>
  TPropertyBuilder& Integer(std::string name, G get, S set) {
    return Ordinal<int32_t>(std::move(name), TPropKind::Integer, get, set);
  }
  template <class M>
  TPropertyBuilder& Integer(std::string name, M member) { return Integer(std::move(name), member, member); }

  template <class G, class S>
  TPropertyBuilder& Int64(std::string name, G get, S set) {
    return Ordinal<int64_t>(std::move(name), TPropKind::Int64, get, set);
  }
  template <class M>
  TPropertyBuilder& Int64(std::string name, M member) { return Int64(std::move(name), member, member); }

  template <class G, class S>
  TPropertyBuilder& Boolean(std::string name, G get, S set) {
    auto g = detail::MakeGetter<C, bool>(get);
    auto s = detail::MakeSetter<C, bool>(set);
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Boolean;
    p.GetOrd = [g](const TPersistent& o) -> int64_t { return g(static_cast<const C&>(o)) ? 1 : 0; };
    p.SetOrd = [s](TPersistent& o, int64_t v) { s(static_cast<C&>(o), v != 0); };
    return Put(std::move(p));
  }
  template <class M>
  TPropertyBuilder& Boolean(std::string name, M member) { return Boolean(std::move(name), member, member); }

  template <class G, class S>
  TPropertyBuilder& Enum(std::string name, const TEnumNames& names, G get, S set) {
    Ordinal<int32_t>(std::move(name), TPropKind::Enumeration, get, set);
    FProps[FLast].Names = &names;
    return *this;
  }
  template <class M>
  TPropertyBuilder& Enum(std::string name, const TEnumNames& names, M member) {
    return Enum(std::move(name), names, member, member);
  }

  // A set as a bit mask: bit i is element i of names.
  template <class G, class S>
  TPropertyBuilder& Set(std::string name, const TEnumNames& names, G get, S set) {
    Ordinal<uint32_t>(std::move(name), TPropKind::Set, get, set);
    FProps[FLast].Names = &names;
    return *this;
  }
  template <class M>
  TPropertyBuilder& Set(std::string name, const TEnumNames& names, M member) {
    return Set(std::move(name), names, member, member);
  }

  template <class G, class S>
  TPropertyBuilder& Float(std::string name, G get, S set) {
    auto g = detail::MakeGetter<C, double>(get);
    auto s = detail::MakeSetter<C, double>(set);
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Float;
    p.GetFloat = [g](const TPersistent& o) { return g(static_cast<const C&>(o)); };
    p.SetFloat = [s](TPersistent& o, double v) { s(static_cast<C&>(o), v); };
    return Put(std::move(p));
  }
  template <class M>
  TPropertyBuilder& Float(std::string name, M member) { return Float(std::move(name), member, member); }

  template <class G, class S>
  TPropertyBuilder& String(std::string name, G get, S set) {
    auto g = detail::MakeGetter<C, std::string>(get);
    auto s = detail::MakeSetter<C, const std::string&>(set);
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TPropKind::String;
    p.GetStr = [g](const TPersistent& o) { return g(static_cast<const C&>(o)); };
    p.SetStr = [s](TPersistent& o, const std::string& v) { s(static_cast<C&>(o), v); };
    return Put(std::move(p));
  }
  template <class M>
  TPropertyBuilder& String(std::string name, M member) { return String(std::move(name), member, member); }

  // A string list owned by the object (member TStringList, member pointer, or a
  // callable returning it). Reading empties it and adds each string.
  template <class G>
  TPropertyBuilder& Strings(std::string name, G get) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Strings;
    p.GetStrings = detail::MakeObjectGetter<C, TStrings>(get);
    return Put(std::move(p));
  }

  // A nested persistent (TFont, a node list). With a setter, nil can be stored.
  template <class G>
  TPropertyBuilder& Object(std::string name, G get) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Object;
    p.GetNested = detail::MakeObjectGetter<C, TPersistent>(get);
    return Put(std::move(p));
  }
  template <class G, class S>
  TPropertyBuilder& Object(std::string name, G get, S set) {
    Object(std::move(name), get);
    auto s = detail::MakeSetter<C, TPersistent*>(set);
    FProps[FLast].SetNested = [s](TPersistent& o, TPersistent* v) { s(static_cast<C&>(o), v); };
    return *this;
  }

  template <class G>
  TPropertyBuilder& Collection(std::string name, G get) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Collection;
    p.GetCollection = detail::MakeObjectGetter<C, TCollection>(get);
    return Put(std::move(p));
  }

  // Modifiers of the property added last.
  TPropertyBuilder& Default(int64_t value) {
    FProps[FLast].HasDefault = true;
    FProps[FLast].DefaultOrd = value;
    return *this;
  }
  TPropertyBuilder& NoDefault() {
    FProps[FLast].HasDefault = false;
    return *this;
  }
  TPropertyBuilder& Stored(bool stored) {
    if (stored)
      FProps[FLast].StoredFn = nullptr;
    else
      FProps[FLast].StoredFn = [](const TPersistent&) { return false; };
    return *this;
  }
  TPropertyBuilder& Stored(std::function<bool(const C&)> pred) {
    FProps[FLast].StoredFn = [pred](const TPersistent& o) { return pred(static_cast<const C&>(o)); };
    return *this;
  }
  TPropertyBuilder& Idents(const TIdentMap& map) {
    FProps[FLast].Idents = &map;
    return *this;
  }

  TPropertyTable Build() { return TPropertyTable(FClassName, std::move(FProps)); }

 private:
  template <class T, class G, class S>
  TPropertyBuilder& Ordinal(std::string name, TPropKind kind, G get, S set) {
    auto g = detail::MakeGetter<C, T>(get);
    auto s = detail::MakeSetter<C, T>(set);
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.GetOrd = [g](const TPersistent& o) -> int64_t { return static_cast<int64_t>(g(static_cast<const C&>(o))); };
    p.SetOrd = [s](TPersistent& o, int64_t v) { s(static_cast<C&>(o), static_cast<T>(v)); };
    return Put(std::move(p));
  }
  TPropertyBuilder& Put(TPropInfo p);

  std::string FClassName;
  std::vector<TPropInfo> FProps;
  size_t FLast = 0;
};

// Replaces an inherited property of the same name in place; appends otherwise.
size_t PutProperty(std::vector<TPropInfo>& props, TPropInfo p);

template <class C>
TPropertyBuilder<C>& TPropertyBuilder<C>::Put(TPropInfo p) {
  FLast = PutProperty(FProps, std::move(p));
  return *this;
}

// Declares, in a class body, the class's property table and the overrides that
// make the stream and the class registry see it under its own name.
#define TQ_PUBLISHED(ClassType)                                                \
  static const ::tq::TPropertyTable& ClassProperties();                        \
  const ::tq::TPropertyTable& Properties() const override { return ClassProperties(); } \
  std::string ClassName() const override { return #ClassType; }

}  // namespace tq
