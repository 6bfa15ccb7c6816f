// The cabinet writer: one cabinet built through the library's FCI interface,
// the writer being the context of every callback.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "Cabinet.h"

namespace tq {

namespace {

constexpr int kErrorInvalidHandle = 6;          // ERROR_INVALID_HANDLE
constexpr int kErrorFileNameTooLong = 206;      // ERROR_FILENAME_EXCED_RANGE

// Copies s into a fixed buffer of the library; false when it does not fit.
bool CopyToBuffer(char* dest, size_t size, const std::string& s) {
  if (s.size() >= size) return false;
  std::memcpy(dest, s.c_str(), s.size() + 1);
  return true;
}

std::vector<char> Writable(const std::string& s) { return std::vector<char>(s.c_str(), s.c_str() + s.size() + 1); }

}  // namespace

TCabinetCompression CompressionMSZIP() {
  TCabinetCompression c;
  c.CompressionType = tcompTYPE_MSZIP;
  return c;
}

// The FCI callbacks; pv is the writer.
struct TCabinetWriter::TCallbacks {
  static TCabinetWriter& W(void* pv) { return *static_cast<TCabinetWriter*>(pv); }

  static void* DIAMONDAPI Alloc(ULONG cb) { return CabinetAlloc(cb); }
  static void DIAMONDAPI Free(void* memory) { CabinetFree(memory); }

  static INT_PTR DIAMONDAPI Open(char* pszFile, int oflag, int pmode, int* err, void* pv) {
    *err = 0;
    return W(pv).Guard<INT_PTR>(-1, [&] {
      return static_cast<INT_PTR>(W(pv).Handler().Open(pszFile, oflag, pmode, *err, cfuLibrary));
    });
  }
  static UINT DIAMONDAPI Read(INT_PTR hf, void* memory, UINT cb, int* err, void* pv) {
    *err = 0;
    return W(pv).Guard<UINT>(static_cast<UINT>(-1), [&] {
      return static_cast<UINT>(W(pv).Handler().Read(hf, memory, static_cast<int>(cb), *err));
    });
  }
  static UINT DIAMONDAPI Write(INT_PTR hf, void* memory, UINT cb, int* err, void* pv) {
    *err = 0;
    return W(pv).Guard<UINT>(static_cast<UINT>(-1), [&] {
      return static_cast<UINT>(W(pv).Handler().Write(hf, memory, static_cast<int>(cb), *err));
    });
  }
  static int DIAMONDAPI Close(INT_PTR hf, int* err, void* pv) {
    *err = 0;
    return W(pv).GuardCleanup<int>(-1, [&] { return W(pv).Handler().Close(hf, *err); });
  }
  static LONG DIAMONDAPI Seek(INT_PTR hf, LONG dist, int seektype, int* err, void* pv) {
    *err = 0;
    return W(pv).Guard<LONG>(-1, [&] {
      return static_cast<LONG>(W(pv).Handler().Seek(hf, dist, seektype, *err));
    });
  }
  static int DIAMONDAPI Delete(char* pszFile, int* err, void* pv) {
    *err = 0;
    return W(pv).GuardCleanup<int>(-1, [&] { return W(pv).Handler().Delete(pszFile, *err); });
  }

  static BOOL DIAMONDAPI GetTempFile(char* pszTempName, int cbTempName, void* pv) {
    return W(pv).Guard<BOOL>(FALSE, [&]() -> BOOL {
      std::string name;
      bool success = false;
      W(pv).GetTempFile(name, success);
      if (!success || cbTempName <= 0) return FALSE;
      return CopyToBuffer(pszTempName, static_cast<size_t>(cbTempName), name) ? TRUE : FALSE;
    });
  }

  static int DIAMONDAPI FilePlaced(PCCAB pccab, char* pszFile, LONG cbFile, BOOL fContinuation,
                                   void* pv) {
    return W(pv).Guard<int>(-1, [&] {
      bool abort = false;
      W(pv).FilePlaced(*pccab, pszFile, cbFile, fContinuation != FALSE, abort);
      return abort ? -1 : 0;
    });
  }

