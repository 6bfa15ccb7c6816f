#include "GdiObjects.h"

#include <cstring>

namespace tq {

COLORREF ColorToRGB(TColor color) {
  if (color & clSystemColorBit) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

// ---- TFontHandle ---------------------------------------------------------

TFontHandle::~TFontHandle() {
  if (FHandle) DeleteObject(FHandle);
}

HFONT TFontHandle::Get(const TFont& font) {
  if (FHandle && FName == font.Name() && FHeight == font.Height() && FStyle == font.Style() &&
      FCharset == font.Charset())
    return FHandle;
  if (FHandle) DeleteObject(FHandle);
  FName = font.Name();
  FHeight = font.Height();
  FStyle = font.Style();
  FCharset = font.Charset();
  LOGFONTA lf{};
  lf.lfHeight = FHeight;
  lf.lfWeight = (FStyle & FontStyle(fsBold)) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (FStyle & FontStyle(fsItalic)) ? 1 : 0;
  lf.lfUnderline = (FStyle & FontStyle(fsUnderline)) ? 1 : 0;
  lf.lfStrikeOut = (FStyle & FontStyle(fsStrikeOut)) ? 1 : 0;
  lf.lfCharSet = FCharset;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
  FHandle = CreateFontIndirectA(&lf);
  return FHandle;
}

// ---- TBitmap -------------------------------------------------------------

TBitmap::~TBitmap() { SetHandle(nullptr); }

void TBitmap::SetHandle(HBITMAP handle) {
  if (FHandle && FHandle != handle) DeleteObject(FHandle);
  FHandle = handle;
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  HANDLE h = LoadImageA(nullptr, fileName.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  if (!h) throw EInvalidGraphic("Cannot load bitmap " + fileName);
  SetHandle(static_cast<HBITMAP>(h));
}

void TBitmap::LoadFromBytes(const std::vector<uint8_t>& bmp) {
  if (bmp.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bmp[0] != 'B' || bmp[1] != 'M')
    throw EInvalidGraphic("Bitmap image is not valid");
  BITMAPFILEHEADER fh;
  std::memcpy(&fh, bmp.data(), sizeof fh);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bmp.data() + sizeof(BITMAPFILEHEADER));
  if (fh.bfOffBits >= bmp.size() || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
    throw EInvalidGraphic("Bitmap image is not valid");
  HDC dc = GetDC(nullptr);
  HBITMAP h = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, bmp.data() + fh.bfOffBits, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (!h) throw EInvalidGraphic("Bitmap image is not valid");
  SetHandle(h);
}

int TBitmap::Width() const {
  BITMAP bm{};
  return FHandle && GetObjectA(FHandle, sizeof bm, &bm) ? bm.bmWidth : 0;
}
int TBitmap::Height() const {
  BITMAP bm{};
  return FHandle && GetObjectA(FHandle, sizeof bm, &bm) ? bm.bmHeight : 0;
}

// ---- TPicture ------------------------------------------------------------

void TPicture::LoadFromFile(const std::string& fileName) {
  FBitmap.LoadFromFile(fileName);
  if (OnChange) OnChange(this);
}

void TPicture::LoadFromData(const std::vector<uint8_t>& data) {
  if (data.empty()) throw EInvalidGraphic("Picture data is empty");
  size_t n = data[0];
  if (1 + n + 4 > data.size()) throw EInvalidGraphic("Picture data is not valid");
  std::string cls(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(n));
  if (cls != "TBitmap") throw EInvalidGraphic("Unsupported picture class " + cls);
  std::vector<uint8_t> bmp(data.begin() + static_cast<std::ptrdiff_t>(1 + n + 4), data.end());
  FBitmap.LoadFromBytes(bmp);
  if (OnChange) OnChange(this);
}

void TPicture::Assign(const TPicture& other) {
  HBITMAP h = other.FBitmap.Handle()
                  ? static_cast<HBITMAP>(CopyImage(other.FBitmap.Handle(), IMAGE_BITMAP, 0, 0, 0))
                  : nullptr;
  FBitmap.SetHandle(h);
  if (OnChange) OnChange(this);
}

// ---- TCanvas -------------------------------------------------------------

void TCanvas::FillRect(const RECT& r) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(BrushColor));
  ::FillRect(FDC, &r, b);
  DeleteObject(b);
}

void TCanvas::FrameRect(const RECT& r) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(PenColor));
  ::FrameRect(FDC, &r, b);
  DeleteObject(b);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(BrushColor));
  HPEN p = CreatePen(PS_SOLID, 1, ColorToRGB(PenColor));
  HGDIOBJ ob = SelectObject(FDC, b), op = SelectObject(FDC, p);
  ::Rectangle(FDC, x1, y1, x2, y2);
  SelectObject(FDC, ob);
  SelectObject(FDC, op);
  DeleteObject(b);
  DeleteObject(p);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(FDC, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
  HPEN p = CreatePen(PS_SOLID, 1, ColorToRGB(PenColor));
  HGDIOBJ op = SelectObject(FDC, p);
  ::LineTo(FDC, x, y);
  SelectObject(FDC, op);
  DeleteObject(p);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  HGDIOBJ of = SelectObject(FDC, FontHandle.Get(Font));
  SetTextColor(FDC, ColorToRGB(Font.Color()));
  SetBkMode(FDC, TRANSPARENT);
  TextOutA(FDC, x, y, text.data(), static_cast<int>(text.size()));
  SelectObject(FDC, of);
}

int TCanvas::TextWidth(const std::string& text) {
  HGDIOBJ of = SelectObject(FDC, FontHandle.Get(Font));
  SIZE sz{};
  GetTextExtentPoint32A(FDC, text.data(), static_cast<int>(text.size()), &sz);
  SelectObject(FDC, of);
  return sz.cx;
}

int TCanvas::TextHeight(const std::string& text) {
  HGDIOBJ of = SelectObject(FDC, FontHandle.Get(Font));
  SIZE sz{};
  GetTextExtentPoint32A(FDC, text.data(), static_cast<int>(text.size()), &sz);
  SelectObject(FDC, of);
  return sz.cy;
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  HDC mem = CreateCompatibleDC(FDC);
  HGDIOBJ old = SelectObject(mem, bitmap.Handle());
  BitBlt(FDC, x, y, bitmap.Width(), bitmap.Height(), mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

void TCanvas::StretchDraw(const RECT& r, const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  HDC mem = CreateCompatibleDC(FDC);
  HGDIOBJ old = SelectObject(mem, bitmap.Handle());
  SetStretchBltMode(FDC, HALFTONE);
  StretchBlt(FDC, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, bitmap.Width(), bitmap.Height(),
             SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

}  // namespace tq
