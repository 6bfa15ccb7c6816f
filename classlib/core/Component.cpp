#include "Component.h"

#include <algorithm>

namespace tq {

// ---- TPersistent ------------------------------------------------------------

const TPropertyTable& TPersistent::ClassProperties() {
  static const TPropertyTable table("TPersistent", {});
  return table;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a %s to a %s", {ClassName(), dest.ClassName()});
}

// ---- Collections ------------------------------------------------------------

int TCollectionItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

TCollection::~TCollection() {
  for (auto* item : FItems) delete item;
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = FFactory();
  item->FCollection = this;
  FItems.push_back(item);
  Changed();
  return item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  std::vector<TCollectionItem*> items;
  items.swap(FItems);
  for (auto* item : items) delete item;
  Changed();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", {index});
  TCollectionItem* item = FItems[static_cast<size_t>(index)];
  FItems.erase(FItems.begin() + index);
  delete item;
  Changed();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", {index});
  return FItems[static_cast<size_t>(index)];
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TCollection::Assign(const TPersistent& source) {
  auto* src = dynamic_cast<const TCollection*>(&source);
  if (!src) {
    TPersistent::Assign(source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (auto* item : src->FItems) Add()->Assign(*item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- TComponent -------------------------------------------------------------

const TPropertyTable& TComponent::ClassProperties() {
  // The component name travels in the record's header, so the property is
  // not stored; classes with a text field of their own called Name replace it.
  static const TPropertyTable table =
      TPropertyBuilder<TComponent>("TComponent", TPersistent::ClassProperties())
          .String("Name", &TComponent::Name, &TComponent::SetName)
          .Stored(false)
          .Integer("Tag", &TComponent::Tag, &TComponent::SetTag)
          .Default(0)
          .Build();
  return table;
}

bool IsValidIdent(const std::string& ident) {
  if (ident.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(ident[0])) return false;
  for (char c : ident)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    // The other side drops us from its own list; we drop it from ours.
    auto& theirs = c->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'%s' is not a valid component name", {name});
  if (FOwner && !name.empty()) {
    TComponent* other = FOwner->FindComponent(name);
    if (other && other != this) throw EComponentError("A component named %s already exists", {name});
  }
  FName = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError("List index out of bounds (%d)", {index});
  PackComponents();
  return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  FOwner->PackComponents();
  return static_cast<int>(FOwnerSlot);
}

void TComponent::PackComponents() const {
  if (FComponentGaps == 0) return;
  size_t to = 0;
  for (TComponent* c : FComponents)
    if (c) {
      c->FOwnerSlot = to;
      FComponents[to++] = c;
    }
  FComponents.resize(to);
  FComponentGaps = 0;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (auto* c : FComponents)
    if (c && SameText(c->FName, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->FOwner == this) return;
  if (!component->FName.empty() && FindComponent(component->FName))
    throw EComponentError("A component named %s already exists", {component->FName});
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  component->FOwnerSlot = FComponents.size();
  FComponents.push_back(component);
  component->FOwner = this;
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->FOwner != this) return;
  Notification(component, opRemove);
  FComponents[component->FOwnerSlot] = nullptr;
  ++FComponentGaps;
  while (!FComponents.empty() && !FComponents.back()) {
    FComponents.pop_back();
    --FComponentGaps;
  }
  if (FComponentGaps > 16 && FComponentGaps * 2 > FComponents.size()) PackComponents();
  component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    RemoveComponent(c);
    delete c;
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
  auto& theirs = component->FFreeNotifies;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
  auto& theirs = component->FFreeNotifies;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
}

void TComponent::GetChildren(const std::function<void(TComponent&)>& proc) {
  PackComponents();
  for (auto* c : std::vector<TComponent*>(FComponents)) proc(*c);
}

}  // namespace tq
