#include "Outlook.h"

#include <algorithm>

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

std::vector<std::string> TOutlookItems::Headers() const {
  std::vector<std::string> lines;
  for (const THeader& h : FHeaders) lines.push_back(h.Caption);
  return lines;
}

std::vector<std::string> TOutlookItems::Contents() const {
  std::vector<std::string> lines;
  for (size_t h = 0; h < FHeaders.size(); ++h) {
    lines.push_back(IntToStr(static_cast<int>(h)));
    lines.insert(lines.end(), FHeaders[h].Captions.begin(), FHeaders[h].Captions.end());
  }
  return lines;
}

namespace {

// An in-memory stream over a copy of bytes (or an empty one to write to).
IStream* MemoryStream(const std::vector<uint8_t>& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(bytes.size(), 1));
  if (!memory) return nullptr;
  if (!bytes.empty()) {
    void* at = GlobalLock(memory);
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(at));
    GlobalUnlock(memory);
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  ULARGE_INTEGER size;
  size.QuadPart = bytes.size();
  stream->SetSize(size);
  return stream;
}

// A 32 x 32 bitmap of the screen's format, filled with colour.
HBITMAP NewImageBitmap(HDC dc, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen, TOutlookItems::ImageSize, TOutlookItems::ImageSize);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT r{0, 0, TOutlookItems::ImageSize, TOutlookItems::ImageSize};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  return bmp;
}

}  // namespace

void TOutlookItems::ReadImages(const std::vector<uint8_t>& data) {
  IStream* stream = MemoryStream(data);
  HIMAGELIST list = stream ? ImageList_Read(stream) : nullptr;
  if (stream) stream->Release();
  if (!list) throw EReadError("Stream read error");
  const int count = ImageList_GetImageCount(list);
  HDC dc = CreateCompatibleDC(nullptr);
  int next = 0;
  for (int h = 1; h <= ItemCount(0); ++h)
    for (int i = 1; i <= ItemCount(h); ++i, ++next) {
      TPicture* picture = NewPicture();
      if (next < count) {
        HBITMAP bmp = NewImageBitmap(dc, ColorToRGB(TOutlook::BarColor));
        HGDIOBJ old = SelectObject(dc, bmp);
        ImageList_Draw(list, next, dc, 0, 0, ILD_NORMAL);
        SelectObject(dc, old);
        picture->Bitmap().SetHandle(bmp);
      }
      SetItemPicture(h, i, picture);
    }
  DeleteDC(dc);
  ImageList_Destroy(list);
  if (FBar) FBar->ArrangeItems();
}

std::vector<uint8_t> TOutlookItems::WriteImages() const {
  int total = 0;
  for (const THeader& h : FHeaders) total += static_cast<int>(h.Pictures.size());
  HIMAGELIST list = ImageList_Create(ImageSize, ImageSize, ILC_COLOR24, total, 0);
  if (!list) throw EWriteError("Stream write error");
  HDC dc = CreateCompatibleDC(nullptr);
  HDC source = CreateCompatibleDC(nullptr);
  for (const THeader& h : FHeaders)
    for (const TPicture* picture : h.Pictures) {
      HBITMAP bmp = NewImageBitmap(dc, ColorToRGB(TOutlook::BarColor));
      if (picture && !picture->Bitmap().Empty()) {
        HGDIOBJ old = SelectObject(dc, bmp);
        HGDIOBJ oldSource = SelectObject(source, picture->Bitmap().Handle());
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, ImageSize, ImageSize, source, 0, 0, picture->Width(), picture->Height(), SRCCOPY);
        SelectObject(source, oldSource);
        SelectObject(dc, old);
      }
      ImageList_Add(list, bmp, nullptr);
      DeleteObject(bmp);
    }
  DeleteDC(source);
  DeleteDC(dc);
  IStream* stream = MemoryStream({});
  const bool written = stream && ImageList_Write(list, stream);
  ImageList_Destroy(list);
  std::vector<uint8_t> bytes;
  if (written) {
    LARGE_INTEGER zero{};
    ULARGE_INTEGER end{};
    stream->Seek(zero, STREAM_SEEK_END, &end);
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    bytes.resize(static_cast<size_t>(end.QuadPart));
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
  }
  if (stream) stream->Release();
  if (!written) throw EWriteError("Stream write error");
  return bytes;
}

TPicture* TOutlookItems::NewPicture() {
  FPictures.push_back(std::make_unique<TPicture>());
  return FPictures.back().get();
}

// ---- TOutlook --------------------------------------------------------------

