#pragma once
// The socket layer's failures. Every failure of the listener library is an
// ETidewireException, so a session can catch the whole family at once:
//
//   ETidewireException            "Could not bind socket. ..." and the like
//   +- ETidewireSocketError       a failed Windows Sockets call; carries its code,
//   |                             message "Socket Error #<code>" CR LF <text>
//   +- ETidewireResponseError
//   +- ETidewireClosedSocket      "Socket is closed, cannot write"
//   +- ETidewireInvalidSocket     "Cannot allocate socket."
//   +- ETidewireMessageTooLong    a NUL-framed message over the reader's limit
//   +- ETidewireSilentException
//      +- ETidewireConnClosedGraceful
//
// A peer that closes its end is not a failure: reads see it as an empty read.
#include <string>

#include "SysUtils.h"

namespace tq {

TQ_EXCEPTION_CLASS(ETidewireException, Exception);
TQ_EXCEPTION_CLASS(ETidewireResponseError, ETidewireException);
TQ_EXCEPTION_CLASS(ETidewireClosedSocket, ETidewireException);
TQ_EXCEPTION_CLASS(ETidewireInvalidSocket, ETidewireException);
TQ_EXCEPTION_CLASS(ETidewireMessageTooLong, ETidewireException);
TQ_EXCEPTION_CLASS(ETidewireSilentException, ETidewireException);
TQ_EXCEPTION_CLASS(ETidewireConnClosedGraceful, ETidewireSilentException);

// A failed Windows Sockets call: the message is TWinsockIntf11::ErrorText(code).
class ETidewireSocketError : public ETidewireException {
 public:
  explicit ETidewireSocketError(int errorCode);
  int ErrorCode;
};

inline constexpr char ClosedSocketText[] = "Socket is closed, cannot write";
inline constexpr char CannotAllocateSocketText[] = "Cannot allocate socket.";
inline constexpr char AddressInUseText[] = "Could not bind socket. Address and port are already in use.";
inline constexpr char WinsockInitializationErrorText[] = "Winsock Initialization Error.";

}  // namespace tq
