// Files and folders for the native build. Windows-style "\" separators in
// paths are taken as "/".
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <vector>

#include "FileUtils.h"
#include "SysUtils.h"

namespace tq {

namespace {

std::string Native(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

TDateTime LocalFromTimeT(time_t t) {
  struct tm tm {};
  localtime_r(&t, &tm);
  TSystemTime st{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
  return SystemTimeToDateTime(st);
}

int AttrOf(const std::string& name, const struct stat& st) {
  int attr = 0;
  if (S_ISDIR(st.st_mode)) attr |= faDirectory;
  if (!(st.st_mode & S_IWUSR)) attr |= faReadOnly;
  if (!S_ISDIR(st.st_mode)) attr |= faArchive;
  (void)name;
  return attr;
}

// Windows wildcard match, case-insensitive; "*.*" matches every name.
bool WildMatch(const char* p, const char* s) {
  while (*p) {
    if (*p == '*') {
      while (*p == '*') ++p;
      if (!*p) return true;
      for (; *s; ++s)
        if (WildMatch(p, s)) return true;
      return WildMatch(p, s);
    }
    if (!*s) return false;
    if (*p != '?' && std::tolower(static_cast<unsigned char>(*p)) != std::tolower(static_cast<unsigned char>(*s)))
      return false;
    ++p;
    ++s;
  }
  return *s == 0;
}

struct TFindData {
  DIR* Dir = nullptr;
  std::string Folder;
  std::string Pattern;
};

}  // namespace

bool FileExists(const std::string& fileName) {
  struct stat st {};
  return stat(Native(fileName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& dir) {
  struct stat st {};
  return stat(Native(dir).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& dir) { return mkdir(Native(dir).c_str(), 0777) == 0; }

bool ForceDirectories(const std::string& dir) {
  std::string d = ExcludeTrailingPathDelimiter(dir);
  if (d.empty()) return false;
  if (DirectoryExists(d)) return true;
  std::string parent = ExtractFilePath(d);
  if (!parent.empty() && parent != d && ExcludeTrailingPathDelimiter(parent) != d &&
      !ForceDirectories(parent) && !DirectoryExists(parent))
    return false;
  return CreateDir(d) || DirectoryExists(d);
}

bool RemoveDir(const std::string& dir) { return rmdir(Native(dir).c_str()) == 0; }

bool DeleteFile(const std::string& fileName) {
  if (DirectoryExists(fileName)) return false;
  return unlink(Native(fileName).c_str()) == 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
  // As on Windows: an existing target is not replaced.
  struct stat st {};
  if (lstat(Native(newName).c_str(), &st) == 0) return false;
  return rename(Native(oldName).c_str(), Native(newName).c_str()) == 0;
}

bool RenameFileReplacing(const std::string& source, const std::string& dest) {
  if (DirectoryExists(dest)) return false;
  return rename(Native(source).c_str(), Native(dest).c_str()) == 0;
}

bool CopyFile(const std::string& source, const std::string& dest, bool failIfExists) {
  if (failIfExists && (FileExists(dest) || DirectoryExists(dest))) return false;
  std::ifstream in(Native(source), std::ios::binary);
  if (!in) return false;
  std::ofstream out(Native(dest), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << in.rdbuf();
  out.flush();
  return static_cast<bool>(out);
}

int64_t FileSize(const std::string& fileName) {
  struct stat st {};
  if (stat(Native(fileName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

TDateTime FileAge(const std::string& fileName) {
  struct stat st {};
  if (stat(Native(fileName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return LocalFromTimeT(st.st_mtime);
}

bool FileSetDate(const std::string& fileName, TDateTime when) {
  TSystemTime s = DateTimeToSystemTime(when);
  struct tm tm {};
  tm.tm_year = s.Year - 1900;
  tm.tm_mon = s.Month - 1;
  tm.tm_mday = s.Day;
  tm.tm_hour = s.Hour;
  tm.tm_min = s.Minute;
  tm.tm_sec = s.Second;
  tm.tm_isdst = -1;
  time_t t = mktime(&tm);
  struct timeval tv[2] = {{t, 0}, {t, 0}};
  return utimes(Native(fileName).c_str(), tv) == 0;
}

int FileGetAttr(const std::string& fileName) {
  struct stat st {};
  if (stat(Native(fileName).c_str(), &st) != 0) return -1;
  return AttrOf(fileName, st);
}

bool FileSetAttr(const std::string& fileName, int attr) {
  struct stat st {};
  std::string p = Native(fileName);
  if (stat(p.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (attr & faReadOnly)
    mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
  else
    mode |= S_IWUSR;
  return chmod(p.c_str(), mode) == 0;
}

std::string GetCurrentDir() {
  std::vector<char> buf(PATH_MAX + 1);
  if (!getcwd(buf.data(), buf.size())) return {};
  return buf.data();
}

bool SetCurrentDir(const std::string& dir) { return chdir(Native(dir).c_str()) == 0; }

std::string GetTempPath() {
  const char* t = std::getenv("TMPDIR");
  std::string p = (t && *t) ? t : "/tmp";
  if (p.back() != '/') p += '/';
  return p;
}

int64_t DiskFree(const std::string& path) {
  struct statvfs st {};
  if (statvfs(Native(path).c_str(), &st) != 0) return -1;
  return static_cast<int64_t>(st.f_bavail) * static_cast<int64_t>(st.f_frsize);
}

int64_t DiskSize(const std::string& path) {
  struct statvfs st {};
  if (statvfs(Native(path).c_str(), &st) != 0) return -1;
  return static_cast<int64_t>(st.f_blocks) * static_cast<int64_t>(st.f_frsize);
}

std::string ParamStr(int index) {
  if (index == 0) {
    std::vector<char> buf(PATH_MAX + 1);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    return n > 0 ? std::string(buf.data(), static_cast<size_t>(n)) : std::string();
  }
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string arg;
  for (int i = 0; std::getline(in, arg, '\0'); ++i)
    if (i == index) return arg;
  return {};
}

int ParamCount() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string arg;
  int n = 0;
  while (std::getline(in, arg, '\0')) ++n;
  return n > 0 ? n - 1 : 0;
}

std::string ExtractShortPathName(const std::string& fileName) { return FileExists(fileName) || DirectoryExists(fileName) ? fileName : std::string(); }

std::string ExpandFileName(const std::string& fileName) {
  std::string p = Native(fileName);
  if (p.empty()) return GetCurrentDir();
  if (p[0] != '/') p = GetCurrentDir() + "/" + p;
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= p.size()) {
    size_t e = p.find('/', i);
    if (e == std::string::npos) e = p.size();
    std::string part = p.substr(i, e - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = e + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  if (out.empty()) out = "/";
  if (p.back() == '/' && out.back() != '/') out += '/';
  return out;
}

// ---- Handles -----------------------------------------------------------------

THandle FileOpen(const std::string& fileName, uint16_t mode) {
  int flags;
  switch (mode & 3) {
    case fmOpenWrite: flags = O_WRONLY; break;
    case fmOpenReadWrite: flags = O_RDWR; break;
    default: flags = O_RDONLY; break;
  }
  std::string p = Native(fileName);
  if (DirectoryExists(fileName)) return INVALID_FILE_HANDLE;
  int fd = open(p.c_str(), flags | O_CLOEXEC);
  return fd < 0 ? INVALID_FILE_HANDLE : static_cast<THandle>(fd);
}

THandle FileCreate(const std::string& fileName) {
  int fd = open(Native(fileName).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return fd < 0 ? INVALID_FILE_HANDLE : static_cast<THandle>(fd);
}

int64_t FileRead(THandle h, void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t total = 0;
  char* p = static_cast<char*>(buffer);
  while (total < count) {
    ssize_t n = read(static_cast<int>(h), p + total, static_cast<size_t>(count - total));
    if (n < 0) {
      if (errno == EINTR) continue;
      return total > 0 ? total : -1;
    }
    if (n == 0) break;
    total += n;
  }
  return total;
}

int64_t FileWrite(THandle h, const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t total = 0;
  const char* p = static_cast<const char*>(buffer);
  while (total < count) {
    ssize_t n = write(static_cast<int>(h), p + total, static_cast<size_t>(count - total));
    if (n < 0) {
      if (errno == EINTR) continue;
      return total > 0 ? total : -1;
    }
    total += n;
  }
  return total;
}

int64_t FileSeek(THandle h, int64_t offset, int origin) {
  int whence = origin == 1 ? SEEK_CUR : (origin == 2 ? SEEK_END : SEEK_SET);
  off_t r = lseek(static_cast<int>(h), static_cast<off_t>(offset), whence);
  return r < 0 ? -1 : static_cast<int64_t>(r);
}

bool FileTruncate(THandle h, int64_t size) { return ftruncate(static_cast<int>(h), static_cast<off_t>(size)) == 0; }

bool FileFlush(THandle h) { return fsync(static_cast<int>(h)) == 0; }

void FileClose(THandle h) {
  if (h != INVALID_FILE_HANDLE) close(static_cast<int>(h));
}

// ---- Directory search --------------------------------------------------------------

namespace {
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorPathNotFound = 3;
constexpr int kErrorNoMoreFiles = 18;

int FindMatching(TSearchRec& f) {
  auto* data = static_cast<TFindData*>(f.FindHandle);
  while (struct dirent* e = readdir(data->Dir)) {
    const char* name = e->d_name;
    if (!WildMatch(data->Pattern.c_str(), name)) continue;
    struct stat st {};
    if (stat((data->Folder + name).c_str(), &st) != 0) continue;
    int attr = AttrOf(name, st);
    if (attr & f.ExcludeAttr) continue;
    f.Name = name;
    f.Attr = attr;
    f.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
    f.Time = LocalFromTimeT(st.st_mtime);
    return 0;
  }
  return kErrorNoMoreFiles;
}
}  // namespace

int FindFirst(const std::string& path, int attr, TSearchRec& f) {
  std::string p = Native(path);
  size_t slash = p.rfind('/');
  auto* data = new TFindData;
  data->Folder = slash == std::string::npos ? std::string("./") : p.substr(0, slash + 1);
  data->Pattern = slash == std::string::npos ? p : p.substr(slash + 1);
  if (data->Pattern == "*.*") data->Pattern = "*";
  data->Dir = opendir(data->Folder.c_str());
  if (!data->Dir) {
    delete data;
    f.FindHandle = nullptr;
    return kErrorPathNotFound;
  }
  f.FindHandle = data;
  f.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  int r = FindMatching(f);
  if (r != 0) {
    FindClose(f);
    return kErrorFileNotFound;
  }
  return 0;
}

int FindNext(TSearchRec& f) {
  if (!f.FindHandle) return kErrorNoMoreFiles;
  return FindMatching(f);
}

void FindClose(TSearchRec& f) {
  auto* data = static_cast<TFindData*>(f.FindHandle);
  if (data) {
    closedir(data->Dir);
    delete data;
  }
  f.FindHandle = nullptr;
}

int GetLastOSError() { return errno; }

std::string SysErrorMessage(int errorCode) { return std::strerror(errorCode); }

void RaiseLastOSError() {
  int code = GetLastOSError();
  throw EOSError(code, Format("System Error.  Code: %d.\r\n%s", {code, SysErrorMessage(code)}));
}

}  // namespace tq
