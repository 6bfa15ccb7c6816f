// The file handler over real files: one file stream per open file, known to the
// library by the stream's OS handle.
#include <windows.h>

#include <algorithm>

#include "Cabinet.h"
#include "FileUtils.h"

namespace tq {

namespace {

// The platform's last error, never 0 for a call that failed.
int FailureCode() {
  DWORD code = GetLastError();
  return code ? static_cast<int>(code) : static_cast<int>(ERROR_OPEN_FAILED);
}

// A stream over a file it opened and closes. The file is opened before the
// stream is made, so that a failed open leaves the platform's error readable.
class TOwnedFileStream : public THandleStream {
 public:
  explicit TOwnedFileStream(THandle handle) : THandleStream(handle) {}
  ~TOwnedFileStream() override { FileClose(FHandle); }
};

}  // namespace

const TPropertyTable& TCabinetFileHandler::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TCabinetFileHandler>("TCabinetFileHandler", TComponent::ClassProperties())
          .Build();
  return table;
}

const TPropertyTable& TStreamCabinetFileHandler::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TStreamCabinetFileHandler>("TStreamCabinetFileHandler",
                                                  TCabinetFileHandler::ClassProperties())
          .Build();
  return table;
}

TStreamCabinetFileHandler::TStreamCabinetFileHandler(TComponent* AOwner)
    : TCabinetFileHandler(AOwner) {}

TStreamCabinetFileHandler::~TStreamCabinetFileHandler() { FStreams.clear(); }

THandle TStreamCabinetFileHandler::Open(const std::string& FileName, int OFlag, int PMode,
                                        int& Err, int Usage) {
  uint16_t mode;
  if (OFlag & cabOpenCreate) {
    mode = fmCreate;  // truncates an existing file; read/write, exclusive
  } else {
    uint16_t access = (OFlag & cabOpenWriteOnly)   ? fmOpenWrite
                      : (OFlag & cabOpenReadWrite) ? fmOpenReadWrite
                                                   : fmOpenRead;
    uint16_t share = (OFlag & cabOpenExclusive) ? fmShareExclusive : fmShareDenyNone;
    mode = access | share;
  }
  THandle handle = (mode == fmCreate) ? FileCreate(FileName) : FileOpen(FileName, mode);
  if (handle == INVALID_FILE_HANDLE) {
    Err = FailureCode();
    return -1;
  }
  auto stream = std::make_unique<TOwnedFileStream>(handle);
  FStreams.push_back(std::move(stream));
  Err = 0;
  return handle;
}

THandleStream* TStreamCabinetFileHandler::FindStream(THandle FileHandle) const {
  for (const auto& s : FStreams)
    if (s->Handle() == FileHandle) return s.get();
  return nullptr;
}

int TStreamCabinetFileHandler::Read(THandle FileHandle, void* Buffer, int Count, int& Err) {
  THandleStream* stream = FindStream(FileHandle);
  if (!stream) {
    Err = -1;
    return 0;
  }
  SetLastError(0);
  int64_t moved = stream->Read(Buffer, Count);
  if (moved < 0) {
    Err = FailureCode();
    return -1;
  }
  Err = moved < Count ? static_cast<int>(GetLastError()) : 0;
  return static_cast<int>(moved);
}

int TStreamCabinetFileHandler::Write(THandle FileHandle, const void* Buffer, int Count, int& Err) {
  THandleStream* stream = FindStream(FileHandle);
  if (!stream) {
    Err = -1;
    return 0;
  }
  SetLastError(0);
  int64_t moved = stream->Write(Buffer, Count);
  if (moved < 0) {
    Err = FailureCode();
    return -1;
  }
  Err = moved < Count ? FailureCode() : 0;
  return static_cast<int>(moved);
}

int TStreamCabinetFileHandler::Close(THandle FileHandle, int& Err) {
  Err = 0;
  auto it = std::find_if(FStreams.begin(), FStreams.end(),
                         [&](const auto& s) { return s->Handle() == FileHandle; });
  if (it != FStreams.end()) FStreams.erase(it);  // frees the stream, closing its file
  return 0;
}

int TStreamCabinetFileHandler::Seek(THandle FileHandle, int Distance, int SeekType, int& Err) {
  THandleStream* stream = FindStream(FileHandle);
  if (!stream) {
    Err = -1;
    return 0;
  }
  TSeekOrigin origin = SeekType == 1 ? soCurrent : SeekType == 2 ? soEnd : soBeginning;
  SetLastError(0);
  int64_t pos = stream->Seek(Distance, origin);
  if (pos < 0) {
    Err = FailureCode();
    return -1;
  }
  Err = 0;
  return static_cast<int>(pos);
}

int TStreamCabinetFileHandler::Delete(const std::string& FileName, int& Err) {
  Err = DeleteFileA(FileName.c_str()) ? 0 : FailureCode();
  return 0;
}

}  // namespace tq
