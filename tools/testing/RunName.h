#pragma once
// The name of this test process's own desktop and temporary folder:
// "tq-test-<process id>-<start counter>". Wine hands a process id out again
// once its process has gone, while what that process left can still be there
// (its desktop closes some time after its last program, with the desktop's
// own window). With the process id alone a later test program could
// take that closing desktop, or a folder being cleared, for its own.
#include <windows.h>

#include <cstdio>
#include <string>

namespace tq::testing {

inline const std::string& RunName() {
  static const std::string name = [] {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    char text[64];
    std::snprintf(text, sizeof text, "tq-test-%lu-%llx", static_cast<unsigned long>(GetCurrentProcessId()),
                  static_cast<unsigned long long>(counter.QuadPart));
    return std::string(text);
  }();
  return name;
}

}  // namespace tq::testing
