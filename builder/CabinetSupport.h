#pragma once
// Support for the cabinet components: failures of platform calls and the
// path helpers they use.
#include <string>

#include "SysUtils.h"

namespace tq {

// A failed platform call: "Error %d: %s" with the system's text for the code.
class EApiError : public Exception {
 public:
  using Exception::Exception;
  static EApiError CreateCode(int Code);
};

// Raises EApiError with the calling thread's last error when Ok is false.
void CheckApiResult(bool Ok);
[[noreturn]] void RaiseApiError(int Code);

// The library's memory callbacks (writer and reader): the program's heap, the
// last few large blocks returned kept for the next request of their size.
void* CabinetAlloc(unsigned long Size);
void CabinetFree(void* Memory);

// Path with a trailing backslash; an empty path stays empty.
std::string AddTrailingBackslash(const std::string& Path);
// A new, empty, uniquely named file in Dir whose name begins with Prefix; its
// full path, or "" when the platform could not make one.
std::string MakeTempFileName(const std::string& Dir, const std::string& Prefix, unsigned Unique);
// The platform's temporary folder (with its trailing backslash); "" on failure.
std::string GetTempDirectory();

}  // namespace tq
