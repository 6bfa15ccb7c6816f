#pragma once
// The base of the FTP client: owns WinINet's top-level Internet handle and its
// options, follows the library's status notifications as a connection state
// with status texts, and turns WinINet error codes into messages.
//
// Connection states and their texts (%s is HostName):
//   0 "Disconnecting from %s"   1 "No connection" (initial)   2 "Connecting to %s"
//   3 "Connected to %s"         4 "Resolving name %s"          5 "Resolved name %s"
//   any other: "Unknown state!  Contact support ..."
// Library statuses move the state: resolving name (10) -> 4, name resolved
// (11) -> 5, connecting (20) -> 2, connected (21) -> 3, closing the connection
// (50) -> 0, connection closed (51) -> 1.
//
// With SilentExceptions (the default) every failure is reported by a false
// result only; otherwise EWinInetError is raised with HandleError's message.
// All calls are synchronous; the library calls StatusCallback on the calling
// thread during them.
#include <windows.h>
#include <wininet.h>

#include <functional>
#include <string>

#include "Component.h"

namespace tq {

class TProgressBar;
class TStatusBar;
class TStringList;

TQ_EXCEPTION_CLASS(EWinInetError, Exception);

// The access type of the Internet handle.
enum TResolveNames { rnDirect = 0, rnPreconfig = 1, rnProxy = 2 };

class TWinInetControl : public TComponent {
 public:
  explicit TWinInetControl(TComponent* owner);
  ~TWinInetControl() override;
  std::string ClassName() const override { return "TWinInetControl"; }

  std::string HostName;
  std::string UserName;
  std::string Password;
  int Port = 0;
  std::string ProxyName;
  TStringList* ProxyBypassList = nullptr;  // owned
  int ResolveNames = rnDirect;
  bool EnableCache = false;  // false: connections bypass the cache
  int ConnectRetries = 3;
  bool SilentExceptions = true;
  bool QuickProgress = false;  // true: progress and status shown on every notification
  TProgressBar* QuickProgressMinor = nullptr;
  TStatusBar* QuickStatus = nullptr;
  TNotifyEvent OnConnected;
  std::function<void(TObject* Sender, int State)> OnStateChange;

  // Milliseconds; setting 0 stores the default 300000.
  int ConnectTimeout() const { return FConnectTimeout; }
  void SetConnectTimeout(int Milliseconds);

  int State() const { return FState; }
  std::string StateText() const { return StateText(FState); }
  std::string StateText(int State) const;
  HINTERNET InternetHandle() const { return FInternet; }

  virtual void UpdateProgress() = 0;
  // Sets the state to "No connection"; raises EWinInetError unless silent.
  virtual void HandleError(DWORD Code);
  // One library notification for this component.
  virtual void StatusCallback(HINTERNET Handle, DWORD Status, void* Info, DWORD InfoLength);
  // Opens the Internet handle when there is none (agent: the application
  // title), installs the status callback and applies the retries and the
  // time-out. True only when already connected.
  virtual bool Connect();
  // Closes the Internet handle; the state becomes "No connection". True.
  virtual bool Disconnect();

 protected:
  // The library's callback, registered on the handles; forwards to the
  // component given as context.
  static void CALLBACK Notify(HINTERNET Handle, DWORD_PTR Context, DWORD Status, void* Info, DWORD InfoLength);
  void SetState(int State);
  // For descendants' destructors: no notifications, no events from now on.
  void BeginDestroy();
  bool Destroying() const { return FDestroying; }
  DWORD AccessType() const;
  // Flags of the connections made on the Internet handle.
  DWORD FConnectFlags = 0;
  HINTERNET FInternet = nullptr;
  TNotifyEvent FOnDisconnected;

 private:
  int FConnectTimeout = 300000;
  int FState = 1;
  bool FDestroying = false;
};

}  // namespace tq
