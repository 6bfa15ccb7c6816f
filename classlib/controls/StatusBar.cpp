#include "StatusBar.h"

#include <commctrl.h>

#include <vector>

namespace tq {

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  FWidth = 200;
  FHeight = 19;
}

void TStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = STATUSCLASSNAMEA;
}

void TStatusBar::InitWindow() {
  TWinControl::InitWindow();
  SendTexts();
}

void TStatusBar::SendTexts() {
  if (!HandleAllocated()) return;
  SendMessageA(FHandle, SB_SIMPLE, FSimplePanel ? TRUE : FALSE, 0);
  if (FSimplePanel) {
    SendMessageA(FHandle, SB_SETTEXTA, 255, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    return;
  }
  std::vector<int> edges;
  for (size_t i = 0; i < FPanels.size(); ++i) edges.push_back(static_cast<int>((i + 1) * 100));
  if (!edges.empty()) edges.back() = -1;
  SendMessageA(FHandle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < FPanels.size(); ++i)
    SendMessageA(FHandle, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(FPanels[i].c_str()));
}

void TStatusBar::SetSimplePanel(bool v) {
  FSimplePanel = v;
  SendTexts();
}

void TStatusBar::SetSimpleText(const std::string& text) {
  FSimpleText = text;
  SendTexts();
}

void TStatusBar::SetPanelCount(int count) {
  FPanels.resize(count < 0 ? 0 : count);
  SendTexts();
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  FPanels.at(index) = text;
  SendTexts();
}

}  // namespace tq
