#include "Shape.h"

namespace tq {

TShape::TShape(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 65;
  FHeight = 65;
}

void TShape::SetBrushColor(TColor color) {
  FBrushColor = color;
  Invalidate();
}

void TShape::SetPenColor(TColor color) {
  FPenColor = color;
  Invalidate();
}

void TShape::Paint() {
  FCanvas.BrushColor = FBrushColor;
  FCanvas.PenColor = FPenColor;
  FCanvas.Rectangle(0, 0, ClientWidth(), ClientHeight());
}

bool TShape::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Brush.Color")) FBrushColor = LayoutColor(prop, loader);
  else if (SameText(prop.Name, "Pen.Color")) FPenColor = LayoutColor(prop, loader);
  else return TGraphicControl::SetLayoutProperty(prop, loader);
  return true;
}

}  // namespace tq
