#pragma once
// TTidewire and TTidewireSocket: a socket handle and a connected socket with a
// read buffer, over Windows Sockets 1.1.
//
// Writing: WriteAll sends every byte of a text, in as many send calls as it
// takes. Writers on one connection are serialised: each text goes out whole,
// never interleaved with another thread's. A write on a closed connection raises
// ETidewireClosedSocket "Socket is closed, cannot write"; TryWriteAll is the same
// write for callers that must not raise (it returns false and the reason).
//
// Reading: ReadAvailable waits for data and returns everything that has arrived
// as one string; ReadMessage returns exactly one NUL-ended message (the NUL
// included), keeping what follows for the next call, so that a message split
// across reads is put together and several messages of one read come one by
// one. A message of more than MaxMessageSize bytes before its NUL raises
// ETidewireMessageTooLong and disconnects. A peer that closes its end is seen as
// an empty read (bytes still buffered come first; an unended message tail is
// dropped), after which the connection is no longer connected.
//
// Read buffer: Buffer holds the bytes read and not yet taken; position counts
// from 1 (buffered bytes = position - 1). Before each recv the buffer grows by
// BufferChunk when its free part (length - position) is under half the position,
// so the first read gets 8192 bytes and receives at most 8191, and shrinks by
// BufferChunk when more than two chunks are free and it is longer than two.
//
// Closing: Disconnect may come from any thread, also while another one is
// blocked in recv or send on the connection: closing the handle wakes that call,
// which then reads as a close (or a write refused as on a closed socket). The
// handle is closed once.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "LayoutLoader.h"
#include "WinsockIntf.h"

namespace tq {

class TTidewire : public TLayoutComponent {
 public:
  explicit TTidewire(TComponent* owner);
  ~TTidewire() override;
  std::string ClassName() const override { return "TTidewire"; }

  int Port = 0;
  std::string BoundIP;  // empty: every interface
  static constexpr char Version[] = "1.20";

  bool Connected() const;
  // Closes the handle when connected; the handle reads -1 (NoSocket) afterwards.
  virtual void Disconnect();
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  // Takes over a handle (accepted or just created).
  void Attach(TSocketHandle handle);
  // The handle as it is now (NoSocket when closed), for one call on it.
  TSocketHandle Handle() const;
  // Waits until the handle is closed.
  void WaitDisconnected() const;

 private:
  mutable std::mutex FStateLock;
  mutable std::condition_variable FDisconnected;
  TSocketHandle FSocket = NoSocket;
};

class TTidewireSocket : public TTidewire {
 public:
  explicit TTidewireSocket(TComponent* owner);
  std::string ClassName() const override { return "TTidewireSocket"; }

  static constexpr int BufferChunk = 8192;
  static constexpr int DefaultMaxMessageSize = 1 << 20;
  std::string EOL = "\r\n";  // for line readers
  bool UseNagle = true;
  bool ASCIIFilter = false;  // every received byte loses its top bit
  int MaxMessageSize = DefaultMaxMessageSize;

  // Sends every byte of text; see the header comment for failures.
  void WriteAll(const std::string& text);
  // WriteAll that never raises: false and the failure's text in why.
  bool TryWriteAll(const std::string& text, std::string* why = nullptr);
  std::string ReadAvailable();
  std::string ReadMessage();
  // True at once when bytes are buffered, else whether the socket turns
  // readable within timeoutMs.
  bool Readable(int timeoutMs);
  // The peer closed its end (a recv returned 0).
  bool ClosedGracefully() const { return FClosedGracefully; }
  // Bytes buffered and not yet taken.
  int BufferedBytes() const { return FPosition - 1; }
  int BufferLength() const { return static_cast<int>(FBuffer.size()); }
  // Waits until the connection is closed, by either end.
  void WaitClosed() const { WaitDisconnected(); }

 protected:
  // One recv into the buffer (sizing rules above); nothing when not connected.
  void FillBuffer();

 private:
  std::string TakeBuffered(int count);
  std::mutex FSendLock;
  std::recursive_mutex FReadLock;
  std::string FBuffer;
  int FPosition = 1;
  int FScanned = 0;  // buffered bytes ReadMessage already searched for a NUL
  std::atomic<bool> FClosedGracefully{false};
};

}  // namespace tq
