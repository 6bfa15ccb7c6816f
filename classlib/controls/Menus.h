#pragma once
// Main menus, pop-up menus and their items. Items may be added, removed and
// changed at any time; the window menus follow.
#include <string>
#include <vector>

#include "LayoutLoader.h"
#include "WinApi.h"

namespace tq {

class TMenu;

using TShortCut = uint16_t;

class TMenuItem : public TLayoutComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  std::string ClassName() const override { return "TMenuItem"; }

  const std::string& Caption() const { return FCaption; }  // "-" makes a separator
  void SetCaption(const std::string& s);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v) { FRadioItem = v; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v) { FGroupIndex = v; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& s) { FHint = s; }
  bool IsLine() const { return FCaption == "-"; }

  // ---- the item tree ----
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const;
  TMenuItem* operator[](int index) const { return Items(index); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Delete(int index);  // removes the item without freeing it
  void Remove(TMenuItem* item);
  void Clear();            // frees every sub-item
  int IndexOf(const TMenuItem* item) const;
  int MenuIndex() const;   // position in the parent, -1 without one
  TMenuItem* Parent() const { return FParent; }
  TMenu* GetParentMenu() const;
  TMenuItem* Find(const std::string& caption) const;  // by caption without "&"

  // Runs OnClick (a user's choice does the same).
  virtual void Click();
  TNotifyEvent OnClick;

  int Command() const { return FCommand; }
  static TMenuItem* FindByCommand(int command);
  HMENU SubMenuHandle();  // the pop-up of an item with sub-items

  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;
  void AddLayoutChild(TComponent* child) override;

 private:
  friend class TMenu;
  void Changed();
  void Build(HMENU into);
  std::string FCaption;
  bool FChecked = false, FEnabled = true, FVisible = true, FRadioItem = false;
  int FGroupIndex = 0;
  std::string FHint;
  TShortCut FShortCut = 0;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item of a menu
  int FCommand;
  HMENU FPopup = nullptr;  // the pop-up last built for the sub-items (the menu owns it)
};

class TMenu : public TLayoutComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem& Items() { return *FItems; }
  HMENU Handle();
  // Rebuilds the window menu after a change of the tree.
  void Rebuild();
  void AddLayoutChild(TComponent* child) override;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;
  // A pop-up of the menu is about to open: runs its item's OnClick (which may
  // change the item's entries: recent files, enabled states) and makes the
  // pop-up's entries afresh in the same handle, which the system is showing.
  void InitPopup(HMENU popup);

 protected:
  virtual HMENU MakeMenu() = 0;
  virtual void Attach(HMENU menu) {}
  TMenuItem* FItems;
  HMENU FHandle = nullptr;

 private:
  static TMenuItem* ItemWithPopup(TMenuItem* from, HMENU popup);
  bool FOpeningPopup = false;  // changes wait for the pop-up's own refill
  bool FChangedWhileOpening = false;
};

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  std::string ClassName() const override { return "TMainMenu"; }
  void SetWindow(HWND window) { FWindow = window; }

 protected:
  HMENU MakeMenu() override { return CreateMenu(); }
  void Attach(HMENU menu) override;
  HWND FWindow = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  std::string ClassName() const override { return "TPopupMenu"; }
  // Opens the menu at a screen point and runs the chosen item's OnClick.
  virtual void Popup(int x, int y);
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* c) { FPopupComponent = c; }
  TNotifyEvent OnPopup;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  HMENU MakeMenu() override { return CreatePopupMenu(); }
  TComponent* FPopupComponent = nullptr;
};

// "Ctrl+S" and friends.
TShortCut TextToShortCut(const std::string& text);
std::string ShortCutToText(TShortCut shortCut);

}  // namespace tq
