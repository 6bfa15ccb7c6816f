// The Updates menu: the outside updater programs beside Tarnquill, started at
// once (Update) or to restore the previous version (Undo).
#include "FileUtils.h"
#include "UpdaterStart.h"
#include "main.h"

namespace tq {

namespace {

// The shell would put up its own error box for a missing program.
void StartUpdaterProgram(const std::string& appDir, const std::string& program, const std::string& params) {
  const std::string file = appDir + program;
  if (FileExists(file)) ShellOpenHook()(file, params, appDir);
}

}  // namespace

void TRWInstallForm::UpdateTarnquillviatheInternet1Click(TObject*) {
  StartUpdaterProgram(FAppDir, "Updates.exe", UpdaterParameters(FAppDir) + " /now");
}

void TRWInstallForm::UndoLastUpdate1Click(TObject*) {
  StartUpdaterProgram(FAppDir, "UndoUpdates.exe", FAppDir + "Tarnquill.exe");
}

}  // namespace tq
