#include "ExtCtrls.h"

#include <windowsx.h>

#include <map>

#include "Forms.h"

namespace tq {

// ---- TPanel ----------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  FWidth = 185;
  FHeight = 41;
}

void TPanel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName.clear();
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

int TPanel::BorderWidth() const {
  int w = FBorderWidth + (FBorderSingle ? 1 : 0);
  if (FBevelOuter != bvNone) w += FBevelWidth;
  if (FBevelInner != bvNone) w += FBevelWidth;
  return w;
}

RECT TPanel::AlignRect() {
  RECT r = TWinControl::AlignRect();
  InflateRect(&r, -BorderWidth(), -BorderWidth());
  return r;
}

void TPanel::SetTextValue(const std::string& s) {
  TWinControl::SetTextValue(s);
  Invalidate();
}

LRESULT TPanel::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg != WM_PAINT) return TWinControl::WndProc(msg, w, l);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  RECT r;
  GetClientRect(FHandle, &r);
  HBRUSH b = CreateSolidBrush(ColorToRGB(Color() == clDefault ? clBtnFace : Color()));
  FillRect(dc, &r, b);
  DeleteObject(b);
  if (FBorderSingle) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    if (cut != bvSpace) DrawEdge(dc, &r, cut == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&r, -FBevelWidth, -FBevelWidth);
  };
  bevel(FBevelOuter);
  InflateRect(&r, -FBorderWidth, -FBorderWidth);
  bevel(FBevelInner);
  std::string text = FText;
  if (!text.empty()) {
    HGDIOBJ old = SelectObject(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font().Color()));
    UINT align = FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
  }
  EndPaint(FHandle, &ps);
  return 0;
}

bool TPanel::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  auto cut = [&] {
    return static_cast<TBevelCut>(LayoutEnumValue(
        prop, loader, {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}}));
  };
  if (SameText(n, "BevelOuter")) FBevelOuter = cut();
  else if (SameText(n, "BevelInner")) FBevelInner = cut();
  else if (SameText(n, "BevelWidth")) FBevelWidth = prop.Value.AsInt();
  else if (SameText(n, "BorderWidth")) FBorderWidth = prop.Value.AsInt();
  else if (SameText(n, "BorderStyle"))
    FBorderSingle = LayoutEnumValue(prop, loader, {{"bsNone", bsNone}, {"bsSingle", bsSingle}}) == bsSingle;
  else if (SameText(n, "Alignment"))
    FAlignment = static_cast<TAlignment>(LayoutEnumValue(
        prop, loader, {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}}));
  else if (SameText(n, "FullRepaint") || SameText(n, "UseDockManager")) return true;
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TImage ----------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 105;
  FHeight = 105;
  FPicture.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::PictureChanged() {
  if (FAutoSize && !FPicture.Bitmap().Empty()) SetBounds(FLeft, FTop, FPicture.Width(), FPicture.Height());
  Invalidate();
}

void TImage::Paint() {
  const TBitmap& bmp = FPicture.Bitmap();
  if (bmp.Empty()) return;
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  if (FStretch) {
    FCanvas.StretchDraw(r, bmp);
  } else if (FCenter) {
    FCanvas.Draw((r.right - bmp.Width()) / 2, (r.bottom - bmp.Height()) / 2, bmp);
  } else {
    FCanvas.Draw(0, 0, bmp);
  }
}

bool TImage::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Picture.Data")) {
    if (prop.Value.Kind != TLayoutValue::lvBinary) loader.Fail(prop, "binary data expected for Picture.Data");
    FPicture.LoadFromData(prop.Value.Binary);
  } else if (SameText(n, "Stretch")) FStretch = prop.Value.AsBool();
  else if (SameText(n, "Center")) FCenter = prop.Value.AsBool();
  else if (SameText(n, "AutoSize")) FAutoSize = prop.Value.AsBool();
  else if (SameText(n, "Transparent")) FTransparent = prop.Value.AsBool();
  else if (SameText(n, "Proportional") || SameText(n, "IncrementalDisplay")) return true;
  else return TGraphicControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TPaintBox -------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 105;
  FHeight = 105;
}

void TPaintBox::Paint() {
  if (OnPaint) OnPaint(this);
}

bool TPaintBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "OnPaint")) {
    loader.Bind(OnPaint, prop);
    return true;
  }
  return TGraphicControl::SetLayoutProperty(prop, loader);
}

// ---- TRadioGroup -----------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner) {
  FItems.SetSink({[this](int, const std::string&) { UpdateButtons(); }, [this](int) { UpdateButtons(); },
                  [this] { UpdateButtons(); }, [this](int, const std::string&) { UpdateButtons(); }});
}

