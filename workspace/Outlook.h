#pragma once
// The side bar: group headers, and under the active header a column of items,
// each a picture with its caption. This version keeps the full interface of the
// item store and draws a plain bar; its pictures are drawn when the layout has
// been read.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "GdiObjects.h"

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

class TOutlook : public TGraphicControl {
 public:
  explicit TOutlook(TComponent* owner);
  ~TOutlook() override;
  std::string ClassName() const override { return "TOutlook"; }
  TOutlookItems& Items() { return *FItems; }
  // The active header, from 1; 0 none.
  int ActiveTab() const { return FActiveTab; }
  void SetActiveTab(int tab);
  // Rebuilds the bar from Items and lays it out again.
  void ArrangeItems();
  TOutlookEvent OnTabChange;
  TOutlookEvent OnItemClick;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;
  void Loaded() override;

  static constexpr int HeaderHeight = 22;
  static constexpr int ItemHeight = 60;

 protected:
  void Paint() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;

 private:
  void DrawDefaultPictures();
  std::unique_ptr<TOutlookItems> FItems;
  int FActiveTab = 1;
};

}  // namespace tq
