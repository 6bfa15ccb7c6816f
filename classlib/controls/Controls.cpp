#include "Controls.h"

#include <windowsx.h>

#include "Forms.h"
#include "Menus.h"

namespace tq {

namespace {
const char* const kControlProp = "TqControl";
const char* const kOwnClass = "TqWindow";

void EnsureCommonControls() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                           ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
}
}  // namespace

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
    if (auto* c = static_cast<TControl*>(cs->lpCreateParams)) {
      SetPropA(hwnd, kControlProp, c);
      c->FHandle = hwnd;
    }
  }
  auto* c = static_cast<TControl*>(GetPropA(hwnd, kControlProp));
  if (!c) return DefWindowProcA(hwnd, msg, w, l);
  if (msg == WM_NCDESTROY) {
    WNDPROC def = c->FDefProc;
    RemovePropA(hwnd, kControlProp);
    c->FHandle = nullptr;
    return def ? CallWindowProcA(def, hwnd, msg, w, l) : DefWindowProcA(hwnd, msg, w, l);
  }
  try {
    for (const TMessageHook& hook : c->MessageHooks) {
      LRESULT result = 0;
      if (hook && hook(c, msg, w, l, result)) return result;
    }
    return c->WndProc(msg, w, l);
  } catch (...) {
    Application->HandleException(c);
    return 0;
  }
}

const char* OwnWindowClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kOwnClass;
    RegisterClassExA(&wc);
    registered = true;
  }
  return kOwnClass;
}

TColor LayoutColor(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (prop.Value.Kind == TLayoutValue::lvInteger) return static_cast<TColor>(prop.Value.Int);
  TColor c;
  if (!IdentToColor(prop.Value.AsString(), c)) loader.Fail(prop, "unknown colour " + prop.Value.Describe());
  return c;
}

bool SetLayoutFontProperty(TFont& font, const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string n = prop.Name.substr(prop.Name.find('.') + 1);
  const TLayoutValue& v = prop.Value;
  if (SameText(n, "Name")) font.SetName(v.AsString());
  else if (SameText(n, "Height")) font.SetHeight(v.AsInt());
  else if (SameText(n, "Size")) font.SetSize(v.AsInt());
  else if (SameText(n, "Color")) font.SetColor(LayoutColor(prop, loader));
  else if (SameText(n, "Charset")) {
    int32_t cs = 0;
    if (v.Kind == TLayoutValue::lvInteger) cs = v.AsInt();
    else if (!CharsetIdents().IdentToInt(v.AsString(), cs)) loader.Fail(prop, "unknown character set " + v.Describe());
    font.SetCharset(static_cast<TFontCharset>(cs));
  } else if (SameText(n, "Style"))
    font.SetStyle(LayoutSetValue(prop, loader,
                                 {{"fsBold", FontStyle(fsBold)}, {"fsItalic", FontStyle(fsItalic)},
                                  {"fsUnderline", FontStyle(fsUnderline)}, {"fsStrikeOut", FontStyle(fsStrikeOut)}}));
  else if (SameText(n, "Pitch")) font.SetPitch(static_cast<TFontPitch>(LayoutEnumValue(
           prop, loader, {{"fpDefault", fpDefault}, {"fpVariable", fpVariable}, {"fpFixed", fpFixed}})));
  else return false;
  return true;
}

TShiftState KeyShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

namespace {
TShiftState MouseShiftState(WPARAM w) {
  TShiftState s = 0;
  if (w & MK_SHIFT) s |= ssShift;
  if (w & MK_CONTROL) s |= ssCtrl;
  if (w & MK_LBUTTON) s |= ssLeft;
  if (w & MK_RBUTTON) s |= ssRight;
  if (w & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}
}  // namespace

// ---- TControl ------------------------------------------------------------

const TPropertyTable& TControl::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TControl>("TControl", TComponent::ClassProperties())
          .Integer("Left", &TControl::Left, &TControl::SetLeft)
          .Integer("Top", &TControl::Top, &TControl::SetTop)
          .Integer("Width", &TControl::Width, &TControl::SetWidth)
          .Integer("Height", &TControl::Height, &TControl::SetHeight)
          .Build();
  return table;
}

