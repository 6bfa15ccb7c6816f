#pragma once
// A spin button: two arrow buttons stacked in one control, the upper one
// running OnUpClick and the lower one OnDownClick when clicked.
#include "StdCtrls.h"

namespace tq {

class TSpinButton : public TGraphicControl {
 public:
  explicit TSpinButton(TComponent* owner);
  TQ_CLASS_NAME(TSpinButton)
  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;
  // Runs the handler of the upper or the lower button, as a click on it does.
  void UpClick();
  void DownClick();
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void Paint() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;

 private:
  // 0 none, 1 the upper button, 2 the lower one.
  int FPressed = 0;
  int ButtonAt(int y) const { return y < FHeight / 2 ? 1 : 2; }
};

}  // namespace tq
