// Path helpers of the cabinet components.
#include <windows.h>

#include "CabinetSupport.h"

namespace tq {

std::string AddTrailingBackslash(const std::string& Path) {
  if (Path.empty() || Path.back() == '\\') return Path;
  return Path + '\\';
}

std::string MakeTempFileName(const std::string& Dir, const std::string& Prefix, unsigned Unique) {
  char buffer[MAX_PATH + 1] = {};
  if (GetTempFileNameA(Dir.c_str(), Prefix.c_str(), Unique, buffer) == 0) return {};
  return buffer;
}

std::string GetTempDirectory() {
  char buffer[MAX_PATH] = {};
  DWORD len = GetTempPathA(MAX_PATH - 1, buffer);
  if (len == 0 || len >= MAX_PATH - 1) return {};
  return std::string(buffer, len);
}

}  // namespace tq
