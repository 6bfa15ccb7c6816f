#include "Forms.h"

#include <windowsx.h>

#include "Menus.h"
#include "StdCtrls.h"

namespace tq {

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

// ---- TForm -----------------------------------------------------------------

namespace {
// The enabled, visible default (or cancel) button among a control's descendants.
TButton* FindDialogButton(TWinControl* parent, bool isDefault) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (auto* b = dynamic_cast<TButton*>(c); b && (isDefault ? b->Default() : b->Cancel())) return b;
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (TButton* b = FindDialogButton(w, isDefault)) return b;
  }
  return nullptr;
}
}  // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  FVisible = false;
  FWidth = 320;
  FHeight = 240;
  Screen->FForms.push_back(this);
  CreateHandle();
}

TForm::~TForm() {
  Application->CancelHint();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  if (Application->MainForm() == this) Application->SetMainForm(nullptr);
  auto& forms = Screen->FForms;
  for (size_t i = 0; i < forms.size(); ++i)
    if (forms[i] == this) {
      forms.erase(forms.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  DestroyHandle();
  DestroyComponents();
}

void TForm::CreateParams(TCreateParams& params) {
  params.WinClassName.clear();
  switch (FBorderStyle) {
    case bsNone: params.Style = WS_POPUP; break;
    case bsSingle: params.Style = WS_OVERLAPPED | WS_CAPTION | WS_BORDER; break;
    case bsDialog:
      params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      params.ExStyle = WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
      params.ExStyle = WS_EX_TOOLWINDOW;
      break;
    default: params.Style = WS_OVERLAPPEDWINDOW; break;
  }
  if (FBorderStyle != bsDialog && FBorderStyle != bsNone) {
    if (FBorderIcons & biSystemMenu) params.Style |= WS_SYSMENU;
    if (FBorderStyle == bsSizeable || FBorderStyle == bsSingle) {
      params.Style &= ~static_cast<DWORD>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
      if (FBorderIcons & biMinimize) params.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons & biMaximize) params.Style |= WS_MAXIMIZEBOX;
    }
  }
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TForm::InitWindow() {
  TWinControl::InitWindow();
  if (FMenu) ::SetMenu(FHandle, FMenu->Handle());
}

void TForm::LoadLayoutText(const std::string& text) {
  TLayoutNode node = ParseLayoutText(text);
  TLayoutLoader loader(this, FMethods, FFields);
  loader.Load(node);
  // The window was made before the layout set its look: remake it so that
  // the border style and icons apply, keeping the children.
  LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE), ex = GetWindowLongPtrA(FHandle, GWL_EXSTYLE);
  TCreateParams params;
  CreateParams(params);
  DWORD keep = WS_VISIBLE | WS_DISABLED;
  SetWindowLongPtrA(FHandle, GWL_STYLE, static_cast<LONG_PTR>((params.Style & ~keep) | (style & keep)));
  SetWindowLongPtrA(FHandle, GWL_EXSTYLE, static_cast<LONG_PTR>(params.ExStyle) | (ex & WS_EX_TOPMOST));
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  if (FClientSizeSet) {
    RECT r{0, 0, FClientW, FClientH};
    AdjustWindowRectEx(&r, params.Style, FMenu != nullptr, params.ExStyle);
    SetBounds(FLeft, FTop, r.right - r.left, r.bottom - r.top);
  } else {
    SetBounds(FLeft, FTop, FWidth, FHeight);
  }
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  DoCreate();
}

void TForm::LoadLayoutResource(const std::string& resourceName) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!res) throw ELayoutError(Format("Layout resource %s not found", {resourceName}));
  HGLOBAL data = LoadResource(module, res);
  const char* bytes = static_cast<const char*>(LockResource(data));
  DWORD size = SizeofResource(module, res);
  LoadLayoutText(std::string(bytes, size));
}

