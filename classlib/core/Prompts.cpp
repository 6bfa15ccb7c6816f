// The prompt service switch, the prompt functions and the scripted service.
#include "Prompts.h"

namespace tq {

TPromptService& DefaultPromptService();  // platform/*/Prompts.cpp

namespace {
TPromptService* gService = nullptr;
}

TPromptService& PromptService() { return gService ? *gService : DefaultPromptService(); }

TPromptService* SetPromptService(TPromptService* service) {
  TPromptService* previous = gService;
  gService = service;
  return previous;
}

std::string& ApplicationTitle() {
  static std::string title;
  return title;
}

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) {
  return PromptService().MessageDlg(msg, type, buttons, helpCtx);
}

void ShowMessage(const std::string& msg) { PromptService().ShowMessage(msg); }

void ShowMessageFmt(const std::string& fmt, TVarArgs args) { ShowMessage(Format(fmt, args)); }

int MessageBox(const std::string& text, const std::string& caption, int flags) {
  return PromptService().MessageBox(text, caption, flags);
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  return PromptService().InputQuery(caption, prompt, value);
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& def) {
  std::string value = def;
  return InputQuery(caption, prompt, value) ? value : def;
}

int ShowModalHook(const std::string& formName, const std::function<int()>& show) {
  return PromptService().ShowModal(formName, show);
}

void ShowException(const std::string& msg) {
  MessageBox(ExceptionDisplayText(msg), ApplicationTitle(), MB_OK | MB_ICONSTOP);
}

std::string PromptKindName(TPromptKind kind) {
  switch (kind) {
    case pkMessageDlg: return "MessageDlg";
    case pkShowMessage: return "ShowMessage";
    case pkMessageBox: return "MessageBox";
    case pkInputQuery: return "InputQuery";
    case pkModalForm: return "modal form";
  }
  return "prompt";
}

// ---- TScriptedPrompts ----------------------------------------------------------

void TScriptedPrompts::Expect(TPromptKind kind, const std::string& textContains, int answer,
                              const std::string& value) {
  FScript.emplace_back(kind, textContains, answer, value);
}

const TExpectedPrompt& TScriptedPrompts::Take(const TAskedPrompt& asked) {
  FAsked.push_back(asked);
  std::string what = PromptKindName(asked.Kind) + " \"" + asked.Text + "\"" +
                     (asked.Caption.empty() ? std::string() : " (caption \"" + asked.Caption + "\")");
  if (FNext >= FScript.size()) {
    FErrors.push_back("unexpected " + what);
    throw EPromptScriptError("Unexpected prompt: " + what);
  }
  const TExpectedPrompt& e = FScript[FNext];
  bool textOk = e.TextContains.empty() || asked.Text.find(e.TextContains) != std::string::npos ||
                asked.Caption.find(e.TextContains) != std::string::npos;
  if (e.Kind != asked.Kind || !textOk) {
    std::string expected = PromptKindName(e.Kind) + " containing \"" + e.TextContains + "\"";
    FErrors.push_back("expected " + expected + ", got " + what);
    ++FNext;  // the expectation is spent: later prompts are checked against the rest
    throw EPromptScriptError("Unexpected prompt: " + what);
  }
  ++FNext;
  if (e.Action) e.Action();
  return e;
}

int TScriptedPrompts::MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  TAskedPrompt a{pkMessageDlg, msg, {}, type, buttons, 0};
  return Take(a).Answer;
}

void TScriptedPrompts::ShowMessage(const std::string& msg) {
  TAskedPrompt a{pkShowMessage, msg, {}, mtCustom, mbOK, 0};
  Take(a);
}

int TScriptedPrompts::MessageBox(const std::string& text, const std::string& caption, int flags) {
  TAskedPrompt a{pkMessageBox, text, caption, mtCustom, {}, flags};
  return Take(a).Answer;
}

bool TScriptedPrompts::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  TAskedPrompt a{pkInputQuery, prompt, caption, mtCustom, mbOKCancel, 0};
  const TExpectedPrompt& e = Take(a);
  if (e.Answer != mrOk) return false;
  value = e.Value;
  return true;
}

int TScriptedPrompts::ShowModal(const std::string& formName, const std::function<int()>&) {
  TAskedPrompt a{pkModalForm, formName, {}, mtCustom, {}, 0};
  return Take(a).Answer;
}

std::vector<std::string> TScriptedPrompts::Problems() const {
  std::vector<std::string> problems = FErrors;
  for (size_t i = FNext; i < FScript.size(); ++i)
    problems.push_back("expected " + PromptKindName(FScript[i].Kind) + " containing \"" +
                       FScript[i].TextContains + "\" was never shown");
  return problems;
}

}  // namespace tq
