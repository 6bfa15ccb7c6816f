// InstMsiA.exe: stands in for the Windows Installer redistributable for
// Windows 95, 98 and Me that a distribution may carry (the real one installs or
// updates Windows Installer). This one does nothing, whatever switches it is
// given, and ends with exit code 0.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