void TForm::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TForm::PlaceWindow() {
  if (FPlaced) return;
  FPlaced = true;
  if (FPosition == poScreenCenter || FPosition == poDesktopCenter || FPosition == poMainFormCenter ||
      FPosition == poOwnerFormCenter) {
    RECT area{0, 0, Screen->Width(), Screen->Height()};
    TForm* main = Application->MainForm();
    if ((FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) && main && main != this &&
        main->HandleAllocated())
      GetWindowRect(main->WindowHandle(), &area);
    SetBounds(area.left + (area.right - area.left - FWidth) / 2, area.top + (area.bottom - area.top - FHeight) / 2,
              FWidth, FHeight);
  }
}

void TForm::Show() {
  PlaceWindow();
  bool wasVisible = FVisible;
  FVisible = true;
  ShowWindow(Handle(), FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                       : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                     : SW_SHOWNORMAL);
  if (FActiveControl && FActiveControl->HandleAllocated()) ::SetFocus(FActiveControl->WindowHandle());
  if (!wasVisible && OnShow) OnShow(this);
}

void TForm::Hide() {
  if (!FVisible) return;
  FVisible = false;
  if (FHandle) ShowWindow(FHandle, SW_HIDE);
  if (OnHide) OnHide(this);
}

void TForm::BringToFront() {
  if (FHandle) SetForegroundWindow(FHandle);
}

