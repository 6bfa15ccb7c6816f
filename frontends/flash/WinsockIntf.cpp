#include "WinsockIntf.h"

#include <windows.h>
#include <winsock.h>

#include "TidewireExceptions.h"

namespace tq {

namespace {

struct TErrorTextRow {
  int Code;
  const char* Text;
};

// Texts as users of the library have always seen them (10035's trailing blank
// and 10066's missing full stop included).
constexpr TErrorTextRow ErrorTexts[] = {
    {10004, "Interrupted system call."},
    {10009, "Bad file number."},
    {10013, "Access denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Operation would block. "},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on non-socket."},
    {10039, "Destination address required."},
    {10040, "Message too long."},
    {10041, "Protocol wrong type for socket."},
    {10042, "Bad protocol option."},
    {10043, "Protocol not supported."},
    {10044, "Socket type not supported."},
    {10045, "Operation not supported on socket."},
    {10046, "Protocol family not supported."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Can't assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {10059, "Too many references, can't splice."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10062, "Too many levels of symbolic links."},
    {10063, "File name too long."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {10066, "Directory not empty"},
    {10067, "Too many processes."},
    {10068, "Too many users."},
    {10069, "Disk Quota Exceeded."},
    {10070, "Stale NFS file handle."},
    {10071, "Too many levels of remote in path."},
    {10091, "Network subsystem is unavailable."},
    {10092, "WINSOCK DLL Version out of range."},
    {10093, "Winsock not loaded yet."},
    {11001, "Host not found."},
    {11002, "Non-authoritative response (try again or check DNS setup)."},
    {11003, "Non-recoverable errors: FORMERR, REFUSED, NOTIMP."},
    {11004, "Valid name, no data record (check DNS setup)."},
};

}  // namespace

ETidewireSocketError::ETidewireSocketError(int errorCode)
    : ETidewireException(TWinsockIntf11::ErrorText(errorCode)), ErrorCode(errorCode) {}

TWinsockIntf11::TWinsockIntf11() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) throw ETidewireException(WinsockInitializationErrorText);
}

TWinsockIntf11::~TWinsockIntf11() { WSACleanup(); }

TWinsockIntf11& TWinsockIntf11::Get() {
  static TWinsockIntf11 instance;
  return instance;
}

std::string TWinsockIntf11::ErrorText(int code) {
  std::string text = "Socket Error #" + std::to_string(code) + "\r\n";
  for (const TErrorTextRow& row : ErrorTexts)
    if (row.Code == code) return text + row.Text;
  return text;
}

int TWinsockIntf11::LastError() { return WSAGetLastError(); }

}  // namespace tq
