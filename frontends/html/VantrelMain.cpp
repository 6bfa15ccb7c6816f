// Vantrel program block: COM for the process, the main window, then the folder
// dialog, the "Which Path" dialog, the group dialog and the "Installed By"
// dialog, each once, and the message loop until the main window closes.
#include <windows.h>

#include "FileUtils.h"
#include "Forms.h"
#include "InstallationBy.h"
#include "LineLog.h"
#include "VantrelForm.h"
#include "grppath.h"
#include "seldirdlg.h"
#include "seldirdlg2.h"

using namespace tq;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CoInitialize(nullptr);
  int code = 0;
  try {
    Application->Initialize();
    Application->SetTitle("Vantrel");
    Application->CreateForm(Form1);
    Application->CreateForm(Form1->SelectDirectoryDlg);
    Application->CreateForm(Form1->WhichGroupPathDlg);
    Application->CreateForm(Form1->SelectDirectoryDlg2);
    Application->CreateForm(Form1->InstallationByDlg);
    Application->Run();
  } catch (const std::exception& e) {
    try {
      if (!ProgramLog().IsOpen()) ProgramLog().Open(ExtractFilePath(ParamStr(0)) + "Vantrel.log");
      WriteLog("Unhandled Exception: " + std::string(e.what()));
    } catch (...) {
    }
    code = 1;
  }
  CoUninitialize();
  return code;
}
