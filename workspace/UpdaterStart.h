#pragma once
// The daily start of the external updater "Updates.exe" beside the program.
#include <functional>
#include <string>

#include "DateTime.h"

namespace tq {

// Opens a file through the shell: file, parameters, working folder. Replaced by
// tests to record what would be started.
using TShellOpen = std::function<void(const std::string& file, const std::string& params, const std::string& dir)>;
TShellOpen& ShellOpenHook();

// The address of the product's updates folder handed to the updater.
extern const char* const TarnquillUpdatesUrl;

// The updater's parameters: the quoted program path, the quoted updates
// address and the quoted product name.
std::string UpdaterParameters(const std::string& appDir);

// Starts appDir + "Updates.exe" (when it exists) unless appDir +
// "DontShowUpdates.dat" was written less than one day before now. True when
// the updater was started.
bool StartDailyUpdater(const std::string& appDir, TDateTime now);

}  // namespace tq
