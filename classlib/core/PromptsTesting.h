#pragma once
// For GoogleTest programs only: a scripted prompt service installed for a
// test's lifetime whose problems (an unexpected prompt, an expected prompt
// never shown) become test failures when it goes out of scope.
//
//   tq::TPromptScript prompts({{tq::pkMessageDlg, "save the changes", tq::mrNo}});
//   ... code under test ...
#include <gtest/gtest.h>

#include "Prompts.h"

namespace tq {

class TPromptScript : public TScriptedPrompts {
 public:
  explicit TPromptScript(std::vector<TExpectedPrompt> script = {})
      : TScriptedPrompts(std::move(script)), FScope(*this) {}
  ~TPromptScript() override { Check(); }
  // Reports the problems so far as failures (and forgets nothing: a later
  // check reports them again).
  void Check() const {
    for (const std::string& p : Problems()) ADD_FAILURE() << "prompt script: " << p;
  }

 private:
  TPromptScope FScope;
};

}  // namespace tq