  static INT_PTR DIAMONDAPI GetOpenInfo(char* pszName, USHORT* pdate, USHORT* ptime,
                                        USHORT* pattribs, int* err, void* pv) {
    *err = 0;
    return W(pv).Guard<INT_PTR>(-1, [&]() -> INT_PTR {
      uint16_t date = 0, time = 0, attributes = 0;
      THandle handle = -1;
      W(pv).GetOpenInfo(pszName, date, time, attributes, handle, *err);
      if (*err != 0) return -1;
      *pdate = date;
      *ptime = time;
      // Only the DOS attributes: the higher bits of a cabinet's attribute word
      // say "run after extraction" and "name is UTF-8".
      *pattribs = attributes & cabFileAttributeMask;
      return static_cast<INT_PTR>(handle);
    });
  }

  static BOOL DIAMONDAPI GetNextCabinet(PCCAB pccab, ULONG cbPrevCab, void* pv) {
    return W(pv).Guard<BOOL>(FALSE, [&]() -> BOOL {
      std::string next;
      bool abortCreation = true;
      W(pv).GetNextCabinet(*pccab, next, static_cast<int>(cbPrevCab), abortCreation);
      if (abortCreation) return FALSE;
      if (!CopyToBuffer(pccab->szCab, sizeof pccab->szCab, ExtractFileName(next)) ||
          !CopyToBuffer(pccab->szCabPath, sizeof pccab->szCabPath, ExtractFilePath(next)))
        return FALSE;
      return TRUE;
    });
  }

  static LONG DIAMONDAPI Status(UINT typeStatus, ULONG cb1, ULONG cb2, void* pv) {
    return W(pv).Guard<LONG>(-1, [&]() -> LONG {
      int result = 0;
      int a = static_cast<int>(cb1), b = static_cast<int>(cb2);
      switch (typeStatus) {
        case statusFile: W(pv).FileStatus(a, b, result); break;
        case statusFolder: W(pv).FolderStatus(a, b, result); break;
        case statusCabinet: W(pv).CabinetStatus(a, b, result); break;
        default: return -1;
      }
      return result;
    });
  }
};

const TPropertyTable& TCabinetWriter::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TCabinetWriter>("TCabinetWriter", TCabinetInterface::ClassProperties())
          .Boolean("FailOnIncompressible", &TCabinetWriter::FailOnIncompressible)
          .Default(1)
          .Boolean("FileSupport", &TCabinetWriter::FileSupport)
          .Default(1)
          .Build();
  return table;
}

TCabinetWriter::TCabinetWriter(TComponent* AOwner) : TCabinetInterface(AOwner) {}

TCabinetWriter::~TCabinetWriter() {
  try {
    Close();
  } catch (...) {
    // Nothing can be reported while the writer goes away.
  }
}

void TCabinetWriter::Open(const std::string& CabinetPath, const std::string& DiskName,
                          int MaxCabinetSize, int FolderThreshold, uint16_t SetId) {
  Close();
  CCAB ccab;
  std::memset(&ccab, 0, sizeof ccab);
  ccab.cb = static_cast<ULONG>(MaxCabinetSize);
  ccab.cbFolderThresh = static_cast<ULONG>(FolderThreshold);
  ccab.fFailOnIncompressible = FailOnIncompressible ? 1 : 0;
  ccab.setID = SetId;
  if (!CopyToBuffer(ccab.szDisk, sizeof ccab.szDisk, DiskName) ||
      !CopyToBuffer(ccab.szCab, sizeof ccab.szCab, ExtractFileName(CabinetPath)) ||
      !CopyToBuffer(ccab.szCabPath, sizeof ccab.szCabPath, ExtractFilePath(CabinetPath)))
    RaiseApiError(kErrorFileNameTooLong);
  std::memset(&FErrorInfo, 0, sizeof FErrorInfo);
  FPending = nullptr;
  FContext = FCICreate(&FErrorInfo, TCallbacks::FilePlaced, TCallbacks::Alloc, TCallbacks::Free,
                       TCallbacks::Open, TCallbacks::Read, TCallbacks::Write, TCallbacks::Close,
                       TCallbacks::Seek, TCallbacks::Delete, TCallbacks::GetTempFile, &ccab, this);
  if (!FContext) CheckCabinetResult(false);
}

