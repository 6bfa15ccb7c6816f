// Shows one setup page snippet (first argument: its file) as the page view draws
// it, in a 640 x 480 window, for screenshots. Prints "shown" once it is drawn.
#include <windows.h>

#include <cstdio>
#include <deque>
#include <functional>

#include "HtmlView.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tq::html;
  std::deque<std::function<void()>> queue;
  THtmlBrowser web([&](std::function<void()> w) { queue.push_back(std::move(w)); });
  HWND frame = CreateWindowExA(0, "STATIC", "Setup", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 80, 640, 480, nullptr,
                               nullptr, nullptr, nullptr);
  THtmlView view(frame, web);
  web.OnDocumentComplete = [&](const std::string&) { view.Refresh(); };
  web.Navigate(std::string("file://") + (__argc > 1 ? __argv[1] : ""));
  while (!queue.empty()) {
    auto w = std::move(queue.front());
    queue.pop_front();
    w();
  }
  if (IHtmlDocument* d = web.Document())
    if (IHtmlElement* e = d->Item("ExistingGroups"))
      for (const char* g : {"Accessories", "Games", "Startup"}) {
        IHtmlElement* o = d->CreateElement("option");
        o->SetText(g);
        e->Add(o, e->Length());
      }
  view.Refresh();
  std::printf("shown\n");
  std::fflush(stdout);
  MSG msg;
  DWORD end = GetTickCount() + 60000;
  while (GetTickCount() < end) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
  return 0;
}
