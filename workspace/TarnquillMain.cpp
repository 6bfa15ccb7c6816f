// Tarnquill program block: the application, its main window and its dialogs,
// each made once, and the message loop until the main window closes.
#include <windows.h>

#include "BuildCommand.h"
#include "HtmlPages.h"
#include "UpdateWindows.h"
#include "WorkspaceDialogs.h"
#include "main.h"

using namespace tq;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    Application->Initialize();
    Application->SetTitle("Tarnquill");
    Application->HelpFile = "Tarnquill.chm";
    Application->CreateForm(RWInstallForm);
    InstallBuildCommand(*RWInstallForm);  // the Build button and its status timer
    InstallPageGenerator(*RWInstallForm);  // the Gui page's generate and stylesheet buttons
    Application->CreateForm(SystemFoldersDlg);
    Application->CreateForm(MergeDlg);
    Application->CreateForm(OpenDlg);
    Application->CreateForm(BdePathDlg);
    Application->CreateForm(GenerateHtmlPagesReminderDlg);
    Application->CreateForm(AboutBox);
    Application->CreateForm(OKBottomDlg);
    Application->CreateForm(TabbedNotebookDlg);
    Application->CreateForm(ProgressDlg);
    Application->CreateForm(FtpDataDlg);
    Application->CreateForm(TQOpenDlg);
    Application->CreateForm(VersionReminderDlg);
    Application->Run();
  } catch (...) {
    Application->HandleException(nullptr);
    return 1;
  }
  return 0;
}
