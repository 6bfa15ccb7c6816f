#pragma once
// GDI objects of the controls: font handles, bitmaps, pictures and the canvas.
#include "WinApi.h"

#include <cstdint>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"

namespace tq {

// The drawing colour of a colour value (system colours resolved).
constexpr TColor clSystemColorBit = static_cast<TColor>(0x80000000u);
COLORREF ColorToRGB(TColor color);

// The GDI font of a font description, remade whenever the description changes.
class TFontHandle {
 public:
  TFontHandle() = default;
  TFontHandle(const TFontHandle&) = delete;
  TFontHandle& operator=(const TFontHandle&) = delete;
  ~TFontHandle();
  HFONT Get(const TFont& font);

 private:
  HFONT FHandle = nullptr;
  std::string FName;
  int FHeight = 0;
  TFontStyles FStyle = 0;
  TFontCharset FCharset = 0;
};

// A bitmap held as a GDI bitmap.
class TBitmap : public TObject {
 public:
  TBitmap() = default;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  ~TBitmap() override;
  void LoadFromFile(const std::string& fileName);      // a .bmp file; EInvalidGraphic when not
  void LoadFromBytes(const std::vector<uint8_t>& bmp);  // the bytes of a .bmp file
  void SetHandle(HBITMAP handle);                      // takes ownership
  HBITMAP Handle() const { return FHandle; }
  bool Empty() const { return FHandle == nullptr; }
  int Width() const;
  int Height() const;

 private:
  HBITMAP FHandle = nullptr;
};

TQ_EXCEPTION_CLASS(EInvalidGraphic, Exception);

// The picture of an image control (bitmaps only).
class TPicture : public TObject {
 public:
  TBitmap& Bitmap() { return FBitmap; }
  const TBitmap& Bitmap() const { return FBitmap; }
  void LoadFromFile(const std::string& fileName);
  // The stored form of a picture: a length-prefixed class name ("TBitmap"),
  // a 32-bit size and the .bmp bytes.
  void LoadFromData(const std::vector<uint8_t>& data);
  void Assign(const TPicture& other);
  int Width() const { return FBitmap.Width(); }
  int Height() const { return FBitmap.Height(); }
  TNotifyEvent OnChange;

 private:
  TBitmap FBitmap;
};

// Drawing on a device context that someone else owns (a paint cycle).
class TCanvas : public TObject {
 public:
  HDC Handle() const { return FDC; }
  void SetHandle(HDC dc) { FDC = dc; }
  TFont Font;
  TFontHandle FontHandle;
  TColor BrushColor = clWhite;
  TColor PenColor = clBlack;
  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int x1, int y1, int x2, int y2);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  void Draw(int x, int y, const TBitmap& bitmap);
  void StretchDraw(const RECT& r, const TBitmap& bitmap);

 private:
  HDC FDC = nullptr;
};

}  // namespace tq
