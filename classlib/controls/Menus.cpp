#include "Menus.h"

#include <map>

#include "Forms.h"

namespace tq {

namespace {
std::map<int, TMenuItem*>& Commands() {
  static std::map<int, TMenuItem*> commands;
  return commands;
}
int NextCommand() {
  static int next = 100;
  while (Commands().count(next)) next = next >= 0x7FFF ? 100 : next + 1;
  return next++;
}
}  // namespace

// ---- TMenuItem ---------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TLayoutComponent(owner), FCommand(NextCommand()) {
  Commands()[FCommand] = this;
}

TMenuItem::~TMenuItem() {
  Commands().erase(FCommand);
  for (TMenuItem* item : FItems) item->FParent = nullptr;
  if (FParent) FParent->Remove(this);
}

TMenuItem* TMenuItem::FindByCommand(int command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
  return FItems[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (index < 0 || index > Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
  if (item->FParent) item->FParent->Remove(item);
  item->FParent = this;
  FItems.insert(FItems.begin() + index, item);
  Changed();
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = Items(index);
  FItems.erase(FItems.begin() + index);
  item->FParent = nullptr;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  int i = IndexOf(item);
  if (i >= 0) Delete(i);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();  // each removes itself
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == item) return static_cast<int>(i);
  return -1;
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->FParent) i = i->FParent;
  return i->FMenu;
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
  for (TMenuItem* i : FItems)
    if (SameText(StringReplace(i->FCaption, "&", "", rfReplaceAll), StringReplace(caption, "&", "", rfReplaceAll)))
      return i;
  return nullptr;
}

void TMenuItem::Changed() {
  if (TMenu* m = GetParentMenu()) m->Rebuild();
}

void TMenuItem::SetCaption(const std::string& s) {
  FCaption = s;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (v && FRadioItem && FParent)
    for (TMenuItem* sib : FParent->FItems)
      if (sib != this && sib->FRadioItem && sib->FGroupIndex == FGroupIndex) sib->FChecked = false;
  FChecked = v;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  FEnabled = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  FVisible = v;
  Changed();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

HMENU TMenuItem::SubMenuHandle() { return FItems.empty() ? nullptr : FPopup; }

void TMenuItem::Build(HMENU into) {
  for (TMenuItem* item : FItems) {
    if (!item->FVisible) continue;
    if (item->IsLine()) {
      AppendMenuA(into, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string text = item->FCaption;
    if (item->FShortCut) text += "\t" + ShortCutToText(item->FShortCut);
    UINT flags = MF_STRING | (item->FChecked ? MF_CHECKED : 0) | (item->FEnabled ? 0 : MF_GRAYED);
    if (!item->FItems.empty()) {
      item->FPopup = CreatePopupMenu();  // owned by the parent menu
      item->Build(item->FPopup);
      AppendMenuA(into, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(item->FPopup), text.c_str());
    } else {
      AppendMenuA(into, flags, static_cast<UINT_PTR>(item->FCommand), text.c_str());
      if (item->FRadioItem && item->FChecked) {
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE;
        mi.fType = MFT_STRING | MFT_RADIOCHECK;
        SetMenuItemInfoA(into, static_cast<UINT>(item->FCommand), FALSE, &mi);
      }
    }
  }
}

bool TMenuItem::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Caption")) FCaption = prop.Value.AsString();
  else if (SameText(n, "Checked")) FChecked = prop.Value.AsBool();
  else if (SameText(n, "Enabled")) FEnabled = prop.Value.AsBool();
  else if (SameText(n, "Visible")) FVisible = prop.Value.AsBool();
  else if (SameText(n, "RadioItem")) FRadioItem = prop.Value.AsBool();
  else if (SameText(n, "GroupIndex")) FGroupIndex = prop.Value.AsInt();
  else if (SameText(n, "Hint")) FHint = prop.Value.AsString();
  else if (SameText(n, "ShortCut")) FShortCut = static_cast<TShortCut>(prop.Value.AsInt());
  else if (SameText(n, "OnClick")) loader.Bind(OnClick, prop);
  else if (SameText(n, "ImageIndex")) return true;
  else return TLayoutComponent::SetLayoutProperty(prop, loader);
  Changed();
  return true;
}

void TMenuItem::AddLayoutChild(TComponent* child) {
  if (auto* item = dynamic_cast<TMenuItem*>(child)) Add(item);
}

// ---- TMenu -------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TLayoutComponent(owner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu() {
  FItems->FMenu = nullptr;
  delete FItems;
  if (FHandle && !IsMenu(FHandle)) FHandle = nullptr;
  if (FHandle) DestroyMenu(FHandle);
}

HMENU TMenu::Handle() {
  if (!FHandle) Rebuild();
  return FHandle;
}

void TMenu::Rebuild() {
  if (FOpeningPopup) {
    FChangedWhileOpening = true;
    return;
  }
  HMENU old = FHandle;
  FHandle = MakeMenu();
  FItems->Build(FHandle);
  Attach(FHandle);
  if (old) DestroyMenu(old);
}

TMenuItem* TMenu::ItemWithPopup(TMenuItem* from, HMENU popup) {
  for (int i = 0; i < from->Count(); ++i) {
    TMenuItem* item = from->Items(i);
    if (item->Count() == 0) continue;
    if (item->FPopup == popup) return item;
    if (TMenuItem* inner = ItemWithPopup(item, popup)) return inner;
  }
  return nullptr;
}

void TMenu::InitPopup(HMENU popup) {
  if (FOpeningPopup || !popup) return;
  TMenuItem* item = ItemWithPopup(FItems, popup);
  if (!item) return;
  // Destroying the menu now would take the pop-up from under the system, so
  // the item's changes are gathered and its entries made again in place.
  struct TOpening {
    TMenu& m;
    explicit TOpening(TMenu& menu) : m(menu) { m.FOpeningPopup = true, m.FChangedWhileOpening = false; }
    ~TOpening() { m.FOpeningPopup = false; }
  };
  {
    TOpening opening(*this);
    item->Click();
  }
  if (!FChangedWhileOpening || !IsMenu(popup)) return;
  while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
  item->Build(popup);
}

void TMenu::AddLayoutChild(TComponent* child) {
  if (auto* item = dynamic_cast<TMenuItem*>(child)) FItems->Add(item);
}

bool TMenu::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Images") || SameText(prop.Name, "AutoHotkeys")) return true;
  return TLayoutComponent::SetLayoutProperty(prop, loader);
}

