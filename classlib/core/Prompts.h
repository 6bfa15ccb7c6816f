#pragma once
// The prompt service: every message dialog, message box, input query and
// modal form goes through the one installed TPromptService, so that tests can
// script the answers (TScriptedPrompts) instead of showing real windows.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "SysUtils.h"

// windows.h maps MessageBox to MessageBoxA; these functions answer to both.
#undef MessageBox

// Message-box styles and results with the Windows values (the macros of
// windows.h when it came first). Include windows.h before this header when a
// file uses both.
#ifndef MB_OK
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#endif
#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#endif

namespace tq {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };

// A set of buttons: {mbYes, mbNo}, mbOK, or the named sets below.
class TMsgDlgButtons {
 public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(TMsgDlgBtn b) : FBits(1u << b) {}
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> bs) {
    for (TMsgDlgBtn b : bs) FBits |= 1u << b;
  }
  constexpr bool Contains(TMsgDlgBtn b) const { return (FBits & (1u << b)) != 0; }
  constexpr TMsgDlgButtons operator|(TMsgDlgButtons o) const { return FromBits(FBits | o.FBits); }
  constexpr bool operator==(const TMsgDlgButtons&) const = default;
  constexpr uint32_t Bits() const { return FBits; }
  static constexpr TMsgDlgButtons FromBits(uint32_t bits) {
    TMsgDlgButtons b;
    b.FBits = bits;
    return b;
  }

 private:
  uint32_t FBits = 0;
};
inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// Modal results (the message-box results share the values 1 to 7).
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;
constexpr int mrAll = 8;
constexpr int mrNoToAll = 9;
constexpr int mrYesToAll = 10;

// The interface a prompt implementation fills in.
class TPromptService {
 public:
  virtual ~TPromptService() = default;
  // A typed message dialog; returns the modal result of the button chosen.
  virtual int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) = 0;
  // A plain message with an OK button, captioned with the application title.
  virtual void ShowMessage(const std::string& msg) = 0;
  // A message box with MB_ flags; returns the ID result.
  virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
  int MessageBoxA(const std::string& text, const std::string& caption, int flags) {
    return MessageBox(text, caption, flags);
  }
  // A one-line input box; true with OK (value then holds the text).
  virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  // A modal form: show() shows it for real and returns its modal result.
  virtual int ShowModal(const std::string& formName, const std::function<int()>& show) = 0;
};

// The installed service (a platform default until one is set; the native
// default refuses every prompt with EPromptScriptError). SetPromptService
// returns the previous one; the caller keeps ownership of both.
TPromptService& PromptService();
TPromptService* SetPromptService(TPromptService* service);  // nullptr: the default

TQ_EXCEPTION_CLASS(EPromptScriptError, Exception);

// The application title used as the caption of ShowMessage and of shown exceptions.
std::string& ApplicationTitle();

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);
void ShowMessage(const std::string& msg);
void ShowMessageFmt(const std::string& fmt, TVarArgs args);
int MessageBox(const std::string& text, const std::string& caption, int flags);
inline int MessageBoxA(const std::string& text, const std::string& caption, int flags) {
  return MessageBox(text, caption, flags);
}
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
// The text entered, or def when cancelled.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& def);
// A modal form through the service (the scripted service answers without showing it).
int ShowModalHook(const std::string& formName, const std::function<int()>& show);
// The box for an exception that escaped an event handler: the application
// title, a stop icon, OK, and ExceptionDisplayText(msg).
void ShowException(const std::string& msg);

// ---- Scripted prompts for tests ------------------------------------------

enum TPromptKind { pkMessageDlg, pkShowMessage, pkMessageBox, pkInputQuery, pkModalForm };

// One expected prompt: its kind, a piece of its text that must occur in it
// (a message box's text or caption, an input query's caption or prompt, a
// form's name; "" matches any), the answer (modal result, ID or, for
// InputQuery, mrOk/mrCancel), the text an InputQuery answers with, and an
// optional action run before answering (to fill a scripted form).
struct TExpectedPrompt {
  TExpectedPrompt(TPromptKind kind, std::string textContains, int answer = mrOk, std::string value = {},
                  std::function<void()> action = {})
      : Kind(kind), TextContains(std::move(textContains)), Answer(answer), Value(std::move(value)),
        Action(std::move(action)) {}
  TPromptKind Kind;
  std::string TextContains;
  int Answer;
  std::string Value;
  std::function<void()> Action;
};

// A record of a prompt that was asked.
struct TAskedPrompt {
  TPromptKind Kind;
  std::string Text;     // message, box text, prompt or form name
  std::string Caption;  // box or query caption
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons;
  int Flags = 0;
};

// Answers prompts from a list, in order. A prompt that is not the next one
// expected (or comes after the list is used up) is recorded as an error and
// raises EPromptScriptError; Problems() lists those errors and every expected
// prompt that was never asked.
class TScriptedPrompts : public TPromptService {
 public:
  TScriptedPrompts() = default;
  explicit TScriptedPrompts(std::vector<TExpectedPrompt> script) : FScript(std::move(script)) {}
  void Expect(TExpectedPrompt prompt) { FScript.push_back(std::move(prompt)); }
  void Expect(TPromptKind kind, const std::string& textContains, int answer = mrOk, const std::string& value = {});

  int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) override;
  void ShowMessage(const std::string& msg) override;
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  int ShowModal(const std::string& formName, const std::function<int()>& show) override;

  const std::vector<TAskedPrompt>& Asked() const { return FAsked; }
  std::vector<std::string> Problems() const;
  bool Done() const { return FNext == FScript.size() && FErrors.empty(); }

 private:
  const TExpectedPrompt& Take(const TAskedPrompt& asked);
  std::vector<TExpectedPrompt> FScript;
  size_t FNext = 0;
  std::vector<TAskedPrompt> FAsked;
  std::vector<std::string> FErrors;
};

// Installs a service for its lifetime and puts the previous one back
// afterwards. (PromptsTesting.h adds the test-side checks.)
class TPromptScope {
 public:
  explicit TPromptScope(TPromptService& service) : FPrevious(SetPromptService(&service)) {}
  ~TPromptScope() { SetPromptService(FPrevious); }
  TPromptScope(const TPromptScope&) = delete;
  TPromptScope& operator=(const TPromptScope&) = delete;

 private:
  TPromptService* FPrevious;
};

std::string PromptKindName(TPromptKind kind);

}  // namespace tq
