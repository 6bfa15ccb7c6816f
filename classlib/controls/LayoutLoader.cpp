#include "LayoutLoader.h"

namespace tq {

void RegisterStandardControlClasses();  // StandardClasses.cpp

bool TLayoutComponent::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Tag")) {
    SetTag(prop.Value.AsInt());
    return true;
  }
  return false;
}

void TLayoutComponent::AddLayoutChild(TComponent* child) {}

TComponent* CreateComponentOfClass(const std::string& className, TComponent* owner) {
  RegisterStandardControlClasses();
  return FindClass(className).Create(owner);
}

bool TFieldTable::Assign(const std::string& name, TComponent* c, bool& found) const {
  auto it = FEntries.find(name);
  found = it != FEntries.end();
  return !found || it->second(c);
}

std::vector<std::string> TFieldTable::Names() const {
  std::vector<std::string> out;
  for (const auto& e : FEntries) out.push_back(e.first);
  return out;
}

void TLayoutLoader::Fail(const TLayoutProperty& prop, const std::string& what) const { Fail(prop.Line, what); }

void TLayoutLoader::Fail(int line, const std::string& what) const {
  throw ELayoutError(Format("Layout line %d: %s", {line, what}));
}

const std::string& TLayoutLoader::HandlerName(const TLayoutProperty& prop) const {
  if (prop.Value.Kind != TLayoutValue::lvIdent) Fail(prop, "handler name expected for " + prop.Name);
  return prop.Value.Str;
}

TComponent* TLayoutLoader::FindByName(const std::string& name) const {
  if (SameText(FRoot->Name(), name)) return FRoot;
  for (TLayoutComponent* c : FMade)
    if (SameText(c->Name(), name)) return c;
  return nullptr;
}

void TLayoutLoader::ApplyProperties(TLayoutComponent* target, const TLayoutNode& node) {
  for (const TLayoutProperty& prop : node.Properties) {
    bool known;
    try {
      known = target->SetLayoutProperty(prop, *this);
    } catch (const ELayoutError& e) {
      if (StartsText("Layout line", e.Message)) throw;
      Fail(prop, e.Message);
    } catch (const Exception& e) {
      Fail(prop, prop.Name + ": " + e.Message);
    }
    if (!known) Fail(prop, "unknown property " + prop.Name + " of " + node.ClassName);
  }
}

void TLayoutLoader::CreateChildren(TLayoutComponent* parent, const TLayoutNode& node) {
  for (const TLayoutNode& childNode : node.Children) {
    if (childNode.Name.empty()) Fail(childNode.Line, "object without a name");
    if (FindByName(childNode.Name)) Fail(childNode.Line, "a second object named " + childNode.Name);
    TComponent* made;
    try {
      made = CreateComponentOfClass(childNode.ClassName, FRoot);
    } catch (const Exception& e) {
      Fail(childNode.Line, e.Message);
    }
    auto* child = dynamic_cast<TLayoutComponent*>(made);
    if (!child) {
      delete made;
      Fail(childNode.Line, "class " + childNode.ClassName + " cannot be used in a layout");
    }
    child->SetName(childNode.Name);
    child->FLayoutLoading = true;
    FMade.push_back(child);
    bool found = false;
    if (!FFields.Assign(childNode.Name, child, found))
      Fail(childNode.Line, childNode.Name + " is not of the class its field expects");
    if (found) FFieldsFound.push_back(childNode.Name);
    // The properties first, so that a window made when the child is placed
    // gets them at once.
    ApplyProperties(child, childNode);
    parent->AddLayoutChild(child);
    CreateChildren(child, childNode);
  }
}

void TLayoutLoader::Load(const TLayoutNode& node) {
  if (!node.Name.empty() && FRoot->Name().empty()) FRoot->SetName(node.Name);
  FRoot->FLayoutLoading = true;
  ApplyProperties(FRoot, node);
  CreateChildren(FRoot, node);
  for (const TFixup& f : FFixups) {
    const std::string& name = f.Prop.Value.AsString();
    TComponent* c = FindByName(name);
    if (!c) Fail(f.Prop, "unknown component " + name + " for " + f.Prop.Name);
    if (!f.Set(c)) Fail(f.Prop, name + " is of the wrong class for " + f.Prop.Name);
  }
  for (const std::string& field : FFields.Names()) {
    bool seen = false;
    for (const std::string& n : FFieldsFound)
      if (SameText(n, field)) seen = true;
    if (!seen) Fail(node.Line, "the layout has no component " + field);
  }
  for (TLayoutComponent* c : FMade) c->FLayoutLoading = false;
  FRoot->FLayoutLoading = false;
  for (auto it = FMade.rbegin(); it != FMade.rend(); ++it) (*it)->Loaded();
  FRoot->Loaded();
}

unsigned LayoutSetValue(const TLayoutProperty& prop, TLayoutLoader& loader,
                        std::initializer_list<std::pair<const char*, unsigned>> members) {
  if (prop.Value.Kind != TLayoutValue::lvSet) loader.Fail(prop, "set expected for " + prop.Name);
  unsigned bits = 0;
  for (const std::string& m : prop.Value.Set) {
    bool ok = false;
    for (const auto& [name, bit] : members)
      if (SameText(m, name)) {
        bits |= bit;
        ok = true;
      }
    if (!ok) loader.Fail(prop, "unknown member " + m + " of " + prop.Name);
  }
  return bits;
}

int LayoutEnumValue(const TLayoutProperty& prop, TLayoutLoader& loader,
                    std::initializer_list<std::pair<const char*, int>> members) {
  if (prop.Value.Kind == TLayoutValue::lvIdent)
    for (const auto& [name, value] : members)
      if (SameText(prop.Value.Str, name)) return value;
  loader.Fail(prop, "unknown value " + prop.Value.Describe() + " for " + prop.Name);
}

}  // namespace tq
