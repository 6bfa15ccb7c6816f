#pragma once
// The cabinet components: TCabinetWriter builds one cabinet from files on disk
// through the platform's cabinet library (FCI), TCabinetReader extracts every
// member of a cabinet into a folder (FDI). Every file either of them touches
// goes through an exchangeable file handler; TStreamCabinetFileHandler is the
// one that works on real files.
//
// The library calls back into these components. Whatever a callback, an event
// handler or a file handler raises is held while the library unwinds and then
// raised again from the component call that started it.
#include <basetsd.h>  // the types the library headers need, without windows.h
#include <fci.h>
#include <fdi.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Component.h"
#include "CabinetSupport.h"
#include "Classes.h"
#include "SysUtils.h"

// The reader's CopyFile keeps its name whether or not windows.h came first.
#pragma push_macro("CopyFile")
#undef CopyFile

namespace tq {

using TCCAB = CCAB;
using TFDIERROR = FDIERROR;

// A failed library call: "Cabinet error %d (type %d)" with the library's
// operation code and error type (FCI's or FDI's error codes).
class ECabinetError : public Exception {
 public:
  ECabinetError(int32_t AErrorCode, int32_t AErrorType);
  int32_t ErrorCode;
  int32_t ErrorType;
};

// The processor the reader tells FDI about (ordinal minus one is FDI's code).
enum TCpuType { cptAuto, cpt80286, cpt80386 };

// The compression of one added file: FCI's type code (0 none, 1 MSZIP,
// 2 Quantum, 3 LZX) and the parameters of the types that take any.
#pragma pack(push, 1)
struct TCabinetCompression {
  uint8_t CompressionType;
  uint8_t LzxWindow;
  uint8_t QuantumLevel;
  uint8_t QuantumMemory;
};
#pragma pack(pop)
static_assert(sizeof(TCabinetCompression) == 4);

// MSZIP; the other bytes are not used for this type.
TCabinetCompression CompressionMSZIP();

// What happens to a member about to be extracted.
enum TFileCopyAction { fcaAbort = 0, fcaSkip = 1, fcaCopy = 2, fcaDefault = 3 };

// Who opens a file through the file handler.
enum TCabinetFileUsage {
  cfuLibrary = 0,    // a file the library opens itself (cabinet, temporary files)
  cfuSource = 1,     // a source file opened for adding
  cfuExtracted = 2,  // an output file created for an extracted member
};

// C run-time open flags the library passes to the file handler.
constexpr int cabOpenWriteOnly = 0x0001;
constexpr int cabOpenReadWrite = 0x0002;
constexpr int cabOpenCreate = 0x0100;
constexpr int cabOpenExclusive = 0x0400;
constexpr int cabOpenBinary = 0x8000;

// The file attributes a cabinet carries for a member (read-only, hidden,
// system, archive); the other bits of the attribute word mean something else
// in a cabinet (0x40 run after extraction, 0x80 name is UTF-8).
constexpr uint16_t cabFileAttributeMask = 0x0027;

// Events (Sender first, then the parameters a handler sees; references are what
// it may change).
using TFileStatusEvent =
    std::function<void(TObject* Sender, int CompressedSize, int UncompressedSize, int& ResultCode)>;
using TFolderStatusEvent =
    std::function<void(TObject* Sender, int SizeCopied, int TotalSize, int& ResultCode)>;
using TCabinetStatusEvent =
    std::function<void(TObject* Sender, int PreEstimatedSize, int ActualSize, int& WantedSize)>;
using TGetNextCabinetEvent =
    std::function<void(TObject* Sender, const TCCAB& CabParameters, std::string& NewCabFileName,
                       int PreviousCabEstimatedSize, bool& AbortCreation)>;
using TFilePlacedEvent =
    std::function<void(TObject* Sender, const TCCAB& CabParameters, const std::string& FileName,
                       int FileLength, bool Continuation, bool& AbortProcessing)>;
using TGetTempFileEvent =
    std::function<void(TObject* Sender, std::string& TempFileName, bool& Success)>;
using TGetOpenInfoEvent =
    std::function<void(TObject* Sender, const std::string& FileName, uint16_t& Date,
                       uint16_t& Time, uint16_t& Attributes, THandle& FileHandle, int& ResultCode)>;
using TCabinetInfoEvent =
    std::function<void(TObject* Sender, const std::string& CabinetName,
                       const std::string& CabinetDisk, const std::string& CabinetPath, int SetId,
                       int CabinetNumber, bool& Abort)>;
using TPartialFileEvent =
    std::function<void(TObject* Sender, const std::string& FileName,
                       const std::string& FirstCabinetName, const std::string& FirstCabinetDisk,
                       bool& Abort)>;
using TCopyFileEvent =
    std::function<void(TObject* Sender, const std::string& FileName, int UncompressedSize,
                       uint16_t Date, uint16_t Time, uint16_t Attribs, TFileCopyAction& Action,
                       THandle& DestFileHandle)>;
using TCloseCopiedFileEvent =
    std::function<void(TObject* Sender, const std::string& FileName, THandle FileHandle,
                       uint16_t Date, uint16_t Time, uint16_t Attribs, int FolderIndex,
                       bool Execute, bool& Abort)>;
using TNextCabinetEvent =
    std::function<void(TObject* Sender, const std::string& NextCabinetName,
                       const std::string& NextCabinetDisk, std::string& CabinetPath,
                       TFDIERROR ErrorIndication, bool& Abort)>;

// ---- File handlers ---------------------------------------------------------

// All file access of the components. A handle is the handler's own; -1 is
// never a valid one. Err receives the platform's error code of a failure.
class TCabinetFileHandler : public TComponent {
 public:
  explicit TCabinetFileHandler(TComponent* AOwner) : TComponent(AOwner) {}
  TQ_PUBLISHED(TCabinetFileHandler)
  // A handle, or -1 with Err set. OFlag and PMode are the C run-time open
  // flags and permission; Usage tells who opens (TCabinetFileUsage).
  virtual THandle Open(const std::string& FileName, int OFlag, int PMode, int& Err,
                       int Usage) = 0;
  // The byte count moved.
  virtual int Read(THandle FileHandle, void* Buffer, int Count, int& Err) = 0;
  virtual int Write(THandle FileHandle, const void* Buffer, int Count, int& Err) = 0;
  // 0.
  virtual int Close(THandle FileHandle, int& Err) = 0;
  // The new position; SeekType 0 from the start, 1 from the current position,
  // 2 from the end.
  virtual int Seek(THandle FileHandle, int Distance, int SeekType, int& Err) = 0;
  // 0.
  virtual int Delete(const std::string& FileName, int& Err) = 0;
};

// Files on disk, one file stream each; the handle is the stream's OS handle.
class TStreamCabinetFileHandler : public TCabinetFileHandler {
 public:
  explicit TStreamCabinetFileHandler(TComponent* AOwner);
  TQ_PUBLISHED(TStreamCabinetFileHandler)
  ~TStreamCabinetFileHandler() override;  // frees every stream still open
  THandle Open(const std::string& FileName, int OFlag, int PMode, int& Err, int Usage) override;
  int Read(THandle FileHandle, void* Buffer, int Count, int& Err) override;
  int Write(THandle FileHandle, const void* Buffer, int Count, int& Err) override;
  int Close(THandle FileHandle, int& Err) override;
  int Seek(THandle FileHandle, int Distance, int SeekType, int& Err) override;
  int Delete(const std::string& FileName, int& Err) override;
  int OpenCount() const { return static_cast<int>(FStreams.size()); }

