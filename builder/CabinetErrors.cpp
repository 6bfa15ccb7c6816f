// The failures of the cabinet components: the library's (ECabinetError) and the
// platform's (EApiError).
#include <windows.h>

#include "Cabinet.h"

namespace tq {

namespace {

// The system's text for an error code, without the trailing blanks and period.
std::string SystemErrorText(int Code) {
  char* buffer = nullptr;
  DWORD len = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                             nullptr, static_cast<DWORD>(Code), 0,
                             reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = (len && buffer) ? std::string(buffer, len) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
    text.pop_back();
  return text;
}

}  // namespace

ECabinetError::ECabinetError(int32_t AErrorCode, int32_t AErrorType)
    : Exception(Format("Cabinet error %d (type %d)", {AErrorCode, AErrorType})),
      ErrorCode(AErrorCode),
      ErrorType(AErrorType) {}

EApiError EApiError::CreateCode(int Code) {
  return EApiError(Format("Error %d: %s", {Code, SystemErrorText(Code)}));
}

void RaiseApiError(int Code) { throw EApiError::CreateCode(Code); }

void CheckApiResult(bool Ok) {
  if (!Ok) RaiseApiError(static_cast<int>(GetLastError()));
}

}  // namespace tq
