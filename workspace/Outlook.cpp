#include "Outlook.h"

#include <windowsx.h>

#include "SysUtils.h"

namespace tq {

// ---- TOutlookItems ---------------------------------------------------------

void TOutlookItems::SetHeaders(const std::vector<std::string>& headers) {
  FHeaders.clear();
  for (const std::string& h : headers) FHeaders.push_back(THeader{h, {}, {}});
}

void TOutlookItems::SetContents(const std::vector<std::string>& lines) {
  int counter = 0;
  THeader* selected = nullptr;
  for (const std::string& line : lines) {
    if (line == IntToStr(counter) && counter < static_cast<int>(FHeaders.size())) {
      selected = &FHeaders[static_cast<size_t>(counter)];
      ++counter;
    } else if (selected) {
      selected->Captions.push_back(line);
      selected->Pictures.push_back(NewPicture());
    }
  }
}

bool TOutlookItems::Valid(int header, int item) const {
  return header >= 1 && header <= static_cast<int>(FHeaders.size()) && item >= 1 &&
         item <= static_cast<int>(FHeaders[static_cast<size_t>(header - 1)].Captions.size());
}

int TOutlookItems::ItemCount(int header) const {
  if (header == 0) return static_cast<int>(FHeaders.size());
  if (header < 1 || header > static_cast<int>(FHeaders.size())) return 0;
  return static_cast<int>(FHeaders[static_cast<size_t>(header - 1)].Captions.size());
}

std::string TOutlookItems::GetHeaderCaption(int header) const {
  if (header < 1 || header > static_cast<int>(FHeaders.size())) return {};
  return FHeaders[static_cast<size_t>(header - 1)].Caption;
}

std::string TOutlookItems::GetItemCaption(int header, int item) const {
  if (!Valid(header, item)) return {};
  return FHeaders[static_cast<size_t>(header - 1)].Captions[static_cast<size_t>(item - 1)];
}

TPicture* TOutlookItems::GetItemPicture(int header, int item) const {
  if (!Valid(header, item)) return nullptr;
  return FHeaders[static_cast<size_t>(header - 1)].Pictures[static_cast<size_t>(item - 1)];
}

void TOutlookItems::SetItemPicture(int header, int item, TPicture* picture) {
  if (!Valid(header, item)) return;
  FHeaders[static_cast<size_t>(header - 1)].Pictures[static_cast<size_t>(item - 1)] = picture;
}

void TOutlookItems::SetItemCaption(int header, int item, const std::string& caption) {
  if (header < 1 || header > static_cast<int>(FHeaders.size()) || item < 1) return;
  THeader& h = FHeaders[static_cast<size_t>(header - 1)];
  while (static_cast<int>(h.Captions.size()) < item) {
    h.Captions.emplace_back();
    h.Pictures.push_back(NewPicture());
  }
  h.Captions[static_cast<size_t>(item - 1)] = caption;
}

void TOutlookItems::DeleteItem(int header, int item) {
  if (!Valid(header, item)) return;
  THeader& h = FHeaders[static_cast<size_t>(header - 1)];
  h.Captions.erase(h.Captions.begin() + (item - 1));
  h.Pictures.erase(h.Pictures.begin() + (item - 1));
}

TPicture* TOutlookItems::NewPicture() {
  FPictures.push_back(std::make_unique<TPicture>());
  return FPictures.back().get();
}

// ---- TOutlook --------------------------------------------------------------

TOutlook::TOutlook(TComponent* owner) : TGraphicControl(owner), FItems(std::make_unique<TOutlookItems>(this)) {
  FWidth = 110;
  FHeight = 200;
  SetAlign(alLeft);
  SetColor(0x808080);
}

TOutlook::~TOutlook() = default;

void TOutlook::SetActiveTab(int tab) {
  if (tab < 0 || tab > FItems->ItemCount(0)) return;
  FActiveTab = tab;
  Invalidate();
}

void TOutlook::ArrangeItems() {
  if (FActiveTab > FItems->ItemCount(0)) FActiveTab = 0;
  Invalidate();
}

bool TOutlook::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Items.Headers")) {
    FItems->SetHeaders(prop.Value.AsStrings());
    return true;
  }
  if (SameText(prop.Name, "Items.Contents")) {
    FItems->SetContents(prop.Value.AsStrings());
    return true;
  }
  if (SameText(prop.Name, "ActiveTab")) {
    FActiveTab = prop.Value.AsInt();
    return true;
  }
  if (SameText(prop.Name, "OnItemClick")) {
    loader.Bind(OnItemClick, prop);
    return true;
  }
  return TGraphicControl::SetLayoutProperty(prop, loader);
}

void TOutlook::Loaded() {
  TGraphicControl::Loaded();
  DrawDefaultPictures();
  ArrangeItems();
}

