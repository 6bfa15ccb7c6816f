// tqdrive: drives a program's windows from outside, as a user would.
//   tqdrive <program> [arguments...]
// Starts the program, waits for its first visible top-level window, prints the
// window's caption, asks the window to close (WM_CLOSE) and waits for the
// program to end. Exit code: the program's, or 90+ when driving failed.
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindTopWindow(HWND wnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid == s->pid && IsWindowVisible(wnd)) {
    s->found = wnd;
    return FALSE;
  }
  return TRUE;
}

std::string Quote(const char* arg) { return std::string("\"") + arg + "\""; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tqdrive <program> [arguments...]\n");
    return 90;
  }
  std::string cmd = Quote(argv[1]);
  for (int i = 2; i < argc; ++i) cmd += " " + Quote(argv[i]);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    std::fprintf(stderr, "tqdrive: cannot start %s (error %lu)\n", argv[1], GetLastError());
    return 91;
  }
  Search s{pi.dwProcessId, nullptr};
  for (int waited = 0; !s.found && waited < 60000; waited += 100) {
    if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
    EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&s));
  }
  if (!s.found) {
    std::fprintf(stderr, "tqdrive: %s showed no window\n", argv[1]);
    TerminateProcess(pi.hProcess, 92);
    return 92;
  }
  char caption[512] = "";
  GetWindowTextA(s.found, caption, sizeof caption);
  std::printf("window: %s\n", caption);
  std::fflush(stdout);
  PostMessageA(s.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "tqdrive: %s did not close\n", argv[1]);
    TerminateProcess(pi.hProcess, 93);
    return 93;
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  std::printf("exit code: %lu\n", code);
  return static_cast<int>(code);
}
