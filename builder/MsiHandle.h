#pragma once
// Owner of one Windows Installer handle (database, view, record or summary
// information): closes it when it goes out of scope, so no handle outlives its use.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <utility>

namespace tq {

class TMsiHandle {
 public:
  TMsiHandle() = default;
  explicit TMsiHandle(MSIHANDLE handle) : FHandle(handle) {}
  TMsiHandle(const TMsiHandle&) = delete;
  TMsiHandle& operator=(const TMsiHandle&) = delete;
  TMsiHandle(TMsiHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, 0)) {}
  TMsiHandle& operator=(TMsiHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, 0));
    return *this;
  }
  ~TMsiHandle() { Close(); }

  MSIHANDLE Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != 0; }

  // For the out-parameter of an installer call: the held handle is closed first.
  MSIHANDLE* Receive() {
    Close();
    return &FHandle;
  }
  void Reset(MSIHANDLE handle = 0) {
    Close();
    FHandle = handle;
  }
  void Close() {
    if (FHandle != 0) MsiCloseHandle(std::exchange(FHandle, 0));
  }

 private:
  MSIHANDLE FHandle = 0;
};

}  // namespace tq
