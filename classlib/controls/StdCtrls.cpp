#include "StdCtrls.h"

#include "Forms.h"

namespace tq {

namespace {
LRESULT Send(TControl* c, UINT msg, WPARAM w = 0, LPARAM l = 0) {
  return c->HandleAllocated() ? SendMessageA(c->WindowHandle(), msg, w, l) : 0;
}
}  // namespace

// ---- TEdit -----------------------------------------------------------------

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 21;
  FTabStop = true;
}

void TEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "EDIT";
  params.Style |= ES_AUTOHSCROLL | (FTabStop ? WS_TABSTOP : 0);
  if (FReadOnly) params.Style |= ES_READONLY;
  if (FPasswordChar) params.Style |= ES_PASSWORD;
  if (FCharCase == ecUpperCase) params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) params.Style |= ES_LOWERCASE;
  if (FBorder) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::InitWindow() {
  TWinControl::InitWindow();
  if (FMaxLength) SendMessageA(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FPasswordChar) SendMessageA(FHandle, EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
}

bool TEdit::CNCommand(WORD code) {
  if (code == EN_CHANGE) {
    if (!FSettingText) {
      FModified = true;
      Change();
    }
    return true;
  }
  return false;
}

void TEdit::SetTextValue(const std::string& s) {
  if (s == GetText()) return;
  TWinControl::SetTextValue(s);
  Change();
}

void TEdit::Change() {
  if (OnChange) OnChange(this);
}

void TEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  Send(this, EM_SETREADONLY, v, 0);
}

void TEdit::SetMaxLength(int v) {
  FMaxLength = v;
  Send(this, EM_LIMITTEXT, static_cast<WPARAM>(v), 0);
}

