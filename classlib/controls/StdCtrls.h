#pragma once
// The standard controls: edits and memos, buttons, check boxes, radio
// buttons, group boxes, labels, combo boxes and list boxes.
#include <string>

#include "ControlItems.h"
#include "Controls.h"

namespace tq {

#define TQ_CLASS_NAME(Name) \
  std::string ClassName() const override { return #Name; }

enum TCharCase { ecNormal, ecUpperCase, ecLowerCase };

// A single-line edit. Setting Text fires OnChange when the text changes.
class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);
  TQ_CLASS_NAME(TEdit)
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char c);
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int v);
  void SetSelLength(int v);
  std::string SelText() const;
  void SetSelText(const std::string& s);
  void SelectAll();
  void Clear() { SetText(""); }
  bool Modified() const { return FModified; }
  void SetModified(bool v) { FModified = v; }
  TNotifyEvent OnChange;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  bool CNCommand(WORD code) override;
  void SetTextValue(const std::string& s) override;
  virtual void Change();
  bool FReadOnly = false;
  int FMaxLength = 0;
  char FPasswordChar = 0;
  bool FModified = false;
  bool FBorder = true;
  TCharCase FCharCase = ecNormal;
};

// The lines of a multi-line edit or rich edit, read from and written to its window.
class TMemoLines : public TStrings {
 public:
  explicit TMemoLines(TControl* control) : FControl(control) {}
  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const std::string& s) override;

 private:
  HWND Window() const { return FControl->Handle(); }
  TControl* FControl;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TEdit {
 public:
  explicit TMemo(TComponent* owner);
  TQ_CLASS_NAME(TMemo)
  virtual TStrings& Lines() { return FLines; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v) { FWordWrap = v; }
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  TMemoLines FLines{this};
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
};

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);
  TQ_CLASS_NAME(TButton)
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult r) { FModalResult = r; }
  // Runs OnClick and then passes ModalResult to the form.
  void Click() override;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool CNCommand(WORD code) override;
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// Setting Checked fires OnClick when the state changes; a user's click toggles.
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* owner);
  TQ_CLASS_NAME(TCheckBox)
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState s);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v) { FAllowGrayed = v; }
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  bool CNCommand(WORD code) override;
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

// Setting Checked to true unchecks the other radio buttons of the same parent
// and fires OnClick (when it was not checked already); a user's click does the same.
class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* owner);
  TQ_CLASS_NAME(TRadioButton)
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  bool CNCommand(WORD code) override;
  bool FChecked = false;
};

class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TComponent* owner);
  TQ_CLASS_NAME(TGroupBox)
  RECT AlignRect() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
};

class TLabel : public TWinControl {
 public:
  explicit TLabel(TComponent* owner);
  TQ_CLASS_NAME(TLabel)
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v) { FTransparent = v; }
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* c) { FFocusControl = c; }
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void SetTextValue(const std::string& s) override;
  void FontChanged() override;
  HBRUSH CtlColor(HDC dc) override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  void AdjustSize();
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
  HBRUSH FBackBrush = nullptr;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Items with objects; ItemIndex and Text set without events; a user's choice
// fires OnClick and then OnChange; typing in the edit part fires OnChange.
class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);
  TQ_CLASS_NAME(TComboBox)
  TControlItems& Items() { return FItems; }
  int ItemIndex() const;
  void SetItemIndex(int index);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle s) { FStyle = s; }
  bool Sorted() const { return FItems.Sorted(); }
  void SetSorted(bool v) { FItems.SetSorted(v); }
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int n) { FDropDownCount = n; }
  bool DroppedDown() const;
  void Clear();
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  bool CNCommand(WORD code) override;
  std::string GetText() const override;
  void SetTextValue(const std::string& s) override;
  TControlItems FItems;
  TComboBoxStyle FStyle = csDropDown;
  int FItemIndex = -1;
  int FDropDownCount = 8;
};

// Items with objects; ItemIndex set without events; a user's choice fires OnClick.
class TListBox : public TWinControl {
 public:
  explicit TListBox(TComponent* owner);
  TQ_CLASS_NAME(TListBox)
  TControlItems& Items() { return FItems; }
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool MultiSelect() const { return FMultiSelect; }
  // A window already made is made again in the new style (the selection is lost).
  void SetMultiSelect(bool v);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool v) { FExtendedSelect = v; }
  bool Selected(int index) const;
  void SetSelected(int index, bool v);
  int SelCount() const;
  bool Sorted() const { return FItems.Sorted(); }
  void SetSorted(bool v) { FItems.SetSorted(v); }
  int ItemAtPos(POINT p, bool existing) const;  // -1 (or Count when !existing) off the items
  int ItemHeight() const;
  int TopIndex() const;
  void SetTopIndex(int index);
  void Clear() { FItems.Clear(); }
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  bool CNCommand(WORD code) override;
  virtual void ItemInserted(int index, const std::string& s);
  TControlItems FItems;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  int FItemIndex = -1;
  DWORD FExtraStyle = 0;
  std::vector<int> FPendingSelection;
};

}  // namespace tq
