#include "ChoiceControls.h"

namespace tq {

TMultiSelectCheckListBox::TMultiSelectCheckListBox(TComponent* owner) : TCheckListBox(owner) {
  SetMultiSelect(true);
}

void TMultiSelectCheckListBox::CreateParams(TCreateParams& params) {
  TCheckListBox::CreateParams(params);
  params.Style |= WS_HSCROLL | WS_VSCROLL;
}

TNoToolTipsTreeView::TNoToolTipsTreeView(TComponent* owner) : TTreeView(owner) { SetToolTips(false); }

void TMultiColumnFileListBox::CreateParams(TCreateParams& params) {
  TFileListBox::CreateParams(params);
  params.Style |= LBS_MULTICOLUMN | WS_HSCROLL;
}

void RegisterChoiceControlClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterComponentClass<TMultiSelectCheckListBox>("TMultiSelectCheckListBox");
  RegisterComponentClass<TNoToolTipsTreeView>("TNoToolTipsTreeView");
  RegisterComponentClass<TMultiColumnFileListBox>("TMultiColumnFileListBox");
}

}  // namespace tq
