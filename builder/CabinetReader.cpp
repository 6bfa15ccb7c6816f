// The cabinet reader: extracts every member of a cabinet into a folder through
// the library's FDI interface. FDI's file callbacks carry no context, so they
// reach the reader whose extraction runs through CurrentCabinetReader.
#include <windows.h>
#undef CopyFile

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Cabinet.h"

namespace tq {

TCabinetReader* CurrentCabinetReader = nullptr;

namespace {

constexpr int kErrorFileNameTooLong = 206;  // ERROR_FILENAME_EXCED_RANGE

// A member name that stays inside the destination folder: relative, no drive
// or stream part, no ".." step.
bool IsSafeMemberName(const std::string& name) {
  if (name.empty() || name.front() == '\\' || name.front() == '/') return false;
  if (name.find(':') != std::string::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string::npos) end = name.size();
    std::string_view step(name.data() + start, end - start);
    if (step == "..") return false;
    start = end + 1;
  }
  return true;
}

std::string Text(const char* s) { return s ? std::string(s) : std::string(); }

}  // namespace

struct TCabinetReader::TCallbacks {
  // Runs a file callback on the current reader; Failed when there is none.
  template <class T, class F>
  static T OnReader(T Failed, F&& Body) {
    TCabinetReader* reader = CurrentCabinetReader;
    if (!reader) return Failed;
    return reader->Guard<T>(Failed, [&] { return Body(*reader); });
  }

  static void* DIAMONDAPI Alloc(ULONG cb) { return CabinetAlloc(cb); }
  static void DIAMONDAPI Free(void* memory) { CabinetFree(memory); }

  static INT_PTR DIAMONDAPI Open(char* pszFile, int oflag, int pmode) {
    return OnReader<INT_PTR>(-1, [&](TCabinetReader& r) -> INT_PTR {
      int err = 0;
      THandle h = r.Handler().Open(pszFile, oflag, pmode, err, cfuLibrary);
      if (h != -1) r.FOpenHandles.push_back(h);
      return static_cast<INT_PTR>(h);
    });
  }
  static UINT DIAMONDAPI Read(INT_PTR hf, void* pv, UINT cb) {
    return OnReader<UINT>(static_cast<UINT>(-1), [&](TCabinetReader& r) {
      int err = 0;
      return static_cast<UINT>(r.Handler().Read(hf, pv, static_cast<int>(cb), err));
    });
  }
  static UINT DIAMONDAPI Write(INT_PTR hf, void* pv, UINT cb) {
    return OnReader<UINT>(static_cast<UINT>(-1), [&](TCabinetReader& r) {
      int err = 0;
      return static_cast<UINT>(r.Handler().Write(hf, pv, static_cast<int>(cb), err));
    });
  }
  static int DIAMONDAPI Close(INT_PTR hf) {
    TCabinetReader* reader = CurrentCabinetReader;
    if (!reader) return -1;
    return reader->GuardCleanup<int>(-1, [&] {
      std::erase(reader->FOpenHandles, static_cast<THandle>(hf));
      int err = 0;
      return reader->Handler().Close(hf, err);
    });
  }
  static LONG DIAMONDAPI Seek(INT_PTR hf, LONG dist, int seektype) {
    return OnReader<LONG>(-1, [&](TCabinetReader& r) {
      int err = 0;
      return static_cast<LONG>(r.Handler().Seek(hf, dist, seektype, err));
    });
  }

