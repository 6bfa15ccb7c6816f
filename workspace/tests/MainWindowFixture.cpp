#include "MainWindowFixture.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FileUtils.h"
#include "SysUtils.h"

namespace tq::testing {

namespace {

const char* const ProgramFiles[] = {
    "lcid.dat", "template.tpl", "templatemsm.tpl", "help\\info.rtf", "help\\directories.rtf",
    "help\\choices.rtf", "help\\registry.rtf", "help\\shortcut.rtf", "help\\environment.rtf",
    "help\\mergemodules.rtf", "help\\build.rtf", "help\\gui.rtf", "help\\msi.rtf",
    "help\\FileAssociations.rtf", "help\\Updates.rtf"};

}  // namespace

void MainWindowTest::SetUp() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& ch : name)
    if (ch == '/' || ch == '\\') ch = '_';
  Dir = std::string(TQ_BINARY_DIR) + "\\workspace-ui-tests\\" + name + "." + IntToStr(GetCurrentProcessId()) + "\\";
  ASSERT_TRUE(ForceDirectories(Dir + "help")) << Dir;
  FOldShellOpen = ShellOpenHook();
  ShellOpenHook() = [this](const std::string& file, const std::string& params, const std::string& dir) {
    ShellOpens.push_back({file, params, dir});
  };
  if (MakeWindowInSetUp) MakeWindow();
}

void MainWindowTest::MakeWindow() {
  for (const char* f : ProgramFiles) {
    if (Omit.count(f)) continue;
    ASSERT_TRUE(CopyFile(std::string(TQ_PROGRAM_DIR) + "\\" + f, Dir + f, false)) << f;
  }
  TRWInstallForm::AppDirOverride() = Dir;
  Application->CreateForm(RWInstallForm);
  W = RWInstallForm;
  ASSERT_NE(W, nullptr);
}

void MainWindowTest::TearDown() {
  delete W;
  W = nullptr;
  TRWInstallForm::AppDirOverride().clear();
  ShellOpenHook() = FOldShellOpen;
  if (!HasFailure()) {
    SetCurrentDir(TQ_BINARY_DIR);
    std::error_code ignored;
    std::filesystem::remove_all(Dir, ignored);
  }
}

std::string MainWindowTest::ReadFileText(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> MainWindowTest::LogSinceLastStart() const {
  std::string text = ReadFileText(Dir + "tarnquill.log");
  std::string banner = "\r\n" + std::string(43, '*') + "\r\n";
  size_t at = text.rfind(banner);
  std::vector<std::string> lines;
  if (at == std::string::npos) return lines;
  std::string rest = text.substr(at + banner.size());
  size_t p = 0;
  while (p < rest.size()) {
    size_t e = rest.find("\r\n", p);
    if (e == std::string::npos) e = rest.size();
    lines.push_back(rest.substr(p, e - p));
    p = e + 2;
  }
  return lines;
}

std::vector<std::string> TabCaptions(TTabControl* tabs) {
  std::vector<std::string> r;
  for (int i = 0; i < tabs->Tabs().Count(); ++i) r.push_back(tabs->Tabs()[i]);
  return r;
}

}  // namespace tq::testing
