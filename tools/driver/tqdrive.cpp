// tqdrive: drives a program's windows from outside, as a user would.
//   tqdrive [--set <name>=<value>]... [--window <caption>] <program> [arguments...] [-- step...]
// Starts the program and waits for its first visible top-level window, prints
// the window's caption, runs the steps in order, then asks the window to close
// (WM_CLOSE) and waits for the program to end. With --window, the driven
// window is the first visible top-level window captioned <caption> of the
// program or of a program it started (directly or through others, as a
// self-extracting setup starts its bootstrap and the bootstrap its front-end);
// the prompts answered are that window's program's, and after it ended tqdrive
// also waits for the started program to end. --set gives the started program
// that environment variable (TEMP, for a setup that unpacks into it). Steps:
//   click:<caption>        presses the button with that caption in the main window
//                          (waiting for it as a wait step waits for its text)
//   mouse:<text>           clicks with the mouse (button down and up messages) on
//                          the visible control captioned <text>, or on the visible
//                          list box entry or tab with that text
//   mouse:@<x>,<y>         clicks with the mouse on the point x, y of the main
//                          window's client area (controls that draw their own
//                          items, such as the side bar)
//   show:<page>            brings forward the page captioned <page> of a page
//                          control whose tabs are hidden, when picking it did not
//   wait:<text>[!<failure>...] waits until a control of the main window (or an
//                          entry of its list boxes) shows <text>; ends with code
//                          97 (printing the program's open prompts) if one of the
//                          failures (separated by "!") shows first in the main
//                          window or in a prompt no answer is set for
//   size:<w>x<h>           gives the main window that outer size, as a user
//                          resizing it does
//   maximize / restore     maximises or restores the main window (its system
//                          menu's commands)
//   bounds                 prints the main window's rectangle: "bounds: left,top,width,height"
//   sleep:<ms>             lets the program run for ms milliseconds
//   timeout:<s>            from now on, a wait step fails after s seconds (20
//                          minutes until set)
//   linger:<ms>            from now on, a failing step leaves the program
//                          running for ms milliseconds (time for a picture of
//                          its windows) before ending it
//   answer:<text>=<button> from now on, whenever another window of the program
//                          shows <text> (caption or any control), presses <button>
//   answered:<text>        waits until the answer for <text> has pressed its button
//                          (a prompt that must be gone before the next step)
// Prints each step's outcome. Exit code: the program's, or 90+ when driving failed.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Answer {
  std::string text;
  std::string button;
  int pressed = 0;
};

DWORD gPid = 0;  // the driven window's program
HANDLE gProcess = nullptr;
HWND gMain = nullptr;
std::string gWindowCaption;  // --window: the driven window's caption
DWORD gStartedPid = 0;
DWORD gLinger = 0;
long gWaitLimitMs = 20 * 60 * 1000;
std::vector<Answer> gAnswers;

std::string TextOf(HWND w) {
  char buf[1024] = "";
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

bool IsClass(HWND w, const char* name) {
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

// A message to a control of the program, answered within two seconds; false
// when the program did not answer.
bool Ask(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(w, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &answer)) return false;
  result = static_cast<LRESULT>(answer);
  return true;
}

// What a control shows. An edit box keeps its text itself: other programs do
// not see it as the window's caption.
std::string ShownText(HWND w) {
  if (!IsClass(w, "Edit")) return TextOf(w);
  char buf[1024] = "";
  LRESULT length = 0;
  if (!Ask(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), length)) return {};
  return buf;
}

struct Find {
  std::string text;
  bool buttonsOnly;
  HWND found;
};

