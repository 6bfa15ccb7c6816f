#pragma once
// The picture button of the side bar's items: flat until the mouse is over it
// (a raised edge), sunken while the left button is held down on it.
#include <string>

#include "ExtCtrls.h"

namespace tq {

class TFlatImage : public TPaintBox {
 public:
  explicit TFlatImage(TComponent* owner);
  TQ_CLASS_NAME(TFlatImage)
  TPicture& Picture() { return FPicture; }
  // Copies the picture (nullptr: no picture) and repaints.
  void SetPicture(const TPicture* picture);
  // The value the owner keeps with the picture (the side bar: the item's
  // caption). It is also the window's text, the name other programs see.
  const std::string& StrValue() const { return FStrValue; }
  void SetStrValue(const std::string& value);
  bool MouseInside() const { return FMouseInside; }
  bool Pressed() const { return FPressed; }

 protected:
  void Paint() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;

 private:
  void SetState(bool inside, bool pressed);
  TPicture FPicture;
  std::string FStrValue;
  bool FMouseInside = false;
  bool FPressed = false;
};

}  // namespace tq