void TForm::SetWindowState(TWindowState s) {
  FWindowState = s;
  if (FHandle && FVisible)
    ShowWindow(FHandle, s == wsMaximized ? SW_MAXIMIZE : s == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

TModalResult TForm::ShowModal() {
  return ShowModalHook(Name(), [this] { return RunModal(); });
}

TModalResult TForm::RunModal() {
  FModalResult = mrNone;
  FModal = true;
  Application->ModalStack().push_back(this);
  std::vector<HWND> disabled;
  for (TForm* f : std::vector<TForm*>(Screen->FForms))
    if (f != this && f->HandleAllocated() && IsWindowEnabled(f->FHandle) && IsWindowVisible(f->FHandle)) {
      EnableWindow(f->FHandle, FALSE);
      disabled.push_back(f->FHandle);
    }
  auto restore = [&] {
    for (HWND h : disabled)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    Application->ModalStack().pop_back();
    FModal = false;
    Hide();
  };
  try {
    Show();
    while (FModalResult == mrNone && !Application->Terminated()) {
      Application->HandleMessage();
      if (FModalResult != mrNone) {
        // Closing a modal form asks OnCloseQuery/OnClose like Close does.
        bool canClose = true;
        if (OnCloseQuery) OnCloseQuery(this, canClose);
        if (!canClose) {
          FModalResult = mrNone;
          continue;
        }
        TCloseAction action = caHide;
        if (OnClose) OnClose(this, action);
        if (action == caNone) FModalResult = mrNone;
      }
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  if (Application->Terminated() && FModalResult == mrNone) FModalResult = mrCancel;
  return FModalResult;
}

void TForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (!canClose) return;
  TCloseAction action = Application->MainForm() == this ? caFree : caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    Hide();
    Application->Terminate();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else if (action == caFree) {
    Release();
  } else {
    Hide();
  }
}

namespace {
const UINT kReleaseMessage = WM_USER + 0x7F01;
}

void TForm::Release() {
  if (FHandle) PostMessageA(FHandle, kReleaseMessage, 0, 0);
}

void TForm::SetMenu(TMainMenu* menu) {
  FMenu = menu;
  if (FHandle) {
    ::SetMenu(FHandle, menu ? menu->Handle() : nullptr);
    if (menu) menu->SetWindow(FHandle);
  }
}

void TForm::SetActiveControl(TWinControl* c) {
  FActiveControl = c;
  if (c && FVisible && c->HandleAllocated()) ::SetFocus(c->WindowHandle());
}

LRESULT TForm::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) {
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      break;
    case WM_ERASEBKGND: {
      FillBackground(reinterpret_cast<HDC>(w));
      return 1;
    }
    case WM_PAINT:
      if (OnPaint) {
        PAINTSTRUCT ps;
        BeginPaint(FHandle, &ps);
        EndPaint(FHandle, &ps);
        OnPaint(this);
        return 0;
      }
      break;
    case WM_COMMAND:
      // Enter and Escape in the form (the dialog keys) press the default and
      // the cancel button.
      if (l == 0 && HIWORD(w) == 0 && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
        if (TButton* b = FindDialogButton(this, LOWORD(w) == IDOK)) b->Click();
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      if (FMenu) FMenu->InitPopup(reinterpret_cast<HMENU>(w));
      break;
    default:
      if (msg == kReleaseMessage) {
        delete this;
        return 0;
      }
      break;
  }
  return TWinControl::WndProc(msg, w, l);
}

bool TForm::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  const TLayoutValue& v = prop.Value;
  if (SameText(n, "ClientWidth")) {
    FClientSizeSet = true;
    FClientW = v.AsInt();
    if (!FClientH) FClientH = FHeight;
  } else if (SameText(n, "ClientHeight")) {
    FClientSizeSet = true;
    FClientH = v.AsInt();
    if (!FClientW) FClientW = FWidth;
  } else if (SameText(n, "Width") && FClientSizeSet) {
    FClientSizeSet = false;
    FWidth = v.AsInt();
  } else if (SameText(n, "BorderStyle"))
    FBorderStyle = LayoutEnumValue(prop, loader,
                                   {{"bsNone", bsNone}, {"bsSingle", bsSingle}, {"bsSizeable", bsSizeable},
                                    {"bsDialog", bsDialog}, {"bsToolWindow", bsToolWindow},
                                    {"bsSizeToolWin", bsSizeToolWin}});
  else if (SameText(n, "BorderIcons"))
    FBorderIcons = LayoutSetValue(
        prop, loader, {{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}});
  else if (SameText(n, "Position"))
    FPosition = static_cast<TPosition>(LayoutEnumValue(
        prop, loader,
        {{"poDesigned", poDesigned}, {"poDefault", poDefault}, {"poDefaultPosOnly", poDefaultPosOnly},
         {"poDefaultSizeOnly", poDefaultSizeOnly}, {"poScreenCenter", poScreenCenter},
         {"poMainFormCenter", poMainFormCenter}, {"poOwnerFormCenter", poOwnerFormCenter},
         {"poDesktopCenter", poDesktopCenter}}));
  else if (SameText(n, "WindowState"))
    FWindowState = static_cast<TWindowState>(LayoutEnumValue(
        prop, loader, {{"wsNormal", wsNormal}, {"wsMinimized", wsMinimized}, {"wsMaximized", wsMaximized}}));
  else if (SameText(n, "KeyPreview")) FKeyPreview = v.AsBool();
  else if (SameText(n, "Visible")) FVisible = false;  // a form is shown by Show or ShowModal
  else if (SameText(n, "Menu")) loader.Reference<TMainMenu>(prop, [this](TMainMenu* m) { SetMenu(m); });
  else if (SameText(n, "ActiveControl"))
    loader.Reference<TWinControl>(prop, [this](TWinControl* c) { FActiveControl = c; });
  else if (SameText(n, "OnCreate")) loader.Bind(OnCreate, prop);
  else if (SameText(n, "OnDestroy")) loader.Bind(OnDestroy, prop);
  else if (SameText(n, "OnShow")) loader.Bind(OnShow, prop);
  else if (SameText(n, "OnHide")) loader.Bind(OnHide, prop);
  else if (SameText(n, "OnActivate")) loader.Bind(OnActivate, prop);
  else if (SameText(n, "OnDeactivate")) loader.Bind(OnDeactivate, prop);
  else if (SameText(n, "OnClose")) loader.Bind(OnClose, prop);
  else if (SameText(n, "OnCloseQuery")) loader.Bind(OnCloseQuery, prop);
  else if (SameText(n, "OnPaint")) loader.Bind(OnPaint, prop);
  // Designer bookkeeping: layouts are used at their pixel sizes, unscaled.
  else if (SameText(n, "PixelsPerInch") || SameText(n, "TextHeight") || SameText(n, "OldCreateOrder") ||
           SameText(n, "Scaled") || SameText(n, "FormStyle") || SameText(n, "AutoScroll"))
    return true;
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TApplication -----------------------------------------------------------

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() {
  if (FHintWindow) DestroyWindow(FHintWindow);
  DestroyComponents();
}

bool TApplication::DispatchOne(MSG& msg) {
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return false;
  }
  HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (top && IsDialogMessageA(top, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!DispatchOne(msg)) break;
}

void TApplication::HandleMessage() {
  MSG msg;
  BOOL got = GetMessageA(&msg, nullptr, 0, 0);
  if (got == 0) {
    FTerminated = true;
    return;
  }
  if (got < 0) return;
  DispatchOne(msg);
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
  if (!FTerminated) PostQuitMessage(0);
  FTerminated = true;
}

void TApplication::HandleException(TObject* sender) {
  std::exception_ptr p = std::current_exception();
  if (!p) return;
  try {
    std::rethrow_exception(p);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    Report(sender, e);
  } catch (...) {
    Report(sender, Exception("Unknown exception"));
  }
}

void TApplication::Report(TObject* sender, const std::exception& e) {
  // Showing the error must not fail in turn: this runs at the edge of a
  // window procedure, which no exception may cross.
  try {
    if (OnException) OnException(sender, e);
    else ShowException(e);
  } catch (...) {
  }
}

void TApplication::ShowException(const std::exception& e) { tq::ShowException(e.what()); }

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  return tq::MessageBox(text, caption, static_cast<int>(flags));
}

bool TApplication::HelpCommand(uint16_t command, intptr_t data) {
  bool callHelp = true;
  bool result = false;
  if (OnHelp) result = OnHelp(command, data, callHelp);
  // Without a hook that handled it there is no other help engine to call.
  return result;
}

bool TApplication::HelpContext(int context) { return HelpCommand(HELP_CONTEXT, context); }

void TApplication::SetHintFromControl(TControl* control, const std::string& hint) {
  if (hint == FHint) return;
  FHint = hint;
  if (OnHint) OnHint(this);
}

std::string TApplication::HintFor(TControl* control, int x, int y) {
  if (!control || !ShowHint) return {};
  if (!control->ShowHint()) return {};
  std::string text = control->Hint();
  bool canShow = true;
  THintInfo info;
  info.HintControl = control;
  info.CursorPos = POINT{x, y};
  info.CursorRect = RECT{0, 0, control->ClientWidth(), control->ClientHeight()};
  info.HideTimeout = HintHidePause;
  if (OnShowHint) OnShowHint(text, canShow, info);
  if (!canShow) return {};
  return text;
}

void TApplication::TrackHint(TControl* control, int x, int y) {
  std::string text = HintFor(control, x, y);
  if (text.empty()) {
    if (FHintControl == control) CancelHint();
    return;
  }
  if (!FHintWindow) {
    FHintWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!FHintWindow) return;
  }
  TTTOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  ti.hwnd = nullptr;
  ti.uId = 1;
  ti.lpszText = const_cast<char*>(text.c_str());
  if (FHintControl == nullptr) SendMessageA(FHintWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  if (text != FHintText || FHintControl != control) {
    SendMessageA(FHintWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    POINT p{x, y + 20};
    ClientToScreen(control->WindowHandle(), &p);
    SendMessageA(FHintWindow, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(FHintWindow, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    FHintText = text;
  }
  FHintControl = control;
}

void TApplication::CancelHint() {
  if (FHintWindow && FHintControl) {
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uId = 1;
    SendMessageA(FHintWindow, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(FHintWindow, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  FHintControl = nullptr;
  FHintText.clear();
}

// ---- TScreen ------------------------------------------------------------------

HCURSOR TScreen::CursorHandle(TCursor cursor) const {
  const char* id = IDC_ARROW;
  switch (cursor) {
    case crHourGlass: id = IDC_WAIT; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crNo: id = IDC_NO; break;
    case crHandPoint: id = IDC_HAND; break;
    case crHelp: id = IDC_HELP; break;
    case crNone: return nullptr;
    default: break;
  }
  return LoadCursorA(nullptr, id);
}

void TScreen::SetCursor(TCursor cursor) {
  FCursor = cursor;
  if (cursor == crDefault) {
    // Let the window under the mouse choose again.
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x, p.y);
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  } else {
    ::SetCursor(CursorHandle(cursor));
  }
}

TForm* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  for (TForm* f : FForms)
    if (f->WindowHandle() == active) return f;
  return nullptr;
}

}  // namespace tq
