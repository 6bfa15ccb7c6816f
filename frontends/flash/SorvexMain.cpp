// Sorvex program block: creates the main window and runs until it closes.
#include <windows.h>

#include "FrontEndWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  return tq::RunFrontEndWindow(instance, "TSorvexForm", "Sorvex", show);
}