TRadioGroup::~TRadioGroup() {
  for (TRadioButton* b : FButtons) delete b;
}

void TRadioGroup::InitWindow() {
  TGroupBox::InitWindow();
  UpdateButtons();
}

void TRadioGroup::UpdateButtons() {
  while (static_cast<int>(FButtons.size()) > FItems.Count()) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (static_cast<int>(FButtons.size()) < FItems.Count()) {
    auto* b = new TRadioButton(nullptr);
    int index = static_cast<int>(FButtons.size());
    b->OnClick = [this, index](TObject*) {
      if (FUpdating) return;
      FItemIndex = index;
      Click();
    };
    b->SetEnabled(Enabled());
    FButtons.push_back(b);
    b->SetParent(this);
  }
  FUpdating = true;
  for (size_t i = 0; i < FButtons.size(); ++i) {
    FButtons[i]->SetCaption(FItems.Get(static_cast<int>(i)));
    FButtons[i]->SetChecked(static_cast<int>(i) == FItemIndex);
  }
  FUpdating = false;
  if (FItemIndex >= FItems.Count()) FItemIndex = -1;
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  RECT r = AlignRect();
  r.left += 6;
  int cols = FColumns < 1 ? 1 : FColumns;
  int rows = (static_cast<int>(FButtons.size()) + cols - 1) / cols;
  int colWidth = (r.right - r.left) / cols;
  int rowHeight = (r.bottom - r.top) / (rows ? rows : 1);
  for (size_t i = 0; i < FButtons.size(); ++i) {
    int col = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
    int h = rowHeight < 17 ? rowHeight : 17;
    FButtons[i]->SetBounds(r.left + col * colWidth, r.top + row * rowHeight + (rowHeight - h) / 2, colWidth - 4, h);
  }
}

void TRadioGroup::Resized() {
  TGroupBox::Resized();
  ArrangeButtons();
}

void TRadioGroup::SetEnabled(bool enabled) {
  TGroupBox::SetEnabled(enabled);
  for (TRadioButton* b : FButtons) b->SetEnabled(enabled);
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= FItems.Count()) index = -1;
  FItemIndex = index;
  FUpdating = true;
  for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetChecked(static_cast<int>(i) == index);
  FUpdating = false;
}

void TRadioGroup::SetColumns(int n) {
  FColumns = n < 1 ? 1 : n;
  ArrangeButtons();
}

bool TRadioGroup::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Items.Strings")) {
    FItems.Clear();
    for (const std::string& s : prop.Value.AsStrings()) FItems.Add(s);
  } else if (SameText(n, "ItemIndex")) SetItemIndex(prop.Value.AsInt());
  else if (SameText(n, "Columns")) FColumns = prop.Value.AsInt();
  else return TGroupBox::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TScrollBox ------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 185;
  FHeight = 41;
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName.clear();
  params.Style |= WS_CLIPCHILDREN | (FAutoScroll ? WS_HSCROLL | WS_VSCROLL : 0);
  params.ExStyle |= WS_EX_CONTROLPARENT | (FBorder ? WS_EX_CLIENTEDGE : 0);
}

void TScrollBox::SetAutoScroll(bool v) {
  if (v == FAutoScroll) return;
  FAutoScroll = v;
  if (!FHandle) return;
  if (!v) {
    ScrollTo(0, 0);
    FRange[0] = FRange[1] = 0;
  }
  ShowScrollBar(FHandle, SB_BOTH, v);
  UpdateScrollRanges();
}

void TScrollBox::UpdateScrollRanges() {
  if (!FHandle || !FAutoScroll) return;
  int extent[2] = {0, 0};
  for (TControl* c : FControls) {
    if (!c->Visible() || c->Align() != alNone) continue;
    extent[0] = std::max(extent[0], c->Left() + FPos[0] + c->Width());
    extent[1] = std::max(extent[1], c->Top() + FPos[1] + c->Height());
  }
  RECT r;
  GetClientRect(FHandle, &r);
  int page[2] = {r.right, r.bottom};
  for (int bar = 0; bar < 2; ++bar) {
    FRange[bar] = extent[bar] > page[bar] ? extent[bar] : 0;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, FRange[bar] ? FRange[bar] - 1 : 0,
                  static_cast<UINT>(FRange[bar] ? page[bar] : 0), FPos[bar], 0};
    SetScrollInfo(FHandle, bar == 0 ? SB_HORZ : SB_VERT, &si, TRUE);
  }
}

