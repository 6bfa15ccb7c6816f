// Sorvex program block: COM for the process, the main window (whose loading
// activates the listener: a busy port ends the program here, before the GUI
// program starts), the "Which Path" dialog, and the message loop until the
// main window closes.
#include <windows.h>

#include "FileUtils.h"
#include "Forms.h"
#include "LineLog.h"
#include "SorvexForm.h"
#include "grppath.h"

using namespace tq;

namespace {

TWhichGroupPathDlg* WhichGroupPathDlg = nullptr;

void LogStartFailure(const std::string& what) {
  try {
    if (!ProgramLog().IsOpen()) ProgramLog().Open(ExtractFilePath(ParamStr(0)) + "Sorvex.log");
    WriteLog("Unhandled Exception: " + what);
  } catch (...) {
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CoInitialize(nullptr);
  int code = 0;
  try {
    Application->Initialize();
    Application->SetTitle("Sorvex");
    Application->CreateForm(Form1);
    Application->CreateForm(WhichGroupPathDlg);
    Application->Run();
    if (Form1) Form1->Shutdown();
    WriteLog("Sorvex ends");
  } catch (const std::exception& e) {
    LogStartFailure(e.what());
    code = 1;
  } catch (...) {
    LogStartFailure("unknown failure");
    code = 1;
  }
  CoUninitialize();
  return code;
}
