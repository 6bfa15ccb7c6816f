// A program for the tests to put where the stand-ins start another program
// (a front-end, msiexec): copied under that program's name, it writes
// "<its name>.cmdline.txt" beside itself, holding its argument text and, on a
// second line, its current folder, and ends with the exit code named by the
// environment variable TQ_RECORDER_EXIT_CODE (0 when unset).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "StandInSupport.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tq::standin;
  char dir[MAX_PATH * 4];
  DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
  WriteTextFile(ProgramFolder() + ProgramBaseName() + ".cmdline.txt",
                ArgumentText(GetCommandLineA()) + "\r\n" + std::string(dir, n < sizeof dir ? n : 0));
  char code[32];
  n = GetEnvironmentVariableA("TQ_RECORDER_EXIT_CODE", code, sizeof code);
  return n && n < sizeof code ? std::atoi(code) : 0;
}