BOOL CALLBACK FindChild(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  if (f->buttonsOnly && !IsClass(w, "Button")) return TRUE;
  std::string t = f->buttonsOnly ? TextOf(w) : ShownText(w);
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

// Memory in the driven program for the control messages whose data travels by
// pointer and that Windows does not carry between processes (the tab
// control's).
class RemoteBlock {
 public:
  explicit RemoteBlock(size_t size)
      : FAt(static_cast<char*>(VirtualAllocEx(gProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE))) {}
  ~RemoteBlock() {
    if (FAt) VirtualFreeEx(gProcess, FAt, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  bool Valid() const { return FAt != nullptr; }
  char* At(size_t offset) const { return FAt + offset; }
  bool Write(size_t offset, const void* data, size_t size) const {
    return WriteProcessMemory(gProcess, FAt + offset, data, size, nullptr) != 0;
  }
  bool Read(size_t offset, void* data, size_t size) const {
    return ReadProcessMemory(gProcess, FAt + offset, data, size, nullptr) != 0;
  }

 private:
  char* FAt;
};

// The rectangle (client coordinates) of the tab that reads text.
bool FindTab(HWND w, const std::string& text, RECT& rect) {
  constexpr size_t rectAt = sizeof(TCITEMA), textAt = rectAt + sizeof(RECT), textSize = 1024;
  RemoteBlock block(textAt + textSize);
  LRESULT count = 0, done = 0;
  if (!block.Valid() || !Ask(w, TCM_GETITEMCOUNT, 0, 0, count)) return false;
  for (int i = 0; i < count; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = block.At(textAt);
    item.cchTextMax = textSize;
    char caption[textSize] = "";
    if (!block.Write(0, &item, sizeof item) || !Ask(w, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(block.At(0)), done) ||
        !done || !block.Read(textAt, caption, textSize - 1) || text != caption)
      continue;
    if (Ask(w, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(block.At(rectAt)), done) && done &&
        block.Read(rectAt, &rect, sizeof rect))
      return true;
  }
  return false;
}

// The rectangle (client coordinates) of the list box entry that reads text,
// leading blanks (the indent of tree-like lists) aside. Entries are read as
// wide text: across processes Wine hands a list box's text over wide whatever
// the call asked for.
bool FindListEntry(HWND w, const std::string& text, RECT& rect) {
  LRESULT count = 0, length = 0, done = 0;
  if (!Ask(w, LB_GETCOUNT, 0, 0, count)) return false;
  for (int i = 0; i < count; ++i) {
    wchar_t wide[1024] = L"";
    DWORD_PTR got = 0;
    if (!Ask(w, LB_GETTEXTLEN, i, 0, length) || length < 0 || length >= static_cast<LRESULT>(std::size(wide)) ||
        !SendMessageTimeoutW(w, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 2000, &got) ||
        static_cast<LRESULT>(got) == LB_ERR)
      continue;
    char entry[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, entry, sizeof entry, nullptr, nullptr);
    const char* shown = entry;
    while (*shown == ' ') ++shown;
    if (text != entry && text != shown) continue;
    if (Ask(w, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect), done) && done != LB_ERR) return true;
  }
  return false;
}

// The rectangle of an entry (list box entry or tab) of control w that reads text.
bool FindEntry(HWND w, const std::string& text, RECT& rect) {
  if (IsClass(w, "ListBox")) return FindListEntry(w, text, rect);
  if (IsClass(w, WC_TABCONTROLA)) return FindTab(w, text, rect);
  return false;
}

// Where a mouse click goes: a window and a point in its client area.
struct Target {
  std::string text;
  bool visibleOnly;
  HWND window;
  POINT at;
};

BOOL CALLBACK FindTarget(HWND w, LPARAM lp) {
  auto* t = reinterpret_cast<Target*>(lp);
  if (t->visibleOnly && !IsWindowVisible(w)) return TRUE;
  RECT r{};
  std::string plain;
  for (char c : ShownText(w))
    if (c != '&') plain += c;
  if (plain == t->text)
    GetClientRect(w, &r);
  else if (!FindEntry(w, t->text, r))
    return TRUE;
  t->window = w;
  t->at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  return FALSE;
}

// The visible control of the main window captioned text, or its list box entry
// or tab that reads text.
bool FindVisibleTarget(const std::string& text, Target& t) {
  t = Target{text, true, nullptr, {}};
  EnumChildWindows(gMain, FindTarget, reinterpret_cast<LPARAM>(&t));
  return t.window != nullptr;
}

// The innermost visible control at a point of the main window's client area.
bool TargetAt(POINT at, Target& t) {
  HWND w = gMain;
  for (;;) {
    HWND child = ChildWindowFromPointEx(w, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == w) break;
    MapWindowPoints(w, child, &at, 1);
    w = child;
  }
  t = Target{"", true, w, at};
  return w != gMain;
}

// A left click as the mouse sends it: a move, the button down and up.
void ClickWithMouse(const Target& t) {
  const LPARAM at = MAKELPARAM(t.at.x, t.at.y);
  PostMessageA(t.window, WM_MOUSEMOVE, 0, at);
  PostMessageA(t.window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(t.window, WM_LBUTTONUP, 0, at);
}

// True when a control of top shows text, or one of its list boxes or tab
// controls has an entry that reads text.
bool Shows(HWND top, const std::string& text) {
  if (FindInside(top, text, false)) return true;
  Target t{text, false, nullptr, {}};
  EnumChildWindows(top, FindTarget, reinterpret_cast<LPARAM>(&t));
  return t.window != nullptr;
}

struct Page {
  std::string caption;
  HWND found;
};

BOOL CALLBACK FindPage(HWND w, LPARAM lp) {
  auto* p = reinterpret_cast<Page*>(lp);
  if (TextOf(w) != p->caption || !IsClass(GetParent(w), WC_TABCONTROLA)) return TRUE;
  p->found = w;
  return FALSE;
}

// A page of the main window's page controls, by its caption.
HWND FindPageWindow(const std::string& caption) {
  Page p{caption, nullptr};
  EnumChildWindows(gMain, FindPage, reinterpret_cast<LPARAM>(&p));
  return p.found;
}

// Shows page in place of the visible pages beside it.
void BringPageForward(HWND page) {
  char cls[64] = "";
  GetClassNameA(page, cls, sizeof cls);
  for (HWND other = GetWindow(GetParent(page), GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT))
    if (other != page && IsClass(other, cls) && IsWindowVisible(other)) ShowWindow(other, SW_HIDE);
  ShowWindow(page, SW_SHOW);
  SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// True when program pid is the started program or was started by it, directly
// or through programs it started.
bool StartedByUs(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  std::vector<std::pair<DWORD, DWORD>> parents;  // program, its parent
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL more = Process32First(snapshot, &e); more; more = Process32Next(snapshot, &e))
    parents.emplace_back(e.th32ProcessID, e.th32ParentProcessID);
  CloseHandle(snapshot);
  for (size_t depth = 0; depth <= parents.size() && pid; ++depth) {
    if (pid == gStartedPid) return true;
    DWORD parent = 0;
    for (const auto& [child, p] : parents)
      if (child == pid) parent = p;
    pid = parent;
  }
  return false;
}

BOOL CALLBACK FindMain(HWND w, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (!IsWindowVisible(w)) return TRUE;
  if (gWindowCaption.empty() ? pid == gStartedPid : TextOf(w) == gWindowCaption && StartedByUs(pid)) {
    gMain = w;
    gPid = pid;
    return FALSE;
  }
  return TRUE;
}

// True when a prompt of the program (a window other than the main one that no
// answer is set for) shows text.
struct PromptText {
  std::string text;
  bool found;
};

bool Answered(HWND w) {
  for (const Answer& a : gAnswers)
    if (TextOf(w).find(a.text) != std::string::npos || FindInside(w, a.text, false)) return true;
  return false;
}

BOOL CALLBACK FindPromptText(HWND w, LPARAM lp) {
  auto* p = reinterpret_cast<PromptText*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != gPid || w == gMain || !IsWindowVisible(w) || Answered(w)) return TRUE;
  if (TextOf(w).find(p->text) == std::string::npos && !FindInside(w, p->text, false)) return TRUE;
  p->found = true;
  return FALSE;
}

bool PromptShows(const std::string& text) {
  PromptText p{text, false};
  EnumWindows(FindPromptText, reinterpret_cast<LPARAM>(&p));
  return p.found;
}

// Answers the prompts and dialogs of the program that the steps expect.
BOOL CALLBACK AnswerWindow(HWND w, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != gPid || w == gMain || !IsWindowVisible(w)) return TRUE;
  for (Answer& a : gAnswers) {
    if (TextOf(w).find(a.text) == std::string::npos && !FindInside(w, a.text, false)) continue;
    HWND b = FindInside(w, a.button, true);
    if (!b) continue;
    std::printf("answered \"%s\" with %s\n", a.text.c_str(), a.button.c_str());
    std::fflush(stdout);
    PostMessageA(b, BM_CLICK, 0, 0);
    ++a.pressed;
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

// Ends the program after a failed step, once the linger time has passed.
int Fail(HANDLE process, int code) {
  std::fflush(stderr);
  if (gLinger) Pump(process, gLinger);
  TerminateProcess(process, static_cast<UINT>(code));
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  int i = 1;
  for (; i + 1 < argc; i += 2) {
    const std::string option = argv[i], value = argv[i + 1];
    const size_t eq = value.find('=');
    if (option == "--window") {
      gWindowCaption = value;
    } else if (option == "--set" && eq != std::string::npos && eq > 0) {
      SetEnvironmentVariableA(value.substr(0, eq).c_str(), value.substr(eq + 1).c_str());
    } else {
      break;
    }
  }
  if (argc <= i) {
    std::fprintf(stderr, "usage: tqdrive [--set <name>=<value>]... [--window <caption>] <program> [arguments...] "
                         "[-- step...]\n");
    return 90;
  }
  const char* program = argv[i];
  std::string cmd = Quote(argv[i]);
  for (++i; i < argc && std::string(argv[i]) != "--"; ++i) cmd += " " + Quote(argv[i]);
  std::vector<std::string> steps;
  for (++i; i < argc; ++i) steps.push_back(argv[i]);

  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "tqdrive: cannot start %s (error %lu)\n", program, GetLastError());
    return 91;
  }
  gStartedPid = pi.dwProcessId;
  gProcess = pi.hProcess;
  // A program started through others (--window) may take a while under load.
  for (int waited = 0; !gMain && waited < 5 * 60 * 1000; waited += 100) {
    if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
    EnumWindows(FindMain, 0);
  }
  if (!gMain) {
    std::fprintf(stderr, "tqdrive: %s showed no window%s\n", program,
                 gWindowCaption.empty() ? "" : (" \"" + gWindowCaption + "\"").c_str());
    return Fail(pi.hProcess, 92);
  }
  // The driven window's own program (the started one unless --window found
  // one it started).
  HANDLE driven = pi.hProcess;
  if (gPid != gStartedPid) {
    driven = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ |
                             PROCESS_VM_WRITE | PROCESS_TERMINATE,
                         FALSE, gPid);
    if (!driven) {
      std::fprintf(stderr, "tqdrive: cannot open the program of \"%s\" (error %lu)\n", gWindowCaption.c_str(),
                   GetLastError());
      return Fail(pi.hProcess, 91);
    }
    gProcess = driven;
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
      // A page being built shows its text before its buttons: the button may
      // come a moment later.
      HWND b = FindInside(gMain, arg, true);
      for (long waited = 0; !b && waited < gWaitLimitMs && Pump(driven, 200); waited += 200)
        b = FindInside(gMain, arg, true);
      if (!b) {
        std::fprintf(stderr, "tqdrive: no button \"%s\"\n", arg.c_str());
        return Fail(driven, 94);
      }
      std::printf("clicked %s\n", arg.c_str());
      std::fflush(stdout);
      PostMessageA(GetParent(b), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(b), BN_CLICKED),
                   reinterpret_cast<LPARAM>(b));
      Pump(driven, 100);
    } else if (verb == "mouse") {
      Target t;
      POINT at{};
      const bool found = arg.size() > 1 && arg[0] == '@'
                             ? std::sscanf(arg.c_str() + 1, "%ld,%ld", &at.x, &at.y) == 2 && TargetAt(at, t)
                             : FindVisibleTarget(arg, t);
      if (!found) {
        std::fprintf(stderr, "tqdrive: nothing to click at \"%s\"\n", arg.c_str());
        return Fail(driven, 94);
      }
      std::printf("clicked with the mouse on %s\n", arg.c_str());
      std::fflush(stdout);
      ClickWithMouse(t);
      Pump(driven, 500);
    } else if (verb == "show") {
      HWND page = FindPageWindow(arg);
      if (!page) {
        std::fprintf(stderr, "tqdrive: no page \"%s\"\n", arg.c_str());
        return Fail(driven, 94);
      }
      if (IsWindowVisible(page)) {
        std::printf("page %s is showing\n", arg.c_str());
      } else {
        BringPageForward(page);
        std::printf("brought page %s forward (picking it had not shown it)\n", arg.c_str());
      }
      std::fflush(stdout);
      Pump(driven, 200);
    } else if (verb == "size") {
      int w = 0, h = 0;
      if (std::sscanf(arg.c_str(), "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0) {
        std::fprintf(stderr, "tqdrive: bad size \"%s\"\n", arg.c_str());
        return Fail(driven, 96);
      }
      SetWindowPos(gMain, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      std::printf("sized to %dx%d\n", w, h);
      std::fflush(stdout);
      Pump(driven, 500);
    } else if (verb == "maximize" || verb == "restore") {
      LRESULT done = 0;
      Ask(gMain, WM_SYSCOMMAND, verb == "maximize" ? SC_MAXIMIZE : SC_RESTORE, 0, done);
      std::printf("%s\n", verb == "maximize" ? "maximised" : "restored");
      std::fflush(stdout);
      Pump(driven, 500);
    } else if (verb == "bounds") {
      RECT r{};
      GetWindowRect(gMain, &r);
      std::printf("bounds: %ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
      std::fflush(stdout);
    } else if (verb == "answered") {
      auto pressed = [&arg] {
        for (const Answer& a : gAnswers)
          if (a.text == arg && a.pressed > 0) return true;
        return false;
      };
      bool seen = false;
      for (int waited = 0; waited < 10 * 60 * 1000 && !(seen = pressed()); waited += 200)
        if (!Pump(driven, 200)) break;
      if (!seen) {
        std::fprintf(stderr, "tqdrive: \"%s\" was never answered\n", arg.c_str());
        EnumWindows(PrintPrompt, 0);
        return Fail(driven, 95);
      }
      Pump(driven, 200);
    } else if (verb == "timeout") {
      gWaitLimitMs = std::atol(arg.c_str()) * 1000L;
    } else if (verb == "linger") {
      gLinger = static_cast<DWORD>(std::atol(arg.c_str()));
    } else if (verb == "sleep") {
      const long ms = std::atol(arg.c_str());
      for (long slept = 0; slept < ms; slept += 200)
        if (!Pump(driven, 200)) break;
    } else if (verb == "wait") {
      std::vector<std::string> parts;
      for (size_t at = 0;;) {
        const size_t bang = arg.find('!', at);
        parts.push_back(arg.substr(at, bang == std::string::npos ? std::string::npos : bang - at));
        if (bang == std::string::npos) break;
        at = bang + 1;
      }
      const std::string want = parts.front();
      bool seen = false, ended = false;
      for (long waited = 0; waited < gWaitLimitMs; waited += 200) {
        if (Shows(gMain, want)) {
          seen = true;
          break;
        }
        for (size_t f = 1; f < parts.size(); ++f)
          if (!parts[f].empty() && (FindInside(gMain, parts[f], false) || PromptShows(parts[f]))) {
            std::fprintf(stderr, "tqdrive: saw \"%s\"\n", parts[f].c_str());
            Pump(driven, 1000);
            EnumWindows(PrintPrompt, 0);
            return Fail(driven, 97);
          }
        if (!Pump(driven, 200)) {
          ended = true;
          break;
        }
      }
      if (!seen) {
        std::fprintf(stderr, "tqdrive: \"%s\" never showed%s\n", want.c_str(), ended ? " (the program ended)" : "");
        EnumWindows(PrintPrompt, 0);
        return Fail(driven, 95);
      }
      std::printf("saw %s\n", want.c_str());
      std::fflush(stdout);
    } else {
      std::fprintf(stderr, "tqdrive: unknown step %s\n", step.c_str());
      return Fail(driven, 96);
    }
  }

  PostMessageA(gMain, WM_CLOSE, 0, 0);
  bool ended = false;
  for (int waited = 0; waited < 60000; waited += 200)
    if (!Pump(driven, 200)) {
      ended = true;
      break;
    }
  if (!ended) {
    std::fprintf(stderr, "tqdrive: %s did not close\n", gWindowCaption.empty() ? program : gWindowCaption.c_str());
    return Fail(driven, 93);
  }
  DWORD code = 0;
  GetExitCodeProcess(driven, &code);
  if (driven != pi.hProcess) {
    std::printf("window's program exit code: %lu\n", code);
    std::fflush(stdout);
    // The programs between (a setup and its bootstrap) end after it.
    if (WaitForSingleObject(pi.hProcess, 5 * 60 * 1000) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "tqdrive: %s did not end after its window's program\n", program);
      TerminateProcess(pi.hProcess, 93);
      return 93;
    }
    GetExitCodeProcess(pi.hProcess, &code);
  }
  std::printf("exit code: %lu\n", code);
  return static_cast<int>(code);
}
