#include "TidewireListener.h"

#include <windows.h>
#include <winsock.h>

#include <algorithm>

#include "ClassRegistry.h"
#include "DateTime.h"
#include "TidewireExceptions.h"

namespace tq {

namespace {

// ErrorText on one line, for a log.
std::string OneLine(const std::string& text) {
  std::string line = text;
  for (size_t at; (at = line.find("\r\n")) != std::string::npos;) line.replace(at, 2, " ");
  return line;
}

}  // namespace

// ---- TTidewireServer -----------------------------------------------------------

TTidewireServer::TTidewireServer(TTidewireListener* listener) : TTidewireSocket(nullptr), FListener(listener) {}

void TTidewireServer::Accepted(TSocketHandle handle) { Attach(handle); }

// ---- TTidewireServerThread -----------------------------------------------------

TTidewireServerThread::TTidewireServerThread(TTidewireListener* listener,
                                             std::shared_ptr<TTidewireServer> connection)
    : TLoopThread(true), FListener(listener), FConnection(std::move(connection)) {}

TTidewireServerThread::~TTidewireServerThread() = default;

void TTidewireServerThread::Stop() {
  FConnection->Disconnect();
  TLoopThread::Stop();
}

void TTidewireServerThread::BeforeRun() {
  if (FListener->OnConnect) FListener->OnConnect(this);
}

void TTidewireServerThread::Run() {
  if (!FListener->OnExecute) {
    FConnection->WaitClosed();
    Terminate();
    return;
  }
  try {
    FListener->OnExecute(this);
  } catch (const ETidewireSocketError& e) {
    if (e.ErrorCode != WsaEConnReset) throw;
    FConnection->Disconnect();
  } catch (const ETidewireClosedSocket&) {
  }
  if (!FConnection->Connected()) Terminate();
}

void TTidewireServerThread::AfterRun() {
  try {
    if (FListener->OnDisconnect) FListener->OnDisconnect(this);
  } catch (...) {
  }
  // Listed: this thread ends its connection and itself. Not listed: whoever took
  // it out of the list (the listener being destroyed) stops and frees it.
  if (FListener->RemoveThread(this)) {
    FConnection->Disconnect();
    FConnection->FListener = nullptr;
    SetFreeOnTerminate(true);
  }
}

// ---- TTidewireListenerThread ---------------------------------------------------

TTidewireListenerThread::TTidewireListenerThread(TTidewireListener* listener)
    : TLoopThread(true), FListener(listener) {}

TAcceptFailure ClassifyAcceptFailure(int code, bool closing) {
  if (closing) return TAcceptFailure::Closing;
  switch (code) {
    case WsaEBadF:
    case WsaEFault:
    case WsaEInval:
    case WsaENotSock:
    case WsaEOpNotSupp:
    case WsaNotInitialised:
    case WsaOperationAborted:
      return TAcceptFailure::Fatal;
    default:
      return TAcceptFailure::Transient;
  }
}

void TTidewireListenerThread::Run() {
  TSocketHandle listening = FListener->Handle();
  if (listening == NoSocket || FListener->Closing()) {
    Terminate();
    return;
  }
  sockaddr_in peer{};
  int length = sizeof peer;
  SOCKET handle = accept(listening, reinterpret_cast<sockaddr*>(&peer), &length);
  if (handle == INVALID_SOCKET) {
    int code = TWinsockIntf11::LastError();
    switch (ClassifyAcceptFailure(code, FListener->Closing())) {
      case TAcceptFailure::Closing:
        Terminate();
        return;
      case TAcceptFailure::Transient:
        FListener->Log("Accept failed, accepting goes on: " + OneLine(TWinsockIntf11::ErrorText(code)));
        Sleep(50);  // a shortage (handles, buffers) needs a moment to pass
        return;
      case TAcceptFailure::Fatal:
        FListener->Log("Accept failed, no more connections: " + OneLine(TWinsockIntf11::ErrorText(code)));
        Terminate();
        return;
    }
  }
  if (FListener->Closing()) {
    closesocket(handle);
    Terminate();
    return;
  }
  auto connection = std::make_shared<TTidewireServer>(FListener);
  connection->Accepted(handle);
  connection->BoundIP = FListener->BoundIP;
  connection->PeerIP = inet_ntoa(peer.sin_addr);
  connection->PeerPort = ntohs(peer.sin_port);
  connection->LastRead = Now();
  try {
    TTidewireServerThread* thread = nullptr;
    if (FListener->OnCreateThread) FListener->OnCreateThread(FListener, connection, thread);
    if (!thread) thread = new TTidewireServerThread(FListener, connection);
    FListener->AddThread(thread);
    thread->Resume();
  } catch (const std::exception& e) {
    FListener->Log(std::string("Connection from ") + connection->PeerIP + " dropped: " + e.what());
  }
}

void TTidewireListenerThread::AfterRun() { FListener->Disconnect(); }

// ---- TTidewireListener ---------------------------------------------------------

TTidewireListener::TTidewireListener(TComponent* owner) : TTidewire(owner) {}

TTidewireListener::~TTidewireListener() {
  try {
    Deactivate();
  } catch (...) {
  }
  std::vector<TTidewireServerThread*> threads;
  {
    std::lock_guard<std::mutex> lock(FThreadsLock);
    threads.swap(FThreads);
  }
  for (TTidewireServerThread* thread : threads) {
    thread->Stop();
    thread->Server()->FListener = nullptr;
    delete thread;
  }
}

void TTidewireListener::SetActive(bool active) {
  if (LayoutLoading() || (ComponentState() & csLoading)) {
    FStoredActive = active;
    return;
  }
  if (active == FActive) return;
  if (active) Activate();
  else Deactivate();
}

void TTidewireListener::Loaded() {
  TTidewire::Loaded();
  if (FStoredActive) {
    FStoredActive = false;
    SetActive(true);
  }
}

void TTidewireListener::SetSessionTimeout(int seconds) {
  if (seconds < 0) throw ETidewireException("Invliad SessionTimeout value.");
  FSessionTimeout = seconds;
}

void TTidewireListener::Activate() {
  TWinsockIntf11::Get();
  SOCKET handle = socket(AF_INET, SOCK_STREAM, 0);
  if (handle == INVALID_SOCKET) throw ETidewireInvalidSocket(CannotAllocateSocketText);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(Port));
  address.sin_addr.s_addr = BoundIP.empty() ? htonl(INADDR_ANY) : inet_addr(BoundIP.c_str());
  if (bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
    int code = TWinsockIntf11::LastError();
    closesocket(handle);
    if (code == WsaEAddrInUse) throw ETidewireException(AddressInUseText);
    throw ETidewireSocketError(code);
  }
  if (listen(handle, 5) == SOCKET_ERROR) {
    int code = TWinsockIntf11::LastError();
    closesocket(handle);
    throw ETidewireSocketError(code);
  }
  sockaddr_in bound{};
  int length = sizeof bound;
  FListeningPort = getsockname(handle, reinterpret_cast<sockaddr*>(&bound), &length) == 0 ? ntohs(bound.sin_port) : Port;
  Attach(handle);
  {
    std::lock_guard<std::mutex> lock(FClosingLock);
    FClosing = false;
  }
  try {
    FAcceptThread = new TTidewireListenerThread(this);
  } catch (...) {
    Disconnect();
    throw;
  }
  FActive = true;
  FAcceptThread->Resume();
}

