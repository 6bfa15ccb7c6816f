#pragma once
// The control base classes: geometry, parent/child windows, fonts, events and
// the message routing that turns Win32 notifications into events.
//
// Every control here is a real window. A control gets its window when it is
// placed on a parent that has one (a form always has one); until then its
// properties are kept and applied when the window is made.
//
// Events fire on user actions (routed from the window messages) and on the
// programmatic changes that the program's editors rely on:
// setting an edit's Text fires OnChange, setting a check box's or radio
// button's Checked fires OnClick, selecting a tree node fires OnChange;
// setting ItemIndex, TabIndex or ActivePage fires nothing. A programmatic
// change fires only when the value really changes. An exception escaping a
// handler run from a window message is shown by Application->HandleException;
// one escaping a handler run by a programmatic change reaches the caller.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Component.h"
#include "GdiObjects.h"
#include "LayoutLoader.h"
#include "WinApi.h"
// After windows.h: the prompt service and the modal results.
#include "Prompts.h"

namespace tq {

class TWinControl;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;

using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;
using TKeyEvent = std::function<void(TObject* sender, uint16_t& key, TShiftState shift)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

// Modal results (ShowModal, buttons' ModalResult): mrOk, mrCancel, ... (Prompts.h).
using TModalResult = int;

// What a window is made of, filled by each class's CreateParams.
struct TCreateParams {
  std::string WinClassName;  // a system class ("BUTTON") or empty for our own class
  DWORD Style = 0;
  DWORD ExStyle = 0;
};

class TControl;
// A handler for a control's window messages that needs no subclass.
using TMessageHook = std::function<bool(TControl* control, UINT msg, WPARAM w, LPARAM l, LRESULT& result)>;

class TControl : public TLayoutComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  // Published for component streams: Left, Top, Width, Height.
  TQ_PUBLISHED(TControl)

  // ---- geometry (client coordinates of the parent) ----
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  virtual int ClientWidth() const;
  virtual int ClientHeight() const;
  virtual void SetClientWidth(int v);
  virtual void SetClientHeight(int v);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);

  // ---- state ----
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);
  // The window text: a label's or button's Caption, an edit's Text.
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& s) { SetText(s); }
  std::string Text() const { return GetText(); }
  void SetText(const std::string& s) { SetTextValue(s); }
  // The font; a control takes its parent's font (and follows it) until its
  // own font is changed or ParentFont is set false.
  TFont& Font() { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  HFONT FontHandle() { return FFontHandle.Get(FFont); }
  const TFont& Font() const { return FFont; }
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int v) { FHelpContext = v; }
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu) { FPopupMenu = menu; }
  // The top-level form this control sits on (nullptr when not placed).
  class TForm* ParentForm() const;

  // ---- the window ----
  HWND Handle();  // makes the window (and its parents') when needed
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void Invalidate();
  void Repaint();
  // The colour the control's background shows: its own, else its parent's.
  TColor BackgroundColor() const;
  // Fills the client area with the background colour (WM_ERASEBKGND).
  void FillBackground(HDC dc);
  static TControl* FromHandle(HWND hwnd);
  // Extra handlers of raw window messages, tried before the control's own.
  std::vector<TMessageHook> MessageHooks;

  // ---- events and their programmatic triggers ----
  virtual void Click();  // runs OnClick
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnResize;

  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  friend class TWinControl;
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  virtual void CreateParams(TCreateParams& params);
  // Makes the window and then the children's windows.
  virtual void CreateHandle();
  // Pushes the kept properties into a new window.
  virtual void InitWindow();
  virtual void DestroyHandle();
  // The window procedure of this control; unhandled messages go to DefaultHandler.
  virtual LRESULT WndProc(UINT msg, WPARAM w, LPARAM l);
  LRESULT DefaultHandler(UINT msg, WPARAM w, LPARAM l);
  // Reflected notifications from the parent: WM_COMMAND code, WM_NOTIFY, WM_CTLCOLOR*.
  virtual bool CNCommand(WORD code) { return false; }
  virtual bool CNNotify(NMHDR* header, LRESULT& result) { return false; }
  virtual HBRUSH CtlColor(HDC dc);
  virtual bool DrawItem(DRAWITEMSTRUCT* dis) { return false; }
  virtual bool MeasureItem(MEASUREITEMSTRUCT* mis) { return false; }
  virtual std::string GetText() const;
  virtual void SetTextValue(const std::string& s);
  virtual void FontChanged();
  virtual void Resized();
  // The parent window's HWND a child window is made in.
  virtual HWND ParentWindowForChild() { return Handle(); }
  HWND FHandle = nullptr;
  WNDPROC FDefProc = nullptr;
  TWinControl* FParent = nullptr;
  std::string FText;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  bool FSettingText = false;  // a programmatic text change is under way

 private:
  void UpdateMouseHint();
  void InheritFont(const TFont& font);
  bool FParentFont = true;
  bool FInheritingFont = false;
  TAlign FAlign = alNone;
  TFont FFont;
  TFontHandle FFontHandle;
  TColor FColor = clDefault;
  HBRUSH FBrush = nullptr;
  std::string FHint;
  bool FShowHint = false;
  int FHelpContext = 0;
  TPopupMenu* FPopupMenu = nullptr;
};

// A control that holds other controls.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner) : TControl(owner) {}
  ~TWinControl() override;
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(index); }
  void SetFocus();
  bool Focused() const;
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  // The position in the tab order as the layout gave it (-1: not given).
  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int v) { FTabOrder = v; }
  // Places the aligned children (alTop, alBottom, alLeft, alRight, then alClient).
  void AlignControls();
  // The client area the aligned children share.
  virtual RECT AlignRect();

  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;
  void AddLayoutChild(TComponent* child) override;

 protected:
  friend class TControl;
  void CreateHandle() override;
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  std::vector<TControl*> FControls;
  bool FTabStop = false;
  int FTabOrder = -1;
};

// Controls that draw themselves inside a plain child window.
class TGraphicControl : public TWinControl {
 public:
  explicit TGraphicControl(TComponent* owner) : TWinControl(owner) {}
  TCanvas& Canvas() { return FCanvas; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  virtual void Paint() {}
  TCanvas FCanvas;
};

// A colour value of a layout: an integer or an identifier such as clBtnFace.
TColor LayoutColor(const TLayoutProperty& prop, TLayoutLoader& loader);

// A "Font.<Name>" property of a layout (Name, Height, Size, Color, Charset,
// Style, Pitch) into a font; false for another sub-property.
bool SetLayoutFontProperty(TFont& font, const TLayoutProperty& prop, TLayoutLoader& loader);

// The window class of our own windows (forms, panels, pages, graphic controls).
const char* OwnWindowClass();
TShiftState KeyShiftState();

}  // namespace tq
