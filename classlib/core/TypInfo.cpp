#include "TypInfo.h"

#include <map>
#include <mutex>

#include "Classes.h"
#include "Component.h"
#include "SysUtils.h"

namespace tq {

TIdentMap::TIdentMap(std::string typeName, std::vector<TIdentMapEntry> entries)
    : FTypeName(std::move(typeName)), FEntries(std::move(entries)) {}

bool TIdentMap::IdentToInt(const std::string& ident, int32_t& value) const {
  for (const auto& e : FEntries)
    if (SameText(ident, e.Name)) {
      value = e.Value;
      return true;
    }
  return false;
}

bool TIdentMap::IntToIdent(int32_t value, std::string& ident) const {
  for (const auto& e : FEntries)
    if (e.Value == value) {
      ident = e.Name;
      return true;
    }
  return false;
}

TEnumNames::TEnumNames(std::string typeName, std::vector<std::string> names)
    : FTypeName(std::move(typeName)), FNames(std::move(names)) {}

int TEnumNames::ValueOf(const std::string& name) const {
  for (size_t i = 0; i < FNames.size(); ++i)
    if (SameText(name, FNames[i])) return static_cast<int>(i);
  return -1;
}

std::string TEnumNames::SetToString(uint32_t set) const {
  std::string s = "[";
  bool first = true;
  for (size_t i = 0; i < FNames.size() && i < 32; ++i)
    if (set & (uint32_t{1} << i)) {
      if (!first) s += ", ";
      s += FNames[i];
      first = false;
    }
  return s + "]";
}

namespace {
struct TConstRegistry {
  std::mutex Lock;
  std::vector<const TIdentMap*> Maps;
};
TConstRegistry& ConstRegistry() {
  static TConstRegistry r;
  return r;
}
}  // namespace

void RegisterIntegerConsts(const TIdentMap& map) {
  auto& r = ConstRegistry();
  std::lock_guard<std::mutex> g(r.Lock);
  for (auto*& m : r.Maps)
    if (SameText(m->TypeName(), map.TypeName())) {
      m = &map;
      return;
    }
  r.Maps.push_back(&map);
}

const TIdentMap* FindIntegerConsts(const std::string& typeName) {
  auto& r = ConstRegistry();
  std::lock_guard<std::mutex> g(r.Lock);
  for (auto* m : r.Maps)
    if (SameText(m->TypeName(), typeName)) return m;
  return nullptr;
}

bool FindIntegerConst(const std::string& ident, int32_t& value) {
  auto& r = ConstRegistry();
  std::lock_guard<std::mutex> g(r.Lock);
  for (auto* m : r.Maps)
    if (m->IdentToInt(ident, value)) return true;
  return false;
}

bool TPropInfo::IsDefault(TPersistent& obj) const {
  switch (Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64:
    case TPropKind::Boolean:
    case TPropKind::Enumeration:
    case TPropKind::Set:
      return HasDefault && GetOrd(obj) == DefaultOrd;
    case TPropKind::Float:
      return GetFloat(obj) == 0.0;
    case TPropKind::String:
      return GetStr(obj).empty();
    case TPropKind::Strings: {
      TStrings* s = GetStrings(obj);
      return s == nullptr || s->Count() == 0;
    }
    case TPropKind::Object:
      return GetNested(obj) == nullptr;
    case TPropKind::Collection: {
      TCollection* c = GetCollection(obj);
      return c == nullptr || c->Count() == 0;
    }
  }
  return false;
}

const TPropInfo* TPropertyTable::Find(const std::string& name) const {
  for (const auto& p : FProps)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

size_t PutProperty(std::vector<TPropInfo>& props, TPropInfo p) {
  for (size_t i = 0; i < props.size(); ++i)
    if (SameText(props[i].Name, p.Name)) {
      props[i] = std::move(p);
      return i;
    }
  props.push_back(std::move(p));
  return props.size() - 1;
}

}  // namespace tq
