#pragma once
// A list box whose items carry check marks. Clicking an item's box toggles it
// and fires OnClickCheck; setting Checked fires nothing.
#include "StdCtrls.h"

namespace tq {

class TCheckListBox : public TListBox {
 public:
  explicit TCheckListBox(TComponent* owner);
  TQ_CLASS_NAME(TCheckListBox)
  bool Checked(int index) const { return FItems.Flag(index); }
  void SetChecked(int index, bool v);
  TNotifyEvent OnClickCheck;
  // Toggles an item as a click on its box does (fires OnClickCheck).
  void ToggleChecked(int index);
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  bool DrawItem(DRAWITEMSTRUCT* dis) override;
  bool MeasureItem(MEASUREITEMSTRUCT* mis) override;
  void InvalidateItem(int index);
};

}  // namespace tq
