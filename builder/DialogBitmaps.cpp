// Drawing a picture onto a template bitmap and saving the result.
#include "DialogBitmaps.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "Classes.h"
#include "GdiObjects.h"

namespace tq {

namespace {

// A memory device context that puts back what it had selected.
class TMemoryDC {
 public:
  explicit TMemoryDC(HBITMAP bitmap) : FDC(CreateCompatibleDC(nullptr)) {
    if (!FDC) throw EInvalidGraphic("Cannot create a device context");
    FOld = SelectObject(FDC, bitmap);
  }
  ~TMemoryDC() {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return FDC; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

void SaveBitmap24(HBITMAP bitmap, int width, int height, const std::string& outFile) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::vector<uint8_t> pixels(static_cast<size_t>(stride) * static_cast<uint32_t>(height));
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) throw EInvalidGraphic("Cannot read the pixels of the bitmap for " + outFile);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  info.bmiHeader.biSizeImage = static_cast<DWORD>(pixels.size());
  TFileStream out(outFile, fmCreate);
  out.WriteBuffer(&file, sizeof file);
  out.WriteBuffer(&info.bmiHeader, sizeof info.bmiHeader);
  out.WriteBuffer(pixels.data(), static_cast<int64_t>(pixels.size()));
}

}  // namespace

void DrawOnTemplateBitmap(const std::string& templateFile, const std::string& pictureFile, int x, int y,
                          const std::string& outFile) {
  TBitmap canvas;
  canvas.LoadFromFile(templateFile);
  TBitmap picture;
  picture.LoadFromFile(pictureFile);
  {
    TMemoryDC target(canvas.Handle());
    TMemoryDC source(picture.Handle());
    if (!BitBlt(target.Get(), x, y, picture.Width(), picture.Height(), source.Get(), 0, 0, SRCCOPY))
      throw EInvalidGraphic("Cannot draw " + pictureFile + " onto " + templateFile);
  }
  SaveBitmap24(canvas.Handle(), canvas.Width(), canvas.Height(), outFile);
}

}  // namespace tq