TControl::TControl(TComponent* owner) : TLayoutComponent(owner) {
  FFont.SetName("MS Sans Serif");
  FFont.SetHeight(-11);
  FFont.OnChange = [this](TObject*) {
    if (!FInheritingFont) FParentFont = false;
    FontChanged();
  };
}

void TControl::InheritFont(const TFont& font) {
  FInheritingFont = true;
  FFont.Assign(font);
  FInheritingFont = false;
}

void TControl::SetParentFont(bool v) {
  FParentFont = v;
  if (v && FParent) InheritFont(FParent->Font());
}

TControl::~TControl() {
  FFont.OnChange = nullptr;
  DestroyHandle();
  if (FParent) FParent->RemoveControl(this);
  if (FBrush) DeleteObject(FBrush);
}

TControl* TControl::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<TControl*>(GetPropA(hwnd, kControlProp)) : nullptr;
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::CreateParams(TCreateParams& params) {
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FVisible) params.Style |= WS_VISIBLE;
  if (!FEnabled) params.Style |= WS_DISABLED;
}

HWND TControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TControl::CreateHandle() {
  if (FHandle) return;
  EnsureCommonControls();
  TCreateParams params;
  CreateParams(params);
  HWND parent = nullptr;
  if (params.Style & WS_CHILD) {
    if (!FParent) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
    parent = FParent->ParentWindowForChild();
  }
  bool own = params.WinClassName.empty();
  HWND h = CreateWindowExA(params.ExStyle, own ? OwnWindowClass() : params.WinClassName.c_str(), FText.c_str(),
                           params.Style, FLeft, FTop, FWidth, FHeight, parent, nullptr, GetModuleHandleA(nullptr),
                           own ? this : nullptr);
  if (!h) throw EOSError(static_cast<int>(GetLastError()), Format("Cannot create window %s", {Name()}));
  if (!own) {
    FHandle = h;
    SetPropA(h, kControlProp, this);
    FDefProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
  } else {
    FDefProc = nullptr;
  }
  InitWindow();
}

void TControl::InitWindow() {
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
}

void TControl::DestroyHandle() {
  if (FHandle) DestroyWindow(FHandle);
  FHandle = nullptr;
}

LRESULT TControl::DefaultHandler(UINT msg, WPARAM w, LPARAM l) {
  if (FDefProc) return CallWindowProcA(FDefProc, FHandle, msg, w, l);
  return DefWindowProcA(FHandle, msg, w, l);
}

void TControl::UpdateMouseHint() {
  TControl* c = this;
  while (c && c->FHint.empty()) c = c->FParent;
  Application->SetHintFromControl(this, c ? c->FHint : std::string());
}