  static INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE fdint, PFDINOTIFICATION pfdin) {
    TCabinetReader& r = *static_cast<TCabinetReader*>(pfdin->pv);
    return r.Guard<INT_PTR>(-1, [&]() -> INT_PTR {
      bool abort = false;
      switch (fdint) {
        case fdintCABINET_INFO:
          r.CabinetInfo(Text(pfdin->psz1), Text(pfdin->psz2), Text(pfdin->psz3), pfdin->setID,
                        pfdin->iCabinet, abort);
          return abort ? -1 : 0;
        case fdintPARTIAL_FILE:
          r.PartialFile(Text(pfdin->psz1), Text(pfdin->psz2), Text(pfdin->psz3), abort);
          return abort ? -1 : 0;
        case fdintCOPY_FILE: {
          TFileCopyAction action = fcaDefault;
          THandle handle = -1;
          r.CopyFile(Text(pfdin->psz1), static_cast<int>(pfdin->cb), pfdin->date, pfdin->time,
                     pfdin->attribs, action, handle);
          if (action == fcaCopy) return static_cast<INT_PTR>(handle);
          return static_cast<INT_PTR>(action) - 1;
        }
        case fdintCLOSE_FILE_INFO:
          // From here on the handle is the reader's to close, not the library's.
          std::erase(r.FOpenHandles, static_cast<THandle>(pfdin->hf));
          r.CloseCopiedFile(Text(pfdin->psz1), pfdin->hf, pfdin->date, pfdin->time,
                            pfdin->attribs, pfdin->iFolder, pfdin->cb == 1, abort);
          return abort ? -1 : TRUE;
        case fdintNEXT_CABINET: {
          std::string path = Text(pfdin->psz3);
          r.NextCabinet(Text(pfdin->psz1), Text(pfdin->psz2), path, pfdin->fdie, abort);
          if (abort) return -1;
          // psz3 is the library's path buffer of CB_MAX_CAB_PATH characters.
          if (pfdin->psz3) {
            if (path.size() >= CB_MAX_CAB_PATH) return -1;
            std::memcpy(pfdin->psz3, path.c_str(), path.size() + 1);
          }
          return 0;
        }
        default: return 0;
      }
    });
  }
};

const TPropertyTable& TCabinetReader::ClassProperties() {
  static const TEnumNames cpuTypes("TCpuType", {"cptAuto", "cpt80286", "cpt80386"});
  static const TPropertyTable table =
      TPropertyBuilder<TCabinetReader>("TCabinetReader", TCabinetInterface::ClassProperties())
          .Enum("CpuType", cpuTypes, &TCabinetReader::CpuType)
          .Default(cptAuto)
          .Boolean("FileSupport", &TCabinetReader::FileSupport)
          .Default(1)
          .Build();
  return table;
}

TCabinetReader::TCabinetReader(TComponent* AOwner) : TCabinetInterface(AOwner) {}

TCabinetReader::~TCabinetReader() {
  try {
    DestroyContext();
  } catch (...) {
    // Nothing can be reported while the reader goes away.
  }
  if (CurrentCabinetReader == this) CurrentCabinetReader = nullptr;
}

void TCabinetReader::DestroyContext() {
  if (!FContext) return;
  CurrentCabinetReader = this;
  void* context = FContext;
  FContext = nullptr;
  std::memset(&FErrorInfo, 0, sizeof FErrorInfo);
  BOOL ok = FDIDestroy(context);
  CheckCabinetResult(ok != FALSE);
}

void TCabinetReader::ExtractFiles(const std::string& CabinetFile,
                                  const std::string& DestinationDir, int Flags) {
  std::vector<char> name(CB_MAX_CABINET_NAME), path(CB_MAX_CAB_PATH);
  std::string cabName = ExtractFileName(CabinetFile), cabPath = ExtractFilePath(CabinetFile);
  if (cabName.size() >= name.size() || cabPath.size() >= path.size())
    RaiseApiError(kErrorFileNameTooLong);
  std::memcpy(name.data(), cabName.c_str(), cabName.size() + 1);
  std::memcpy(path.data(), cabPath.c_str(), cabPath.size() + 1);

  FPending = nullptr;
  std::memset(&FErrorInfo, 0, sizeof FErrorInfo);
  CurrentCabinetReader = this;
  if (!FContext) {
    FContext = FDICreate(TCallbacks::Alloc, TCallbacks::Free, TCallbacks::Open, TCallbacks::Read,
                         TCallbacks::Write, TCallbacks::Close, TCallbacks::Seek,
                         static_cast<int>(CpuType) - 1, &FErrorInfo);
    if (!FContext) CheckCabinetResult(false);
  }
  FDestinationPath = AddTrailingBackslash(DestinationDir);
  FOpenHandles.clear();
  BOOL ok = FDICopy(FContext, name.data(), path.data(), Flags, TCallbacks::Notify, nullptr, this);
  // Files an aborted extraction left open would stay locked for the life of
  // the reader.
  std::vector<THandle> left;
  left.swap(FOpenHandles);
  if (FFileHandler) {
    for (THandle h : left) {
      int err = 0;
      try {
        FFileHandler->Close(h, err);
      } catch (...) {
      }
    }
  }
  CheckCabinetResult(ok != FALSE);
}