 protected:
  THandleStream* FindStream(THandle FileHandle) const;

 private:
  std::vector<std::unique_ptr<THandleStream>> FStreams;  // opened and not yet closed
};

// ---- Writer and reader -----------------------------------------------------

// What the writer and the reader share: the library's error record and the file
// handler (not owned; cleared when it is destroyed).
class TCabinetInterface : public TComponent {
 public:
  explicit TCabinetInterface(TComponent* AOwner);
  TQ_PUBLISHED(TCabinetInterface)
  TCabinetFileHandler* FileHandler() const { return FFileHandler; }
  void SetFileHandler(TCabinetFileHandler* Value);
  const ERF& ErrorInfo() const { return FErrorInfo; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Raises what a callback held back, else ECabinetError from the error record
  // when the library call failed.
  void CheckCabinetResult(bool Ok);
  // Runs a callback body; what it raises is held for CheckCabinetResult and
  // Failed is answered to the library instead.
  template <class R, class F>
  R Guard(R Failed, F&& Body) noexcept {
    if (FPending) return Failed;  // the call is failing already
    try {
      return Body();
    } catch (...) {
      FPending = std::current_exception();
      return Failed;
    }
  }
  // The same for closing and deleting, which run even while a call is failing
  // so that nothing stays open; the first failure held is the one raised.
  template <class R, class F>
  R GuardCleanup(R Failed, F&& Body) noexcept {
    try {
      return Body();
    } catch (...) {
      if (!FPending) FPending = std::current_exception();
      return Failed;
    }
  }
  // The file handler, or a failure the caller reports to the library.
  TCabinetFileHandler& Handler();

  ERF FErrorInfo{};
  TCabinetFileHandler* FFileHandler = nullptr;
  std::exception_ptr FPending;
};

class TCabinetWriter : public TCabinetInterface {
 public:
  explicit TCabinetWriter(TComponent* AOwner);
  TQ_PUBLISHED(TCabinetWriter)  // FailOnIncompressible, FileSupport
  ~TCabinetWriter() override;  // closes (an unflushed cabinet is discarded)

