#pragma once
// Tab controls: TTabControl (a row of tabs whose captions are a string list
// with objects) and TPageControl (one page per tab; tabs can be hidden).
// Setting TabIndex or ActivePage fires nothing; a user's choice of a tab asks
// OnChanging and then fires OnChange.
// The native control lays out all its tabs for every tab inserted or deleted,
// so a single-line control holds at most HeldTabsMax of its tabs natively: a
// window of the row that moves on when the user scrolls or steps to its edge,
// or when a tab outside it is selected. Tabs() keeps every caption and object
// and every index is the tab's own.
#include <string>
#include <vector>

#include "StdCtrls.h"

namespace tq {

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TTabControl : public TWinControl {
 public:
  static constexpr int HeldTabsMax = 512;
  explicit TTabControl(TComponent* owner);
  TQ_CLASS_NAME(TTabControl)
  TControlItems& Tabs() { return FTabs; }
  int TabIndex() const;
  void SetTabIndex(int index);
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int h);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int w);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool v) { FMultiLine = v; }
  RECT DisplayRect();  // the client area below the tabs
  RECT AlignRect() override { return DisplayRect(); }
  int IndexOfTabAt(int x, int y) const;
  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  bool CNNotify(NMHDR* header, LRESULT& result) override;
  void SetTabsUpdating(bool updating);
  void ApplyTabSize();
  TControlItems FTabs;
  int FTabIndex = -1;
  int FTabHeight = 0, FTabWidth = 0;
  bool FMultiLine = false;
  bool FTabsUpdating = false;     // inside a batch of tab changes
  bool FBatchFixedWidth = false;  // TCS_FIXEDWIDTH set for a batch of tab changes

 private:
  // The window of natively held tabs: tab FHeldFrom + i is native tab i.
  int HeldMax() const;
  int WindowStartFor(int index) const;  // a window's start that holds index
  void TabInserted(int index);
  void TabDeleted(int index);
  void TabsCleared();
  void TabReplaced(int index, const std::string& s);
  void SendTabText(UINT msg, int native, const std::string& s);
  void InsertNative(int native, int index);
  void FillWindow(int start);  // the window's tabs from start, into an empty native control
  void HoldTabsFrom(int start);  // the window moved: its tabs held again
  void FollowRow();              // the user scrolled: the window follows at its ends
  void MoveWindowKeepingRow(int around);
  HWND ScrollArrows() const;  // null while hidden
  int FirstVisibleNative() const;
  void ScrollNativeTo(int native);
  int FHeldFrom = 0, FHeld = 0;
  int FAwaySelection = -1;  // the selected tab while it is outside the window
};

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TQ_CLASS_NAME(TTabSheet)
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* pc);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  int PageIndex() const;
  int TabIndex() const;  // position among the visible tabs, -1 when hidden
  void SetParent(TWinControl* parent) override;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  friend class TPageControl;
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  void SetTextValue(const std::string& s) override;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

class TPageControl : public TTabControl {
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  TQ_CLASS_NAME(TPageControl)
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }
  void SetActivePageIndex(int index);
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  friend class TTabSheet;
  bool CNNotify(NMHDR* header, LRESULT& result) override;
  void Resized() override;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void RebuildTabs();  // the visible pages' tabs, and the selection
  void PlacePages();
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

}  // namespace tq