void TEdit::SetPasswordChar(char c) {
  FPasswordChar = c;
  Send(this, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
  Invalidate();
}

int TEdit::SelStart() const {
  DWORD start = 0, end = 0;
  if (FHandle) SendMessageA(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

int TEdit::SelLength() const {
  DWORD start = 0, end = 0;
  if (FHandle) SendMessageA(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TEdit::SetSelStart(int v) { Send(this, EM_SETSEL, static_cast<WPARAM>(v), v); }
void TEdit::SetSelLength(int v) {
  int s = SelStart();
  Send(this, EM_SETSEL, static_cast<WPARAM>(s), s + v);
}
std::string TEdit::SelText() const { return Copy(GetText(), SelStart() + 1, SelLength()); }
void TEdit::SetSelText(const std::string& s) { Send(this, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(s.c_str())); }
void TEdit::SelectAll() { Send(this, EM_SETSEL, 0, -1); }

bool TEdit::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Text")) TWinControl::SetTextValue(prop.Value.AsString());  // no event while loading
  else if (SameText(n, "ReadOnly")) FReadOnly = prop.Value.AsBool();
  else if (SameText(n, "MaxLength")) FMaxLength = prop.Value.AsInt();
  else if (SameText(n, "PasswordChar")) {
    const std::string& s = prop.Value.AsString();
    FPasswordChar = s.empty() ? 0 : s[0];
  } else if (SameText(n, "BorderStyle"))
    FBorder = LayoutEnumValue(prop, loader, {{"bsNone", bsNone}, {"bsSingle", bsSingle}}) == bsSingle;
  else if (SameText(n, "CharCase"))
    FCharCase = static_cast<TCharCase>(LayoutEnumValue(
        prop, loader, {{"ecNormal", ecNormal}, {"ecUpperCase", ecUpperCase}, {"ecLowerCase", ecLowerCase}}));
  else if (SameText(n, "AutoSelect") || SameText(n, "AutoSize")) return true;
  else if (SameText(n, "OnChange")) loader.Bind(OnChange, prop);
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TMemoLines ------------------------------------------------------------

namespace {
void SplitLines(const std::string& text, TStringList& out) { out.SetText(text); }
std::string JoinLines(const TStringList& lines) {
  std::string s;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i) s += "\r\n";
    s += lines.Get(i);
  }
  return s;
}
}  // namespace

int TMemoLines::Count() const {
  TStringList l;
  SplitLines(FControl->Text(), l);
  return l.Count();
}

std::string TMemoLines::Get(int index) const {
  TStringList l;
  SplitLines(FControl->Text(), l);
  return l.Get(index);
}

void TMemoLines::Put(int index, const std::string& s) {
  TStringList l;
  SplitLines(FControl->Text(), l);
  l.Put(index, s);
  FControl->SetText(JoinLines(l));
}

void TMemoLines::Clear() { FControl->SetText(""); }

void TMemoLines::Delete(int index) {
  TStringList l;
  SplitLines(FControl->Text(), l);
  l.Delete(index);
  FControl->SetText(JoinLines(l));
}

void TMemoLines::Insert(int index, const std::string& s) {
  TStringList l;
  SplitLines(FControl->Text(), l);
  l.Insert(index, s);
  FControl->SetText(JoinLines(l));
}

// ---- TMemo -----------------------------------------------------------------

TMemo::TMemo(TComponent* owner) : TEdit(owner) {
  FWidth = 185;
  FHeight = 89;
}

void TMemo::CreateParams(TCreateParams& params) {
  TEdit::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!FWordWrap) params.Style |= ES_AUTOHSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
}

bool TMemo::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Lines.Strings")) {
    TStringList l;
    for (const std::string& s : prop.Value.AsStrings()) l.Add(s);
    TWinControl::SetTextValue(JoinLines(l));
  } else if (SameText(prop.Name, "WordWrap")) FWordWrap = prop.Value.AsBool();
  else if (SameText(prop.Name, "ScrollBars"))
    FScrollBars = static_cast<TScrollStyle>(LayoutEnumValue(
        prop, loader, {{"ssNone", ssNone}, {"ssHorizontal", ssHorizontal}, {"ssVertical", ssVertical}, {"ssBoth", ssBoth}}));
  else if (SameText(prop.Name, "WantReturns") || SameText(prop.Name, "WantTabs")) return true;
  else return TEdit::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TButton ---------------------------------------------------------------

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  FWidth = 75;
  FHeight = 25;
  FTabStop = true;
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "BUTTON";
  params.Style |= (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (FTabStop ? WS_TABSTOP : 0);
}

void TButton::SetDefault(bool v) {
  FDefault = v;
  Send(this, BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::CNCommand(WORD code) {
  if (code == BN_CLICKED) {
    Click();
    return true;
  }
  return false;
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TForm* form = ParentForm()) form->SetModalResult(FModalResult);
  TWinControl::Click();
}

bool TButton::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Default")) FDefault = prop.Value.AsBool();
  else if (SameText(n, "Cancel")) FCancel = prop.Value.AsBool();
  else if (SameText(n, "ModalResult")) {
    if (prop.Value.Kind == TLayoutValue::lvInteger) FModalResult = prop.Value.AsInt();
    else
      FModalResult = LayoutEnumValue(prop, loader,
                                     {{"mrNone", mrNone}, {"mrOk", mrOk}, {"mrCancel", mrCancel}, {"mrAbort", mrAbort},
                                      {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore}, {"mrYes", mrYes}, {"mrNo", mrNo},
                                      {"mrAll", mrAll}, {"mrNoToAll", mrNoToAll}, {"mrYesToAll", mrYesToAll}});
  } else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TCheckBox -------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 97;
  FHeight = 17;
  FTabStop = true;
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "BUTTON";
  params.Style |= (FAllowGrayed ? BS_3STATE : BS_CHECKBOX) | (FTabStop ? WS_TABSTOP : 0);
  if (FAlignment == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCheckBox::InitWindow() {
  TWinControl::InitWindow();
  SendMessageA(FHandle, BM_SETCHECK, FState == cbChecked ? BST_CHECKED : FState == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED, 0);
}

void TCheckBox::SetState(TCheckBoxState s) {
  if (s == FState) return;
  FState = s;
  Send(this, BM_SETCHECK, s == cbChecked ? BST_CHECKED : s == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED, 0);
  Click();
}

bool TCheckBox::CNCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  switch (FState) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(FAllowGrayed ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
  return true;
}

bool TCheckBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Checked")) FState = prop.Value.AsBool() ? cbChecked : cbUnchecked;
  else if (SameText(n, "State"))
    FState = static_cast<TCheckBoxState>(LayoutEnumValue(
        prop, loader, {{"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked}, {"cbGrayed", cbGrayed}}));
  else if (SameText(n, "AllowGrayed")) FAllowGrayed = prop.Value.AsBool();
  else if (SameText(n, "Alignment"))
    FAlignment = static_cast<TAlignment>(LayoutEnumValue(
        prop, loader, {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}}));
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TRadioButton ----------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  FWidth = 113;
  FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "BUTTON";
  params.Style |= BS_RADIOBUTTON | WS_TABSTOP;
}

void TRadioButton::InitWindow() {
  TWinControl::InitWindow();
  SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  Send(this, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!v) return;
  if (FParent)
    for (int i = 0; i < FParent->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(FParent->Controls(i)); other && other != this && other->FChecked) {
        other->FChecked = false;
        Send(other, BM_SETCHECK, BST_UNCHECKED, 0);
      }
  Click();
}

bool TRadioButton::CNCommand(WORD code) {
  if (code == BN_CLICKED) {
    SetChecked(true);
    return true;
  }
  if (code == BN_DOUBLECLICKED) {
    if (OnDblClick) OnDblClick(this);
    return true;
  }
  return false;
}

bool TRadioButton::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Checked")) FChecked = prop.Value.AsBool();
  else if (SameText(prop.Name, "Alignment")) return true;
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TGroupBox -------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 185;
  FHeight = 105;
}

void TGroupBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "BUTTON";
  params.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

RECT TGroupBox::AlignRect() {
  RECT r = TWinControl::AlignRect();
  r.left += 2;
  r.right -= 2;
  r.top += 16;
  r.bottom -= 2;
  return r;
}

LRESULT TGroupBox::WndProc(UINT msg, WPARAM w, LPARAM l) {
  // A group box lets the mouse through to what lies under it; as a parent of
  // its own controls it must take hits itself.
  if (msg == WM_NCHITTEST) return HTCLIENT;
  if (msg == WM_ERASEBKGND) {
    FillBackground(reinterpret_cast<HDC>(w));
    return 1;
  }
  return TWinControl::WndProc(msg, w, l);
}

// ---- TLabel ----------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {
  FWidth = 65;
  FHeight = 13;
}

void TLabel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "STATIC";
  params.Style |= SS_NOTIFY;
  if (FAlignment == taCenter) params.Style |= SS_CENTER;
  else if (FAlignment == taRightJustify) params.Style |= SS_RIGHT;
  else params.Style |= FWordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
  if (!FShowAccelChar) params.Style |= SS_NOPREFIX;
}

void TLabel::SetAlignment(TAlignment a) {
  FAlignment = a;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
    style |= a == taCenter ? SS_CENTER : a == taRightJustify ? SS_RIGHT : (FWordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
    SetWindowLongPtrA(FHandle, GWL_STYLE, style);
    Invalidate();
  }
}

void TLabel::SetAutoSize(bool v) {
  FAutoSize = v;
  AdjustSize();
}

void TLabel::SetWordWrap(bool v) {
  FWordWrap = v;
  SetAlignment(FAlignment);
  AdjustSize();
}

void TLabel::SetTextValue(const std::string& s) {
  TWinControl::SetTextValue(s);
  AdjustSize();
  Invalidate();
}

void TLabel::FontChanged() {
  TWinControl::FontChanged();
  AdjustSize();
}

void TLabel::Loaded() {
  TWinControl::Loaded();
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!FAutoSize || LayoutLoading()) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  std::string text = FText.empty() ? " " : FText;
  RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | (FShowAccelChar ? 0 : DT_NOPREFIX);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int w = FWordWrap ? FWidth : r.right;
  int left = FLeft;
  if (!FWordWrap && FAlignment == taRightJustify) left = FLeft + FWidth - w;
  if (!FWordWrap && FAlignment == taCenter) left = FLeft + (FWidth - w) / 2;
  SetBounds(left, FTop, w, r.bottom);
}

HBRUSH TLabel::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(Font().Color()));
  TColor back = BackgroundColor();
  SetBkColor(dc, ColorToRGB(back));
  if (FBackBrush) DeleteObject(FBackBrush);
  FBackBrush = CreateSolidBrush(ColorToRGB(back));
  return FBackBrush;
}

