#pragma once
// A rectangle filled with a brush colour and outlined with a pen colour (a
// colour swatch, for example).
#include "Controls.h"

namespace tq {

class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* owner);
  std::string ClassName() const override { return "TShape"; }
  TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(TColor color);
  TColor PenColor() const { return FPenColor; }
  void SetPenColor(TColor color);
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void Paint() override;
  TColor FBrushColor = clWhite;
  TColor FPenColor = clBlack;
};

}  // namespace tq
