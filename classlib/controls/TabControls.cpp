#include "TabControls.h"

#include <algorithm>
#include <climits>

namespace tq {

// ---- TTabControl -----------------------------------------------------------

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner) {
  FWidth = 289;
  FHeight = 193;
  FTabStop = true;
  FTabs.SetSink({[this](int i, const std::string&) { TabInserted(i); }, [this](int i) { TabDeleted(i); },
                 [this] { TabsCleared(); }, [this](int i, const std::string& s) { TabReplaced(i, s); }});
  FTabs.SetBatchSink([this](bool updating) { SetTabsUpdating(updating); });
}

void TTabControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = WC_TABCONTROLA;
  params.Style |= WS_CLIPCHILDREN | (FTabStop ? WS_TABSTOP : 0) | (FMultiLine ? TCS_MULTILINE : 0) |
                  (FTabWidth > 0 ? TCS_FIXEDWIDTH : 0);
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

// A multi-line control shows all its rows at once: it holds every tab.
int TTabControl::HeldMax() const { return FMultiLine ? INT_MAX : HeldTabsMax; }

int TTabControl::WindowStartFor(int index) const {
  const int last = std::max(0, FTabs.Count() - HeldMax());
  return index < 0 ? 0 : std::clamp(index - HeldMax() / 2, 0, last);
}

// TCM_INSERTITEMA or TCM_SETITEMA of native tab `native` with caption s.
void TTabControl::SendTabText(UINT msg, int native, const std::string& s) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(s.c_str());
  SendMessageA(FHandle, msg, static_cast<WPARAM>(native), reinterpret_cast<LPARAM>(&item));
}

void TTabControl::InsertNative(int native, int index) { SendTabText(TCM_INSERTITEMA, native, FTabs.Get(index)); }

// The window's tabs from start, into an empty native control.
void TTabControl::FillWindow(int start) {
  FHeldFrom = start;
  FHeld = std::min(HeldMax(), FTabs.Count() - start);
  for (int i = 0; i < FHeld; ++i) InsertNative(i, start + i);
}

// A tab inserted before the window moves it on; one inside it (or at its end
// while it is not full) goes to the native control, which gives up its last
// tab when the window is over full.
void TTabControl::TabInserted(int index) {
  if (FAwaySelection >= index) ++FAwaySelection;
  if (!FHandle) return;
  if (index < FHeldFrom) {
    ++FHeldFrom;
    return;
  }
  if (index > FHeldFrom + FHeld || (index == FHeldFrom + FHeld && FHeld >= HeldMax())) return;
  InsertNative(index - FHeldFrom, index);
  if (++FHeld <= HeldMax()) return;
  --FHeld;
  if (SendMessageA(FHandle, TCM_GETCURSEL, 0, 0) == FHeld) FAwaySelection = FHeldFrom + FHeld;
  SendMessageA(FHandle, TCM_DELETEITEM, static_cast<WPARAM>(FHeld), 0);
}

// A tab deleted inside the window leaves the native control, which takes the
// next tab after the window (or the one before it) to stay full.
void TTabControl::TabDeleted(int index) {
  if (FAwaySelection == index) FAwaySelection = -1;
  else if (FAwaySelection > index) --FAwaySelection;
  if (FHandle) {
    if (index < FHeldFrom) {
      --FHeldFrom;
    } else if (index < FHeldFrom + FHeld) {
      SendMessageA(FHandle, TCM_DELETEITEM, static_cast<WPARAM>(index - FHeldFrom), 0);
      --FHeld;
      if (FHeldFrom + FHeld < FTabs.Count()) {
        InsertNative(FHeld, FHeldFrom + FHeld);
        ++FHeld;
      } else if (FHeldFrom > 0) {
        --FHeldFrom;
        InsertNative(0, FHeldFrom);
        ++FHeld;
      }
    }
  }
  if (FTabIndex >= FTabs.Count()) FTabIndex = -1;
}

void TTabControl::TabsCleared() {
  if (FHandle) SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
  FHeldFrom = FHeld = 0;
  FAwaySelection = FTabIndex = -1;
}

