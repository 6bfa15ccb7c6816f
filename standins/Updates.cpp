// Updates.exe: stands in for the outside updater that Tarnquill starts from
// its program directory (once a day at start-up, and from the Updates menu with
// " /now"), and that packages built with update support install beside the
// product. The real updater fetches and applies a product's updates; this one
// only writes the argument text it was given to "Updates.cmdline.txt" beside
// itself and ends with exit code 0. It shows no window.
#include <windows.h>

#include "StandInSupport.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tq::standin::RecordArguments("Updates.cmdline.txt");
  return 0;
}
