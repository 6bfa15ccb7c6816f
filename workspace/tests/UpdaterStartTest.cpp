// The daily updater start: the age of the marker file decides.
#include <windows.h>

#include <gtest/gtest.h>

#include "DateTime.h"
#include "FileUtils.h"
#include "SysUtils.h"
#include "TextFile.h"
#include "UpdaterStart.h"

namespace tq {
namespace {

class UpdaterStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = std::string(TQ_BINARY_DIR) + "\\updater-start-tests\\" + IntToStr(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(ForceDirectories(Dir));
    Old = ShellOpenHook();
    ShellOpenHook() = [this](const std::string& f, const std::string& p, const std::string& d) {
      Calls.push_back(f + "|" + p + "|" + d);
    };
  }
  void TearDown() override {
    ShellOpenHook() = Old;
    DeleteFile(Dir + "Updates.exe");
    DeleteFile(Dir + "DontShowUpdates.dat");
  }
  void Touch(const std::string& name, TDateTime when) {
    TTextFile f(Dir + name);
    f.Rewrite();
    f.WriteLn("x");
    f.Close();
    ASSERT_TRUE(FileSetDate(Dir + name, when));
  }
  std::string Dir;
  std::vector<std::string> Calls;
  TShellOpen Old;
};

TEST_F(UpdaterStartTest, MarkerAgeDecides) {
  struct Case {
    const char* Name;
    double MarkerHoursAgo;  // < 0: no marker
    bool UpdaterPresent;
    bool Started;
  } cases[] = {
      {"no marker", -1, true, true},
      {"marker 23 hours old", 23, true, false},
      {"marker 25 hours old", 25, true, true},
      {"no updater", -1, false, false},
  };
  TDateTime now = Now();
  for (const Case& c : cases) {
    Calls.clear();
    DeleteFile(Dir + "Updates.exe");
    DeleteFile(Dir + "DontShowUpdates.dat");
    if (c.UpdaterPresent) Touch("Updates.exe", now);
    if (c.MarkerHoursAgo >= 0) Touch("DontShowUpdates.dat", now - c.MarkerHoursAgo / 24.0);
    EXPECT_EQ(StartDailyUpdater(Dir, now), c.Started) << c.Name;
    ASSERT_EQ(Calls.size(), c.Started ? 1u : 0u) << c.Name;
    if (c.Started) {
      EXPECT_EQ(Calls[0], Dir + "Updates.exe|\"" + Dir + "Tarnquill.exe\" \"" + TarnquillUpdatesUrl +
                              "\" \"Tarnquill\"|" + Dir)
          << c.Name;
    }
  }
}

}  // namespace
}  // namespace tq
