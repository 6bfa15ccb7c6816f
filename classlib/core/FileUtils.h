#pragma once
// Files and folders, backed by the platform. Paths are Windows-style
// ("C:\dir\file.txt"); the native build also accepts its own "/" paths.
#include <cstdint>
#include <string>

#include "Classes.h"  // THandle, fm* modes
#include "DateTime.h"

// windows.h maps some of these names to its own ("DeleteFile" -> "DeleteFileA").
// Take the names back here, and answer to the mapped names too, so that these
// functions work whether windows.h comes before or after this header.
#undef DeleteFile
#undef CopyFile
#undef GetTempPath

namespace tq {

// File attributes (the Windows bits).
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faNormal = 0x80;
constexpr int faAnyFile = 0x3F;

bool FileExists(const std::string& fileName);       // a file, not a folder
bool DirectoryExists(const std::string& dir);
bool CreateDir(const std::string& dir);
bool ForceDirectories(const std::string& dir);       // creates every missing level
bool RemoveDir(const std::string& dir);              // an empty folder
bool DeleteFile(const std::string& fileName);
bool RenameFile(const std::string& oldName, const std::string& newName);
// Moves source over dest, replacing dest in one step when it exists.
bool RenameFileReplacing(const std::string& source, const std::string& dest);
bool CopyFile(const std::string& source, const std::string& dest, bool failIfExists);
int64_t FileSize(const std::string& fileName);       // -1 when missing
// Last-modified time as a local TDateTime; -1 when the file is missing.
TDateTime FileAge(const std::string& fileName);
bool FileSetDate(const std::string& fileName, TDateTime when);
int FileGetAttr(const std::string& fileName);        // -1 when missing
bool FileSetAttr(const std::string& fileName, int attr);
std::string GetCurrentDir();                         // without a trailing "\" (except a root)
bool SetCurrentDir(const std::string& dir);
std::string GetTempPath();                           // the user's temporary folder, with a trailing "\"
// Free and total bytes of the volume holding path ("A:\", a folder); -1 when unknown.
int64_t DiskFree(const std::string& path);
int64_t DiskSize(const std::string& path);
std::string ParamStr(int index);                     // 0: this program's path
int ParamCount();
std::string ExtractShortPathName(const std::string& fileName);

// Low-level handle I/O (used by THandleStream); INVALID_FILE_HANDLE on failure.
THandle FileOpen(const std::string& fileName, uint16_t mode);
THandle FileCreate(const std::string& fileName);
int64_t FileRead(THandle h, void* buffer, int64_t count);        // -1 on failure
int64_t FileWrite(THandle h, const void* buffer, int64_t count); // -1 on failure
int64_t FileSeek(THandle h, int64_t offset, int origin);         // -1 on failure
bool FileTruncate(THandle h, int64_t size);
bool FileFlush(THandle h);  // the written data reaches the disk
void FileClose(THandle h);

// Directory search. Attr is the wanted attribute set: plain files always match;
// folders, hidden and system entries only when their bit is asked for.
struct TSearchRec {
  std::string Name;
  int64_t Size = 0;
  int Attr = 0;
  TDateTime Time = 0;  // last-modified, local
  void* FindHandle = nullptr;  // internal
  int ExcludeAttr = 0;         // internal
};
// path: a folder plus a pattern with "*" and "?" ("C:\dir\*.txt"). 0 on success.
int FindFirst(const std::string& path, int attr, TSearchRec& f);
int FindNext(TSearchRec& f);
void FindClose(TSearchRec& f);

// The system's last error number and its text.
int GetLastOSError();
std::string SysErrorMessage(int errorCode);
[[noreturn]] void RaiseLastOSError();

inline bool DeleteFileA(const std::string& fileName) { return DeleteFile(fileName); }
inline bool CopyFileA(const std::string& source, const std::string& dest, bool failIfExists) {
  return CopyFile(source, dest, failIfExists);
}
inline std::string GetTempPathA() { return GetTempPath(); }

}  // namespace tq