LRESULT TLabel::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCDESTROY && FBackBrush) {
    DeleteObject(FBackBrush);
    FBackBrush = nullptr;
  }
  return TWinControl::WndProc(msg, w, l);
}

bool TLabel::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Alignment"))
    FAlignment = static_cast<TAlignment>(LayoutEnumValue(
        prop, loader, {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}}));
  else if (SameText(n, "AutoSize")) FAutoSize = prop.Value.AsBool();
  else if (SameText(n, "WordWrap")) FWordWrap = prop.Value.AsBool();
  else if (SameText(n, "Transparent")) FTransparent = prop.Value.AsBool();
  else if (SameText(n, "ShowAccelChar")) FShowAccelChar = prop.Value.AsBool();
  else if (SameText(n, "Layout")) return true;
  else if (SameText(n, "FocusControl"))
    loader.Reference<TWinControl>(prop, [this](TWinControl* c) { FFocusControl = c; });
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TComboBox -------------------------------------------------------------

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 145;
  FHeight = 21;
  FTabStop = true;
  FItems.SetSink({[this](int i, const std::string& s) {
                    Send(this, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.c_str()));
                  },
                  [this](int i) { Send(this, CB_DELETESTRING, static_cast<WPARAM>(i), 0); },
                  [this] {
                    Send(this, CB_RESETCONTENT);
                    FItemIndex = -1;
                  },
                  [this](int i, const std::string& s) {
                    int sel = ItemIndex();
                    Send(this, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
                    Send(this, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.c_str()));
                    if (sel == i) SetItemIndex(sel);
                  }});
}

void TComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "COMBOBOX";
  params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | (FTabStop ? WS_TABSTOP : 0);
  params.Style |= FStyle == csSimple ? CBS_SIMPLE : FStyle == csDropDown ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
}

void TComboBox::InitWindow() {
  TWinControl::InitWindow();
  for (int i = 0; i < FItems.Count(); ++i)
    SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FItems.Get(i).c_str()));
  if (FItemIndex >= 0) SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  else if (FStyle != csDropDownList) SetWindowTextA(FHandle, FText.c_str());
  // The window's height includes the dropped-down list.
  int itemHeight = static_cast<int>(SendMessageA(FHandle, CB_GETITEMHEIGHT, 0, 0));
  MoveWindow(FHandle, FLeft, FTop, FWidth, FHeight + itemHeight * FDropDownCount + 2, FALSE);
}

int TComboBox::ItemIndex() const {
  if (FHandle) return static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= FItems.Count()) index = -1;
  FItemIndex = index;
  if (FHandle) {
    FSettingText = true;
    SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    FSettingText = false;
  }
}

bool TComboBox::DroppedDown() const { return FHandle && SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0); }

void TComboBox::Clear() {
  FItems.Clear();
  SetTextValue("");
}

std::string TComboBox::GetText() const {
  if (FHandle) return TWinControl::GetText();
  if (FStyle == csDropDownList) return FItemIndex >= 0 ? FItems.Get(FItemIndex) : std::string();
  return FText;
}

void TComboBox::SetTextValue(const std::string& s) {
  if (FStyle == csDropDownList) {
    SetItemIndex(FItems.IndexOf(s));
    return;
  }
  TWinControl::SetTextValue(s);
  if (!FHandle) FItemIndex = -1;
}

bool TComboBox::CNCommand(WORD code) {
  switch (code) {
    case CBN_SELCHANGE: {
      // The edit part shows the choice only after this notification: show it
      // now so that the handlers read it.
      int i = ItemIndex();
      FItemIndex = i;
      if (i >= 0 && FStyle != csDropDownList) TWinControl::SetTextValue(FItems.Get(i));
      Click();
      if (OnChange) OnChange(this);
      return true;
    }
    case CBN_EDITCHANGE:
      if (!FSettingText && OnChange) OnChange(this);
      return true;
    case CBN_DROPDOWN:
      if (OnDropDown) OnDropDown(this);
      return true;
    case CBN_DBLCLK:
      if (OnDblClick) OnDblClick(this);
      return true;
    default:
      return false;
  }
}

