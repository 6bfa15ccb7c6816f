// Vantrel program block: initialise the application, create the main window,
// run the message loop until it closes.
#include <windows.h>

namespace {

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = "TVantrelForm";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (!RegisterClassA(&wc)) return 1;
  HWND wnd = CreateWindowA("TVantrelForm", "Vantrel", WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 670, 452, nullptr, nullptr, instance,
                           nullptr);
  if (!wnd) return 2;
  ShowWindow(wnd, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