TOutlook::TOutlook(TComponent* owner) : TScrollBox(owner), FItems(std::make_unique<TOutlookItems>(this)) {
  FWidth = 110;
  FHeight = 200;
  FBorder = false;
  FAutoScroll = false;
  SetAlign(alLeft);
  SetColor(BarColor);
  FInner = new TScrollBox(this);
  FInner->SetBordered(false);
  FInner->SetAutoScroll(false);
  FInner->SetColor(BarColor);
  FInner->SetAlign(alClient);
  FInner->SetParent(this);
  FSpinPanel = new TPanel(this);
  FSpinPanel->SetBevelOuter(bvNone);
  FSpinPanel->SetColor(FInner->Color());
  FSpinPanel->SetWidth(14);
  FSpinPanel->SetAlign(alRight);
  FSpinPanel->SetVisible(false);
  FSpinPanel->SetParent(this);
  FSpacer = new TPanel(this);
  FSpacer->SetBevelOuter(bvNone);
  FSpacer->SetColor(FInner->Color());
  FSpacer->SetHeight(45);
  FSpacer->SetAlign(alTop);
  FSpacer->SetParent(FSpinPanel);
  FSpin = new TSpinButton(this);
  FSpin->SetAlign(alTop);
  FSpin->SetParent(FSpinPanel);
  FSpin->OnUpClick = [this](TObject*) { SpinUp(); };
  FSpin->OnDownClick = [this](TObject*) { SpinDown(); };
}

TOutlook::~TOutlook() = default;

bool TOutlook::SpinVisible() const { return FSpinPanel->Visible(); }

void TOutlook::SetActiveTab(int tab) {
  if (tab < 0 || tab > static_cast<int>(FHeaderButtons.size())) return;
  FActiveTab = tab;
  FFirstVisible = 1;
  Layout();
}

void TOutlook::SpinUp() {
  if (FFirstVisible <= 1) return;
  --FFirstVisible;
  Layout();
}

void TOutlook::SpinDown() {
  if (FActiveCount - FPlaced < FFirstVisible) return;
  ++FFirstVisible;
  Layout();
}

void TOutlook::FreeControls() {
  for (TPanel* panel : FPanels) {
    try {
      while (panel->ControlCount() > 0) delete panel->Controls(0);
      delete panel;
    } catch (...) {
    }
  }
  for (TSpeedButton* button : FHeaderButtons) {
    try {
      delete button;
    } catch (...) {
    }
  }
  FHeaderButtons.clear();
  FPanels.clear();
  FImages.clear();
  FLabels.clear();
}

void TOutlook::ArrangeItems() {
  FArranging = true;
  FreeControls();
  const int barWidth = Width();
  for (int h = 1; h <= FItems->ItemCount(0); ++h) {
    auto* button = new TSpeedButton(this);
    button->Font().SetName("Tahoma");
    button->SetCaption(FItems->GetHeaderCaption(h));
    button->SetTag(h);
    button->SetHeight(HeaderHeight);
    button->SetAlign(alBottom);
    button->OnClick = [this](TObject* sender) { ControlClick(sender); };
    button->SetParent(this);
    FHeaderButtons.push_back(button);
    for (int i = 1; i <= FItems->ItemCount(h); ++i) {
      const std::string caption = FItems->GetItemCaption(h, i);
      auto* panel = new TPanel(this);
      panel->SetTag(h);
      panel->SetBevelOuter(bvNone);
      panel->SetColor(BarColor);
      panel->SetBounds(0, 0, FInner->Width(), ItemHeight);
      auto* image = new TFlatImage(this);
      image->SetBounds((barWidth - 40) / 2, 5, 40, 40);
      image->SetStrValue(caption);
      image->SetPicture(FItems->GetItemPicture(h, i));
      image->OnClick = [this](TObject* sender) { ControlClick(sender); };
      image->SetParent(panel);
      auto* label = new TLabel(this);
      label->Font().SetName("Tahoma");
      label->Font().SetColor(clWhite);
      label->SetCaption(caption);
      label->SetTop(45);
      label->SetParent(panel);
      label->SetLeft((barWidth - label->Width()) / 2);
      FPanels.push_back(panel);
      FImages.push_back(image);
      FLabels.push_back(label);
    }
  }
  FArranging = false;
  Layout();
}

