#pragma once
// TLoopThread: the base of the listener library's threads. Its thread body runs
//
//   BeforeRun();  while (!Terminated()) Run();  AfterRun();
//
// An exception out of BeforeRun or Run ends the loop; AfterRun still runs and
// the exception is dropped (as is one out of AfterRun). A thread may be created
// suspended and started with Resume. Stop terminates the thread and waits for
// it; a thread that set FreeOnTerminate deletes itself when its body ends, and
// nobody else may touch it after that.
//
// Whoever deletes a thread that did not free itself must Stop it first: the
// destructor only waits (it cannot run a derived class's Run any more).
#include <atomic>
#include <cstdint>

namespace tq {

class TLoopThread {
 public:
  explicit TLoopThread(bool createSuspended);
  TLoopThread(const TLoopThread&) = delete;
  TLoopThread& operator=(const TLoopThread&) = delete;
  virtual ~TLoopThread();

  void Resume();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  // Blocks until the thread body has ended (returns at once on the thread itself).
  void WaitFor();
  // Terminate, then WaitFor.
  virtual void Stop();
  void SetFreeOnTerminate(bool v) { FFreeOnTerminate = v; }
  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  bool OnOwnThread() const;

 protected:
  virtual void Run() = 0;
  virtual void AfterRun() {}
  virtual void BeforeRun() {}

 private:
  static unsigned long __stdcall ThreadProc(void* self);
  void Body();
  void* FHandle = nullptr;
  unsigned long FThreadId = 0;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFreeOnTerminate{false};
  std::atomic<bool> FStarted{false};
};

}  // namespace tq
