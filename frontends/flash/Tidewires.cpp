#include "Tidewires.h"

#include <windows.h>
#include <winsock.h>

#include <climits>
#include <cstring>

#include "TidewireExceptions.h"

namespace tq {

// ---- TTidewire ---------------------------------------------------------------

TTidewire::TTidewire(TComponent* owner) : TLayoutComponent(owner) {}

TTidewire::~TTidewire() { TTidewire::Disconnect(); }

bool TTidewire::Connected() const {
  std::lock_guard<std::mutex> lock(FStateLock);
  return FSocket != NoSocket;
}

TSocketHandle TTidewire::Handle() const {
  std::lock_guard<std::mutex> lock(FStateLock);
  return FSocket;
}

void TTidewire::Attach(TSocketHandle handle) {
  std::lock_guard<std::mutex> lock(FStateLock);
  FSocket = handle;
}

void TTidewire::Disconnect() {
  std::lock_guard<std::mutex> lock(FStateLock);
  if (FSocket == NoSocket) return;
  // Closing is what wakes a call blocked on the handle in another thread (it
  // then fails and sees the connection closed); shutdown first tells the peer.
  shutdown(FSocket, 2);
  closesocket(FSocket);
  FSocket = NoSocket;
  FDisconnected.notify_all();
}

void TTidewire::WaitDisconnected() const {
  std::unique_lock<std::mutex> lock(FStateLock);
  FDisconnected.wait(lock, [this] { return FSocket == NoSocket; });
}

bool TTidewire::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Port")) Port = prop.Value.AsInt();
  else if (SameText(prop.Name, "BoundIP")) BoundIP = prop.Value.AsString();
  else return TLayoutComponent::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TTidewireSocket ---------------------------------------------------------

TTidewireSocket::TTidewireSocket(TComponent* owner) : TTidewire(owner) {}

void TTidewireSocket::WriteAll(const std::string& text) {
  if (text.empty()) return;
  std::lock_guard<std::mutex> lock(FSendLock);
  size_t sent = 0;
  while (sent < text.size()) {
    TSocketHandle handle = Handle();
    if (handle == NoSocket) throw ETidewireClosedSocket(ClosedSocketText);
    int part = static_cast<int>(std::min<size_t>(text.size() - sent, INT_MAX));
    int n = send(handle, text.data() + sent, part, 0);
    if (n == 0) {
      FClosedGracefully = true;
      Disconnect();  // the next turn reports the unsent rest
      continue;
    }
    if (n == SOCKET_ERROR) {
      int code = TWinsockIntf11::LastError();
      if (!Connected()) throw ETidewireClosedSocket(ClosedSocketText);  // closed meanwhile
      if (code == WsaEShutdown || code == WsaEConnReset || code == WsaEConnAborted) Disconnect();
      throw ETidewireSocketError(code);
    }
    sent += static_cast<size_t>(n);
  }
}

bool TTidewireSocket::TryWriteAll(const std::string& text, std::string* why) {
  try {
    WriteAll(text);
    return true;
  } catch (const ETidewireException& e) {
    if (why) *why = e.Message;
    return false;
  }
}

bool TTidewireSocket::Readable(int timeoutMs) {
  if (BufferedBytes() > 0) return true;
  TSocketHandle handle = Handle();
  if (handle == NoSocket) return false;
  fd_set set;
  FD_ZERO(&set);
  FD_SET(handle, &set);
  timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &timeout) > 0;
}

void TTidewireSocket::FillBuffer() {
  TSocketHandle handle = Handle();
  if (handle == NoSocket) return;
  int length = static_cast<int>(FBuffer.size());
  int free = length - FPosition;
  if (2 * free < FPosition) FBuffer.resize(static_cast<size_t>(length + BufferChunk));
  else if (free > 2 * BufferChunk && length > 2 * BufferChunk) FBuffer.resize(static_cast<size_t>(length - BufferChunk));
  free = static_cast<int>(FBuffer.size()) - FPosition;
  char* at = FBuffer.data() + (FPosition - 1);
  int n = recv(handle, at, free, 0);
  if (n == 0) {
    FClosedGracefully = true;
    Disconnect();
    return;
  }
  if (n == SOCKET_ERROR) {
    int code = TWinsockIntf11::LastError();
    if (!Connected() || code == WsaEShutdown) {  // closed by us, maybe from another thread
      Disconnect();
      return;
    }
    if (code == WsaEConnReset || code == WsaEConnAborted) Disconnect();  // the connection is gone
    throw ETidewireSocketError(code);
  }
  if (ASCIIFilter)
    for (int i = 0; i < n; ++i) at[i] = static_cast<char>(at[i] & 0x7F);
  FPosition += n;
}

std::string TTidewireSocket::TakeBuffered(int count) {
  std::string taken = FBuffer.substr(0, static_cast<size_t>(count));
  int rest = BufferedBytes() - count;
  if (rest > 0) std::memmove(FBuffer.data(), FBuffer.data() + count, static_cast<size_t>(rest));
  FPosition -= count;
  return taken;
}

std::string TTidewireSocket::ReadAvailable() {
  std::lock_guard<std::recursive_mutex> lock(FReadLock);
  if (BufferedBytes() == 0) {
    Readable(1);
    FillBuffer();
  }
  FScanned = 0;
  return TakeBuffered(BufferedBytes());
}

std::string TTidewireSocket::ReadMessage() {
  std::lock_guard<std::recursive_mutex> lock(FReadLock);
  for (;;) {
    int used = BufferedBytes();
    const void* nul = std::memchr(FBuffer.data() + FScanned, 0, static_cast<size_t>(used - FScanned));
    int length = nul ? static_cast<int>(static_cast<const char*>(nul) - FBuffer.data()) : used;
    if (length > MaxMessageSize) {
      Disconnect();
      FPosition = 1;
      FScanned = 0;
      throw ETidewireMessageTooLong("Message longer than " + std::to_string(MaxMessageSize) +
                                    " bytes; the connection was closed");
    }
    if (nul) {
      FScanned = 0;
      return TakeBuffered(length + 1);
    }
    FScanned = used;
    if (!Connected()) {  // the peer left; an unended tail is no message
      FPosition = 1;
      FScanned = 0;
      return {};
    }
    FillBuffer();
  }
}

}  // namespace tq
