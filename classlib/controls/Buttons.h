#pragma once
// Speed buttons: flat tool buttons with an optional picture; with a
// GroupIndex they stay down, one of a group at a time.
#include "ExtCtrls.h"

namespace tq {

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* owner);
  TQ_CLASS_NAME(TSpeedButton)
  TBitmap& Glyph() { return FGlyph; }
  bool Down() const { return FDown; }
  void SetDown(bool v);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v) { FGroupIndex = v; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v) { FAllowAllUp = v; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool v) { FFlat = v; Invalidate(); }
  void Click() override;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void Paint() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  TBitmap FGlyph;
  bool FDown = false, FPressed = false, FFlat = false, FAllowAllUp = false, FHot = false;
  int FGroupIndex = 0;
};

}  // namespace tq
