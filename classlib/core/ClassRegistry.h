#pragma once
// The classes a component stream may name when it makes a component: class
// name -> factory. Readers that read into an existing object ignore the name.
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "Component.h"

namespace tq {

TQ_EXCEPTION_CLASS(EClassNotFound, EFilerError);  // "Class %s not found"

// Makes a new component of the class, owned by owner.
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

struct TComponentClass {
  std::string Name;
  TComponentFactory Create;
};

// Registers (or re-registers) a class under its name; names compare without
// regard to letter case. (windows.h defines RegisterClass as a macro: code that
// sees both may call RegisterComponentClass instead.)
void RegisterComponentClass(const std::string& className, TComponentFactory factory);
inline void RegisterClass(const std::string& className, TComponentFactory factory) {
  RegisterComponentClass(className, std::move(factory));
}
// Registers T under the class name its objects report.
template <class T>
void RegisterComponentClass() {
  T probe(nullptr);
  RegisterComponentClass(probe.ClassName(), [](TComponent* owner) -> TComponent* { return new T(owner); });
}
template <class T>
void RegisterClass() {
  RegisterComponentClass<T>();
}
void UnRegisterClass(const std::string& className);
// nullptr when not registered.
const TComponentClass* GetClass(const std::string& className);
// Raises EClassNotFound "Class %s not found" when not registered.
const TComponentClass& FindClass(const std::string& className);

}  // namespace tq
