#include "FrontEndWindow.h"

namespace tq {

namespace {

LRESULT CALLBACK FrontEndWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

int RunFrontEndWindow(HINSTANCE instance, const char* className, const char* caption, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = FrontEndWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = className;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (!RegisterClassA(&wc)) return 1;
  HWND wnd = CreateWindowA(className, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           500, 360, nullptr, nullptr, instance, nullptr);
  if (!wnd) return 2;
  ShowWindow(wnd, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace tq
