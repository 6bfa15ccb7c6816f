#include "UpdaterStart.h"

#include <windows.h>
#include <shellapi.h>

#include "FileUtils.h"

namespace tq {

const char* const TarnquillUpdatesUrl = "http://www.quorvel.com/updates/tarnquill/";

TShellOpen& ShellOpenHook() {
  static TShellOpen hook = [](const std::string& file, const std::string& params, const std::string& dir) {
    ShellExecuteA(nullptr, "open", file.c_str(), params.c_str(), dir.c_str(), SW_SHOWNORMAL);
  };
  return hook;
}

std::string UpdaterParameters(const std::string& appDir) {
  return "\"" + appDir + "Tarnquill.exe\" \"" + TarnquillUpdatesUrl + "\" \"Tarnquill\"";
}

bool StartDailyUpdater(const std::string& appDir, TDateTime now) {
  TDateTime marker = FileAge(appDir + "DontShowUpdates.dat");
  if (marker >= 0 && now - marker <= 1.0) return false;
  // The shell would put up its own error box for a missing program.
  std::string updater = appDir + "Updates.exe";
  if (!FileExists(updater)) return false;
  ShellOpenHook()(updater, UpdaterParameters(appDir), appDir);
  return true;
}

}  // namespace tq
