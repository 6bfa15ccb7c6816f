#pragma once
// Persistent objects and components: assignment, custom stream data, ownership
// (a component frees the components it owns), names, Tag, free notification,
// and collections of persistent items.
#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "SysUtils.h"
#include "TypInfo.h"

namespace tq {

class TReader;
class TWriter;
class TComponent;

TQ_EXCEPTION_CLASS(EFilerError, EStreamError);
TQ_EXCEPTION_CLASS(EComponentError, Exception);  // bad or duplicate component names

// What DefineProperties talks to: the reader or the writer of a component
// stream. A defined property is stored under its name after the published
// properties (as "<Prop>.<Name>" inside a nested object, e.g. "Items.Data"):
//
//   void TTreeNodes::DefineProperties(TFiler& filer) {
//     filer.DefineBinaryProperty("Data",
//         [this](TStream& s) { ReadData(s); },    // s holds exactly the stored bytes
//         [this](TStream& s) { WriteData(s); },
//         Count() > 0);                           // written only when true
//   }
class TFiler {
 public:
  virtual ~TFiler() = default;
  // Values read and written through the filer's value API (TReader / TWriter).
  virtual void DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                              const std::function<void(TWriter&)>& writeData, bool hasData) = 0;
  // A block of bytes (value tag 10): readData gets a stream holding exactly the
  // stored bytes, positioned at 0; writeData writes them into a stream.
  virtual void DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                                    const std::function<void(TStream&)>& writeData, bool hasData) = 0;
};

// An object with published properties (TypInfo.h) that can be assigned and
// stored.
class TPersistent : public TObject {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;

  // Copies source into this object; the default asks source.AssignTo and
  // raises EConvertError "Cannot assign a %s to a %s" when neither knows how.
  virtual void Assign(const TPersistent& source);
  // Stores data that published properties cannot describe.
  virtual void DefineProperties(TFiler& filer) {}

  static const TPropertyTable& ClassProperties();
  virtual const TPropertyTable& Properties() const { return ClassProperties(); }
  std::string ClassName() const override { return "TPersistent"; }

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

// ---- Collections --------------------------------------------------------------

class TCollection;

// One item of a collection; its published properties are stored per item.
class TCollectionItem : public TPersistent {
 public:
  TCollectionItem() = default;
  TCollection* Collection() const { return FCollection; }
  int Index() const;
  std::string ClassName() const override { return "TCollectionItem"; }

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
};

// An owned, ordered set of items of one class, made by the factory given at
// construction. Assign copies the items one by one through their Assign.
class TCollection : public TPersistent {
 public:
  using TItemFactory = std::function<TCollectionItem*()>;
  explicit TCollection(TItemFactory factory) : FFactory(std::move(factory)) {}
  ~TCollection() override;

  TCollectionItem* Add();
  void Clear();
  void Delete(int index);  // "List index out of bounds (%d)" as EListError
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int index) const;
  int IndexOf(const TCollectionItem* item) const;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void Assign(const TPersistent& source) override;
  std::string ClassName() const override { return "TCollection"; }

  TNotifyEvent OnChange;  // after each change outside BeginUpdate/EndUpdate

 private:
  void Changed();
  TItemFactory FFactory;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
};

// ---- Components -----------------------------------------------------------------

enum TComponentStateFlag : unsigned {
  csLoading = 1,     // being read from a stream; Loaded() comes at the end
  csReading = 2,     // its properties are being read right now
  csWriting = 4,
  csDestroying = 8,
};
using TComponentState = unsigned;

enum TOperation { opInsert, opRemove };

// A named, owned object. The owner frees its components when it is destroyed
// (last inserted first). Names are empty or identifiers ("'%s' is not a valid
// component name"), unique among the owner's components regardless of letter
// case ("A component named %s already exists").
//
// A class derived from TComponent that wants Notification calls for its owned
// components while it is destroyed calls DestroyComponents() in its own
// destructor (C++ dispatches to TComponent's version in the base destructor).
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner = nullptr);
  ~TComponent() override;
  TQ_PUBLISHED(TComponent)

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& name);
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  int ComponentCount() const { return static_cast<int>(FComponents.size() - FComponentGaps); }
  TComponent* Components(int index) const;  // "List index out of bounds (%d)"
  int ComponentIndex() const;               // position in the owner's list, -1 without owner
  TComponent* FindComponent(const std::string& name) const;  // case-insensitive; empty finds none
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  // component is told (Notification opRemove) when this object is destroyed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  TComponentState ComponentState() const { return FComponentState; }

  // Stream hooks. GetChildren lists the components written as this one's
  // children (default: the owned components, in order); SetParentComponent is
  // called on a child the reader made, with the record it was nested in.
  virtual void GetChildren(const std::function<void(TComponent&)>& proc);
  virtual void SetParentComponent(TComponent* parent) {}
  // Called once reading a stream into this component has finished.
  virtual void Loaded() { FComponentState &= ~csLoading; }

 protected:
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  friend class TReader;
  friend class TWriter;
  void SetComponentState(TComponentState s) { FComponentState = s; }

  void PackComponents() const;

  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  // The owned components in order. A removed one leaves a gap (nullptr), never
  // the last slot, until the list is packed (when an index is asked for or
  // the gaps are half of it), so that a removal costs no walk of the list.
  mutable std::vector<TComponent*> FComponents;
  mutable size_t FComponentGaps = 0;
  size_t FOwnerSlot = 0;  // this component's slot in its owner's list
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState = 0;
};

bool IsValidIdent(const std::string& ident);

}  // namespace tq
