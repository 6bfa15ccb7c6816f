// The password prompt: a small dialog built at run time (font Arial), shown
// through the prompt service so that tests can answer it; and the two
// questions the component asks with it.
#include <windows.h>

#include "Prompts.h"
#include "ZipSmth.h"
#include "ZipSmthMessages.h"

namespace tq {
namespace {

TPasswordDlg* gShowing = nullptr;

constexpr WORD kIdEdit = 100;
constexpr WORD kIdCancelAll = 9;  // the "Cancel all" result

class TTemplate {
 public:
  void Align() {
    while (FData.size() % 4) FData.push_back(0);
  }
  void Word(WORD w) {
    FData.push_back(BYTE(w));
    FData.push_back(BYTE(w >> 8));
  }
  void DWord(DWORD d) {
    Word(WORD(d));
    Word(WORD(d >> 16));
  }
  void Text(const std::string& s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w.data(), n);
    for (wchar_t c : w) Word(WORD(c));  // with the terminating zero
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls, const std::string& text) {
    Align();
    DWord(style | WS_CHILD | WS_VISIBLE);
    DWord(0);
    Word(WORD(x));
    Word(WORD(y));
    Word(WORD(cx));
    Word(WORD(cy));
    Word(id);
    Word(0xFFFF);
    Word(cls);
    Text(text);
    Word(0);
  }
  std::vector<BYTE> FData;
};

struct TDialogState {
  std::string Text;
};

INT_PTR CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(wnd, DWLP_USER, lp);
      SetFocus(GetDlgItem(wnd, kIdEdit));
      return FALSE;
    case WM_COMMAND: {
      WORD id = LOWORD(wp);
      if (id == IDOK || id == IDCANCEL || id == IDABORT || id == kIdCancelAll) {
        auto* state = reinterpret_cast<TDialogState*>(GetWindowLongPtrA(wnd, DWLP_USER));
        if (id == IDOK && state) {
          char buf[256] = {};
          GetDlgItemTextA(wnd, kIdEdit, buf, sizeof buf);
          state->Text = buf;
        }
        EndDialog(wnd, id);
        return TRUE;
      }
      break;
    }
  }
  return FALSE;
}

}  // namespace

TPasswordDlg::TPasswordDlg(TComponent*, bool extended) : FExtended(extended) {}

TPasswordDlg* TPasswordDlg::Showing() { return gShowing; }

int TPasswordDlg::ShowForReal(const std::string& caption, const std::string& prompt) {
  using Z = TZipSmith;
  int buttons = FExtended ? 4 : 2;
  short width = short(buttons * 54 + 10);
  TTemplate t;
  t.DWord(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.DWord(0);
  t.Word(WORD(2 + buttons));
  t.Word(0);
  t.Word(0);
  t.Word(WORD(width));
  t.Word(62);
  t.Word(0);  // no menu
  t.Word(0);  // standard class
  t.Text(caption);
  t.Word(9);
  t.Text("Arial");
  t.Item(SS_LEFT, 6, 6, short(width - 12), 10, 0xFFFF, 0x0082, prompt);
  t.Item(ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 18, short(width - 12), 13, kIdEdit, 0x0081, "");
  struct TButton {
    WORD Id;
    int Ident;
  };
  std::vector<TButton> list = {{IDOK, zipmsg::BtnOk}, {IDCANCEL, zipmsg::BtnCancel}};
  if (FExtended) {
    list.push_back({kIdCancelAll, zipmsg::BtnCancelAll});
    list.push_back({IDABORT, zipmsg::BtnAbort});
  }
  for (size_t i = 0; i < list.size(); ++i)
    t.Item((i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, short(6 + 54 * i), 40, 50, 14, list[i].Id,
           0x0080, Z::LoadZipStr(list[i].Ident));
  TDialogState state;
  INT_PTR r = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(t.FData.data()),
                                      GetActiveWindow(), DialogProc, reinterpret_cast<LPARAM>(&state));
  Text = state.Text;
  return r <= 0 ? mrCancel : int(r);
}

std::string TPasswordDlg::ShowPwdDlg(const std::string& caption, const std::string& prompt) {
  Text.clear();
  TPasswordDlg* previous = gShowing;
  gShowing = this;
  try {
    ModalResult = ShowModalHook("TPasswordDlg", [&] { return ShowForReal(caption, prompt); });
  } catch (...) {
    gShowing = previous;
    throw;
  }
  gShowing = previous;
  return ModalResult == mrOk ? Text : std::string();
}

std::string TZipSmith::GetAddPassword() {
  if (Unattended) return "";
  std::string caption = LoadZipStr(zipmsg::PasswordCaption);
  TPasswordDlg first(this, false);
  std::string password = first.ShowPwdDlg(caption, LoadZipStr(zipmsg::EnterPassword));
  if (password.empty()) {
    ShowZipMessage(zipmsg::NoAddPassword);
    return "";
  }
  TPasswordDlg second(this, false);
  if (second.ShowPwdDlg(caption, LoadZipStr(zipmsg::ConfirmPassword)) != password) {
    ShowZipMessage(zipmsg::PasswordsDiffer);
    return "";
  }
  return password;
}

std::string TZipSmith::GetExtrPassword(int& dialogResult) {
  dialogResult = mrCancel;
  if (Unattended) return "";
  TPasswordDlg dlg(this, true);
  std::string password = dlg.ShowPwdDlg(LoadZipStr(zipmsg::PasswordCaption), LoadZipStr(zipmsg::EnterPassword));
  dialogResult = dlg.ModalResult;
  if (password.empty()) ShowZipMessage(zipmsg::NoExtractPassword);
  return password;
}

}  // namespace tq
