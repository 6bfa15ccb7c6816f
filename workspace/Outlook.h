#pragma once
// The side bar: group header buttons stacked at the top and the bottom, and
// under the active header a column of items, each a 40 x 40 picture with its
// caption under it, scrolled by a spin button when they do not fit.
//
// Stored form (layout properties of the bar):
//   Items.Headers   the header captions, one line each
//   Items.Contents  for each header in order a line with its 0-based index in
//                   decimal, then one line per item caption
//   Items.Images    binary: an image list of 32 x 32 images in the platform's
//                   image-list stream format (ImageList_Write/ImageList_Read),
//                   every item's picture in header order, then item order
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Buttons.h"
#include "FlatImage.h"
#include "Spin.h"

namespace tq {

class TOutlook;

// The headers, the item captions and the item pictures of a side bar. All
// indexes count from 1; out of range reads give "", no picture or 0 and
// changes out of range do nothing.
class TOutlookItems : public TObject {
 public:
  explicit TOutlookItems(TOutlook* bar) : FBar(bar) {}
  TOutlookItems(const TOutlookItems&) = delete;
  TOutlookItems& operator=(const TOutlookItems&) = delete;
  std::string ClassName() const override { return "TOutlookItems"; }

  // Replaces the headers; each gets an empty caption list and picture list.
  void SetHeaders(const std::vector<std::string>& headers);
  // Reads the item captions: a line equal to the next header's 0-based index
  // starts that header's items; lines before the first index are dropped.
  void SetContents(const std::vector<std::string>& lines);
  // The two line lists of the stored form.
  std::vector<std::string> Headers() const;
  std::vector<std::string> Contents() const;
  // Reads the stored image list: every item, header by header, gets a new
  // picture of the next image; then the owning bar is rebuilt. A stream the
  // image list cannot be read from raises EReadError.
  void ReadImages(const std::vector<uint8_t>& stream);
  // The stored image list of every item's picture (an empty picture stores
  // an empty image).
  std::vector<uint8_t> WriteImages() const;

  // The number of headers for header 0, else the number of items of header.
  int ItemCount(int header) const;
  std::string GetHeaderCaption(int header) const;
  std::string GetItemCaption(int header, int item) const;
  TPicture* GetItemPicture(int header, int item) const;
  void SetItemPicture(int header, int item, TPicture* picture);
  // Appends empty captions with new empty pictures until the header has item
  // items, then sets the caption.
  void SetItemCaption(int header, int item, const std::string& caption);
  void DeleteItem(int header, int item);
  // A new empty picture kept by the store (pictures live as long as the store,
  // so a picture taken out of the lists stays valid).
  TPicture* NewPicture();

  static constexpr int ImageSize = 32;

 private:
  struct THeader {
    std::string Caption;
    std::vector<std::string> Captions;
    std::vector<TPicture*> Pictures;
  };
  bool Valid(int header, int item) const;
  TOutlook* FBar;
  std::vector<THeader> FHeaders;
  std::vector<std::unique_ptr<TPicture>> FPictures;
};

using TOutlookEvent = std::function<void(TObject* sender, const std::string& caption)>;

class TOutlook : public TScrollBox {
 public:
  explicit TOutlook(TComponent* owner);
  ~TOutlook() override;
  TQ_CLASS_NAME(TOutlook)
  TOutlookItems& Items() { return *FItems; }
  // The active header, from 1; 0 none. Setting it (when not above the number
  // of header buttons) scrolls back to the first item.
  int ActiveTab() const { return FActiveTab; }
  void SetActiveTab(int tab);
  // Rebuilds every header button and item panel from Items and lays them out.
  void ArrangeItems();
  // The spin button's two halves: one item back, one item on.
  void SpinUp();
  void SpinDown();
  TOutlookEvent OnTabChange;
  TOutlookEvent OnItemClick;

  // What the layout shows, for the bar's users and its checks.
  int FirstVisible() const { return FFirstVisible; }
  int PlacedCount() const { return FPlaced; }
  bool SpinVisible() const;
  TSpinButton* SpinButton() const { return FSpin; }
  int HeaderButtonCount() const { return static_cast<int>(FHeaderButtons.size()); }
  TSpeedButton* HeaderButton(int index) const { return FHeaderButtons.at(static_cast<size_t>(index)); }
  // The item panels of the active header (all of them, placed or not).
  std::vector<TPanel*> ActivePanels() const;
  TFlatImage* ItemImage(TPanel* panel) const;
  TScrollBox* InnerBox() const { return FInner; }

  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;
  void Loaded() override;

  static constexpr int HeaderHeight = 22;
  static constexpr int ItemHeight = 60;
  static constexpr TColor BarColor = 0x808080;

 protected:
  void Resized() override;

 private:
  void Layout();
  void FreeControls();
  void ControlClick(TObject* sender);
  std::unique_ptr<TOutlookItems> FItems;
  int FActiveTab = 0;
  int FFirstVisible = 1;
  int FActiveCount = 0;
  int FPlaced = 0;
  bool FArranging = false;
  TScrollBox* FInner = nullptr;
  TPanel* FSpinPanel = nullptr;
  TPanel* FSpacer = nullptr;
  TSpinButton* FSpin = nullptr;
  std::vector<TSpeedButton*> FHeaderButtons;
  std::vector<TPanel*> FPanels;
  std::vector<TFlatImage*> FImages;
  std::vector<TLabel*> FLabels;
};

}  // namespace tq