void TMainMenu::Attach(HMENU menu) {
  if (FWindow && IsWindow(FWindow)) {
    ::SetMenu(FWindow, menu);
    DrawMenuBar(FWindow);
  }
}

// ---- TPopupMenu --------------------------------------------------------------

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  TForm* form = Screen->ActiveForm();
  if (!form) form = Application->MainForm();
  HWND owner = form ? form->WindowHandle() : nullptr;
  int cmd = TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr);
  if (cmd)
    if (TMenuItem* item = TMenuItem::FindByCommand(cmd)) item->Click();
}

bool TPopupMenu::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "OnPopup")) {
    loader.Bind(OnPopup, prop);
    return true;
  }
  if (SameText(prop.Name, "AutoPopup") || SameText(prop.Name, "Alignment")) return true;
  return TMenu::SetLayoutProperty(prop, loader);
}

// ---- short cuts ----------------------------------------------------------------

namespace {
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
}

std::string ShortCutToText(TShortCut sc) {
  std::string s;
  if (sc & scCtrl) s += "Ctrl+";
  if (sc & scShift) s += "Shift+";
  if (sc & scAlt) s += "Alt+";
  int key = sc & 0xFF;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) s += static_cast<char>(key);
  else if (key >= VK_F1 && key <= VK_F12) s += "F" + IntToStr(key - VK_F1 + 1);
  else if (key == VK_DELETE) s += "Del";
  else if (key == VK_INSERT) s += "Ins";
  else s += "#" + IntToStr(key);
  return s;
}

TShortCut TextToShortCut(const std::string& text) {
  TShortCut sc = 0;
  std::string rest = text;
  for (;;) {
    if (StartsText("Ctrl+", rest)) { sc |= scCtrl; rest = rest.substr(5); }
    else if (StartsText("Shift+", rest)) { sc |= scShift; rest = rest.substr(6); }
    else if (StartsText("Alt+", rest)) { sc |= scAlt; rest = rest.substr(4); }
    else break;
  }
  if (rest.size() == 1) return sc | static_cast<TShortCut>(std::toupper(static_cast<unsigned char>(rest[0])));
  if (rest.size() > 1 && (rest[0] == 'F' || rest[0] == 'f')) {
    int n = StrToIntDef(rest.substr(1), 0);
    if (n >= 1 && n <= 12) return sc | static_cast<TShortCut>(VK_F1 + n - 1);
  }
  if (SameText(rest, "Del")) return sc | VK_DELETE;
  if (SameText(rest, "Ins")) return sc | VK_INSERT;
  return 0;
}

}  // namespace tq
