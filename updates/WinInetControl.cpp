#include "WinInetControl.h"

#include "Classes.h"
#include "Forms.h"
#include "Prompts.h"
#include "StatusBar.h"

namespace tq {

namespace {

constexpr int DefaultConnectTimeout = 300000;

}  // namespace

TWinInetControl::TWinInetControl(TComponent* owner) : TComponent(owner), ProxyBypassList(new TStringList) {}

TWinInetControl::~TWinInetControl() {
  BeginDestroy();
  TWinInetControl::Disconnect();
  delete ProxyBypassList;
}

void TWinInetControl::BeginDestroy() {
  FDestroying = true;
  if (FInternet) InternetSetStatusCallbackA(FInternet, nullptr);
}

void TWinInetControl::SetConnectTimeout(int Milliseconds) {
  FConnectTimeout = Milliseconds == 0 ? DefaultConnectTimeout : Milliseconds;
}

std::string TWinInetControl::StateText(int State) const {
  switch (State) {
    case 0: return Format("Disconnecting from %s", {HostName});
    case 1: return "No connection";
    case 2: return Format("Connecting to %s", {HostName});
    case 3: return Format("Connected to %s", {HostName});
    case 4: return Format("Resolving name %s", {HostName});
    case 5: return Format("Resolved name %s", {HostName});
    default: return "Unknown state!  Contact support ...";
  }
}

DWORD TWinInetControl::AccessType() const {
  switch (ResolveNames) {
    case rnPreconfig: return INTERNET_OPEN_TYPE_PRECONFIG;
    case rnProxy: return INTERNET_OPEN_TYPE_PROXY;
    default: return INTERNET_OPEN_TYPE_DIRECT;
  }
}

void CALLBACK TWinInetControl::Notify(HINTERNET Handle, DWORD_PTR Context, DWORD Status, void* Info,
                                      DWORD InfoLength) {
  auto* control = reinterpret_cast<TWinInetControl*>(Context);
  if (control && !control->FDestroying) control->StatusCallback(Handle, Status, Info, InfoLength);
}

void TWinInetControl::SetState(int State) {
  if (State == FState) return;
  FState = State;
  if (FDestroying) return;
  if (OnStateChange) OnStateChange(this, State);
  if (QuickProgress && QuickStatus) {
    if (QuickStatus->SimplePanel() || QuickStatus->PanelCount() == 0)
      QuickStatus->SetSimpleText(StateText());
    else
      QuickStatus->SetPanelText(0, StateText());
  }
}

void TWinInetControl::StatusCallback(HINTERNET, DWORD Status, void*, DWORD) {
  switch (Status) {
    case INTERNET_STATUS_RESOLVING_NAME: SetState(4); break;
    case INTERNET_STATUS_NAME_RESOLVED: SetState(5); break;
    case INTERNET_STATUS_CONNECTING_TO_SERVER: SetState(2); break;
    case INTERNET_STATUS_CONNECTED_TO_SERVER: SetState(3); break;
    case INTERNET_STATUS_CLOSING_CONNECTION: SetState(0); break;
    case INTERNET_STATUS_CONNECTION_CLOSED: SetState(1); break;
    default: break;
  }
}

bool TWinInetControl::Connect() {
  if (FState == 3) return true;
  FConnectFlags = EnableCache ? 0 : INTERNET_FLAG_RELOAD;
  if (!FInternet) {
    const DWORD access = AccessType();
    std::string bypass;
    for (int i = 0; i < ProxyBypassList->Count(); ++i) bypass += (i ? " " : "") + ProxyBypassList->Get(i);
    const bool viaProxy = access == INTERNET_OPEN_TYPE_PROXY;
    FInternet = InternetOpenA(ApplicationTitle().c_str(), access, viaProxy ? ProxyName.c_str() : nullptr,
                              viaProxy && !bypass.empty() ? bypass.c_str() : nullptr, 0);
    if (FInternet) {
      InternetSetStatusCallbackA(FInternet, &TWinInetControl::Notify);
      DWORD retries = static_cast<DWORD>(ConnectRetries);
      DWORD timeout = static_cast<DWORD>(FConnectTimeout);
      InternetSetOptionA(FInternet, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
      InternetSetOptionA(FInternet, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    }
  }
  return false;
}

bool TWinInetControl::Disconnect() {
  if (FInternet) {
    InternetCloseHandle(FInternet);
    FInternet = nullptr;
  }
  if (!FDestroying) {
    const int before = FState;
    SetState(1);
    if (before != 1 && FOnDisconnected) FOnDisconnected(this);
  }
  return true;
}

void TWinInetControl::HandleError(DWORD Code) {
  SetState(1);
  if (SilentExceptions) return;
  switch (Code) {
    case ERROR_INTERNET_TIMEOUT: throw EWinInetError(Format("Connection to %s timed out", {HostName}));
    case ERROR_INTERNET_INTERNAL_ERROR: throw EWinInetError("Internal WININET error");
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
      throw EWinInetError(Format("Unable to resolve host name '%s'", {HostName}));
    case ERROR_INTERNET_INCORRECT_USER_NAME:
      throw EWinInetError(Format("Bad user name: '%s' connecting to %s", {UserName, HostName}));
    case ERROR_INTERNET_INCORRECT_PASSWORD: throw EWinInetError(Format("Bad password connecting to %s", {HostName}));
    case ERROR_INTERNET_LOGIN_FAILURE:
    case ERROR_INTERNET_CANNOT_CONNECT: throw EWinInetError(Format("Unable to connect to %s", {HostName}));
    default: throw EWinInetError(Format("General Connection Error to %s", {HostName}));
  }
}

}  // namespace tq