void TCabinetWriter::AddFile(const std::string& SourceFile, const std::string& NameInCabinet,
                             bool Execute, const TCabinetCompression& Compression) {
  if (!FContext) RaiseApiError(kErrorInvalidHandle);
  TCOMP type;
  switch (Compression.CompressionType) {
    case tcompTYPE_QUANTUM:
      type = static_cast<TCOMP>(Compression.CompressionType + Compression.QuantumLevel * 16 +
                                Compression.QuantumMemory * 256);
      break;
    case tcompTYPE_LZX:
      type = static_cast<TCOMP>(Compression.CompressionType + Compression.LzxWindow * 256);
      break;
    default: type = Compression.CompressionType; break;
  }
  std::vector<char> source = Writable(SourceFile), name = Writable(NameInCabinet);
  std::memset(&FErrorInfo, 0, sizeof FErrorInfo);
  BOOL ok = FCIAddFile(FContext, source.data(), name.data(), Execute ? TRUE : FALSE,
                       TCallbacks::GetNextCabinet, TCallbacks::Status, TCallbacks::GetOpenInfo,
                       type);
  CheckCabinetResult(ok != FALSE);
}

void TCabinetWriter::FlushCabinet(bool GetNextCabinet) {
  if (!FContext) RaiseApiError(kErrorInvalidHandle);
  std::memset(&FErrorInfo, 0, sizeof FErrorInfo);
  BOOL ok = FCIFlushCabinet(FContext, GetNextCabinet ? TRUE : FALSE, TCallbacks::GetNextCabinet,
                            TCallbacks::Status);
  CheckCabinetResult(ok != FALSE);
}

void TCabinetWriter::Close() {
  if (!FContext) return;
  void* context = FContext;
  FContext = nullptr;
  std::memset(&FErrorInfo, 0, sizeof FErrorInfo);
  BOOL ok = FCIDestroy(context);
  CheckCabinetResult(ok != FALSE);
}

// ---- Default behaviour -----------------------------------------------------

void TCabinetWriter::FileStatus(int CompressedSize, int UncompressedSize, int& ResultCode) {
  if (OnFileStatus) OnFileStatus(this, CompressedSize, UncompressedSize, ResultCode);
}

void TCabinetWriter::FolderStatus(int SizeCopied, int TotalSize, int& ResultCode) {
  if (OnFolderStatus) OnFolderStatus(this, SizeCopied, TotalSize, ResultCode);
}

void TCabinetWriter::CabinetStatus(int PreEstimatedSize, int ActualSize, int& WantedSize) {
  if (OnCabinetStatus) OnCabinetStatus(this, PreEstimatedSize, ActualSize, WantedSize);
}

void TCabinetWriter::GetNextCabinet(const TCCAB& CabParameters, std::string& NewCabFileName,
                                    int PreviousCabEstimatedSize, bool& AbortCreation) {
  if (OnGetNextCabinet)
    OnGetNextCabinet(this, CabParameters, NewCabFileName, PreviousCabEstimatedSize, AbortCreation);
}

void TCabinetWriter::FilePlaced(const TCCAB& CabParameters, const std::string& FileName,
                                int FileLength, bool Continuation, bool& AbortProcessing) {
  if (OnFilePlacedEvent)
    OnFilePlacedEvent(this, CabParameters, FileName, FileLength, Continuation, AbortProcessing);
}

void TCabinetWriter::GetTempFile(std::string& TempFileName, bool& Success) {
  if (OnGetTempFile) {
    OnGetTempFile(this, TempFileName, Success);
    return;
  }
  char module[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string prefix = ExtractFileName(module).substr(0, 3);
  TempFileName = MakeTempFileName(GetTempDirectory(), prefix, 0);
  Success = !TempFileName.empty();
}

void TCabinetWriter::GetOpenInfo(const std::string& FileName, uint16_t& Date, uint16_t& Time,
                                 uint16_t& Attributes, THandle& FileHandle, int& ResultCode) {
  if (OnGetOpenInfo) {
    OnGetOpenInfo(this, FileName, Date, Time, Attributes, FileHandle, ResultCode);
    return;
  }
  Attributes = 0;
  if (FileSupport) {
    DWORD attributes = GetFileAttributesA(FileName.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) Attributes = attributes & cabFileAttributeMask;
  }
  FileHandle = Handler().Open(FileName, cabOpenBinary, 0, ResultCode, cfuSource);
  if (ResultCode != 0) return;
  Date = 0;
  Time = 0;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (FileSupport && GetFileAttributesExA(FileName.c_str(), GetFileExInfoStandard, &data)) {
    WORD dosDate = 0, dosTime = 0;
    if (FileTimeToDosDateTime(&data.ftLastWriteTime, &dosDate, &dosTime)) {
      Date = dosDate;
      Time = dosTime;
    }
  }
}

}  // namespace tq
