#include "SimpFTP.h"

#include <cmath>

#include "Classes.h"
#include "FileUtils.h"
#include "Forms.h"
#include "ProgressBar.h"
#include "RGFileutil.h"
#include "RGStrFuncs.h"
#include "StdCtrls.h"

namespace tq {

namespace {

constexpr DWORD ResponseBufferSize = 1024;

DWORD TransferFlag(int Type) {
  switch (Type) {
    case ttBinary: return FTP_TRANSFER_TYPE_BINARY;
    case ttAscii: return FTP_TRANSFER_TYPE_ASCII;
    default: return FTP_TRANSFER_TYPE_UNKNOWN;
  }
}

// Dir as the server gets it: without one trailing "/" or "\".
std::string ServerDir(const std::string& Dir) { return RemoveTrailingSlash(Dir); }

}  // namespace

TSimpleFTP::TSimpleFTP(TComponent* owner) : TWinInetControl(owner), FList(new TStringList) { Port = 21; }

TSimpleFTP::~TSimpleFTP() {
  BeginDestroy();
  if (FFtp) InternetSetStatusCallbackA(FFtp, nullptr);
  TSimpleFTP::Disconnect();
  delete FList;
}

bool TSimpleFTP::Fail(const std::string& Message) {
  if (!SilentExceptions) throw ESimpleFTPError(Message);
  return false;
}

void TSimpleFTP::SetFileSystemType(int Type) {
  if (!FFtp) FFileSystemType = Type;
}

bool TSimpleFTP::Connect() {
  bool result = TWinInetControl::Connect();
  if (OnLogin) OnLogin(this, UserName, Password);
  if (FInternet && !FFtp) {
    if (Passive) FConnectFlags |= INTERNET_FLAG_PASSIVE;
    FFtp = InternetConnectA(FInternet, HostName.c_str(), static_cast<INTERNET_PORT>(Port), UserName.c_str(),
                            Password.c_str(), INTERNET_SERVICE_FTP, FConnectFlags, reinterpret_cast<DWORD_PTR>(this));
    if (FFtp) {
      result = true;
      DWORD error = 0;
      DWORD length = ResponseBufferSize;
      char buffer[ResponseBufferSize] = "";
      if (InternetGetLastResponseInfoA(&error, buffer, &length) && buffer[0])
        FLastResponse = buffer;
      else
        FLastResponse = "No error description available";
      if (!FRemoteDir.empty()) ChangeDir(FRemoteDir);
      if (OnConnected) OnConnected(this);
    } else {
      const DWORD code = GetLastError();
      InternetCloseHandle(FInternet);
      FInternet = nullptr;
      HandleError(code);
    }
  }
  return result;
}

bool TSimpleFTP::Disconnect() {
  if (FFtp) {
    InternetCloseHandle(FFtp);
    FFtp = nullptr;
  }
  return TWinInetControl::Disconnect();
}

void TSimpleFTP::HandleError(DWORD Code) { TWinInetControl::HandleError(Code); }

void TSimpleFTP::StatusCallback(HINTERNET Handle, DWORD Status, void* Info, DWORD InfoLength) {
  TWinInetControl::StatusCallback(Handle, Status, Info, InfoLength);
  if (Status == INTERNET_STATUS_REQUEST_SENT || Status == INTERNET_STATUS_RESPONSE_RECEIVED) {
    DWORD count = 0;
    if (Info && InfoLength >= sizeof(DWORD)) count = *static_cast<const DWORD*>(Info);
    FProgress.BytesDone += count;
    if (count == 0 || FProgress.BytesDone > FProgress.BytesTotal) FProgress.BytesDone = FProgress.BytesTotal;
    if (OnTransferProgress && FSending) OnTransferProgress(this, FProgress);
    if (QuickProgress) UpdateProgress();
  }
  if (Application) Application->ProcessMessages();
}

void TSimpleFTP::UpdateProgress() {
  if (QuickProgressMajor) {
    QuickProgressMajor->SetMax(FProgress.MajorMax);
    QuickProgressMajor->SetPosition(FProgress.MajorPosition);
  }
  if (QuickProgressMinor) {
    QuickProgressMinor->SetMax(100);
    QuickProgressMinor->SetPosition(
        FProgress.BytesTotal < 1
            ? 0
            : static_cast<int>(std::lround(static_cast<double>(FProgress.BytesDone) * 100 / FProgress.BytesTotal)));
  }
  if (QuickLabelMajor && FProgress.MajorMax >= 1)
    QuickLabelMajor->SetCaption(IntToStr(FProgress.MajorPosition) + " of " + IntToStr(FProgress.MajorMax));
  if (QuickLabelMinor) QuickLabelMinor->SetCaption(FProgress.FileName);
}

std::string TSimpleFTP::RemoteDir() {
  if (!FFtp) return FRemoteDir;
  char buffer[ResponseBufferSize] = "";
  DWORD length = ResponseBufferSize;
  InternetSetStatusCallbackA(FFtp, nullptr);
  const bool asked = FtpGetCurrentDirectoryA(FFtp, buffer, &length);
  InternetSetStatusCallbackA(FFtp, &TWinInetControl::Notify);
  return asked ? std::string(buffer) : FRemoteDir;
}

bool TSimpleFTP::ChangeDir(const std::string& Dir) {
  if (!FFtp) {
    FRemoteDir = Dir;
    return true;
  }
  if (FtpSetCurrentDirectoryA(FFtp, ServerDir(Dir).c_str())) {
    FRemoteDir = Dir;
    if (OnDirectoryChange) OnDirectoryChange(this);
    return true;
  }
  if (FFileSystemType == 1) return false;
  return Fail(Format("Couldn't change to directory %s", {Dir}));
}

bool TSimpleFTP::RemoteDirExists(const std::string& Dir) {
  if (!FFtp) return Fail("Not connected!");
  const std::string previous = RemoteDir();
  const bool exists = ChangeDir(Dir);
  ChangeDir(previous);
  return exists;
}

bool TSimpleFTP::MakeDir(const std::string& Dir) {
  if (!FFtp) return Fail("Not connected!");
  std::string name = ServerDir(Dir);
  const size_t cut = name.find_last_of("\\:");
  if (cut != std::string::npos) name = name.substr(cut + 1);
  if (FtpCreateDirectoryA(FFtp, name.c_str())) return true;
  return Fail(Format("Error creating directory %s", {Dir}));
}

std::string TSimpleFTP::RemotePath(const std::string& Name) {
  if (Name.find('/') != std::string::npos) return Name;
  std::string dir = RemoteDir();
  if (FFileSystemType == 0 && (dir.empty() || dir.back() != '/')) dir += "/";
  return dir + Name;
}

bool TSimpleFTP::DeleteFile(const std::string& Name) {
  const std::string remote = RemotePath(Name);
  if (FFtp && FtpDeleteFileA(FFtp, remote.c_str())) return true;
  return Fail(Format("Error deleting %s", {remote}));
}

bool TSimpleFTP::PutFile(const std::string& Local) {
  std::string local = Local;
  if (Local.find('\\') == std::string::npos) local = AddBackslash(LocalDir) + Local;
  const std::string remote = RemotePath(ExtractFileName(local));
  if (!FFtp) Fail("Not connected!");
  if (!FileExists(local)) Fail(Format("Error putting %s to %s: local file not found", {local, remote}));
  FProgress.BytesDone = 0;
  FProgress.BytesTotal = RGFileutil::FileSize(local);
  FProgress.FileName = local;
  CurFileSize = FProgress.BytesTotal;
  FSending = true;
  const bool sent =
      FtpPutFileA(FFtp, local.c_str(), remote.c_str(), TransferFlag(TransferType), reinterpret_cast<DWORD_PTR>(this));
  FSending = false;
  if (sent) return true;
  return Fail(Format("Error putting %s to %s", {local, remote}));
}

}  // namespace tq
