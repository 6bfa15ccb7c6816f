#include "RGFileutil.h"

#include "Classes.h"
#include "FileUtils.h"
#include "SysUtils.h"

namespace tq::RGFileutil {

int64_t FileSize(const std::string& Path) {
  THandle h = FileOpen(Path, fmOpenRead | fmShareDenyNone);
  if (h == INVALID_FILE_HANDLE) throw EFOpenError(Format("Cannot open file %s", {Path}));
  int64_t size = FileSeek(h, 0, 2);
  FileClose(h);
  return size;
}

}  // namespace tq::RGFileutil