// ---- Default behaviour -----------------------------------------------------

void TCabinetReader::CabinetInfo(const std::string& CabinetName, const std::string& CabinetDisk,
                                 const std::string& CabinetPath, int SetId, int CabinetNumber,
                                 bool& Abort) {
  if (OnCabinetInfo)
    OnCabinetInfo(this, CabinetName, CabinetDisk, CabinetPath, SetId, CabinetNumber, Abort);
}

void TCabinetReader::PartialFile(const std::string& FileName, const std::string& FirstCabinetName,
                                 const std::string& FirstCabinetDisk, bool& Abort) {
  if (OnPartialFile) OnPartialFile(this, FileName, FirstCabinetName, FirstCabinetDisk, Abort);
}

void TCabinetReader::NextCabinet(const std::string& NextCabinetName,
                                 const std::string& NextCabinetDisk, std::string& CabinetPath,
                                 TFDIERROR ErrorIndication, bool& Abort) {
  if (OnNextCabinet)
    OnNextCabinet(this, NextCabinetName, NextCabinetDisk, CabinetPath, ErrorIndication, Abort);
}

void TCabinetReader::CopyFile(const std::string& FileName, int UncompressedSize, uint16_t Date,
                              uint16_t Time, uint16_t Attribs, TFileCopyAction& Action,
                              THandle& DestFileHandle) {
  if (OnCopyFile) {
    Action = fcaCopy;
    OnCopyFile(this, FileName, UncompressedSize, Date, Time, Attribs, Action, DestFileHandle);
  }
  if (Action != fcaDefault) return;
  Action = fcaCopy;
  // A member must not land outside the destination folder.
  if (!IsSafeMemberName(FileName)) throw ECabinetError(FDIERROR_TARGET_FILE, 0);
  std::string target = FDestinationPath + FileName;
  // An earlier copy that is read-only, hidden or system would refuse to be
  // created again.
  DWORD existing = GetFileAttributesA(target.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY) &&
      (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  int err = 0;
  DestFileHandle = Handler().Open(target, cabOpenBinary | cabOpenCreate, 0, err, cfuExtracted);
  if (DestFileHandle != -1) FOpenHandles.push_back(DestFileHandle);
}

void TCabinetReader::CloseCopiedFile(const std::string& FileName, THandle FileHandle,
                                     uint16_t Date, uint16_t Time, uint16_t Attribs,
                                     int FolderIndex, bool Execute, bool& Abort) {
  if (OnCloseCopiedFile) {
    OnCloseCopiedFile(this, FileName, FileHandle, Date, Time, Attribs, FolderIndex, Execute,
                      Abort);
    return;
  }
  // The file is closed first, so that a failure below leaves no open handle.
  int err = 0;
  Handler().Close(FileHandle, err);
  if (!FileSupport) return;
  std::string target = FDestinationPath + FileName;
  // A cabinet written without dates stores 0, which is no DOS date: such a
  // member keeps the time of its extraction.
  FILETIME when;
  if (DosDateTimeToFileTime(Date, Time, &when)) {
    HANDLE h = CreateFileA(target.c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    CheckApiResult(h != INVALID_HANDLE_VALUE);
    BOOL timeSet = SetFileTime(h, nullptr, nullptr, &when);
    DWORD timeError = GetLastError();
    CloseHandle(h);
    if (!timeSet) RaiseApiError(static_cast<int>(timeError));
  }
  // The DOS attributes the cabinet stored, but never read-only: extracted files
  // live in work folders that the next run must be able to empty.
  DWORD attributes = Attribs & cabFileAttributeMask & ~FILE_ATTRIBUTE_READONLY;
  CheckApiResult(SetFileAttributesA(target.c_str(), attributes ? attributes
                                                               : FILE_ATTRIBUTE_NORMAL) != FALSE);
}

}  // namespace tq