// Each item gets a 32 x 32 tile in a colour of its own with the caption's
// initial, until the bar reads its stored pictures.
void TOutlook::DrawDefaultPictures() {
  static const COLORREF tiles[] = {RGB(70, 110, 190), RGB(60, 150, 90),  RGB(190, 120, 50), RGB(150, 70, 150),
                                   RGB(40, 140, 150), RGB(170, 60, 60),  RGB(110, 110, 40), RGB(80, 80, 160),
                                   RGB(50, 120, 60),  RGB(160, 90, 120), RGB(60, 60, 60),   RGB(30, 100, 180)};
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HFONT font = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  int n = 0;
  for (int h = 1; h <= FItems->ItemCount(0); ++h) {
    for (int i = 1; i <= FItems->ItemCount(h); ++i, ++n) {
      TPicture* picture = FItems->GetItemPicture(h, i);
      if (!picture || !picture->Bitmap().Empty()) continue;
      HBITMAP bmp = CreateCompatibleBitmap(screen, 32, 32);
      HGDIOBJ oldBmp = SelectObject(dc, bmp);
      RECT r{0, 0, 32, 32};
      HBRUSH back = CreateSolidBrush(RGB(128, 128, 128));
      FillRect(dc, &r, back);
      DeleteObject(back);
      HBRUSH tile = CreateSolidBrush(tiles[n % 12]);
      HGDIOBJ oldBrush = SelectObject(dc, tile);
      HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
      RoundRect(dc, 1, 1, 31, 31, 8, 8);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      DeleteObject(tile);
      std::string initial = FItems->GetItemCaption(h, i).substr(0, 1);
      HGDIOBJ oldFont = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      DrawTextA(dc, initial.c_str(), static_cast<int>(initial.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      SelectObject(dc, oldFont);
      SelectObject(dc, oldBmp);
      picture->Bitmap().SetHandle(bmp);
    }
  }
  DeleteObject(font);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

void TOutlook::Paint() {
  RECT client{0, 0, Width(), Height()};
  FCanvas.BrushColor = 0x808080;
  FCanvas.FillRect(client);
  FCanvas.Font.SetName("Tahoma");
  FCanvas.Font.SetHeight(-11);
  int headers = FItems->ItemCount(0);
  int active = FActiveTab;
  // Headers 1..active at the top, the rest at the bottom.
  int top = 0;
  for (int h = 1; h <= headers; ++h) {
    int y = h <= active ? (h - 1) * HeaderHeight : Height() - (headers - h + 1) * HeaderHeight;
    RECT r{0, y, Width(), y + HeaderHeight};
    FCanvas.BrushColor = clBtnFace;
    FCanvas.FillRect(r);
    DrawEdge(FCanvas.Handle(), &r, EDGE_RAISED, BF_RECT);
    std::string caption = FItems->GetHeaderCaption(h);
    FCanvas.BrushColor = clBtnFace;
    SetBkMode(FCanvas.Handle(), TRANSPARENT);
    SetTextColor(FCanvas.Handle(), RGB(0, 0, 0));
    FCanvas.TextOut((Width() - FCanvas.TextWidth(caption)) / 2, y + 4, caption);
    if (h <= active) top = y + HeaderHeight;
  }
  if (active < 1) return;
  int bottom = Height() - (headers - active) * HeaderHeight;
  for (int i = 1; i <= FItems->ItemCount(active); ++i) {
    int y = top + (i - 1) * ItemHeight;
    if (y + ItemHeight > bottom) break;
    TPicture* picture = FItems->GetItemPicture(active, i);
    if (picture && !picture->Bitmap().Empty()) {
      int left = (Width() - 40) / 2;
      RECT r{left + 4, y + 5 + 4, left + 36, y + 5 + 36};
      FCanvas.StretchDraw(r, picture->Bitmap());
    }
    std::string caption = FItems->GetItemCaption(active, i);
    SetBkMode(FCanvas.Handle(), TRANSPARENT);
    SetTextColor(FCanvas.Handle(), RGB(255, 255, 255));
    FCanvas.TextOut((Width() - FCanvas.TextWidth(caption)) / 2, y + 45, caption);
  }
}

LRESULT TOutlook::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_LBUTTONUP) {
    int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
    (void)x;
    int headers = FItems->ItemCount(0);
    for (int h = 1; h <= headers; ++h) {
      int top = h <= FActiveTab ? (h - 1) * HeaderHeight : Height() - (headers - h + 1) * HeaderHeight;
      if (y >= top && y < top + HeaderHeight) {
        SetActiveTab(h);
        if (OnTabChange) OnTabChange(this, FItems->GetHeaderCaption(h));
        return 0;
      }
    }
    if (FActiveTab >= 1) {
      int item = (y - FActiveTab * HeaderHeight) / ItemHeight + 1;
      if (y >= FActiveTab * HeaderHeight && item >= 1 && item <= FItems->ItemCount(FActiveTab) && OnItemClick)
        OnItemClick(this, FItems->GetItemCaption(FActiveTab, item));
    }
    return 0;
  }
  return TGraphicControl::WndProc(msg, w, l);
}

}  // namespace tq
