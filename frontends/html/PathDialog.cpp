#include "PathDialog.h"

#include <windows.h>
#include <shlobj.h>

#include "SysUtils.h"

namespace tq {

void TPathDialog::SetDirectory(const std::string& path) {
  std::string dir = path;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  if (dir.empty()) {
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    dir = current;
  }
  FDirectory = dir;
  if (FWindow)
    SendMessageA(static_cast<HWND>(FWindow), BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(FDirectory.c_str()));
}

void TPathDialog::SetStatusText(const std::string& text) {
  FStatusText = text;
  if (FWindow && ShowStatus)
    SendMessageA(static_cast<HWND>(FWindow), BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(FStatusText.c_str()));
}

}  // namespace tq
