// Files and folders over the Win32 file API (ANSI).
#include <windows.h>

#include <vector>

#include "FileUtils.h"
#include "SysUtils.h"

namespace tq {

namespace {

TDateTime FromFileTime(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return -1;
  return SystemTimeToDateTime(
      TSystemTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
}

struct TFindData {
  HANDLE Handle = INVALID_HANDLE_VALUE;
};

void FillSearchRec(TSearchRec& f, const WIN32_FIND_DATAA& d) {
  f.Name = d.cFileName;
  f.Attr = static_cast<int>(d.dwFileAttributes);
  f.Size = (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  f.Time = FromFileTime(d.ftLastWriteTime);
}

int FindMatching(TSearchRec& f, WIN32_FIND_DATAA& d) {
  auto* data = static_cast<TFindData*>(f.FindHandle);
  while (static_cast<int>(d.dwFileAttributes) & f.ExcludeAttr) {
    if (!FindNextFileA(data->Handle, &d)) return static_cast<int>(GetLastError());
  }
  FillSearchRec(f, d);
  return 0;
}

}  // namespace

bool FileExists(const std::string& fileName) {
  DWORD a = GetFileAttributesA(fileName.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& dir) {
  DWORD a = GetFileAttributesA(dir.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const std::string& dir) { return CreateDirectoryA(dir.c_str(), nullptr) != 0; }

bool ForceDirectories(const std::string& dir) {
  std::string d = ExcludeTrailingPathDelimiter(dir);
  if (d.empty()) return false;
  if (d.size() < 3 && ExtractFileDrive(d) == d) return true;  // "C:"
  if (DirectoryExists(d)) return true;
  std::string parent = ExtractFilePath(d);
  if (!parent.empty() && ExcludeTrailingPathDelimiter(parent) != d) ForceDirectories(parent);
  return CreateDir(d) || DirectoryExists(d);
}

bool RemoveDir(const std::string& dir) { return RemoveDirectoryA(dir.c_str()) != 0; }

bool DeleteFile(const std::string& fileName) { return ::DeleteFileA(fileName.c_str()) != 0; }

bool RenameFile(const std::string& oldName, const std::string& newName) {
  return MoveFileA(oldName.c_str(), newName.c_str()) != 0;
}

bool RenameFileReplacing(const std::string& source, const std::string& dest) {
  return MoveFileExA(source.c_str(), dest.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool CopyFile(const std::string& source, const std::string& dest, bool failIfExists) {
  return ::CopyFileA(source.c_str(), dest.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

int64_t FileSize(const std::string& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &d) ||
      (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

TDateTime FileAge(const std::string& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &d) ||
      (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return FromFileTime(d.ftLastWriteTime);
}

bool FileSetDate(const std::string& fileName, TDateTime when) {
  TSystemTime s = DateTimeToSystemTime(when);
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(s.Year);
  st.wMonth = static_cast<WORD>(s.Month);
  st.wDay = static_cast<WORD>(s.Day);
  st.wHour = static_cast<WORD>(s.Hour);
  st.wMinute = static_cast<WORD>(s.Minute);
  st.wSecond = static_cast<WORD>(s.Second);
  st.wMilliseconds = static_cast<WORD>(s.Milliseconds);
  FILETIME local, utc;
  if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return false;
  HANDLE h = CreateFileA(fileName.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BOOL ok = SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
  return ok != 0;
}

int FileGetAttr(const std::string& fileName) {
  DWORD a = GetFileAttributesA(fileName.c_str());
  return a == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int>(a);
}

bool FileSetAttr(const std::string& fileName, int attr) {
  return SetFileAttributesA(fileName.c_str(), static_cast<DWORD>(attr)) != 0;
}

std::string GetCurrentDir() {
  DWORD n = GetCurrentDirectoryA(0, nullptr);
  std::vector<char> buf(n + 1);
  DWORD m = GetCurrentDirectoryA(static_cast<DWORD>(buf.size()), buf.data());
  return std::string(buf.data(), m);
}

bool SetCurrentDir(const std::string& dir) { return SetCurrentDirectoryA(dir.c_str()) != 0; }

std::string GetTempPath() {
  char buf[MAX_PATH + 2];
  DWORD n = ::GetTempPathA(sizeof buf, buf);
  if (n == 0 || n >= sizeof buf) return "C:\\";
  return IncludeTrailingPathDelimiter(std::string(buf, n));
}

int64_t DiskFree(const std::string& path) {
  ULARGE_INTEGER freeToCaller, total, totalFree;
  if (!GetDiskFreeSpaceExA(path.c_str(), &freeToCaller, &total, &totalFree)) return -1;
  return static_cast<int64_t>(freeToCaller.QuadPart);
}

int64_t DiskSize(const std::string& path) {
  ULARGE_INTEGER freeToCaller, total, totalFree;
  if (!GetDiskFreeSpaceExA(path.c_str(), &freeToCaller, &total, &totalFree)) return -1;
  return static_cast<int64_t>(total.QuadPart);
}

namespace {
std::vector<std::string> CommandLineArgs() {
  // The Microsoft C runtime's rules: blanks separate, quotes group, 2n
  // backslashes before a quote make n, 2n+1 make n and a literal quote.
  std::vector<std::string> args;
  const char* p = GetCommandLineA();
  while (*p) {
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) break;
    std::string arg;
    bool quoted = false;
    while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
      if (*p == '\\') {
        int n = 0;
        while (*p == '\\') ++n, ++p;
        if (*p == '"') {
          arg.append(static_cast<size_t>(n / 2), '\\');
          if (n % 2) {
            arg += '"';
            ++p;
          }
        } else {
          arg.append(static_cast<size_t>(n), '\\');
        }
      } else if (*p == '"') {
        if (quoted && p[1] == '"') {
          arg += '"';
          p += 2;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        arg += *p++;
      }
    }
    args.push_back(arg);
  }
  return args;
}
}  // namespace

std::string ParamStr(int index) {
  if (index == 0) {
    char buf[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    return std::string(buf, n);
  }
  std::vector<std::string> args = CommandLineArgs();
  return index > 0 && index < static_cast<int>(args.size()) ? args[static_cast<size_t>(index)] : std::string();
}

int ParamCount() {
  size_t n = CommandLineArgs().size();
  return n > 0 ? static_cast<int>(n) - 1 : 0;
}

std::string ExtractShortPathName(const std::string& fileName) {
  char buf[MAX_PATH + 1];
  DWORD n = GetShortPathNameA(fileName.c_str(), buf, sizeof buf);
  return n == 0 || n > MAX_PATH ? std::string() : std::string(buf, n);
}

std::string ExpandFileName(const std::string& fileName) {
  if (fileName.empty()) return GetCurrentDir();
  char buf[MAX_PATH + 1];
  char* filePart = nullptr;
  DWORD n = GetFullPathNameA(fileName.c_str(), sizeof buf, buf, &filePart);
  if (n == 0) return fileName;
  if (n > MAX_PATH) {
    std::vector<char> big(n + 1);
    n = GetFullPathNameA(fileName.c_str(), n + 1, big.data(), &filePart);
    return std::string(big.data(), n);
  }
  return std::string(buf, n);
}

// ---- Handles -----------------------------------------------------------------

THandle FileOpen(const std::string& fileName, uint16_t mode) {
  static const DWORD access[3] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD share[5] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  unsigned a = mode & 3;
  unsigned s = (mode & 0xF0) >> 4;
  if (a > 2 || s > 4) return INVALID_FILE_HANDLE;
  HANDLE h = CreateFileA(fileName.c_str(), access[a], share[s], nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  return h == INVALID_HANDLE_VALUE ? INVALID_FILE_HANDLE : reinterpret_cast<THandle>(h);
}

THandle FileCreate(const std::string& fileName) {
  HANDLE h = CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? INVALID_FILE_HANDLE : reinterpret_cast<THandle>(h);
}

int64_t FileRead(THandle h, void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t total = 0;
  char* p = static_cast<char*>(buffer);
  while (total < count) {
    DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count - total, 0x40000000));
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(h), p + total, chunk, &got, nullptr)) return total > 0 ? total : -1;
    if (got == 0) break;
    total += got;
  }
  return total;
}

int64_t FileWrite(THandle h, const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t total = 0;
  const char* p = static_cast<const char*>(buffer);
  while (total < count) {
    DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count - total, 0x40000000));
    DWORD put = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(h), p + total, chunk, &put, nullptr)) return total > 0 ? total : -1;
    if (put == 0) break;
    total += put;
  }
  return total;
}

int64_t FileSeek(THandle h, int64_t offset, int origin) {
  LARGE_INTEGER dist, result;
  dist.QuadPart = offset;
  DWORD method = origin == 1 ? FILE_CURRENT : (origin == 2 ? FILE_END : FILE_BEGIN);
  if (!SetFilePointerEx(reinterpret_cast<HANDLE>(h), dist, &result, method)) return -1;
  return result.QuadPart;
}

bool FileTruncate(THandle h, int64_t size) {
  if (FileSeek(h, size, 0) < 0) return false;
  return SetEndOfFile(reinterpret_cast<HANDLE>(h)) != 0;
}

bool FileFlush(THandle h) { return FlushFileBuffers(reinterpret_cast<HANDLE>(h)) != 0; }

void FileClose(THandle h) {
  if (h != INVALID_FILE_HANDLE) CloseHandle(reinterpret_cast<HANDLE>(h));
}

// ---- Directory search --------------------------------------------------------------

int FindFirst(const std::string& path, int attr, TSearchRec& f) {
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA(path.c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) {
    f.FindHandle = nullptr;
    return static_cast<int>(GetLastError());
  }
  auto* data = new TFindData;
  data->Handle = h;
  f.FindHandle = data;
  f.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  int r = FindMatching(f, d);
  if (r != 0) FindClose(f);
  return r;
}

int FindNext(TSearchRec& f) {
  auto* data = static_cast<TFindData*>(f.FindHandle);
  if (!data) return ERROR_NO_MORE_FILES;
  WIN32_FIND_DATAA d;
  if (!FindNextFileA(data->Handle, &d)) return static_cast<int>(GetLastError());
  return FindMatching(f, d);
}

void FindClose(TSearchRec& f) {
  auto* data = static_cast<TFindData*>(f.FindHandle);
  if (data) {
    ::FindClose(data->Handle);
    delete data;
  }
  f.FindHandle = nullptr;
}

int GetLastOSError() { return static_cast<int>(GetLastError()); }

std::string SysErrorMessage(int errorCode) {
  char* buf = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                           nullptr, static_cast<DWORD>(errorCode), 0, reinterpret_cast<char*>(&buf), 0, nullptr);
  std::string s = n ? std::string(buf, n) : std::string();
  if (buf) LocalFree(buf);
  // Without the line break and full stop the system puts at the end.
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s;
}

void RaiseLastOSError() {
  int code = GetLastOSError();
  if (code != 0)
    throw EOSError(code, Format("System Error.  Code: %d.\r\n%s", {code, SysErrorMessage(code)}));
  throw EOSError(0, "A call to an OS function failed");
}

}  // namespace tq
