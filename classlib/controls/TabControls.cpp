#include "TabControls.h"

namespace tq {

// ---- TTabControl -----------------------------------------------------------

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner) {
  FWidth = 289;
  FHeight = 193;
  FTabStop = true;
  FTabs.SetSink({[this](int i, const std::string& s) { InsertTab(i, s); },
                 [this](int i) {
                   if (FHandle) SendMessageA(FHandle, TCM_DELETEITEM, static_cast<WPARAM>(i), 0);
                   if (FTabIndex >= FTabs.Count()) FTabIndex = -1;
                 },
                 [this] {
                   if (FHandle) SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
                   FTabIndex = -1;
                 },
                 [this](int i, const std::string& s) {
                   if (!FHandle) return;
                   TCITEMA item{};
                   item.mask = TCIF_TEXT;
                   item.pszText = const_cast<char*>(s.c_str());
                   SendMessageA(FHandle, TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                 }});
  FTabs.SetBatchSink([this](bool updating) { SetTabsUpdating(updating); });
}

void TTabControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = WC_TABCONTROLA;
  params.Style |= WS_CLIPCHILDREN | (FTabStop ? WS_TABSTOP : 0) | (FMultiLine ? TCS_MULTILINE : 0) |
                  (FTabWidth > 0 ? TCS_FIXEDWIDTH : 0);
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TTabControl::InsertTab(int index, const std::string& s) {
  if (!FHandle) return;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(s.c_str());
  SendMessageA(FHandle, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// Every tab inserted or deleted lays out the whole row again, measuring each
// caption, so a batch of n changes would take time growing with n squared. For
// a batch (Tabs().BeginUpdate ... EndUpdate) the tabs get a fixed width, which
// measures nothing; at its end the control's own style comes back and the
// tabs are laid out once (the last caption set again, should the style
// change alone not do it).
void TTabControl::SetTabsUpdating(bool updating) {
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
  if (const int last = FTabs.Count() - 1; last >= 0) {
    const std::string caption = FTabs.Get(last);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(FHandle, TCM_SETITEMA, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&item));
  }
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TTabControl::InitWindow() {
  TWinControl::InitWindow();
  ApplyTabSize();
  for (int i = 0; i < FTabs.Count(); ++i) InsertTab(i, FTabs.Get(i));
  if (FTabIndex >= 0) SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
}

void TTabControl::ApplyTabSize() {
  if (!FHandle || (FTabHeight <= 0 && FTabWidth <= 0)) return;
  LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  if (FTabWidth > 0) SetWindowLongPtrA(FHandle, GWL_STYLE, style | TCS_FIXEDWIDTH);
  SendMessageA(FHandle, TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
  AlignControls();
}

int TTabControl::TabIndex() const {
  return FHandle ? static_cast<int>(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0)) : FTabIndex;
}

void TTabControl::SetTabIndex(int index) {
  if (index < -1 || index >= FTabs.Count()) index = -1;
  FTabIndex = index;
  if (FHandle) SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
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
  return static_cast<int>(SendMessageA(FHandle, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool TTabControl::CNNotify(NMHDR* header, LRESULT& result) {
  if (header->code == TCN_SELCHANGING) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    result = allow ? FALSE : TRUE;
    return true;
  }
  if (header->code == TCN_SELCHANGE) {
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
