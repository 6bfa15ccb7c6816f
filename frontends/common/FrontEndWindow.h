#pragma once
// The front-ends' main window until their pages and protocol fill it: a plain
// top-level window of the given class and caption, run until it closes.
#include <windows.h>

namespace tq {

int RunFrontEndWindow(HINSTANCE instance, const char* className, const char* caption, int show);

}  // namespace tq
