// tqdrive: drives a program's windows from outside, as a user would.
//   tqdrive <program> [arguments...] [-- step...]
// Starts the program and waits for its first visible top-level window, prints
// the window's caption, runs the steps in order, then asks the window to close
// (WM_CLOSE) and waits for the program to end. Steps:
//   click:<caption>        presses the button with that caption in the main window
//   wait:<text>[!<failure>] waits until a control of the main window shows <text>;
//                          ends with code 97 (printing the program's open prompts)
//                          if <failure> shows first
//   answer:<text>=<button> from now on, whenever another window of the program
//                          shows <text> (caption or any control), presses <button>
// Prints each step's outcome. Exit code: the program's, or 90+ when driving failed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Answer {
  std::string text;
  std::string button;
};

DWORD gPid = 0;
HWND gMain = nullptr;
std::vector<Answer> gAnswers;

std::string TextOf(HWND w) {
  char buf[1024] = "";
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

struct Find {
  std::string text;
  bool buttonsOnly;
  HWND found;
};

BOOL CALLBACK FindChild(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  if (f->buttonsOnly) {
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") != 0) return TRUE;
  }
  std::string t = TextOf(w);
  std::string plain;
  for (char c : t)
    if (c != '&') plain += c;
  if (plain == f->text || (!f->buttonsOnly && t.find(f->text) != std::string::npos)) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindInside(HWND top, const std::string& text, bool buttonsOnly) {
  Find f{text, buttonsOnly, nullptr};
  EnumChildWindows(top, FindChild, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

BOOL CALLBACK FindMain(HWND w, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == gPid && IsWindowVisible(w)) {
    gMain = w;
    return FALSE;
  }
  return TRUE;
}

// Answers the prompts and dialogs of the program that the steps expect.
BOOL CALLBACK AnswerWindow(HWND w, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != gPid || w == gMain || !IsWindowVisible(w)) return TRUE;
  for (const Answer& a : gAnswers) {
    if (TextOf(w).find(a.text) == std::string::npos && !FindInside(w, a.text, false)) continue;
    HWND b = FindInside(w, a.button, true);
    if (!b) continue;
    std::printf("answered \"%s\" with %s\n", a.text.c_str(), a.button.c_str());
    std::fflush(stdout);
    PostMessageA(b, BM_CLICK, 0, 0);
    return TRUE;
  }
  return TRUE;
}

BOOL CALLBACK PrintChildText(HWND w, LPARAM) {
  const std::string t = TextOf(w);
  if (!t.empty()) std::fprintf(stderr, "  %s\n", t.c_str());
  return TRUE;
}

// Shows what the program's other windows (its prompts) say.
BOOL CALLBACK PrintPrompt(HWND w, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != gPid || w == gMain || !IsWindowVisible(w)) return TRUE;
  std::fprintf(stderr, "prompt \"%s\":\n", TextOf(w).c_str());
  EnumChildWindows(w, PrintChildText, 0);
  return TRUE;
}

// Lets time pass while answering prompts; false when the program ended.
bool Pump(HANDLE process, DWORD ms) {
  if (WaitForSingleObject(process, ms) == WAIT_OBJECT_0) return false;
  EnumWindows(AnswerWindow, 0);
  return true;
}

std::string Quote(const char* arg) { return std::string("\"") + arg + "\""; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tqdrive <program> [arguments...] [-- step...]\n");
    return 90;
  }
  std::string cmd = Quote(argv[1]);
  int i = 2;
  for (; i < argc && std::string(argv[i]) != "--"; ++i) cmd += " " + Quote(argv[i]);
  std::vector<std::string> steps;
  for (++i; i < argc; ++i) steps.push_back(argv[i]);

  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "tqdrive: cannot start %s (error %lu)\n", argv[1], GetLastError());
    return 91;
  }
  gPid = pi.dwProcessId;
  for (int waited = 0; !gMain && waited < 60000; waited += 100) {
    if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
    EnumWindows(FindMain, 0);
  }
  if (!gMain) {
    std::fprintf(stderr, "tqdrive: %s showed no window\n", argv[1]);
    TerminateProcess(pi.hProcess, 92);
    return 92;
  }
  std::printf("window: %s\n", TextOf(gMain).c_str());
  std::fflush(stdout);

  for (const std::string& step : steps) {
    const size_t colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    const std::string arg = colon == std::string::npos ? "" : step.substr(colon + 1);
    if (verb == "answer") {
      const size_t eq = arg.rfind('=');
      gAnswers.push_back({arg.substr(0, eq), eq == std::string::npos ? "OK" : arg.substr(eq + 1)});
    } else if (verb == "click") {
      HWND b = FindInside(gMain, arg, true);
      if (!b) {
        std::fprintf(stderr, "tqdrive: no button \"%s\"\n", arg.c_str());
        TerminateProcess(pi.hProcess, 94);
        return 94;
      }
      std::printf("clicked %s\n", arg.c_str());
      std::fflush(stdout);
      PostMessageA(GetParent(b), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(b), BN_CLICKED),
                   reinterpret_cast<LPARAM>(b));
      Pump(pi.hProcess, 100);
    } else if (verb == "wait") {
      const size_t bang = arg.find('!');
      const std::string want = arg.substr(0, bang);
      const std::string failure = bang == std::string::npos ? "" : arg.substr(bang + 1);
      bool seen = false;
      for (int waited = 0; waited < 20 * 60 * 1000; waited += 200) {
        if (FindInside(gMain, want, false)) {
          seen = true;
          break;
        }
        if (!failure.empty() && FindInside(gMain, failure, false)) {
          std::fprintf(stderr, "tqdrive: saw \"%s\"\n", failure.c_str());
          Pump(pi.hProcess, 1000);
          EnumWindows(PrintPrompt, 0);
          TerminateProcess(pi.hProcess, 97);
          return 97;
        }
        if (!Pump(pi.hProcess, 200)) break;
      }
      if (!seen) {
        std::fprintf(stderr, "tqdrive: \"%s\" never showed\n", arg.c_str());
        TerminateProcess(pi.hProcess, 95);
        return 95;
      }
      std::printf("saw %s\n", want.c_str());
      std::fflush(stdout);
    } else {
      std::fprintf(stderr, "tqdrive: unknown step %s\n", step.c_str());
      TerminateProcess(pi.hProcess, 96);
      return 96;
    }
  }

  PostMessageA(gMain, WM_CLOSE, 0, 0);
  bool ended = false;
  for (int waited = 0; waited < 30000; waited += 200)
    if (!Pump(pi.hProcess, 200)) {
      ended = true;
      break;
    }
  if (!ended) {
    std::fprintf(stderr, "tqdrive: %s did not close\n", argv[1]);
    TerminateProcess(pi.hProcess, 93);
    return 93;
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  std::printf("exit code: %lu\n", code);
  return static_cast<int>(code);
}