  // Starts the cabinet CabinetPath (closing one still open).
  void Open(const std::string& CabinetPath, const std::string& DiskName, int MaxCabinetSize,
            int FolderThreshold, uint16_t SetId);
  // Adds SourceFile under NameInCabinet (stored unchanged).
  void AddFile(const std::string& SourceFile, const std::string& NameInCabinet, bool Execute,
               const TCabinetCompression& Compression);
  // Completes the current cabinet; GetNextCabinet asks to go on in a new one.
  void FlushCabinet(bool GetNextCabinet);
  // Releases the library context without flushing.
  void Close();
  bool IsOpen() const { return FContext != nullptr; }

  bool FailOnIncompressible = true;
  bool FileSupport = true;  // carry attributes and date and time into the cabinet
  TFileStatusEvent OnFileStatus;
  TFolderStatusEvent OnFolderStatus;
  TCabinetStatusEvent OnCabinetStatus;
  TGetNextCabinetEvent OnGetNextCabinet;
  TFilePlacedEvent OnFilePlacedEvent;
  TGetOpenInfoEvent OnGetOpenInfo;
  TGetTempFileEvent OnGetTempFile;

 protected:
  virtual void FileStatus(int CompressedSize, int UncompressedSize, int& ResultCode);
  virtual void FolderStatus(int SizeCopied, int TotalSize, int& ResultCode);
  virtual void CabinetStatus(int PreEstimatedSize, int ActualSize, int& WantedSize);
  virtual void GetNextCabinet(const TCCAB& CabParameters, std::string& NewCabFileName,
                              int PreviousCabEstimatedSize, bool& AbortCreation);
  virtual void FilePlaced(const TCCAB& CabParameters, const std::string& FileName,
                          int FileLength, bool Continuation, bool& AbortProcessing);
  virtual void GetTempFile(std::string& TempFileName, bool& Success);
  virtual void GetOpenInfo(const std::string& FileName, uint16_t& Date, uint16_t& Time,
                           uint16_t& Attributes, THandle& FileHandle, int& ResultCode);

 private:
  struct TCallbacks;
  friend struct TCallbacks;
  void* FContext = nullptr;  // FCI context; none while closed
};

class TCabinetReader : public TCabinetInterface {
 public:
  explicit TCabinetReader(TComponent* AOwner);
  TQ_PUBLISHED(TCabinetReader)  // CpuType, FileSupport
  ~TCabinetReader() override;

  // Extracts every member of CabinetFile into DestinationDir.
  void ExtractFiles(const std::string& CabinetFile, const std::string& DestinationDir,
                    int Flags = 0);
  const std::string& DestinationPath() const { return FDestinationPath; }

  TCpuType CpuType = cptAuto;
  bool FileSupport = true;  // carry attributes and date and time onto the files
  TCabinetInfoEvent OnCabinetInfo;
  TPartialFileEvent OnPartialFile;
  TCopyFileEvent OnCopyFile;
  TCloseCopiedFileEvent OnCloseCopiedFile;
  TNextCabinetEvent OnNextCabinet;

 protected:
  virtual void CabinetInfo(const std::string& CabinetName, const std::string& CabinetDisk,
                           const std::string& CabinetPath, int SetId, int CabinetNumber,
                           bool& Abort);
  virtual void PartialFile(const std::string& FileName, const std::string& FirstCabinetName,
                           const std::string& FirstCabinetDisk, bool& Abort);
  virtual void CopyFile(const std::string& FileName, int UncompressedSize, uint16_t Date,
                        uint16_t Time, uint16_t Attribs, TFileCopyAction& Action,
                        THandle& DestFileHandle);
  virtual void CloseCopiedFile(const std::string& FileName, THandle FileHandle, uint16_t Date,
                               uint16_t Time, uint16_t Attribs, int FolderIndex, bool Execute,
                               bool& Abort);
  virtual void NextCabinet(const std::string& NextCabinetName, const std::string& NextCabinetDisk,
                           std::string& CabinetPath, TFDIERROR ErrorIndication, bool& Abort);

 private:
  struct TCallbacks;
  friend struct TCallbacks;
  void DestroyContext();
  void* FContext = nullptr;  // FDI context
  std::string FDestinationPath;
  std::vector<THandle> FOpenHandles;  // opened through the library during one extraction
};

// The reader whose extraction runs (the library's file callbacks carry no context).
extern TCabinetReader* CurrentCabinetReader;

}  // namespace tq

#pragma pop_macro("CopyFile")
