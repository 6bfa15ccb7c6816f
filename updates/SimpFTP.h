#pragma once
// A blocking FTP client over WinINet: one connection, its current remote
// directory, directory checks and creation, deletes and uploads.
//
// Remote names: a name without "/" is taken relative to RemoteDir (with a "/"
// between when RemoteDir lacks one and FileSystemType is 0). Directories are
// sent without one trailing "/" or "\" (a one-character directory as it is).
// With SilentExceptions (the default) failures are false results only; the one
// exception that still escapes is EFOpenError "Cannot open file %s" for a
// local file that vanished in PutFile. Otherwise ESimpleFTPError is raised
// with "Not connected!", "Couldn't change to directory %s", "Error creating
// directory %s", "Error deleting %s", "Error putting %s to %s: local file not
// found" or "Error putting %s to %s" (local, remote).
#include <cstdint>
#include <functional>
#include <string>

#include "WinInetControl.h"

// windows.h maps DeleteFile to DeleteFileA; the client's own DeleteFile keeps its name.
#undef DeleteFile

namespace tq {

class TLabel;

TQ_EXCEPTION_CLASS(ESimpleFTPError, Exception);

// The current transfer: bytes done and total of the current file, the major
// position and maximum (never set by the system, they stay 0) and the name of
// the file being sent.
struct TTransferProgress {
  int64_t BytesDone = 0;
  int64_t BytesTotal = 0;
  int MajorPosition = 0;
  int MajorMax = 0;
  std::string FileName;
};

// Transfer types.
enum TFtpTransferType { ttBinary = 0, ttAscii = 1, ttDefault = 2 };

class TSimpleFTP : public TWinInetControl {
 public:
  explicit TSimpleFTP(TComponent* owner);
  ~TSimpleFTP() override;
  std::string ClassName() const override { return "TSimpleFTP"; }

  int TransferType = ttBinary;
  std::string LocalDir;
  bool FailIfExistsOnGet = false;
  bool Passive = false;
  int64_t CurFileSize = 0;
  TProgressBar* QuickProgressMajor = nullptr;
  TLabel* QuickLabelMajor = nullptr;
  TLabel* QuickLabelMinor = nullptr;
  std::function<void(TObject* Sender, std::string& UserName, std::string& Password)> OnLogin;
  std::function<void(TObject* Sender, const TTransferProgress& Progress)> OnTransferProgress;
  TNotifyEvent OnDirectoryChange;
  std::function<void(TObject* Sender, const std::string& Name)> OnFindItem;
  TNotifyEvent& OnDisconnected() { return FOnDisconnected; }

  // 0: "/" separated (the default). Changes only while not connected.
  int FileSystemType() const { return FFileSystemType; }
  void SetFileSystemType(int Type);

  // Connected: the server's current directory (the stored value when the
  // server does not say); else the stored value. Writing calls ChangeDir.
  std::string RemoteDir();
  void SetRemoteDir(const std::string& Dir) { ChangeDir(Dir); }
  bool Connected() const { return FFtp != nullptr; }
  // The server's last response text after Connect.
  const std::string& LastResponse() const { return FLastResponse; }
  const TTransferProgress& Progress() const { return FProgress; }

  bool Connect() override;
  bool Disconnect() override;
  void UpdateProgress() override;
  void HandleError(DWORD Code) override;
  void StatusCallback(HINTERNET Handle, DWORD Status, void* Info, DWORD InfoLength) override;

  // Connected: changes the server's directory; not connected: stores Dir for
  // the next connection and answers true.
  bool ChangeDir(const std::string& Dir);
  // Whether the server can change to Dir; the current directory stays.
  bool RemoteDirExists(const std::string& Dir);
  bool MakeDir(const std::string& Dir);
  bool DeleteFile(const std::string& Name);
  // Sends a local file (relative to LocalDir when it has no "\") under its
  // file name, relative to RemoteDir.
  bool PutFile(const std::string& Local);

 private:
  bool Fail(const std::string& Message);
  std::string RemotePath(const std::string& Name);
  HINTERNET FFtp = nullptr;
  std::string FRemoteDir;
  std::string FLastResponse;
  TStringList* FList = nullptr;
  TTransferProgress FProgress;
  bool FSending = false;
  int FFileSystemType = 0;
};

}  // namespace tq
