#include "LoopThread.h"

#include <windows.h>

#include "SysUtils.h"

namespace tq {

TLoopThread::TLoopThread(bool createSuspended) {
  FHandle = CreateThread(nullptr, 0, &TLoopThread::ThreadProc, this, CREATE_SUSPENDED, &FThreadId);
  if (!FHandle) throw EOSError(static_cast<int>(GetLastError()), "Thread creation error");
  if (!createSuspended) Resume();
}

TLoopThread::~TLoopThread() {
  if (!OnOwnThread()) {
    if (!FStarted) Resume();  // a thread never started ends at once: Terminated is set
    Terminate();
    WaitFor();
  }
  CloseHandle(FHandle);
}

unsigned long __stdcall TLoopThread::ThreadProc(void* self) {
  auto* thread = static_cast<TLoopThread*>(self);
  thread->Body();
  if (thread->FFreeOnTerminate) delete thread;
  return 0;
}

void TLoopThread::Body() {
  try {
    if (!FTerminated) {
      BeforeRun();
      while (!FTerminated) Run();
    }
  } catch (...) {
  }
  try {
    AfterRun();
  } catch (...) {
  }
}

void TLoopThread::Resume() {
  if (FStarted.exchange(true)) return;
  ResumeThread(FHandle);
}

void TLoopThread::WaitFor() {
  if (OnOwnThread() || !FStarted) return;
  WaitForSingleObject(FHandle, INFINITE);
}

void TLoopThread::Stop() {
  Terminate();
  if (!FStarted) Resume();
  WaitFor();
}

bool TLoopThread::OnOwnThread() const { return GetCurrentThreadId() == FThreadId; }

}  // namespace tq
