#include "ClassRegistry.h"

#include <memory>
#include <mutex>

namespace tq {

namespace {
struct TClassList {
  std::mutex Lock;
  // Entries stay where they are, so the pointers handed out remain valid.
  std::vector<std::unique_ptr<TComponentClass>> Classes;
};
TClassList& ClassList() {
  static TClassList list;
  return list;
}
}  // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
  auto& list = ClassList();
  std::lock_guard<std::mutex> g(list.Lock);
  for (auto& c : list.Classes)
    if (SameText(c->Name, className)) {
      c->Create = std::move(factory);
      return;
    }
  list.Classes.push_back(std::make_unique<TComponentClass>(TComponentClass{className, std::move(factory)}));
}

void UnRegisterClass(const std::string& className) {
  auto& list = ClassList();
  std::lock_guard<std::mutex> g(list.Lock);
  for (auto& c : list.Classes)
    if (SameText(c->Name, className)) c->Create = nullptr;
}

const TComponentClass* GetClass(const std::string& className) {
  auto& list = ClassList();
  std::lock_guard<std::mutex> g(list.Lock);
  for (auto& c : list.Classes)
    if (c->Create && SameText(c->Name, className)) return c.get();
  return nullptr;
}

const TComponentClass& FindClass(const std::string& className) {
  const TComponentClass* c = GetClass(className);
  if (!c) throw EClassNotFound("Class %s not found", {className});
  return *c;
}

}  // namespace tq