bool TComboBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Items.Strings")) {
    FItems.Clear();
    for (const std::string& s : prop.Value.AsStrings()) FItems.Add(s);
  } else if (SameText(n, "ItemIndex")) FItemIndex = prop.Value.AsInt();
  else if (SameText(n, "Text")) TWinControl::SetTextValue(prop.Value.AsString());
  else if (SameText(n, "Style"))
    FStyle = static_cast<TComboBoxStyle>(LayoutEnumValue(
        prop, loader, {{"csDropDown", csDropDown}, {"csSimple", csSimple}, {"csDropDownList", csDropDownList},
                       {"csOwnerDrawFixed", csOwnerDrawFixed}, {"csOwnerDrawVariable", csOwnerDrawVariable}}));
  else if (SameText(n, "Sorted")) FItems.SetSorted(prop.Value.AsBool());
  else if (SameText(n, "DropDownCount")) FDropDownCount = prop.Value.AsInt();
  else if (SameText(n, "ItemHeight") || SameText(n, "MaxLength")) return true;
  else if (SameText(n, "OnChange")) loader.Bind(OnChange, prop);
  else if (SameText(n, "OnDropDown")) loader.Bind(OnDropDown, prop);
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TListBox --------------------------------------------------------------

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FItems.SetSink({[this](int i, const std::string& s) { ItemInserted(i, s); },
                  [this](int i) { Send(this, LB_DELETESTRING, static_cast<WPARAM>(i), 0); },
                  [this] {
                    Send(this, LB_RESETCONTENT);
                    FItemIndex = -1;
                  },
                  [this](int i, const std::string& s) {
                    bool sel = FHandle && SendMessageA(FHandle, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
                    Send(this, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
                    ItemInserted(i, s);
                    if (sel) SetSelected(i, true);
                  }});
}

void TListBox::ItemInserted(int index, const std::string& s) {
  Send(this, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
}

void TListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = "LISTBOX";
  params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | (FTabStop ? WS_TABSTOP : 0) | FExtraStyle;
  if (FMultiSelect) params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::InitWindow() {
  TWinControl::InitWindow();
  for (int i = 0; i < FItems.Count(); ++i) ItemInserted(i, FItems.Get(i));
  if (FItemIndex >= 0) SetItemIndex(FItemIndex);
}

int TListBox::ItemIndex() const {
  if (!FHandle) return FItemIndex;
  if (FMultiSelect) {
    int caret = static_cast<int>(SendMessageA(FHandle, LB_GETCARETINDEX, 0, 0));
    return caret >= 0 && caret < FItems.Count() && SendMessageA(FHandle, LB_GETSEL, static_cast<WPARAM>(caret), 0) > 0 ? caret : (SelCount() ? caret : -1);
  }
  return static_cast<int>(SendMessageA(FHandle, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
  FItemIndex = index;
  if (!FHandle) return;
  if (FMultiSelect) {
    if (index >= 0) {
      SendMessageA(FHandle, LB_SETSEL, FALSE, -1);
      SendMessageA(FHandle, LB_SETSEL, TRUE, index);
      SendMessageA(FHandle, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    } else {
      SendMessageA(FHandle, LB_SETSEL, FALSE, -1);
    }
  } else {
    SendMessageA(FHandle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void TListBox::SetMultiSelect(bool v) {
  if (v == FMultiSelect) return;
  FMultiSelect = v;
  if (!FHandle) return;
  FItemIndex = -1;
  DestroyHandle();
  CreateHandle();
}

bool TListBox::Selected(int index) const {
  if (index < 0 || index >= FItems.Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
  if (!FHandle) return index == FItemIndex;
  return SendMessageA(FHandle, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TListBox::SetSelected(int index, bool v) {
  if (index < 0 || index >= FItems.Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
  if (!FHandle) return;
  if (FMultiSelect) SendMessageA(FHandle, LB_SETSEL, v, index);
  else if (v) SendMessageA(FHandle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  else if (ItemIndex() == index) SendMessageA(FHandle, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

int TListBox::SelCount() const {
  if (!FHandle) return FItemIndex >= 0 ? 1 : 0;
  if (!FMultiSelect) return ItemIndex() >= 0 ? 1 : 0;
  return static_cast<int>(SendMessageA(FHandle, LB_GETSELCOUNT, 0, 0));
}

int TListBox::ItemAtPos(POINT p, bool existing) const {
  if (!FHandle) return -1;
  LRESULT r = SendMessageA(FHandle, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  int index = LOWORD(r);
  if (HIWORD(r) == 0 && index < FItems.Count()) {
    RECT ir;
    if (SendMessageA(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ir)) != LB_ERR &&
        PtInRect(&ir, p))
      return index;
  }
  return existing ? -1 : FItems.Count();
}

int TListBox::ItemHeight() const { return FHandle ? static_cast<int>(SendMessageA(FHandle, LB_GETITEMHEIGHT, 0, 0)) : 13; }
int TListBox::TopIndex() const { return FHandle ? static_cast<int>(SendMessageA(FHandle, LB_GETTOPINDEX, 0, 0)) : 0; }
void TListBox::SetTopIndex(int index) { Send(this, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0); }

bool TListBox::CNCommand(WORD code) {
  if (code == LBN_SELCHANGE) {
    Click();
    return true;
  }
  if (code == LBN_DBLCLK) {
    if (OnDblClick) OnDblClick(this);
    return true;
  }
  return false;
}

bool TListBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Items.Strings")) {
    FItems.Clear();
    for (const std::string& s : prop.Value.AsStrings()) FItems.Add(s);
  } else if (SameText(n, "ItemIndex")) FItemIndex = prop.Value.AsInt();
  else if (SameText(n, "MultiSelect")) FMultiSelect = prop.Value.AsBool();
  else if (SameText(n, "ExtendedSelect")) FExtendedSelect = prop.Value.AsBool();
  else if (SameText(n, "Sorted")) FItems.SetSorted(prop.Value.AsBool());
  else if (SameText(n, "ItemHeight") || SameText(n, "IntegralHeight") || SameText(n, "Style")) return true;
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

}  // namespace tq
