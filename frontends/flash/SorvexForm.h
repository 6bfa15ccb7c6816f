#pragma once
// Sorvex's main window: never meant to be seen. It listens on 127.0.0.1:8188,
// reads the package's features, starts the Flash GUI program and serves each
// client that connects with a session of its own (a worker thread); it runs
// the installation on its own thread when a session asks for it, sending the
// progress to the latest client, and ends seven seconds after a session ended
// (showing "Installed By" unless the installation failed), or after 120
// seconds when no client came.
//
// Start-up order: the listener is active before the window's creation handler
// runs (a busy port ends the program there, before the GUI program starts);
// FormCreate then logs, reads the features, prepares the installer and its
// message handler, moves the window out of sight and starts the GUI program.
//
// Threads: the main thread (window, timers, installation), the listener's
// accept thread, one connection thread per client, which starts the client's
// worker and waits for it, and the worker. The worker writes the user's
// choices under ChoicesLock; dialogs it needs run on the main thread.
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Dialogs.h"
#include "ExtCtrls.h"
#include "FrontEndForm.h"
#include "InstallationBy.h"
#include "Installer.h"
#include "SorvexProgress.h"
#include "SorvexProtocol.h"
#include "SorvexSession.h"
#include "StdCtrls.h"
#include "TidewireListener.h"

namespace tq {

constexpr UINT WM_SORVEX_INSTALL = WM_USER + 500;  // start the installation
constexpr UINT WM_SORVEX_DONE = WM_USER + 501;     // a session ended (wParam: its worker's number)
constexpr UINT WM_SORVEX_RUN = WM_USER + 502;      // run a worker's task on the main thread

class TWorkThread;

class TForm1 : public TFrontEndForm, public TSessionHost {
 public:
  // port: 8188 unless a test asks for another.
  explicit TForm1(TComponent* owner, int port = 8188);
  ~TForm1() override;
  std::string ClassName() const override { return "TForm1"; }

  TTidewireListener* TidewireListener1 = nullptr;
  TTreeView* tr = nullptr;
  TMemo* Memo1 = nullptr;
  TButton* Button1 = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TTimer* Timer1 = nullptr;
  TTimer* Timer2 = nullptr;
  TTimer* Timer3 = nullptr;

  TInstaller Installer;
  std::string FeaturesXml;
  std::mutex ChoicesLock;

  void FormCreate(TObject* sender);
  void Timer1Timer(TObject* sender);
  void Timer2Timer(TObject* sender);
  void Timer3Timer(TObject* sender);
  void TidewireListener1Connect(TTidewireServerThread* thread);
  void RunInstall();
  void InstallDone(unsigned worker);
  void AppException(TObject* sender, const std::exception& e);
  // Sends one message (the NUL added) to the latest client; dropped and
  // logged when there is none or it left.
  void SessionSend(const std::string& text);

  // ---- the session's host ----
  void ShowClientError(const std::string& text) override;
  std::optional<std::string> ShowFolderDialog() override;
  void PostInstall() override;
  std::string GroupsFolder(bool currentUser) override;

  // The greeting's facts as the machine, setup.ini and the program folder give them.
  TGreetingFacts GatherGreetingFacts();
  // Stops serving: the listener closes, every session ends; called before the
  // program ends.
  void Shutdown();
  // Whether the last installation failed (no "Installed By" then).
  bool LastInstallFailed() const { return FLastInstallFailed; }
  bool InstalledByShown() const { return FInstalledBy != nullptr; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;

 private:
  friend class TWorkThread;
  // Runs task on the main thread and waits for it (gives up when ending).
  void RunOnMainThread(const std::function<void()>& task);
  void RunMainThreadTask(LPARAM task);
  void Serve(TWorkThread& worker);
  bool Ending() const { return FEnding.load(); }

  std::atomic<bool> FEnding{false};
  std::atomic<bool> FLastInstallFailed{false};
  // Set once the creation handler has read the package (or the program ends):
  // the listener is active before it runs, and a session greets its client
  // only with what the handler read.
  HANDLE FStarted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  TPercentProgress FProgress;
  std::mutex FCurrentLock;
  std::shared_ptr<TTidewireServer> FCurrent;  // the latest client's connection
  std::mutex FWorkersLock;
  std::vector<std::shared_ptr<TWorkThread>> FWorkers;
  unsigned FNextWorker = 1;
  TInstallationByDlg* FInstalledBy = nullptr;
  DWORD FMainThread = 0;
};

extern TForm1* Form1;

}  // namespace tq
