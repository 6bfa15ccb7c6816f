#pragma once
// Building windows from layouts: the class registry (class name -> factory),
// the handler and field tables a form fills with its own methods and members,
// and the loader that creates the layout's components, sets their properties,
// connects their events to handlers by name and assigns the form's fields.
//
// A layout names a handler that the form did not register, or a handler of
// another signature than the event's, or a class nobody registered: each is an
// ELayoutError at load, with the layout line.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

#include "ClassRegistry.h"
#include "Component.h"
#include "LayoutText.h"

namespace tq {

class TLayoutLoader;

// A component that can be described by a layout.
class TLayoutComponent : public TComponent {
 public:
  explicit TLayoutComponent(TComponent* owner) : TComponent(owner) {}
  // Sets one property; false when the class has no property of that name.
  virtual bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader);
  // A child object written inside this one (controls, menu items).
  virtual void AddLayoutChild(TComponent* child);
  // Once all properties and children of a layout object are set, the loader
  // calls its Loaded().
  // True while a layout sets this object's properties and makes its children.
  bool LayoutLoading() const { return FLayoutLoading; }

 private:
  friend class TLayoutLoader;
  bool FLayoutLoading = false;
};

// ---- classes -------------------------------------------------------------

// Layouts make their components through the component class registry
// (ClassRegistry.h); the controls of this library are registered on first use.
template <class T>
void RegisterComponentClass(const std::string& className) {
  RegisterClass(className, [](TComponent* owner) -> TComponent* { return new T(owner); });
}
// Raises EClassNotFound "Class %s not found" for an unknown class.
TComponent* CreateComponentOfClass(const std::string& className, TComponent* owner);

// ---- handlers and fields -------------------------------------------------

struct TextLess {
  bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

// Handler methods by name, each remembered with its signature.
class TMethodTable {
 public:
  template <class F, class... A>
  void Register(const std::string& name, F* self, void (F::*method)(A...)) {
    auto fn = std::make_shared<std::function<void(A...)>>(
        [self, method](A... args) { (self->*method)(std::forward<A>(args)...); });
    FEntries.insert_or_assign(name, TEntry{std::type_index(typeid(void(A...))), fn});
  }
  bool Contains(const std::string& name) const { return FEntries.count(name) != 0; }
  // The handler as an event of signature void(A...): empty when no handler has
  // that name; wrongType set when one has, with another signature.
  template <class... A>
  std::function<void(A...)> Find(const std::string& name, bool& wrongType) const {
    wrongType = false;
    auto it = FEntries.find(name);
    if (it == FEntries.end()) return {};
    if (it->second.Type != std::type_index(typeid(void(A...)))) {
      wrongType = true;
      return {};
    }
    return *std::static_pointer_cast<std::function<void(A...)>>(it->second.Fn);
  }

 private:
  struct TEntry {
    std::type_index Type;
    std::shared_ptr<void> Fn;
  };
  std::map<std::string, TEntry, TextLess> FEntries;
};

// Member pointers of a form that the loader fills with the components of the
// same name.
class TFieldTable {
 public:
  template <class T>
  void Register(const std::string& name, T*& field) {
    T** p = &field;
    FEntries.insert_or_assign(name, [p](TComponent* c) {
      T* t = dynamic_cast<T*>(c);
      if (!t) return false;
      *p = t;
      return true;
    });
  }
  // false when the component is not of the field's class.
  bool Assign(const std::string& name, TComponent* c, bool& found) const;
  std::vector<std::string> Names() const;

 private:
  std::map<std::string, std::function<bool(TComponent*)>, TextLess> FEntries;
};

// ---- the loader ----------------------------------------------------------

class TLayoutLoader {
 public:
  TLayoutLoader(TLayoutComponent* root, const TMethodTable& methods, const TFieldTable& fields)
      : FRoot(root), FMethods(methods), FFields(fields) {}
  // Applies the root object's properties to the root and creates its children;
  // then resolves references, checks that every registered field was found and
  // calls Loaded on every object, children first.
  void Load(const TLayoutNode& node);

  // Connects an event to the handler named by the property's value.
  template <class... A>
  void Bind(std::function<void(A...)>& event, const TLayoutProperty& prop) {
    const std::string& name = HandlerName(prop);
    bool wrongType = false;
    std::function<void(A...)> fn = FMethods.template Find<A...>(name, wrongType);
    if (wrongType) Fail(prop, "handler " + name + " does not fit event " + prop.Name);
    if (!fn) Fail(prop, "unknown handler " + name + " for event " + prop.Name);
    event = std::move(fn);
  }
  // A property naming another component of the layout, resolved once all are made.
  template <class T>
  void Reference(const TLayoutProperty& prop, std::function<void(T*)> set) {
    FFixups.push_back({prop, [set](TComponent* c) {
                         T* t = dynamic_cast<T*>(c);
                         if (!t) return false;
                         set(t);
                         return true;
                       }});
  }
  [[noreturn]] void Fail(const TLayoutProperty& prop, const std::string& what) const;
  [[noreturn]] void Fail(int line, const std::string& what) const;
  TLayoutComponent* Root() const { return FRoot; }

 private:
  const std::string& HandlerName(const TLayoutProperty& prop) const;
  void ApplyProperties(TLayoutComponent* target, const TLayoutNode& node);
  void CreateChildren(TLayoutComponent* parent, const TLayoutNode& node);
  TComponent* FindByName(const std::string& name) const;
  struct TFixup {
    TLayoutProperty Prop;
    std::function<bool(TComponent*)> Set;
  };
  TLayoutComponent* FRoot;
  const TMethodTable& FMethods;
  const TFieldTable& FFields;
  std::vector<TFixup> FFixups;
  std::vector<TLayoutComponent*> FMade;
  std::vector<std::string> FFieldsFound;
};

// Reads a set value ([a, b]) against a table of member names and bits.
unsigned LayoutSetValue(const TLayoutProperty& prop, TLayoutLoader& loader,
                        std::initializer_list<std::pair<const char*, unsigned>> members);
// Reads an enumeration identifier against a table of names and values.
int LayoutEnumValue(const TLayoutProperty& prop, TLayoutLoader& loader,
                    std::initializer_list<std::pair<const char*, int>> members);

}  // namespace tq