void TScrollBox::ScrollTo(int x, int y) {
  if (!FHandle) return;
  RECT r;
  GetClientRect(FHandle, &r);
  int want[2] = {x, y};
  int page[2] = {r.right, r.bottom};
  for (int bar = 0; bar < 2; ++bar) {
    int maxPos = std::max(0, FRange[bar] - page[bar]);
    want[bar] = std::clamp(want[bar], 0, maxPos);
  }
  int dx = FPos[0] - want[0], dy = FPos[1] - want[1];
  if (!dx && !dy) return;
  FPos[0] = want[0];
  FPos[1] = want[1];
  for (TControl* c : FControls)
    if (c->Align() == alNone) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  SetScrollPos(FHandle, SB_HORZ, FPos[0], TRUE);
  SetScrollPos(FHandle, SB_VERT, FPos[1], TRUE);
  Invalidate();
}

void TScrollBox::ScrollInView(TControl* c) {
  if (!c) return;
  int x = FPos[0], y = FPos[1];
  if (c->Left() < 0) x += c->Left();
  else if (c->Left() + c->Width() > ClientWidth()) x += c->Left() + c->Width() - ClientWidth();
  if (c->Top() < 0) y += c->Top();
  else if (c->Top() + c->Height() > ClientHeight()) y += c->Top() + c->Height() - ClientHeight();
  ScrollTo(x, y);
}

void TScrollBox::Resized() {
  TWinControl::Resized();
  UpdateScrollRanges();
}

LRESULT TScrollBox::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_HSCROLL || msg == WM_VSCROLL) {
    int bar = msg == WM_HSCROLL ? 0 : 1;
    RECT r;
    GetClientRect(FHandle, &r);
    int page = bar == 0 ? r.right : r.bottom;
    int pos = FPos[bar];
    switch (LOWORD(w)) {
      case SB_LINEUP: pos -= 8; break;
      case SB_LINEDOWN: pos += 8; break;
      case SB_PAGEUP: pos -= page; break;
      case SB_PAGEDOWN: pos += page; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: pos = HIWORD(w); break;
      case SB_TOP: pos = 0; break;
      case SB_BOTTOM: pos = FRange[bar]; break;
      default: return 0;
    }
    if (bar == 0) ScrollTo(pos, FPos[1]);
    else ScrollTo(FPos[0], pos);
    return 0;
  }
  if (msg == WM_MOUSEWHEEL) {
    ScrollTo(FPos[0], FPos[1] - GET_WHEEL_DELTA_WPARAM(w) / 4);
    return 0;
  }
  if (msg == WM_ERASEBKGND) {
    FillBackground(reinterpret_cast<HDC>(w));
    return 1;
  }
  return TWinControl::WndProc(msg, w, l);
}

bool TScrollBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "BorderStyle")) {
    FBorder = LayoutEnumValue(prop, loader, {{"bsNone", bsNone}, {"bsSingle", bsSingle}}) == bsSingle;
    return true;
  }
  if (SameText(prop.Name, "AutoScroll")) {
    SetAutoScroll(prop.Value.AsBool());
    return true;
  }
  if (StartsText("HorzScrollBar.", prop.Name) || StartsText("VertScrollBar.", prop.Name)) return true;
  return TWinControl::SetLayoutProperty(prop, loader);
}

// ---- TTimer ----------------------------------------------------------------

namespace {
std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Timers().find(id);
  if (it != Timers().end()) it->second->Timer();
}
}  // namespace

TTimer::TTimer(TComponent* owner) : TLayoutComponent(owner) {}

TTimer::~TTimer() {
  FEnabled = false;
  Update();
}

void TTimer::Update() {
  if (FId) {
    KillTimer(nullptr, FId);
    Timers().erase(FId);
    FId = 0;
  }
  if (FEnabled && FInterval) {
    FId = SetTimer(nullptr, 0, FInterval, &TimerProc);
    if (FId) Timers()[FId] = this;
  }
}

void TTimer::SetEnabled(bool v) {
  FEnabled = v;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  FInterval = ms;
  Update();
}

void TTimer::Timer() {
  try {
    if (OnTimer) OnTimer(this);
  } catch (...) {
    Application->HandleException(this);
  }
}

bool TTimer::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Enabled")) FEnabled = prop.Value.AsBool();
  else if (SameText(prop.Name, "Interval")) FInterval = static_cast<unsigned>(prop.Value.AsInt());
  else if (SameText(prop.Name, "OnTimer")) {
    loader.Bind(OnTimer, prop);
    Update();
  } else return TLayoutComponent::SetLayoutProperty(prop, loader);
  Update();
  return true;
}

}  // namespace tq