void TTabControl::TabReplaced(int index, const std::string& s) {
  if (!FHandle || index < FHeldFrom || index >= FHeldFrom + FHeld) return;
  SendTabText(TCM_SETITEMA, index - FHeldFrom, s);
}

// Every tab inserted or deleted lays out the whole row again, measuring each
// caption, so a batch of n changes would take time growing with n squared. For
// a batch (Tabs().BeginUpdate ... EndUpdate) the tabs get a fixed width, which
// measures nothing; at its end the control's own style comes back and the
// tabs are laid out once (the last caption set again, should the style
// change alone not do it).
void TTabControl::SetTabsUpdating(bool updating) {
  FTabsUpdating = updating;
  if (!FHandle) return;
  const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  if (updating) {
    FBatchFixedWidth = !(style & TCS_FIXEDWIDTH);
    if (FBatchFixedWidth) SetWindowLongPtrA(FHandle, GWL_STYLE, style | TCS_FIXEDWIDTH);
    return;
  }
  if (!FBatchFixedWidth) return;
  FBatchFixedWidth = false;
  SetWindowLongPtrA(FHandle, GWL_STYLE, style & ~static_cast<LONG_PTR>(TCS_FIXEDWIDTH));
  if (FHeld > 0) TabReplaced(FHeldFrom + FHeld - 1, FTabs.Get(FHeldFrom + FHeld - 1));
  InvalidateRect(FHandle, nullptr, TRUE);
}

// The window's tabs are held again from start, as one batch; the selection
// stays with its tab (remembered when it is outside the window).
void TTabControl::HoldTabsFrom(int start) {
  const int selected = TabIndex();
  const bool batch = !FTabsUpdating;
  if (batch) SetTabsUpdating(true);
  if (FHeld > 0) SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
  FillWindow(start);
  const bool held = selected >= FHeldFrom && selected < FHeldFrom + FHeld;
  FAwaySelection = held ? -1 : selected;
  SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(held ? selected - FHeldFrom : -1), 0);
  if (batch) SetTabsUpdating(false);
}

// The row's scroll arrows while they are shown, else null: an up-down child
// whose position is the first visible tab (the control makes and shows it
// when its tabs do not fit).
HWND TTabControl::ScrollArrows() const {
  HWND arrows = FindWindowExA(FHandle, nullptr, UPDOWN_CLASSA, nullptr);
  return arrows && (GetWindowLongPtrA(arrows, GWL_STYLE) & WS_VISIBLE) ? arrows : nullptr;
}

int TTabControl::FirstVisibleNative() const {
  HWND arrows = ScrollArrows();
  return arrows ? static_cast<int>(SendMessageA(arrows, UDM_GETPOS32, 0, 0)) : 0;
}

// The native control scrolls its row by one tab for each SB_THUMBPOSITION
// under Wine, and to the position at once elsewhere: asked until it is there.
void TTabControl::ScrollNativeTo(int native) {
  for (int first = FirstVisibleNative(), i = 0; first != native && i < FHeld; ++i) {
    DefaultHandler(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, native), 0);
    const int now = FirstVisibleNative();
    if (now == first) break;
    first = now;
  }
}

// The window is held around tab `around`, the row still starting at the tab
// it started at, so that what the user sees does not move.
void TTabControl::MoveWindowKeepingRow(int around) {
  const int first = FHeldFrom + FirstVisibleNative();
  const int start = WindowStartFor(around);
  if (start == FHeldFrom) return;
  HoldTabsFrom(start);
  if (first >= start) ScrollNativeTo(first - start);
}

// When the user has scrolled the row to either end of the window while there
// are tabs beyond it, the window moves on so that the arrows reach them too.
void TTabControl::FollowRow() {
  HWND arrows = ScrollArrows();
  if (!arrows || FHeld == FTabs.Count()) return;
  int lo = 0, hi = 0;
  SendMessageA(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  const int first = FirstVisibleNative();
  if ((first >= hi && FHeldFrom + FHeld < FTabs.Count()) || (first <= lo && FHeldFrom > 0))
    MoveWindowKeepingRow(FHeldFrom + first);
}

LRESULT TTabControl::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_HSCROLL && FHandle) {
    const LRESULT result = TWinControl::WndProc(msg, w, l);
    FollowRow();
    return result;
  }
  if (msg == WM_KEYDOWN && FHandle && (w == VK_LEFT || w == VK_RIGHT) && FHeld < FTabs.Count()) {
    // The arrow keys step from the focused tab: a selection outside the window
    // is brought into it, and a step past the window's edge moves it on first.
    if (FAwaySelection >= 0) SetTabIndex(FAwaySelection);
    const int focus = static_cast<int>(SendMessageA(FHandle, TCM_GETCURFOCUS, 0, 0));
    if ((w == VK_RIGHT && focus == FHeld - 1 && FHeldFrom + FHeld < FTabs.Count()) ||
        (w == VK_LEFT && focus == 0 && FHeldFrom > 0))
      MoveWindowKeepingRow(FHeldFrom + focus);
  }
  return TWinControl::WndProc(msg, w, l);
}