LRESULT TControl::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COMMAND:
      if (l) {
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(l)))
          if (child->CNCommand(HIWORD(w))) return 0;
      } else if (HIWORD(w) == 0) {
        if (TMenuItem* item = TMenuItem::FindByCommand(LOWORD(w))) {
          item->Click();
          return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(l);
      if (TControl* child = FromHandle(hdr->hwndFrom)) {
        LRESULT result = 0;
        if (child->CNNotify(hdr, result)) return result;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (TControl* child = FromHandle(reinterpret_cast<HWND>(l)))
        if (HBRUSH b = child->CtlColor(reinterpret_cast<HDC>(w))) return reinterpret_cast<LRESULT>(b);
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      if (dis->CtlType != ODT_MENU)
        if (TControl* child = FromHandle(dis->hwndItem))
          if (child->DrawItem(dis)) return TRUE;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      if (mis->CtlType != ODT_MENU)
        if (TControl* child = FromHandle(GetDlgItem(FHandle, static_cast<int>(mis->CtlID))))
          if (child->MeasureItem(mis)) return TRUE;
      break;
    }
    case WM_SIZE: {
      RECT r;
      GetWindowRect(FHandle, &r);
      if (FParent && FParent->FHandle) MapWindowPoints(nullptr, FParent->ParentWindowForChild(), reinterpret_cast<POINT*>(&r), 2);
      FWidth = r.right - r.left;
      FHeight = r.bottom - r.top;
      LRESULT res = DefaultHandler(msg, w, l);
      Resized();
      return res;
    }
    case WM_SETCURSOR:
      if (Screen->Cursor() != crDefault) {
        SetCursor(Screen->CursorHandle(Screen->Cursor()));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
      LRESULT res = DefaultHandler(msg, w, l);
      if (OnMouseDown) {
        TMouseButton b = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK ? mbLeft
                         : msg == WM_MBUTTONDOWN                          ? mbMiddle
                                                                          : mbRight;
        TShiftState s = MouseShiftState(w);
        if (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK) s |= ssDouble;
        OnMouseDown(this, b, s, GET_X_LPARAM(l), GET_Y_LPARAM(l));
      }
      return res;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      LRESULT res = DefaultHandler(msg, w, l);
      if (OnMouseUp) {
        TMouseButton b = msg == WM_LBUTTONUP ? mbLeft : msg == WM_MBUTTONUP ? mbMiddle : mbRight;
        OnMouseUp(this, b, MouseShiftState(w), GET_X_LPARAM(l), GET_Y_LPARAM(l));
      }
      return res;
    }
    case WM_MOUSEMOVE:
      UpdateMouseHint();
      Application->TrackHint(this, GET_X_LPARAM(l), GET_Y_LPARAM(l));
      if (OnMouseMove) OnMouseMove(this, MouseShiftState(w), GET_X_LPARAM(l), GET_Y_LPARAM(l));
      break;
    case WM_CHAR:
      if (OnKeyPress) {
        char key = static_cast<char>(w);
        OnKeyPress(this, key);
        if (key == 0) return 0;
        w = static_cast<unsigned char>(key);
      }
      break;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      TKeyEvent& ev = msg == WM_KEYDOWN ? OnKeyDown : OnKeyUp;
      TForm* form = ParentForm();
      uint16_t key = static_cast<uint16_t>(w);
      if (form && form != this && form->KeyPreview()) {
        TKeyEvent& fev = msg == WM_KEYDOWN ? form->OnKeyDown : form->OnKeyUp;
        if (fev) fev(form, key, KeyShiftState());
        if (key == 0) return 0;
      }
      if (ev) ev(this, key, KeyShiftState());
      if (key == 0) return 0;
      w = key;
      break;
    }
    case WM_SETFOCUS:
      if (OnEnter) OnEnter(this);
      break;
    case WM_KILLFOCUS:
      if (OnExit) OnExit(this);
      break;
    case WM_CONTEXTMENU:
      if (FPopupMenu) {
        int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
        if (x == -1 && y == -1) {
          POINT p{0, 0};
          ClientToScreen(FHandle, &p);
          x = p.x;
          y = p.y;
        }
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(x, y);
        return 0;
      }
      break;
    case WM_HELP:
      if (FHelpContext) {
        Application->HelpContext(FHelpContext);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefaultHandler(msg, w, l);
}

HBRUSH TControl::CtlColor(HDC dc) {
  bool customFont = FFont.Color() != clWindowText && FFont.Color() != clBtnText;
  if (!customFont && BackgroundColor() == clBtnFace) return nullptr;
  SetTextColor(dc, ColorToRGB(FFont.Color()));
  TColor back = BackgroundColor();
  if (FBrush) DeleteObject(FBrush);
  FBrush = nullptr;
  SetBkColor(dc, ColorToRGB(back));
  if (!FBrush) FBrush = CreateSolidBrush(ColorToRGB(back));
  return FBrush;
}

std::string TControl::GetText() const {
  if (!FHandle) return FText;
  int n = GetWindowTextLengthA(FHandle);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = GetWindowTextA(FHandle, s.data(), n + 1);
  s.resize(static_cast<size_t>(got < 0 ? 0 : got));
  return s;
}

void TControl::SetTextValue(const std::string& s) {
  FText = s;
  if (FHandle) {
    FSettingText = true;
    SetWindowTextA(FHandle, s.c_str());
    FSettingText = false;
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (FHandle) MoveWindow(FHandle, left, top, width, height, TRUE);
  else Resized();
}

int TControl::ClientWidth() const {
  if (!FHandle) return FWidth;
  RECT r;
  GetClientRect(FHandle, &r);
  return r.right;
}

int TControl::ClientHeight() const {
  if (!FHandle) return FHeight;
  RECT r;
  GetClientRect(FHandle, &r);
  return r.bottom;
}

void TControl::SetClientWidth(int v) { SetWidth(FWidth - ClientWidth() + v); }
void TControl::SetClientHeight(int v) { SetHeight(FHeight - ClientHeight() + v); }

void TControl::SetAlign(TAlign align) {
  FAlign = align;
  if (FParent) FParent->AlignControls();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (!parent && FHandle) {
    // Taken off its parent the control loses its window; it gets a new one
    // when placed again.
    FText = GetText();
    DestroyHandle();
  }
  if (FParent) FParent->RemoveControl(this);
  FParent = parent;
  if (parent) {
    if (FParentFont) InheritFont(parent->Font());
    parent->InsertControl(this);
    if (FHandle) ::SetParent(FHandle, parent->ParentWindowForChild());
    else if (parent->HandleAllocated()) CreateHandle();
    if (FAlign != alNone) parent->AlignControls();
  }
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  if (FHandle) ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE);
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TControl::SetEnabled(bool enabled) {
  FEnabled = enabled;
  if (FHandle) EnableWindow(FHandle, enabled);
}

void TControl::SetColor(TColor color) {
  FColor = color;
  if (FBrush) {
    DeleteObject(FBrush);
    FBrush = nullptr;
  }
  Invalidate();
}

void TControl::FontChanged() {
  if (FHandle) {
    SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
    Invalidate();
  }
  if (auto* wc = dynamic_cast<TWinControl*>(this))
    for (TControl* c : wc->FControls)
      if (c->FParentFont) c->InheritFont(FFont);
}

void TControl::Resized() {
  if (auto* wc = dynamic_cast<TWinControl*>(this)) wc->AlignControls();
  if (OnResize) OnResize(this);
}

TColor TControl::BackgroundColor() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (c->FColor != clDefault) return c->FColor;
  return clBtnFace;
}

void TControl::FillBackground(HDC dc) {
  RECT r;
  GetClientRect(FHandle, &r);
  HBRUSH b = CreateSolidBrush(ColorToRGB(BackgroundColor()));
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void TControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TControl::Repaint() {
  if (FHandle) {
    InvalidateRect(FHandle, nullptr, TRUE);
    UpdateWindow(FHandle);
  }
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

bool TControl::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  const TLayoutValue& v = prop.Value;
  if (SameText(n, "Left")) FLeft = v.AsInt();
  else if (SameText(n, "Top")) FTop = v.AsInt();
  else if (SameText(n, "Width")) FWidth = v.AsInt();
  else if (SameText(n, "Height")) FHeight = v.AsInt();
  else if (SameText(n, "Caption") || SameText(n, "Text")) SetTextValue(v.AsString());
  else if (SameText(n, "Visible")) SetVisible(v.AsBool());
  else if (SameText(n, "Enabled")) SetEnabled(v.AsBool());
  else if (SameText(n, "Hint")) FHint = v.AsString();
  else if (SameText(n, "ShowHint")) FShowHint = v.AsBool();
  else if (SameText(n, "HelpContext")) FHelpContext = v.AsInt();
  else if (SameText(n, "Align"))
    SetAlign(static_cast<TAlign>(LayoutEnumValue(
        prop, loader,
        {{"alNone", alNone}, {"alTop", alTop}, {"alBottom", alBottom}, {"alLeft", alLeft}, {"alRight", alRight},
         {"alClient", alClient}})));
  else if (SameText(n, "Color")) {
    SetColor(LayoutColor(prop, loader));
  } else if (StartsText("Font.", n)) {
    if (!SetLayoutFontProperty(FFont, prop, loader)) return false;
  }
  else if (SameText(n, "PopupMenu")) loader.Reference<TPopupMenu>(prop, [this](TPopupMenu* m) { FPopupMenu = m; });
  else if (SameText(n, "OnClick")) loader.Bind(OnClick, prop);
  else if (SameText(n, "OnDblClick")) loader.Bind(OnDblClick, prop);
  else if (SameText(n, "OnMouseDown")) loader.Bind(OnMouseDown, prop);
  else if (SameText(n, "OnMouseUp")) loader.Bind(OnMouseUp, prop);
  else if (SameText(n, "OnMouseMove")) loader.Bind(OnMouseMove, prop);
  else if (SameText(n, "OnKeyPress")) loader.Bind(OnKeyPress, prop);
  else if (SameText(n, "OnKeyDown")) loader.Bind(OnKeyDown, prop);
  else if (SameText(n, "OnKeyUp")) loader.Bind(OnKeyUp, prop);
  else if (SameText(n, "OnEnter")) loader.Bind(OnEnter, prop);
  else if (SameText(n, "OnExit")) loader.Bind(OnExit, prop);
  else if (SameText(n, "OnResize")) loader.Bind(OnResize, prop);
  // Designer bookkeeping that has no effect at run time.
  else if (SameText(n, "ParentFont")) SetParentFont(v.AsBool());
  else if (SameText(n, "ParentColor") ||
           SameText(n, "ParentShowHint") || SameText(n, "DesignSize") || SameText(n, "Anchors"))
    return true;
  else return TLayoutComponent::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TWinControl ---------------------------------------------------------

TWinControl::~TWinControl() {
  for (TControl* c : FControls) c->FParent = nullptr;
  FControls.clear();
}

void TWinControl::InsertControl(TControl* c) { FControls.push_back(c); }

void TWinControl::RemoveControl(TControl* c) {
  for (size_t i = 0; i < FControls.size(); ++i)
    if (FControls[i] == c) {
      FControls.erase(FControls.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
}

void TWinControl::CreateHandle() {
  TControl::CreateHandle();
  for (TControl* c : std::vector<TControl*>(FControls))
    if (!c->FHandle) c->CreateHandle();
  AlignControls();
}

void TWinControl::SetFocus() {
  if (HWND h = Handle()) ::SetFocus(h);
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetTabStop(bool v) {
  FTabStop = v;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    SetWindowLongPtrA(FHandle, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
}

RECT TWinControl::AlignRect() {
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  return r;
}

void TWinControl::AlignControls() {
  if (!FHandle) return;
  RECT r = AlignRect();
  static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign a : order)
    for (TControl* c : FControls) {
      if (c->FAlign != a || !c->FVisible) continue;
      int x = c->FLeft, y = c->FTop, w = c->FWidth, h = c->FHeight;
      switch (a) {
        case alTop: x = r.left; y = r.top; w = r.right - r.left; r.top += h; break;
        case alBottom: x = r.left; y = r.bottom - h; w = r.right - r.left; r.bottom -= h; break;
        case alLeft: x = r.left; y = r.top; h = r.bottom - r.top; r.left += w; break;
        case alRight: x = r.right - w; y = r.top; h = r.bottom - r.top; r.right -= w; break;
        case alClient: x = r.left; y = r.top; w = r.right - r.left; h = r.bottom - r.top; break;
        default: break;
      }
      if (w < 0) w = 0;
      if (h < 0) h = 0;
      if (x != c->FLeft || y != c->FTop || w != c->FWidth || h != c->FHeight) c->SetBounds(x, y, w, h);
    }
}

bool TWinControl::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "TabStop")) {
    SetTabStop(prop.Value.AsBool());
    return true;
  }
  if (SameText(prop.Name, "TabOrder")) {
    FTabOrder = prop.Value.AsInt();
    return true;
  }
  return TControl::SetLayoutProperty(prop, loader);
}

void TWinControl::AddLayoutChild(TComponent* child) {
  if (auto* c = dynamic_cast<TControl*>(child)) c->SetParent(this);
}

// ---- TGraphicControl -----------------------------------------------------

LRESULT TGraphicControl::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(FHandle, &ps);
      FCanvas.SetHandle(dc);
      FCanvas.Font.Assign(Font());
      try {
        Paint();
      } catch (...) {
        FCanvas.SetHandle(nullptr);
        EndPaint(FHandle, &ps);
        throw;
      }
      FCanvas.SetHandle(nullptr);
      EndPaint(FHandle, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      FillBackground(reinterpret_cast<HDC>(w));
      return 1;
    case WM_LBUTTONUP: {
      LRESULT res = TWinControl::WndProc(msg, w, l);
      RECT r;
      GetClientRect(FHandle, &r);
      POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      if (PtInRect(&r, p)) Click();
      return res;
    }
    case WM_LBUTTONDBLCLK: {
      LRESULT res = TWinControl::WndProc(msg, w, l);
      if (OnDblClick) OnDblClick(this);
      return res;
    }
    default:
      return TWinControl::WndProc(msg, w, l);
  }
}

}  // namespace tq
