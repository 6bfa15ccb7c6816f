#include "ProgressBar.h"

#include <algorithm>
#include <commctrl.h>

namespace tq {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  FWidth = 150;
  FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = PROGRESS_CLASSA;
}

void TProgressBar::InitWindow() {
  TWinControl::InitWindow();
  SendRange();
}

void TProgressBar::SendRange() {
  if (!HandleAllocated()) return;
  SendMessageA(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
  SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetMin(int v) {
  FMin = v;
  FMax = std::max(FMax, v);
  FPosition = std::clamp(FPosition, FMin, FMax);
  SendRange();
}

void TProgressBar::SetMax(int v) {
  FMax = v;
  FMin = std::min(FMin, v);
  FPosition = std::clamp(FPosition, FMin, FMax);
  SendRange();
}

void TProgressBar::SetPosition(int v) {
  FPosition = std::clamp(v, FMin, FMax);
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

bool TProgressBar::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Min")) FMin = prop.Value.AsInt();
  else if (SameText(n, "Max")) FMax = prop.Value.AsInt();
  else if (SameText(n, "Position")) FPosition = prop.Value.AsInt();
  else return TWinControl::SetLayoutProperty(prop, loader);
  return true;
}

}  // namespace tq
