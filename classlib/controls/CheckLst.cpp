#include "CheckLst.h"

#include <windowsx.h>

namespace tq {

namespace {
constexpr int kBoxSize = 13;
constexpr int kBoxMargin = 2;
}  // namespace

TCheckListBox::TCheckListBox(TComponent* owner) : TListBox(owner) {}

void TCheckListBox::CreateParams(TCreateParams& params) {
  TListBox::CreateParams(params);
  params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

void TCheckListBox::SetChecked(int index, bool v) {
  FItems.SetFlag(index, v);
  InvalidateItem(index);
}

void TCheckListBox::ToggleChecked(int index) {
  SetChecked(index, !Checked(index));
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::InvalidateItem(int index) {
  if (!FHandle) return;
  RECT r;
  if (SendMessageA(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    InvalidateRect(FHandle, &r, FALSE);
}

LRESULT TCheckListBox::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
    POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    int index = ItemAtPos(p, true);
    LRESULT res = TListBox::WndProc(msg, w, l);
    if (index >= 0 && p.x < kBoxSize + 2 * kBoxMargin) ToggleChecked(index);
    return res;
  }
  if (msg == WM_CHAR && w == ' ') {
    int index = ItemIndex();
    if (index >= 0 && index < FItems.Count()) ToggleChecked(index);
    return 0;
  }
  return TListBox::WndProc(msg, w, l);
}

bool TCheckListBox::MeasureItem(MEASUREITEMSTRUCT* mis) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  mis->itemHeight = static_cast<UINT>(std::max<LONG>(tm.tmHeight + 1, kBoxSize + 2));
  return true;
}

bool TCheckListBox::DrawItem(DRAWITEMSTRUCT* dis) {
  if (dis->itemID == static_cast<UINT>(-1)) return true;
  int index = static_cast<int>(dis->itemID);
  if (index >= FItems.Count()) return true;
  HDC dc = dis->hDC;
  RECT r = dis->rcItem;
  bool selected = (dis->itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  RECT box{r.left + kBoxMargin, r.top + (r.bottom - r.top - kBoxSize) / 2, 0, 0};
  box.right = box.left + kBoxSize;
  box.bottom = box.top + kBoxSize;
  DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (FItems.Flag(index) ? DFCS_CHECKED : 0) | DFCS_FLAT);
  RECT text = r;
  text.left = box.right + kBoxMargin;
  FillRect(dc, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  HGDIOBJ old = SelectObject(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  std::string s = FItems.Get(index);
  text.left += 2;
  DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
  if (dis->itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
  return true;
}

bool TCheckListBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "OnClickCheck")) {
    loader.Bind(OnClickCheck, prop);
    return true;
  }
  if (SameText(prop.Name, "Flat") || SameText(prop.Name, "AllowGrayed")) return true;
  return TListBox::SetLayoutProperty(prop, loader);
}

}  // namespace tq
