// The connection thread, the worker's session and the main-thread tasks the
// worker needs.
#include "SorvexWorker.h"

#include <shlobj.h>

#include "Classes.h"
#include "FileUtils.h"
#include "InstallCommand.h"
#include "LineLog.h"
#include "Prompts.h"
#include "SetupIni.h"
#include "SorvexForm.h"
#include "TidewireExceptions.h"

namespace tq {

namespace {

// The session's view of its connection: messages without their NUL.
class TServerConnection : public TSessionConnection {
 public:
  explicit TServerConnection(TTidewireServer& c) : FConnection(c) {}
  std::string ReadMessage() override {
    std::string m = FConnection.ReadMessage();
    if (!m.empty() && m.back() == '\0') m.pop_back();
    return m;
  }
  void SendMessage(const std::string& text) override { FConnection.WriteAll(text + '\0'); }
  void Disconnect() override { FConnection.Disconnect(); }

 private:
  TTidewireServer& FConnection;
};

std::optional<std::string> ReadTextWithoutCR(const std::string& path) {
  if (!FileExists(path)) return std::nullopt;
  std::string text;
  try {
    TFileStream file(path, fmOpenRead | fmShareDenyNone);
    text.resize(size_t(file.Size()));
    text.resize(size_t(file.Read(text.data(), int64_t(text.size()))));
  } catch (...) {
    return std::nullopt;
  }
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

bool ReadMachineValue(HKEY key, const char* name, std::string& value) {
  char buf[1024];
  DWORD size = sizeof buf - 1, type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  buf[size] = 0;
  value = buf;
  return true;
}

// A task the worker hands to the main thread; abandoned when the program ends
// before it ran.
struct TMainThreadTask {
  std::function<void()> Work;
  std::mutex Lock;
  bool Abandoned = false;
  HANDLE Ran = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::exception_ptr Failure;
  ~TMainThreadTask() { CloseHandle(Ran); }
};

}  // namespace

TGreetingFacts TForm1::GatherGreetingFacts() {
  TGreetingFacts f;
  f.PackageBaseName = GetPackageBaseName();
  HKEY key = nullptr;
  const char* path = IsNT ? "Software\\Microsoft\\Windows NT\\CurrentVersion" : "Software\\Microsoft\\Windows\\CurrentVersion";
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    f.OwnerKeyOpened = true;
    ReadMachineValue(key, "RegisteredOwner", f.RegisteredOwner);
    ReadMachineValue(key, "RegisteredOrganization", f.RegisteredOrganization);
    RegCloseKey(key);
  }
  {
    std::lock_guard<std::mutex> g(ChoicesLock);
    f.CompanyName = CompanyName;
  }
  f.ProgramFilesFolder = SpecialFolder(CSIDL_PROGRAM_FILES);
  char system[MAX_PATH] = "";
  if (GetSystemDirectoryA(system, MAX_PATH) >= 3 && system[1] == ':') f.SystemDrive = std::string(system, 3);
  f.PerUser = ReadSetupKey(ProgramFolder, "PerUser", "true");
  for (const auto& record : FeatureRecords())
    if (record->Display != 0) f.AnyListedFeature = true;
  f.Readme = ReadTextWithoutCR(ProgramFolder + "readme.txt");
  f.License = ReadTextWithoutCR(ProgramFolder + "license.txt");
  f.DisableComplete = ReadSetupKey(ProgramFolder, "DisableComplete", "No");
  return f;
}

void TForm1::TidewireListener1Connect(TTidewireServerThread* thread) {
  if (Ending()) return;
  TidewireListener1->SetTag(1);
  std::shared_ptr<TTidewireServer> connection = thread->Connection();
  WriteLog("Client connected from " + connection->PeerIP + ":" + std::to_string(connection->PeerPort));
  {
    std::lock_guard<std::mutex> g(FCurrentLock);
    FCurrent = connection;
  }
  std::shared_ptr<TWorkThread> worker;
  {
    std::lock_guard<std::mutex> g(FWorkersLock);
    worker = std::make_shared<TWorkThread>(FNextWorker++, connection);
    FWorkers.push_back(worker);
  }
  worker->Thread = std::thread([this, worker] { Serve(*worker); });
  // The connection thread waits for its worker: the connection stays alive
  // while the session runs.
  worker->Thread.join();
  std::lock_guard<std::mutex> g(FCurrentLock);
  if (FCurrent == connection) FCurrent.reset();
}

void TForm1::Serve(TWorkThread& worker) {
  // A client may connect before the creation handler has read the package:
  // its greeting waits for it.
  WaitForSingleObject(FStarted, INFINITE);
  if (Ending()) return;
  TServerConnection connection(*worker.Connection);
  HRESULT com = E_FAIL;
  try {
    TSorvexSession session(connection, *this, *this, ChoicesLock, tr->Items(), FeaturesXml);
    const std::string greeting = GreetingText(GatherGreetingFacts());
    connection.SendMessage(greeting);
    com = CoInitialize(nullptr);
    while (session.Handle(connection.ReadMessage())) {
    }
    WriteLog("Session ended");
  } catch (const ETidewireMessageTooLong& e) {
    WriteLog("Session ended: " + std::string(e.what()));
  } catch (const ETidewireClosedSocket& e) {
    WriteLog("Session ended, the client has left: " + std::string(e.what()));
  } catch (const ETidewireSocketError& e) {
    // A client that left (reset, aborted or shut down) ends its session quietly.
    const bool left = e.ErrorCode == 10053 || e.ErrorCode == 10054 || e.ErrorCode == 10058;
    WriteLog("Session ended: " + std::string(e.what()));
    if (!left && !Ending()) MessageBox("Socket error.", Application->Title(), MB_OK);
  } catch (const ETidewireException& e) {
    WriteLog("Session ended: " + std::string(e.what()));
    if (!Ending()) MessageBox("Socket error.", Application->Title(), MB_OK);
  } catch (const std::exception& e) {
    WriteLog("Session ended: " + std::string(e.what()));
  } catch (...) {
    WriteLog("Session ended: unknown failure");
  }
  connection.Disconnect();
  if (SUCCEEDED(com)) CoUninitialize();
  if (!Ending()) PostMessageA(WindowHandle(), WM_SORVEX_DONE, worker.Number, 0);
  SetEvent(worker.Done);
}

void TForm1::RunOnMainThread(const std::function<void()>& work) {
  if (GetCurrentThreadId() == FMainThread) {
    work();
    return;
  }
  auto task = std::make_shared<TMainThreadTask>();
  task->Work = work;
  // The message holds one reference until the main thread has handled it.
  auto* held = new std::shared_ptr<TMainThreadTask>(task);
  if (!PostMessageA(WindowHandle(), WM_SORVEX_RUN, 0, reinterpret_cast<LPARAM>(held))) {
    delete held;
    throw Exception("The main window cannot take the task");
  }
  while (WaitForSingleObject(task->Ran, 100) == WAIT_TIMEOUT) {
    if (Ending()) {
      std::lock_guard<std::mutex> g(task->Lock);
      task->Abandoned = true;
      if (WaitForSingleObject(task->Ran, 0) == WAIT_TIMEOUT) throw Exception("Sorvex is ending");
      break;
    }
  }
  if (task->Failure) std::rethrow_exception(task->Failure);
}

void TForm1::RunMainThreadTask(LPARAM l) {
  std::unique_ptr<std::shared_ptr<TMainThreadTask>> held(reinterpret_cast<std::shared_ptr<TMainThreadTask>*>(l));
  TMainThreadTask& task = **held;
  // Held while the task runs: a worker that gives up waits for it to finish.
  std::lock_guard<std::mutex> g(task.Lock);
  if (task.Abandoned) return;
  try {
    task.Work();
  } catch (...) {
    task.Failure = std::current_exception();
  }
  SetEvent(task.Ran);
}

}  // namespace tq
