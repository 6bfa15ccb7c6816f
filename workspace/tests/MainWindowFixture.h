#pragma once
// A real main window for each test, made on a copy of the program directory of
// its own, with the updater start recorded instead of run and every prompt
// scripted (an unexpected one fails the test).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "PromptsTesting.h"
#include "UpdaterStart.h"
#include "main.h"

namespace tq::testing {

struct TShellOpenCall {
  std::string File, Params, Dir;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Program-directory files the copy leaves out ("lcid.dat", "help\\gui.rtf").
  std::set<std::string> Omit;
  // Made by SetUp unless a test calls MakeWindow itself after changing Omit.
  bool MakeWindowInSetUp = true;
  void MakeWindow();

  // The log text written since the last start banner.
  std::vector<std::string> LogSinceLastStart() const;
  static std::string ReadFileText(const std::string& fileName);

  std::string Dir;  // the program directory copy, with a trailing "\"
  TRWInstallForm* W = nullptr;
  TPromptScript Prompts;
  std::vector<TShellOpenCall> ShellOpens;

 private:
  TShellOpen FOldShellOpen;
};

// Every tab caption of a tab control.
std::vector<std::string> TabCaptions(TTabControl* tabs);

}  // namespace tq::testing
