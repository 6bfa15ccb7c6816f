#pragma once
// The listener library's hold on Windows Sockets 1.1 (wsock32): one process-wide
// start-up (WSAStartup for version 1.1, undone when the program ends) and the
// text of the error codes.
//
//   TWinsockIntf11::Get();               // starts Winsock on first use; raises
//                                         // ETidewireException "Winsock Initialization Error."
//   TWinsockIntf11::ErrorText(10048);    // "Socket Error #10048\r\nAddress already in use."
//
// Socket handles cross the library's headers as TSocketHandle, so that its users
// need not include the Winsock headers; NoSocket is the closed value (-1).
#include <cstdint>
#include <string>

namespace tq {

using TSocketHandle = uintptr_t;
inline constexpr TSocketHandle NoSocket = ~static_cast<TSocketHandle>(0);

// Windows Sockets error codes the library acts on.
enum : int {
  WsaEIntr = 10004,
  WsaEBadF = 10009,
  WsaEFault = 10014,
  WsaEInval = 10022,
  WsaEMFile = 10024,
  WsaENotSock = 10038,
  WsaEOpNotSupp = 10045,
  WsaEAddrInUse = 10048,
  WsaENetDown = 10050,
  WsaEConnAborted = 10053,
  WsaEConnReset = 10054,
  WsaENoBufs = 10055,
  WsaEShutdown = 10058,
  WsaNotInitialised = 10093,
  WsaOperationAborted = 995,  // an overlapped call ended by closing its socket
};

class TWinsockIntf11 {
 public:
  // The one instance; the first call starts Winsock.
  static TWinsockIntf11& Get();
  // "Socket Error #" + code + CR LF + the code's text (empty for unknown codes).
  static std::string ErrorText(int code);
  // The last error of the calling thread (WSAGetLastError).
  static int LastError();
  ~TWinsockIntf11();

 private:
  TWinsockIntf11();
};

}  // namespace tq
