#include "FlatImage.h"

namespace tq {

TFlatImage::TFlatImage(TComponent* owner) : TPaintBox(owner) {
  FPicture.OnChange = [this](TObject*) { Invalidate(); };
}

void TFlatImage::SetPicture(const TPicture* picture) {
  if (picture) {
    FPicture.Assign(*picture);
  } else {
    FPicture.Bitmap().SetHandle(nullptr);
    Invalidate();
  }
}

void TFlatImage::SetStrValue(const std::string& value) {
  FStrValue = value;
  SetText(value);
}

void TFlatImage::SetState(bool inside, bool pressed) {
  if (inside == FMouseInside && pressed == FPressed) return;
  FMouseInside = inside;
  FPressed = pressed;
  Invalidate();
}

void TFlatImage::Paint() {
  TPaintBox::Paint();
  const TBitmap& bmp = FPicture.Bitmap();
  if (!bmp.Empty()) {
    const int left = (FWidth - bmp.Width()) / 2, top = (FHeight - bmp.Height()) / 2;
    FCanvas.StretchDraw(RECT{left, top, left + bmp.Width(), top + bmp.Height()}, bmp);
  }
  RECT r{0, 0, FWidth - 1, FHeight - 1};
  if (FPressed) DrawEdge(FCanvas.Handle(), &r, BDR_SUNKENINNER, BF_RECT);
  else if (FMouseInside) DrawEdge(FCanvas.Handle(), &r, BDR_RAISEDOUTER, BF_RECT);
}

LRESULT TFlatImage::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!FMouseInside) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&tme);
        SetState(true, FPressed);
      }
      break;
    case WM_MOUSELEAVE:
      SetState(false, false);
      break;
    case WM_LBUTTONDOWN:
      SetState(FMouseInside, true);
      break;
    case WM_LBUTTONUP:
      SetState(FMouseInside, false);
      break;
    default:
      break;
  }
  return TPaintBox::WndProc(msg, w, l);
}

}  // namespace tq
