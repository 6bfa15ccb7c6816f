#include "LineLog.h"

#include <windows.h>

#include "DateTime.h"
#include "SysUtils.h"

namespace tq {

TLineLog::~TLineLog() { Close(); }

void TLineLog::Open(const std::string& path) {
  Close();
  HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EInOutError(int(GetLastError()), "Cannot open the log " + path);
  {
    std::lock_guard<std::mutex> guard(FLock);
    FHandle = h;
  }
  const TFormatSettings& f = FormatSettings();
  WriteLog("");
  WriteLog(std::string(40, '-'));
  WriteLog(FormatDateTime(f.ShortDateFormat, Now()) + " " + FormatDateTime(f.LongTimeFormat, Now()));
  WriteLog("");
}

void TLineLog::Close() {
  std::lock_guard<std::mutex> guard(FLock);
  if (FHandle) CloseHandle(FHandle);
  FHandle = nullptr;
}

void TLineLog::WriteLog(const std::string& line) {
  const std::string text = line + "\r\n";
  std::lock_guard<std::mutex> guard(FLock);
  if (!FHandle) return;
  DWORD written = 0;
  if (!WriteFile(FHandle, text.data(), DWORD(text.size()), &written, nullptr) || written != text.size())
    throw EInOutError(int(GetLastError()), "Cannot write to the log");
}

TLineLog& ProgramLog() {
  static TLineLog log;
  return log;
}

void WriteLog(const std::string& line) { ProgramLog().WriteLog(line); }

}  // namespace tq