void TTabControl::InitWindow() {
  TWinControl::InitWindow();
  ApplyTabSize();
  FillWindow(WindowStartFor(FTabIndex));
  if (FTabIndex >= 0) SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex - FHeldFrom), 0);
}

void TTabControl::ApplyTabSize() {
  if (!FHandle || (FTabHeight <= 0 && FTabWidth <= 0)) return;
  LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  if (FTabWidth > 0) SetWindowLongPtrA(FHandle, GWL_STYLE, style | TCS_FIXEDWIDTH);
  SendMessageA(FHandle, TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
  AlignControls();
}

int TTabControl::TabIndex() const {
  if (!FHandle) return FTabIndex;
  const int native = static_cast<int>(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0));
  return native >= 0 ? FHeldFrom + native : FAwaySelection;
}

// A tab outside the window moves the window to it; the native control then
// scrolls its row to show it.
void TTabControl::SetTabIndex(int index) {
  if (index < -1 || index >= FTabs.Count()) index = -1;
  FTabIndex = index;
  if (!FHandle) return;
  FAwaySelection = -1;
  if (index >= 0 && (index < FHeldFrom || index >= FHeldFrom + FHeld)) {
    SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(-1), 0);
    HoldTabsFrom(WindowStartFor(index));
  }
  SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(index >= 0 ? index - FHeldFrom : -1), 0);
}

void TTabControl::SetTabHeight(int h) {
  FTabHeight = h;
  ApplyTabSize();
}

void TTabControl::SetTabWidth(int w) {
  FTabWidth = w;
  ApplyTabSize();
}

RECT TTabControl::DisplayRect() {
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  if (FHandle) SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

int TTabControl::IndexOfTabAt(int x, int y) const {
  if (!FHandle) return -1;
  TCHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  const int native = static_cast<int>(SendMessageA(FHandle, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return native >= 0 ? FHeldFrom + native : -1;
}

bool TTabControl::CNNotify(NMHDR* header, LRESULT& result) {
  if (header->code == TCN_SELCHANGING) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    result = allow ? FALSE : TRUE;
    return true;
  }
  if (header->code == TCN_SELCHANGE) {
    FAwaySelection = -1;  // the user chose a tab of the window
    FTabIndex = TabIndex();
    if (OnChange) OnChange(this);
    return true;
  }
  return false;
}

bool TTabControl::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Tabs.Strings")) {
    FTabs.Clear();
    for (const std::string& s : prop.Value.AsStrings()) FTabs.Add(s);
  } else if (SameText(n, "TabIndex")) FTabIndex = prop.Value.AsInt();
  else if (SameText(n, "TabHeight")) FTabHeight = prop.Value.AsInt();
  else if (SameText(n, "TabWidth")) FTabWidth = prop.Value.AsInt();
  else if (SameText(n, "MultiLine")) FMultiLine = prop.Value.AsBool();
  else if (SameText(n, "OnChange")) loader.Bind(OnChange, prop);
  else if (SameText(n, "OnChanging")) loader.Bind(OnChanging, prop);
  else if (SameText(n, "Style") || SameText(n, "TabPosition") || SameText(n, "HotTrack") || SameText(n, "Images"))
    return true;
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TTabSheet -------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { FVisible = false; }

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName.clear();
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

LRESULT TTabSheet::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_ERASEBKGND) {
    FillBackground(reinterpret_cast<HDC>(w));
    return 1;
  }
  return TWinControl::WndProc(msg, w, l);
}

