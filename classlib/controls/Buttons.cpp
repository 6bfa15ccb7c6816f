#include "Buttons.h"

#include <windowsx.h>

namespace tq {

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 23;
  FHeight = 22;
}

void TSpeedButton::SetDown(bool v) {
  if (v == FDown) return;
  if (!v && FGroupIndex != 0 && !FAllowAllUp) return;
  FDown = v;
  if (v && FGroupIndex != 0 && FParent)
    for (int i = 0; i < FParent->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TSpeedButton*>(FParent->Controls(i)); b && b != this && b->FGroupIndex == FGroupIndex) {
        b->FDown = false;
        b->Invalidate();
      }
  Invalidate();
}

void TSpeedButton::Click() {
  if (FGroupIndex != 0) {
    if (!FDown) SetDown(true);
    else if (FAllowAllUp) SetDown(false);
  }
  TGraphicControl::Click();
}

LRESULT TSpeedButton::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      FPressed = true;
      SetCapture(FHandle);
      Invalidate();
      break;
    case WM_LBUTTONUP: {
      bool was = FPressed;
      FPressed = false;
      if (GetCapture() == FHandle) ReleaseCapture();
      Invalidate();
      if (!was) return 0;
      break;  // TGraphicControl clicks when released over the button
    }
    case WM_MOUSEMOVE:
      if (!FHot) {
        FHot = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&tme);
        Invalidate();
      }
      break;
    case WM_MOUSELEAVE:
      FHot = false;
      Invalidate();
      break;
    case WM_ERASEBKGND:
      if (!FFlat && Color() == clDefault) {
        // A raised button has the button face whatever lies behind it.
        RECT r;
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      break;
    default:
      break;
  }
  return TGraphicControl::WndProc(msg, w, l);
}

void TSpeedButton::Paint() {
  HDC dc = FCanvas.Handle();
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  bool down = FDown || FPressed;
  if (!FFlat || FHot || down) DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | (FFlat ? BF_FLAT : 0));
  int offset = down ? 1 : 0;
  int x = 4 + offset;
  if (!FGlyph.Empty()) {
    int gy = (r.bottom - FGlyph.Height()) / 2 + offset;
    if (FText.empty()) x = (r.right - FGlyph.Width()) / 2 + offset;
    FCanvas.Draw(x, gy, FGlyph);
    x += FGlyph.Width() + 4;
  }
  if (!FText.empty()) {
    FCanvas.Font.SetColor(Enabled() ? Font().Color() : clGrayText);
    int tw = FCanvas.TextWidth(FText), th = FCanvas.TextHeight(FText);
    if (FGlyph.Empty()) x = (r.right - tw) / 2 + offset;
    FCanvas.TextOut(x, (r.bottom - th) / 2 + offset, FText);
  }
}

bool TSpeedButton::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Glyph.Data")) {
    if (prop.Value.Kind != TLayoutValue::lvBinary) loader.Fail(prop, "binary data expected for Glyph.Data");
    // A glyph is stored as a 32-bit size and the .bmp bytes.
    const auto& d = prop.Value.Binary;
    if (d.size() < 4) loader.Fail(prop, "glyph data too short");
    FGlyph.LoadFromBytes(std::vector<uint8_t>(d.begin() + 4, d.end()));
  } else if (SameText(n, "Down")) FDown = prop.Value.AsBool();
  else if (SameText(n, "GroupIndex")) FGroupIndex = prop.Value.AsInt();
  else if (SameText(n, "AllowAllUp")) FAllowAllUp = prop.Value.AsBool();
  else if (SameText(n, "Flat")) FFlat = prop.Value.AsBool();
  else if (SameText(n, "NumGlyphs") || SameText(n, "Layout") || SameText(n, "Spacing") || SameText(n, "Margin"))
    return true;
  else return TGraphicControl::SetLayoutProperty(prop, loader);
  return true;
}

}  // namespace tq
