// UndoUpdates.exe: stands in for the outside program that takes back the last
// update of a product (Tarnquill starts it from its Updates menu with its own
// program path; packages built with update support install it beside the
// product). This one only writes the argument text it was given to
// "UndoUpdates.cmdline.txt" beside itself and ends with exit code 0. It shows
// no window.
#include <windows.h>

#include "StandInSupport.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tq::standin::RecordArguments("UndoUpdates.cmdline.txt");
  return 0;
}
