// The native build has no windows to show: without a scripted service every
// prompt fails loudly instead of waiting for an answer.
#include "Prompts.h"

namespace tq {

namespace {
class TNoPrompts : public TPromptService {
 public:
  int MessageDlg(const std::string& msg, TMsgDlgType, TMsgDlgButtons, int) override { Refuse("MessageDlg", msg); }
  void ShowMessage(const std::string& msg) override { Refuse("ShowMessage", msg); }
  int MessageBox(const std::string& text, const std::string&, int) override { Refuse("MessageBox", text); }
  bool InputQuery(const std::string&, const std::string& prompt, std::string&) override {
    Refuse("InputQuery", prompt);
  }
  int ShowModal(const std::string& formName, const std::function<int()>&) override {
    Refuse("modal form", formName);
  }

 private:
  [[noreturn]] static void Refuse(const char* kind, const std::string& text) {
    throw EPromptScriptError(std::string("No prompt service installed for ") + kind + " \"" + text + "\"");
  }
};
}  // namespace

TPromptService& DefaultPromptService() {
  static TNoPrompts service;
  return service;
}

}  // namespace tq