void TOutlook::Layout() {
  const int buttons = static_cast<int>(FHeaderButtons.size());
  if (buttons == 0) return;
  if (FActiveTab > buttons) FActiveTab = 0;
  // Buttons up to the active one at the top in order, the rest at the bottom
  // in order: the library stacks bottom-aligned controls from the bottom up in
  // child order, so those go in backwards.
  for (int b = buttons - 1; b >= 0; --b) FHeaderButtons[static_cast<size_t>(b)]->SetAlign(b < FActiveTab ? alTop : alBottom);
  std::vector<TControl*> others;
  for (TControl* c : FControls)
    if (std::find(FHeaderButtons.begin(), FHeaderButtons.end(), c) == FHeaderButtons.end()) others.push_back(c);
  FControls.clear();
  for (int b = 0; b < FActiveTab; ++b) FControls.push_back(FHeaderButtons[static_cast<size_t>(b)]);
  for (int b = buttons - 1; b >= FActiveTab; --b) FControls.push_back(FHeaderButtons[static_cast<size_t>(b)]);
  FControls.insert(FControls.end(), others.begin(), others.end());

  const int available = Height() - FHeaderButtons.front()->Height() * buttons;
  FActiveCount = 0;
  for (TPanel* panel : FPanels)
    if (FActiveTab != 0 && panel->Tag() == FActiveTab) ++FActiveCount;
  // Never leave items out of reach: when the items from the first visible one
  // on leave room for earlier ones (the bar grew after scrolling), scroll back.
  int fits = 0;
  while ((fits + 1) * ItemHeight < available) ++fits;
  FFirstVisible = std::max(1, std::min(FFirstVisible, FActiveCount - fits + 1));
  FPlaced = 0;
  int count = 0;
  for (TPanel* panel : FPanels) {
    if (FActiveTab == 0 || panel->Tag() != FActiveTab) {
      panel->SetParent(nullptr);
      continue;
    }
    ++count;
    if (count >= FFirstVisible && (count - FFirstVisible + 1) * ItemHeight < available) {
      ++FPlaced;
      panel->SetBounds(0, (FPlaced - 1) * ItemHeight, FInner->Width(), ItemHeight);
      panel->SetParent(FInner);
    } else {
      panel->SetParent(nullptr);
    }
  }
  // Shown whenever some item is not placed, so that every item can be reached.
  FSpinPanel->SetVisible(FActiveCount * ItemHeight > available || FPlaced < FActiveCount);
  AlignControls();
}

std::vector<TPanel*> TOutlook::ActivePanels() const {
  std::vector<TPanel*> panels;
  for (TPanel* panel : FPanels)
    if (FActiveTab != 0 && panel->Tag() == FActiveTab) panels.push_back(panel);
  return panels;
}

TFlatImage* TOutlook::ItemImage(TPanel* panel) const {
  for (size_t i = 0; i < FPanels.size(); ++i)
    if (FPanels[i] == panel) return FImages[i];
  return nullptr;
}

void TOutlook::ControlClick(TObject* sender) {
  if (auto* button = dynamic_cast<TSpeedButton*>(sender)) {
    SetActiveTab(button->Tag());
    if (OnTabChange) OnTabChange(this, button->Caption());
  } else if (auto* image = dynamic_cast<TFlatImage*>(sender)) {
    if (OnItemClick) OnItemClick(this, image->StrValue());
  }
}

void TOutlook::Resized() {
  TScrollBox::Resized();
  if (FArranging) return;
  const int barWidth = Width();
  for (size_t i = 0; i < FPanels.size(); ++i) {
    FPanels[i]->SetWidth(FInner->Width());
    FImages[i]->SetLeft((barWidth - 40) / 2);
    FLabels[i]->SetLeft((barWidth - FLabels[i]->Width()) / 2);
  }
  Layout();
}

namespace {

// A stored line list: a list of strings, or one string of lines.
std::vector<std::string> StoredLines(const TLayoutValue& value) {
  if (!value.IsString()) return value.AsStrings();
  std::vector<std::string> lines;
  const std::string& text = value.AsString();
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end;
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;
  }
  return lines;
}

}  // namespace

bool TOutlook::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Items.Headers")) {
    FItems->SetHeaders(StoredLines(prop.Value));
    return true;
  }
  if (SameText(prop.Name, "Items.Contents")) {
    FItems->SetContents(StoredLines(prop.Value));
    return true;
  }
  if (SameText(prop.Name, "Items.Images")) {
    if (prop.Value.Kind != TLayoutValue::lvBinary) loader.Fail(prop, "binary data expected");
    FItems->ReadImages(prop.Value.Binary);
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
  if (SameText(prop.Name, "OnTabChange")) {
    loader.Bind(OnTabChange, prop);
    return true;
  }
  return TScrollBox::SetLayoutProperty(prop, loader);
}

void TOutlook::Loaded() {
  TScrollBox::Loaded();
  ArrangeItems();
}

}  // namespace tq
