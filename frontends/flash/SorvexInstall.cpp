// The installation (WM_SORVEX_INSTALL) and the end of a session
// (WM_SORVEX_DONE), both on the main thread.
#include "FileUtils.h"
#include "InstallCommand.h"
#include "LineLog.h"
#include "Prompts.h"
#include "SetupIni.h"
#include "SorvexForm.h"
#include "SorvexWorker.h"

namespace tq {

void TForm1::RunInstall() {
  TUserChoices c;
  {
    std::lock_guard<std::mutex> g(ChoicesLock);
    c = static_cast<const TUserChoices&>(*this);
  }
  if (c.DestinationPath.empty()) {
    WriteLog(kNoLocationText);
    ShowMessage(kNoLocationText);
    return;
  }
  std::string groupPath;
  if (!c.Group.empty()) {
    const std::string programs = ProgramsFolder(c.GroupCurrentUser);
    if (!programs.empty()) groupPath = programs + c.Group;
  }
  std::string properties;
  try {
    properties = SorvexPropertyString(c.DestinationPath, c.FeatureList, groupPath);
  } catch (const EInstallValueRefused& e) {
    FLastInstallFailed = true;
    WriteLog("Install refused: " + e.Message);
    return;
  }
  if (!groupPath.empty()) WriteSetupGroup(ProgramFolder, groupPath);
  WriteLog("Installing " + PackagePath() + " with " + properties);
  try {
    InstallPackage(Installer, ProgramFolder, PackageArgument, properties);
  } catch (const std::exception& e) {
    FLastInstallFailed = true;
    WriteLog("Install failed: " + std::string(e.what()));
    ShowMessage(InstallFailureText(e.what()));
    return;
  }
  FLastInstallFailed = false;
  WriteLog("Install succeeded");
  SessionSend(kFinishedElement);
}

void TForm1::InstallDone(unsigned number) {
  std::shared_ptr<TWorkThread> worker;
  {
    std::lock_guard<std::mutex> g(FWorkersLock);
    for (const auto& w : FWorkers)
      if (w->Number == number) worker = w;
  }
  if (worker) WaitForSingleObject(worker->Done, INFINITE);
  if (!FLastInstallFailed && !FInstalledBy) {
    FInstalledBy = new TInstallationByDlg(this);
    FInstalledBy->Show();
    Application->ProcessMessages();
    FInstalledBy->BringToFront();
    Application->ProcessMessages();
  }
  // A later session's end does not put the end off.
  if (!Timer3->Enabled()) {
    WriteLog("Ending in seven seconds");
    Timer3->SetEnabled(true);
  }
}

}  // namespace tq
