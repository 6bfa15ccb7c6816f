#pragma once
// Panels, images, paint boxes, radio groups, scroll boxes and timers.
#include <memory>
#include <string>
#include <vector>

#include "StdCtrls.h"

namespace tq {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* owner);
  TQ_CLASS_NAME(TPanel)
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut b) { FBevelOuter = b; Invalidate(); }
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut b) { FBevelInner = b; Invalidate(); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a) { FAlignment = a; Invalidate(); }
  RECT AlignRect() override;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  void SetTextValue(const std::string& s) override;
  int BorderWidth() const;
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  bool FBorderSingle = false;
  TAlignment FAlignment = taCenter;
};

// A picture, drawn at its size, centred or stretched.
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  TQ_CLASS_NAME(TImage)
  TPicture& Picture() { return FPicture; }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool v) { FStretch = v; Invalidate(); }
  bool Center() const { return FCenter; }
  void SetCenter(bool v) { FCenter = v; Invalidate(); }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v) { FAutoSize = v; }
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void Paint() override;
  void PictureChanged();
  TPicture FPicture;
  bool FStretch = false, FCenter = false, FAutoSize = false, FTransparent = false;
};

// A surface that its OnPaint handler draws on Canvas().
class TPaintBox : public TGraphicControl {
 public:
  explicit TPaintBox(TComponent* owner);
  TQ_CLASS_NAME(TPaintBox)
  TNotifyEvent OnPaint;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void Paint() override;
};

// A group box of radio buttons, one per item. ItemIndex set fires nothing; a
// user's choice fires OnClick.
class TRadioGroup : public TGroupBox {
 public:
  explicit TRadioGroup(TComponent* owner);
  ~TRadioGroup() override;
  TQ_CLASS_NAME(TRadioGroup)
  TControlItems& Items() { return FItems; }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int index);
  int Columns() const { return FColumns; }
  void SetColumns(int n);
  // The radio button of item index (made from the items).
  TRadioButton* Buttons(int index) const { return FButtons.at(static_cast<size_t>(index)); }
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void InitWindow() override;
  void Resized() override;
  void SetEnabled(bool enabled) override;
  void UpdateButtons();
  void ArrangeButtons();
  TControlItems FItems;
  std::vector<TRadioButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

// A container that scrolls its contents when they do not fit; with AutoScroll
// false it has no scroll bars and its owner places the contents.
class TScrollBox : public TWinControl {
 public:
  explicit TScrollBox(TComponent* owner);
  TQ_CLASS_NAME(TScrollBox)
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool v);
  bool Bordered() const { return FBorder; }
  void SetBordered(bool v) { FBorder = v; }
  void ScrollInView(TControl* c);
  // Recomputes the scroll ranges from the children's extent.
  void UpdateScrollRanges();
  int HorzPosition() const { return FPos[0]; }
  int VertPosition() const { return FPos[1]; }
  void ScrollTo(int x, int y);
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  void Resized() override;
  int FPos[2] = {0, 0};
  int FRange[2] = {0, 0};
  bool FBorder = true;
  bool FAutoScroll = true;
};

// Runs OnTimer every Interval milliseconds while Enabled (and OnTimer is set).
class TTimer : public TLayoutComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  std::string ClassName() const override { return "TTimer"; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  TNotifyEvent OnTimer;
  // Fires the timer as if its interval had passed (the handler runs guarded).
  void Timer();
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 private:
  void Update();
  bool FEnabled = true;
  unsigned FInterval = 1000;
  UINT_PTR FId = 0;
};

}  // namespace tq
