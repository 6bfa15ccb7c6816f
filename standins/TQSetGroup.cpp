// TQSetGroup.exe: stands in for a helper program that lies outside Tarnquill
// and that every package installs into the system folder (the real one deals
// with the product's program group). This one does nothing and ends with exit
// code 0.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
