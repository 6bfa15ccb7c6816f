// Linked into every Windows test program: the process runs on a desktop of its
// own. ctest runs many test processes at once under one Wine server, and the
// foreground window and keyboard focus belong to a desktop: on a shared one a
// window that another test shows takes the foreground, and the control that had
// the focus here loses it (an in-place edit ends, a key press goes elsewhere).
// Child processes inherit the desktop, so a test still finds the windows of the
// programs it starts.
#include <windows.h>

#include <string>

#include "RunName.h"

namespace {

struct TPrivateDesktop {
  HDESK Desktop = nullptr;

  TPrivateDesktop() {
    const std::string& name = tq::testing::RunName();
    Desktop = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    // Before the first window of the thread; a test program that made one
    // already stays on the shared desktop.
    if (Desktop && !SetThreadDesktop(Desktop)) {
      CloseDesktop(Desktop);
      Desktop = nullptr;
    }
  }
};

// Before the other objects of the program: the class library makes its
// application window while they are constructed.
TPrivateDesktop PrivateDesktop __attribute__((init_priority(101)));

}  // namespace
