// The real prompts: message boxes and a small input dialog built in memory.
#include <windows.h>

#include <vector>

#include "Prompts.h"

namespace tq {

namespace {

HWND Owner() { return GetActiveWindow(); }

std::string DialogCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return ApplicationTitle();
  }
}

UINT DialogStyle(TMsgDlgType type, TMsgDlgButtons b) {
  UINT style = 0;
  switch (type) {
    case mtWarning: style = MB_ICONWARNING; break;
    case mtError: style = MB_ICONERROR; break;
    case mtInformation: style = MB_ICONINFORMATION; break;
    case mtConfirmation: style = MB_ICONQUESTION; break;
    default: break;
  }
  if (b.Contains(mbYes) && b.Contains(mbNo))
    style |= b.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
  else if (b.Contains(mbAbort) || b.Contains(mbIgnore))
    style |= MB_ABORTRETRYIGNORE;
  else if (b.Contains(mbRetry))
    style |= MB_RETRYCANCEL;
  else if (b.Contains(mbCancel))
    style |= MB_OKCANCEL;
  else
    style |= MB_OK;
  return style;
}

// Windows' boxes have fixed button sets, none with Yes but no No: such a set
// shows OK captioned "Yes", which answers mrYes.
bool YesInPlaceOfOk(TMsgDlgButtons b) { return b.Contains(mbYes) && !b.Contains(mbNo) && !b.Contains(mbOK); }

thread_local HHOOK gCaptionHook = nullptr;

// Captions the OK button of the box being activated "Yes", once.
LRESULT CALLBACK CaptionOkAsYes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    char cls[16] = "";
    GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0) {
      if (HWND ok = GetDlgItem(reinterpret_cast<HWND>(wParam), IDOK)) SetWindowTextA(ok, "&Yes");
      UnhookWindowsHookEx(gCaptionHook);
      gCaptionHook = nullptr;
      return 0;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int ShowMessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons) {
  const UINT style = DialogStyle(type, buttons);
  if (!YesInPlaceOfOk(buttons)) return ::MessageBoxA(Owner(), msg.c_str(), DialogCaption(type).c_str(), style);
  gCaptionHook = SetWindowsHookExA(WH_CBT, CaptionOkAsYes, nullptr, GetCurrentThreadId());
  const int answer = ::MessageBoxA(Owner(), msg.c_str(), DialogCaption(type).c_str(), style);
  if (gCaptionHook) UnhookWindowsHookEx(gCaptionHook);
  gCaptionHook = nullptr;
  return answer == IDOK ? mrYes : answer;
}

// ---- The input dialog -------------------------------------------------------------

constexpr WORD kEditId = 100;

struct TQueryData {
  std::string Caption, Prompt, Value;
};

class TTemplate {
 public:
  void Word(WORD w) { FData.push_back(w); }
  void DWord(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const std::string& s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w.data(), n);
    for (wchar_t c : w) Word(static_cast<WORD>(c));
  }
  void Align() {
    if (FData.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls, const std::string& title) {
    Align();
    DWord(style | WS_CHILD | WS_VISIBLE);
    DWord(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF);
    Word(cls);
    Text(title);
    Word(0);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FData.data()); }

 private:
  std::vector<WORD> FData;
};

INT_PTR CALLBACK QueryProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* q = reinterpret_cast<TQueryData*>(lParam);
      SetWindowLongPtrA(dlg, DWLP_USER, lParam);
      SetWindowTextA(dlg, q->Caption.c_str());
      SetDlgItemTextA(dlg, kEditId, q->Value.c_str());
      SendDlgItemMessageA(dlg, kEditId, EM_SETSEL, 0, -1);
      SetFocus(GetDlgItem(dlg, kEditId));
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* q = reinterpret_cast<TQueryData*>(GetWindowLongPtrA(dlg, DWLP_USER));
        int n = GetWindowTextLengthA(GetDlgItem(dlg, kEditId));
        std::vector<char> buf(static_cast<size_t>(n) + 1);
        GetDlgItemTextA(dlg, kEditId, buf.data(), n + 1);
        q->Value = buf.data();
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

class TWindowsPrompts : public TPromptService {
 public:
  int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int) override {
    return ShowMessageDlg(msg, type, buttons);
  }
  void ShowMessage(const std::string& msg) override {
    ::MessageBoxA(Owner(), msg.c_str(), ApplicationTitle().c_str(), MB_OK);
  }
  int MessageBox(const std::string& text, const std::string& caption, int flags) override {
    return ::MessageBoxA(Owner(), text.c_str(), caption.c_str(), static_cast<UINT>(flags));
  }
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override {
    TTemplate t;
    t.DWord(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.DWord(0);
    t.Word(4);  // items
    t.Word(0);
    t.Word(0);
    t.Word(180);
    t.Word(63);
    t.Word(0);  // no menu
    t.Word(0);  // standard class
    t.Text(caption);
    t.Word(8);
    t.Text("MS Shell Dlg");
    t.Item(SS_LEFT, 7, 7, 166, 10, 0xFFFF, 0x0082, prompt);
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, 166, 12, kEditId, 0x0081, "");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 69, 41, 50, 14, IDOK, 0x0080, "OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 123, 41, 50, 14, IDCANCEL, 0x0080, "Cancel");
    TQueryData data{caption, prompt, value};
    INT_PTR r = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), Owner(), QueryProc,
                                        reinterpret_cast<LPARAM>(&data));
    if (r != IDOK) return false;
    value = data.Value;
    return true;
  }
  int ShowModal(const std::string&, const std::function<int()>& show) override { return show ? show() : mrCancel; }
};

}  // namespace

TPromptService& DefaultPromptService() {
  static TWindowsPrompts service;
  return service;
}

}  // namespace tq
