#include "Spin.h"

#include <windowsx.h>

namespace tq {

TSpinButton::TSpinButton(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 20;
  FHeight = 25;
}

void TSpinButton::UpClick() {
  if (OnUpClick) OnUpClick(this);
}

void TSpinButton::DownClick() {
  if (OnDownClick) OnDownClick(this);
}

void TSpinButton::Paint() {
  const int half = FHeight / 2;
  RECT up{0, 0, FWidth, half};
  RECT down{0, half, FWidth, FHeight};
  DrawFrameControl(FCanvas.Handle(), &up, DFC_SCROLL, DFCS_SCROLLUP | (FPressed == 1 ? DFCS_PUSHED : 0));
  DrawFrameControl(FCanvas.Handle(), &down, DFC_SCROLL, DFCS_SCROLLDOWN | (FPressed == 2 ? DFCS_PUSHED : 0));
}

LRESULT TSpinButton::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      FPressed = ButtonAt(GET_Y_LPARAM(l));
      Invalidate();
      break;
    case WM_LBUTTONUP: {
      const int pressed = FPressed;
      FPressed = 0;
      Invalidate();
      const int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
      LRESULT res = TWinControl::WndProc(msg, w, l);
      // A click is a press and release over the same button.
      if (x >= 0 && x < FWidth && y >= 0 && y < FHeight && ButtonAt(y) == pressed) {
        if (pressed == 1) UpClick();
        else DownClick();
      }
      return res;
    }
    case WM_MOUSELEAVE:
      FPressed = 0;
      Invalidate();
      break;
    default:
      break;
  }
  return TGraphicControl::WndProc(msg, w, l);
}

bool TSpinButton::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "OnUpClick")) {
    loader.Bind(OnUpClick, prop);
    return true;
  }
  if (SameText(prop.Name, "OnDownClick")) {
    loader.Bind(OnDownClick, prop);
    return true;
  }
  return TGraphicControl::SetLayoutProperty(prop, loader);
}

}  // namespace tq
