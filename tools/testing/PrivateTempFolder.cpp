// Linked into every Windows test program: gives the process a temporary folder
// of its own before any test runs. ctest runs many test processes at once, and
// the programs under test keep fixed work files in the temporary folder (the
// cabinet work folder, the package cabinet before it is stored): with one shared
// folder a parallel test would see, or clear, another test's files.
// Child processes (installers, extractors) inherit the folder through TMP/TEMP.
#include <windows.h>

#include <filesystem>
#include <string>

#include "RunName.h"

namespace {

struct TPrivateTempFolder {
  std::string Folder;

  TPrivateTempFolder() {
    char base[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof base, base);
    if (n == 0 || n > MAX_PATH) return;
    std::string folder = std::string(base, n) + tq::testing::RunName();
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return;
    SetEnvironmentVariableA("TMP", folder.c_str());
    SetEnvironmentVariableA("TEMP", folder.c_str());
    Folder = folder;
  }

  ~TPrivateTempFolder() {
    if (Folder.empty()) return;
    std::error_code ignored;  // a file a child still holds stays behind: harmless
    std::filesystem::remove_all(Folder, ignored);
  }
};

TPrivateTempFolder PrivateTempFolder;

}  // namespace