void TTabSheet::SetParent(TWinControl* parent) {
  TWinControl::SetParent(parent);
  if (auto* pc = dynamic_cast<TPageControl*>(parent)) {
    if (pc != FPageControl) {
      if (FPageControl) FPageControl->RemovePage(this);
      FPageControl = pc;
      pc->InsertPage(this);
    }
  } else if (FPageControl) {
    FPageControl->RemovePage(this);
    FPageControl = nullptr;
  }
}

void TTabSheet::SetPageControl(TPageControl* pc) { SetParent(pc); }

void TTabSheet::SetTabVisible(bool v) {
  if (v == FTabVisible) return;
  FTabVisible = v;
  if (FPageControl) FPageControl->RebuildTabs();
}

void TTabSheet::SetTextValue(const std::string& s) {
  FText = s;  // the caption is the tab's text, not the page window's
  if (FPageControl) FPageControl->RebuildTabs();
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  for (int i = 0; i < FPageControl->PageCount(); ++i)
    if (FPageControl->Pages(i) == this) return i;
  return -1;
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int n = 0;
  for (int i = 0; i < FPageControl->PageCount(); ++i) {
    TTabSheet* p = FPageControl->Pages(i);
    if (p == this) return n;
    if (p->FTabVisible) ++n;
  }
  return -1;
}

bool TTabSheet::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "TabVisible")) SetTabVisible(prop.Value.AsBool());
  else if (SameText(prop.Name, "Caption")) SetTextValue(prop.Value.AsString());
  else if (SameText(prop.Name, "PageIndex") || SameText(prop.Name, "ImageIndex") || SameText(prop.Name, "Visible"))
    return true;
  else if (SameText(prop.Name, "PageControl"))
    loader.Reference<TPageControl>(prop, [this](TPageControl* pc) { SetParent(pc); });
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TPageControl ----------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TTabControl(owner) {}

TPageControl::~TPageControl() {
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  page->SetAlign(alNone);
  RebuildTabs();
  if (!FActivePage) SetActivePage(page);
  else page->SetVisible(false);
  PlacePages();
}

void TPageControl::RemovePage(TTabSheet* page) {
  for (size_t i = 0; i < FPages.size(); ++i)
    if (FPages[i] == page) {
      FPages.erase(FPages.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  if (FActivePage == page) FActivePage = nullptr;
  RebuildTabs();
}

void TPageControl::RebuildTabs() {
  std::vector<std::string> captions;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible) captions.push_back(p->FText);
  FTabs.BeginUpdate();
  FTabs.Clear();
  for (const std::string& c : captions) FTabs.Add(c);
  FTabs.EndUpdate();
  SetTabIndex(FActivePage ? FActivePage->TabIndex() : -1);
  PlacePages();
}

void TPageControl::PlacePages() {
  if (!FHandle) return;
  RECT r = DisplayRect();
  for (TTabSheet* p : FPages) p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::Resized() {
  TTabControl::Resized();
  PlacePages();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) return;
  TTabSheet* old = FActivePage;
  FActivePage = page;
  if (page) {
    page->SetVisible(true);
    if (page->HandleAllocated()) BringWindowToTop(page->WindowHandle());
  }
  if (old && old != page) old->SetVisible(false);
  SetTabIndex(page ? page->TabIndex() : -1);
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? FPages[static_cast<size_t>(index)] : nullptr);
}

bool TPageControl::CNNotify(NMHDR* header, LRESULT& result) {
  if (header->code == TCN_SELCHANGE) {
    int tab = TabIndex();
    for (TTabSheet* p : FPages)
      if (p->TabIndex() == tab && tab >= 0) {
        SetActivePage(p);
        break;
      }
    if (OnChange) OnChange(this);
    return true;
  }
  return TTabControl::CNNotify(header, result);
}

bool TPageControl::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "ActivePage")) {
    loader.Reference<TTabSheet>(prop, [this](TTabSheet* p) { SetActivePage(p); });
    return true;
  }
  if (SameText(prop.Name, "Tabs.Strings") || SameText(prop.Name, "TabIndex")) return false;
  return TTabControl::SetLayoutProperty(prop, loader);
}

}  // namespace tq
