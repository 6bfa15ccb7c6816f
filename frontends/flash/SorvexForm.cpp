#include "SorvexForm.h"

#include <shlobj.h>

#include "FileUtils.h"
#include "InstallCommand.h"
#include "InstallUIHandler.h"
#include "LineLog.h"
#include "Prompts.h"
#include "SetupIni.h"
#include "SorvexWorker.h"

namespace tq {

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner, int port)
    : TFrontEndForm(owner), FProgress([this](const std::string& text) { SessionSend(text); }) {
  FMainThread = GetCurrentThreadId();
  // The listener is active before the window's creation handler runs: a busy
  // port ends the program here.
  TidewireListener1 = new TTidewireListener(this);
  TidewireListener1->SetName("TidewireListener1");
  TidewireListener1->Port = port;
  TidewireListener1->BoundIP = "127.0.0.1";
  TidewireListener1->SetSessionTimeout(0);
  TidewireListener1->OnConnect = [this](TTidewireServerThread* t) { TidewireListener1Connect(t); };
  TidewireListener1->OnLog = [](const std::string& text) { WriteLog("Listener: " + text); };
  TidewireListener1->SetActive(true);
  TQ_FIELD(tr);
  TQ_FIELD(Memo1);
  TQ_FIELD(Button1);
  TQ_FIELD(OpenDialog1);
  TQ_FIELD(Timer1);
  TQ_FIELD(Timer2);
  TQ_FIELD(Timer3);
  TQ_HANDLER(TForm1, FormCreate);
  TQ_HANDLER(TForm1, Timer1Timer);
  TQ_HANDLER(TForm1, Timer2Timer);
  TQ_HANDLER(TForm1, Timer3Timer);
  LoadLayoutResource("SORVEXFORM");
}

TForm1::~TForm1() {
  Shutdown();
  CloseHandle(FStarted);
  if (Application) Application->OnException = nullptr;
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::Shutdown() {
  if (FEnding.exchange(true)) return;
  SetEvent(FStarted);  // a session still waiting for the start sees the end
  SetProgressOutputs(nullptr);
  // Destroying the listener disconnects every connection and waits for its
  // thread, which waits for the session's worker.
  delete TidewireListener1;
  TidewireListener1 = nullptr;
}

void TForm1::FormCreate(TObject*) {
  // Sessions wait for this handler, also when it fails half-way.
  struct TStarted {
    HANDLE Event;
    ~TStarted() { SetEvent(Event); }
  } started{FStarted};
  if (ProgramFolder.empty()) ReadCommandLine();
  Application->OnException = [this](TObject* sender, const std::exception& e) { AppException(sender, e); };
  IsNT = PlatformIsNT();
  ProgramLog().Open(ProgramFolder + "Sorvex.log");
  SetFeatureTree(tr);
  for (const std::string& orphan : LoadFeatureTree())
    WriteLog("Feature " + orphan + " is left out: its parent is not in the package");
  FeaturesXml = tq::FeaturesXml(tr->Items());
  InstallType = 0;
  GroupCurrentUser = true;
  Installer.SetUILevel(msiUILevelNone);
  CompanyName.clear();
  ReadManufacturer(Installer, true);
  SetProgressOutputs(&FProgress);
  RegisterInstallUIHandler();
  Handle();  // the main thread's tasks arrive through the window
  SetLeft(-1000);
  const std::string gui = ParamCount() >= 2 ? ParamStr(2) : std::string();
  if (!gui.empty()) {
    const std::string command = "\"" + ProgramFolder + gui + "\"";
    const UINT started = WinExec(command.c_str(), SW_SHOWNORMAL);
    WriteLog(started > 31 ? "Started " + command : "Cannot start " + command + " (" + std::to_string(started) + ")");
  }
  Timer1->SetEnabled(true);
}

void TForm1::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  Hide();
}

void TForm1::Timer2Timer(TObject*) {
  Timer2->SetEnabled(false);
  if (TidewireListener1 && TidewireListener1->Tag() == 0) {
    WriteLog("No client connected within 120 seconds");
    Close();
  }
}

void TForm1::Timer3Timer(TObject*) {
  Timer3->SetEnabled(false);
  Close();
}

void TForm1::AppException(TObject*, const std::exception& e) {
  try {
    WriteLog("Unhandled Exception: " + std::string(e.what()));
  } catch (...) {
  }
}

void TForm1::SessionSend(const std::string& text) {
  std::shared_ptr<TTidewireServer> connection;
  {
    std::lock_guard<std::mutex> g(FCurrentLock);
    connection = FCurrent;
  }
  std::string why = "no client is connected";
  if (connection && connection->TryWriteAll(text + '\0', &why)) return;
  WriteLog("Not sent (" + why + "): " + text);
}

LRESULT TForm1::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_SORVEX_INSTALL:
      try {
        RunInstall();
      } catch (...) {
        Application->HandleException(this);
      }
      return 0;
    case WM_SORVEX_DONE:
      try {
        InstallDone(unsigned(w));
      } catch (...) {
        Application->HandleException(this);
      }
      return 0;
    case WM_SORVEX_RUN:
      RunMainThreadTask(l);
      return 0;
    default:
      return TFrontEndForm::WndProc(msg, w, l);
  }
}

// ---- the session's host ----

void TForm1::ShowClientError(const std::string& text) {
  RunOnMainThread([this, text] {
    SetBounds(Left(), Top(), 10, 10);
    Show();
    SetForegroundWindow(Handle());
    MessageBox(text, Application->Title(), MB_OK);
    Hide();
    WriteLog("The GUI program reported: " + text);
    Close();
  });
}

std::optional<std::string> TForm1::ShowFolderDialog() {
  std::optional<std::string> chosen;
  RunOnMainThread([this, &chosen] {
    OpenDialog1->FileName = "Click Open to select present directory";
    HWND previous = GetForegroundWindow();
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Show();
    if (previous) SetWindowPos(previous, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool ok = OpenDialog1->Execute();
    Hide();
    if (previous) SetForegroundWindow(previous);
    if (ok) chosen = OpenDialog1->FileName;
  });
  return chosen;
}

void TForm1::PostInstall() { PostMessageA(WindowHandle(), WM_SORVEX_INSTALL, 0, 0); }

std::string TForm1::GroupsFolder(bool currentUser) {
  return SpecialFolder(currentUser ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS);
}

}  // namespace tq
