// Stands in for the external updater in the start-up check: writes the command
// line it was given to "updater-args.txt" beside itself and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string out(path);
  out = out.substr(0, out.find_last_of('\\') + 1) + "updater-args.txt";
  if (FILE* f = std::fopen(out.c_str(), "wb")) {
    std::fputs(GetCommandLineA(), f);
    std::fclose(f);
  }
  return 0;
}
