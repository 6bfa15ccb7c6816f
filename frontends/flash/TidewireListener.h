#pragma once
// TTidewireListener: a TCP server component. Activated, it binds Port on BoundIP
// (empty: every interface), listens (backlog 5) and accepts connections on a
// thread of its own; each connection gets a TTidewireServerThread of its own,
// which calls OnConnect first, then OnExecute again and again (when assigned;
// without it the thread just waits) until the connection is closed, then
// OnDisconnect; the thread then leaves the listener's list and frees itself.
//
//   TTidewireListener listener(owner);
//   listener.BoundIP = "127.0.0.1";
//   listener.Port = 8188;                 // 0: the system picks one (ListeningPort)
//   listener.OnConnect = [](TTidewireServerThread* t) {
//     std::shared_ptr<TTidewireServer> c = t->Connection();   // keep it as long as needed
//     c->WriteAll(std::string("hello") + '\0');
//   };
//   listener.OnLog = [](const std::string& text) { ... };      // any thread
//   listener.SetActive(true);   // raises "Could not bind socket. Address and port
//                                // are already in use." on a busy port
//
// Connections are shared: a connection object lives as long as anyone holds it
// (its thread, or the application through Connection()), so it is never used
// after it was freed; a closed one just refuses writes and reads empty.
//
// Accepting ends quietly when the listener is being closed (the pending accept
// fails with 10004, 995 or 10038 then); any other failure is passed to OnLog:
// one that the listening socket survives (a connection reset before it was
// taken, no buffers or handles for now) lets accepting go on, one that leaves
// the socket unusable ends the accept thread.
//
// Deactivating closes the listening socket and stops the accept thread;
// connections already made go on. Destroying the listener also stops every
// connection thread, disconnecting each. In a layout, Active, Port, BoundIP,
// SessionTimeout and the events are properties; a stored Active = True
// activates the listener once the layout is loaded.
//
// SessionTimeout takes whole seconds (0 = none; below 0 raises "Invliad
// SessionTimeout value."); no idle sweep is run.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "LoopThread.h"
#include "Tidewires.h"

namespace tq {

class TTidewireListener;
class TTidewireServerThread;

// One accepted connection.
class TTidewireServer : public TTidewireSocket {
 public:
  explicit TTidewireServer(TTidewireListener* listener);
  std::string ClassName() const override { return "TTidewireServer"; }
  // The listener that accepted it; null once the connection's thread has ended.
  TTidewireListener* Listener() const { return FListener.load(); }
  std::string PeerIP;  // dotted decimal
  int PeerPort = 0;
  double LastRead = 0;  // when the connection was made (TDateTime)

 private:
  friend class TTidewireListener;
  friend class TTidewireListenerThread;
  friend class TTidewireServerThread;
  void Accepted(TSocketHandle handle);
  std::atomic<TTidewireListener*> FListener;
};

using TTidewireThreadEvent = std::function<void(TTidewireServerThread*)>;

// The thread of one connection.
class TTidewireServerThread : public TLoopThread {
 public:
  TTidewireServerThread(TTidewireListener* listener, std::shared_ptr<TTidewireServer> connection);
  ~TTidewireServerThread() override;
  TTidewireServer* Server() const { return FConnection.get(); }
  std::shared_ptr<TTidewireServer> Connection() const { return FConnection; }
  TTidewireListener* Listener() const { return FListener; }
  // Disconnects, then terminates and waits.
  void Stop() override;

 protected:
  void BeforeRun() override;
  void Run() override;
  void AfterRun() override;

 private:
  TTidewireListener* FListener;
  std::shared_ptr<TTidewireServer> FConnection;
};

// The accept thread.
class TTidewireListenerThread : public TLoopThread {
 public:
  explicit TTidewireListenerThread(TTidewireListener* listener);

 protected:
  void Run() override;
  void AfterRun() override;

 private:
  TTidewireListener* FListener;
};

// What a failed accept means for the accept thread.
enum class TAcceptFailure {
  Closing,    // the listener is being closed: end quietly
  Transient,  // log it and accept again
  Fatal,      // log it and end: the listening socket is unusable
};
TAcceptFailure ClassifyAcceptFailure(int code, bool closing);

class TTidewireListener : public TTidewire {
 public:
  explicit TTidewireListener(TComponent* owner);
  ~TTidewireListener() override;
  std::string ClassName() const override { return "TTidewireListener"; }

  bool Active() const { return FActive; }
  // Setting the value it has does nothing; while loading it is only stored.
  void SetActive(bool active);
  int SessionTimeout() const { return FSessionTimeout; }
  void SetSessionTimeout(int seconds);
  // The port the listening socket is bound to (Port, or the system's pick for 0).
  int ListeningPort() const { return FListeningPort; }
  // Connection threads alive now.
  int ThreadCount() const;

  TTidewireThreadEvent OnConnect;
  TTidewireThreadEvent OnDisconnect;
  TTidewireThreadEvent OnExecute;
  // May supply the thread for a new connection (created suspended, listener
  // and connection given); when it leaves thread null the listener makes one.
  std::function<void(TTidewireListener*, std::shared_ptr<TTidewireServer>, TTidewireServerThread*& thread)>
      OnCreateThread;
  // Failures no caller sees (accepting); called on the accept thread.
  std::function<void(const std::string&)> OnLog;

  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;
  void Loaded() override;

 private:
  friend class TTidewireListenerThread;
  friend class TTidewireServerThread;
  void Activate();
  void Deactivate();
  bool Closing() const;
  void Log(const std::string& text) const;
  void AddThread(TTidewireServerThread* thread);
  bool RemoveThread(TTidewireServerThread* thread);  // false when it was not listed
  void Accept(TSocketHandle listening);

  bool FActive = false;
  bool FStoredActive = false;  // Active as a layout stored it, applied by Loaded
  int FSessionTimeout = 0;
  int FListeningPort = 0;
  TTidewireListenerThread* FAcceptThread = nullptr;
  mutable std::mutex FClosingLock;
  bool FClosing = false;
  mutable std::mutex FThreadsLock;  // the list of connection threads
  std::vector<TTidewireServerThread*> FThreads;
};

// Lets layouts name TTidewireListener.
void RegisterTidewireClasses();

}  // namespace tq
