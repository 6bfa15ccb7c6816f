#pragma once
// Tab controls: TTabControl (a row of tabs whose captions are a string list
// with objects) and TPageControl (one page per tab; tabs can be hidden).
// Setting TabIndex or ActivePage fires nothing; a user's choice of a tab asks
// OnChanging and then fires OnChange.
#include <string>
#include <vector>

#include "StdCtrls.h"

namespace tq {

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TTabControl : public TWinControl {
 public:
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
  bool CNNotify(NMHDR* header, LRESULT& result) override;
  void InsertTab(int index, const std::string& s);
  void SetTabsUpdating(bool updating);
  void ApplyTabSize();
  TControlItems FTabs;
  int FTabIndex = -1;
  int FTabHeight = 0, FTabWidth = 0;
  bool FMultiLine = false;
  bool FBatchFixedWidth = false;  // TCS_FIXEDWIDTH set for a batch of tab changes
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
