#pragma once
// A client's worker: serves the session of one connection, then tells the
// main window (WM_SORVEX_DONE with its number) and ends.
#include <windows.h>

#include <memory>
#include <thread>

#include "TidewireListener.h"

namespace tq {

class TWorkThread {
 public:
  TWorkThread(unsigned number, std::shared_ptr<TTidewireServer> connection)
      : Number(number), Connection(std::move(connection)), Done(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~TWorkThread() {
    if (Thread.joinable()) Thread.join();
    CloseHandle(Done);
  }
  const unsigned Number;
  const std::shared_ptr<TTidewireServer> Connection;
  const HANDLE Done;  // set when the worker has ended
  std::thread Thread;
};

}  // namespace tq