void TTidewireListener::Deactivate() {
  {
    std::lock_guard<std::mutex> lock(FClosingLock);
    FClosing = true;
  }
  Disconnect();  // ends the pending accept
  if (FAcceptThread) {
    FAcceptThread->Stop();
    delete FAcceptThread;
    FAcceptThread = nullptr;
  }
  FActive = false;
}

bool TTidewireListener::Closing() const {
  std::lock_guard<std::mutex> lock(FClosingLock);
  return FClosing;
}

void TTidewireListener::Log(const std::string& text) const {
  if (!OnLog) return;
  try {
    OnLog(text);
  } catch (...) {
  }
}

int TTidewireListener::ThreadCount() const {
  std::lock_guard<std::mutex> lock(FThreadsLock);
  return static_cast<int>(FThreads.size());
}

void TTidewireListener::AddThread(TTidewireServerThread* thread) {
  std::lock_guard<std::mutex> lock(FThreadsLock);
  FThreads.push_back(thread);
}

bool TTidewireListener::RemoveThread(TTidewireServerThread* thread) {
  std::lock_guard<std::mutex> lock(FThreadsLock);
  auto it = std::find(FThreads.begin(), FThreads.end(), thread);
  if (it == FThreads.end()) return false;
  FThreads.erase(it);
  return true;
}

bool TTidewireListener::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Active")) SetActive(prop.Value.AsBool());
  else if (SameText(prop.Name, "SessionTimeout")) SetSessionTimeout(prop.Value.AsInt());
  else if (SameText(prop.Name, "OnConnect")) loader.Bind(OnConnect, prop);
  else if (SameText(prop.Name, "OnDisconnect")) loader.Bind(OnDisconnect, prop);
  else if (SameText(prop.Name, "OnExecute")) loader.Bind(OnExecute, prop);
  else return TTidewire::SetLayoutProperty(prop, loader);
  return true;
}

void RegisterTidewireClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterComponentClass<TTidewireListener>("TTidewireListener");
}

}  // namespace tq
