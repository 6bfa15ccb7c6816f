// Spanned volumes: an archive copied onto a series of volumes, its placement
// data rewritten so that the series reads as one spanned set.
#include <windows.h>

#include <algorithm>
#include <new>

#include "FileUtils.h"
#include "LittleEndian.h"
#include "Prompts.h"
#include "ZipFormat.h"
#include "ZipSmth.h"
#include "ZipSmthMessages.h"

namespace tq {
namespace {

using le::Get16;
using le::Get32;
using le::Put16;
using le::Put32;

constexpr int kUserCancelled = 11007;
constexpr int kInputMissing = 11001;
constexpr int kSeekInput = 11008;
constexpr int kCreateOutput = 11009;
constexpr int kWriteOutput = 11010;
constexpr int kLocalSignature = 11014;
constexpr int kLocalNameRead = 11016;
constexpr int kLocalExtraRead = 11018;
constexpr int kCentralExtraRead = 11019;
constexpr int kDescriptorRead = 11020;
constexpr int kDataRead = 11021;
constexpr int kArchiveCommentRead = 11023;
constexpr int kUnknownSpanError = 11024;
constexpr int kUnattendedSpan = 11025;
constexpr int kLocalNotFound = 11026;
constexpr int kNoRoom = 11032;
constexpr int kInsertVolumeOf = 11034;
constexpr int kInDrive = 11035;
constexpr int kFileExists = 11039;
constexpr int kPreviousDisk = 11040;
constexpr int kInsertVolume = 11046;
constexpr int kCentralDirectory = 11047;
constexpr int kVolumeLabel = 11005;
constexpr int kInvalidDrive = 11003;

std::string Digits(int diskNr) { return IntToStr(1001 + diskNr).substr(1); }

struct TPlacement {
  uint16_t Disk;
  uint32_t Offset;
  std::string Name;
};

}  // namespace

class TSpanWriter {
 public:
  TSpanWriter(TZipSmith& zip, const std::string& in, const std::string& out) : Z(zip), FIn(in), FOut(out) {
    FDrive = ExtractFileDrive(ExpandFileName(out)) + "\\";
  }
  ~TSpanWriter() {
    CloseVolume();
    if (FInput != INVALID_HANDLE_VALUE) CloseHandle(FInput);
  }
  void Run();
  std::string LastVolume;

 private:
  void ReadInput(void* p, size_t n, int ident);
  void WriteSplit(const uint8_t* p, size_t len, size_t minimum);
  void CopySplitData(uint64_t count, int ident);
  void OpenVolume();
  void CloseVolume();
  UINT GetNewDisk();
  bool DiskPresent();
  int Ask(const std::string& text, int status);  // IDYES, IDNO or IDCANCEL
  int FindFilesOnDrive();
  std::string VolumeName() const;
  [[noreturn]] void Cancelled() { throw EZipSmith(kUserCancelled, false); }

  TZipSmith& Z;
  std::string FIn, FOut, FDrive;
  HANDLE FInput = INVALID_HANDLE_VALUE;
  uint64_t FInputSize = 0;
  FILETIME FInputTime{};
  HANDLE FOutput = INVALID_HANDLE_VALUE;
  std::string FVolumeName;
  int FDiskNr = 0;
  uint64_t FFreeOnDisk = 0;
  uint64_t FWritten = 0;  // on the current volume
  bool FNewDisk = true;
  bool FProgress = false;
  uint64_t FDiskSize = 0;
};

void TSpanWriter::ReadInput(void* p, size_t n, int ident) {
  DWORD got = 0;
  if (n && (!ReadFile(FInput, p, DWORD(n), &got, nullptr) || got != n)) throw EZipSmith(ident);
}

std::string TSpanWriter::VolumeName() const {
  UINT type = GetDriveTypeA(FDrive.c_str());
  if (type == DRIVE_REMOVABLE) return FOut;
  std::string ext = ExtractFileExt(FOut);
  return FOut.substr(0, FOut.size() - ext.size()) + Digits(FDiskNr) + ext;
}

bool TSpanWriter::DiskPresent() {
  char label[MAX_PATH] = {};
  DWORD serial = 0, maxLen = 0, flags = 0;
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
  BOOL ok = GetVolumeInformationA(FDrive.c_str(), label, MAX_PATH, &serial, &maxLen, &flags, nullptr, 0);
  ULARGE_INTEGER freeBytes{}, total{};
  if (ok && GetDiskFreeSpaceExA(FDrive.c_str(), &freeBytes, &total, nullptr)) FDiskSize = total.QuadPart;
  SetErrorMode(old);
  return ok || Z.AddOptions.Contains(AddDiskSpanErase);
}

UINT TSpanWriter::GetNewDisk() {
  UINT type = GetDriveTypeA(FDrive.c_str());
  if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) throw EZipSmith(type == DRIVE_UNKNOWN ? kInvalidDrive : zipmsg::DriveNotDefined, {FDrive});
  if (type != DRIVE_REMOVABLE) {
    FNewDisk = false;
    return type;
  }
  while (FNewDisk || !DiskPresent()) {
    if (Z.Unattended) throw EZipSmith(kUnattendedSpan);
    std::string text;
    if (FDiskSize) {
      uint64_t perDisk = Z.MaxVolumeSize > 0 ? std::min<uint64_t>(FDiskSize, uint64_t(Z.MaxVolumeSize)) : FDiskSize;
      int total = std::max<int>(FDiskNr + 1, int((FInputSize + 4 + uint64_t(Z.KeepFreeOnDisk1)) / perDisk) + 1);
      text = Format(TZipSmith::LoadZipStr(kInsertVolumeOf), {FDiskNr + 1, total});
    } else {
      text = Format(TZipSmith::LoadZipStr(kInsertVolume), {FDiskNr + 1});
    }
    text += Format(TZipSmith::LoadZipStr(kInDrive), {FDrive});
    bool abort = false;
    if (Z.OnGetNextDisk) Z.OnGetNextDisk(&Z, FDiskNr + 1, 0, FDrive, abort);
    else abort = MessageBox(text, ApplicationTitle(), MB_OKCANCEL) != IDOK;
    if (abort) Cancelled();
    FNewDisk = false;
  }
  return type;
}

int TSpanWriter::Ask(const std::string& text, int status) {
  if (Z.OnStatusDisk) {
    int action = 0;
    Z.OnStatusDisk(&Z, FDiskNr, FVolumeName, status, action);
    return action <= 1 ? IDYES : action == 2 ? IDNO : IDCANCEL;
  }
  return MessageBox(text, "Confirm", MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2);
}

void TSpanWriter::OpenVolume() {
  while (FOutput == INVALID_HANDLE_VALUE) {
    UINT type = GetNewDisk();
    FVolumeName = VolumeName();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(FVolumeName.c_str(), GetFileExInfoStandard, &data)) {
      if (Z.Unattended) throw EZipSmith(kUnattendedSpan);
      // A volume of this very set, written before: its date is the input's.
      char label[MAX_PATH] = {};
      GetVolumeInformationA(FDrive.c_str(), label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0);
      std::string l = label;
      int labelNr = StartsText("PKBACK# ", l) ? StrToIntDef(l.substr(8), -1) : -1;
      bool previous = CompareFileTime(&data.ftLastWriteTime, &FInputTime) == 0 && labelNr >= 0 && labelNr <= FDiskNr;
      std::string text = previous ? Format(TZipSmith::LoadZipStr(kPreviousDisk), {labelNr})
                                  : Format(TZipSmith::LoadZipStr(kFileExists), {FVolumeName});
      int status = previous ? 4 : 8;
      status += type == DRIVE_REMOVABLE && FindFilesOnDrive() <= 1 ? 1 : 2;
      int answer = Ask(text, status);
      if (answer == IDNO) {
        FNewDisk = true;
        continue;
      }
      if (answer != IDYES) Cancelled();
    }
    FOutput = CreateFileA(FVolumeName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FOutput == INVALID_HANDLE_VALUE) throw EZipSmith(kCreateOutput);
    ULARGE_INTEGER freeBytes{};
    FFreeOnDisk = GetDiskFreeSpaceExA(FDrive.c_str(), &freeBytes, nullptr, nullptr) ? freeBytes.QuadPart : 0;
    if (Z.MaxVolumeSize > 0 && uint64_t(Z.MaxVolumeSize) < FFreeOnDisk) FFreeOnDisk = uint64_t(Z.MaxVolumeSize);
    if (FDiskNr == 0) FFreeOnDisk -= std::min<uint64_t>(FFreeOnDisk, uint64_t(std::max(Z.KeepFreeOnDisk1, 0)));
    FWritten = 0;
    if (FFreeOnDisk < uint64_t(std::max(Z.MinFreeVolumeSize, 0))) {
      CloseHandle(FOutput);
      FOutput = INVALID_HANDLE_VALUE;
      DeleteFileA(FVolumeName.c_str());
      if (Z.Unattended) throw EZipSmith(kUnattendedSpan);
      int answer;
      if (Z.OnStatusDisk) {
        int action = 0;
        Z.OnStatusDisk(&Z, FDiskNr, FVolumeName, 16, action);
        answer = action <= 1 ? IDRETRY : IDCANCEL;
      } else {
        answer = MessageBox(TZipSmith::LoadZipStr(kNoRoom), ApplicationTitle(), MB_RETRYCANCEL | MB_ICONERROR);
      }
      if (answer != IDRETRY) Cancelled();
      FNewDisk = true;
      continue;
    }
    if (type == DRIVE_REMOVABLE && !SetVolumeLabelA(FDrive.c_str(), ("PKBACK# " + Digits(FDiskNr)).c_str()))
      throw EZipSmith(kVolumeLabel);
  }
}

int TSpanWriter::FindFilesOnDrive() {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((FDrive + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    std::string name = fd.cFileName;
    if (name != "." && name != "..") ++n;
  } while (FindNextFileA(h, &fd));
  ::FindClose(h);
  return n;
}

void TSpanWriter::CloseVolume() {
  if (FOutput == INVALID_HANDLE_VALUE) return;
  SetFileTime(FOutput, nullptr, nullptr, &FInputTime);
  CloseHandle(FOutput);
  FOutput = INVALID_HANDLE_VALUE;
  LastVolume = FVolumeName;
}

void TSpanWriter::WriteSplit(const uint8_t* p, size_t len, size_t minimum) {
  TZipSmith::ProcessMessages();
  if (Z.Cancel()) Cancelled();
  bool fresh = false;
  while (true) {
    if (FOutput == INVALID_HANDLE_VALUE) {
      OpenVolume();
      fresh = true;
    }
    if (minimum == 0 || minimum <= FFreeOnDisk) {
      size_t n = size_t(std::min<uint64_t>(len, FFreeOnDisk));
      DWORD done = 0;
      if (n && (!WriteFile(FOutput, p, DWORD(n), &done, nullptr) || done != n)) throw EZipSmith(kWriteOutput);
      FFreeOnDisk -= n;
      FWritten += n;
      if (FProgress && n && Z.OnProgress) Z.OnProgress(&Z, ProgressUpdate, "", int(n));
      p += n;
      len -= n;
      if (len == 0) return;
      minimum = 0;  // the volume is full: the rest continues on the next one
    } else if (fresh) {
      throw EZipSmith(kNoRoom);  // not even an empty volume holds the block
    }
    // Full, or too little room for the block: it goes on the next volume.
    CloseVolume();
    ++FDiskNr;
    FNewDisk = true;
    fresh = false;
  }
}

void TSpanWriter::CopySplitData(uint64_t count, int ident) {
  std::vector<uint8_t> buf(8192);
  while (count > 0) {
    size_t n = size_t(std::min<uint64_t>(count, buf.size()));
    ReadInput(buf.data(), n, ident);
    WriteSplit(buf.data(), n, 0);
    count -= n;
  }
}

void TSpanWriter::Run() {
  if (!FileExists(FIn)) throw EZipSmith(kInputMissing);
  TZipEndRecord end;
  Z.ReadEOC(FIn, end, true);
  FInput = CreateFileA(FIn.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (FInput == INVALID_HANDLE_VALUE) throw EZipSmith(zipmsg::ZipOpenError);
  LARGE_INTEGER size;
  GetFileSizeEx(FInput, &size);
  FInputSize = uint64_t(size.QuadPart);
  GetFileTime(FInput, nullptr, nullptr, &FInputTime);

  // Sizes come from the directory: a local header may leave them to a data
  // descriptor behind the data.
  uint64_t dirAt = end.Position - end.CentralSize;
  std::vector<uint8_t> dir(end.CentralSize);
  LARGE_INTEGER li;
  li.QuadPart = LONGLONG(dirAt);
  if (!SetFilePointerEx(FInput, li, nullptr, FILE_BEGIN)) throw EZipSmith(kSeekInput);
  ReadInput(dir.data(), dir.size(), zipmsg::CentralHeaderRead);
  std::vector<uint32_t> compressed;
  for (size_t pos = 0, i = 0; i < end.Entries; ++i) {
    if (pos + 46 > dir.size()) throw EZipSmith(zipmsg::CentralHeaderRead);
    if (Get32(&dir[pos]) != zipeng::kCentralSignature) throw EZipSmith(zipmsg::CentralSignature);
    compressed.push_back(Get32(&dir[pos + 20]));
    pos += 46 + Get16(&dir[pos + 28]) + Get16(&dir[pos + 30]) + Get16(&dir[pos + 32]);
    if (pos > dir.size()) throw EZipSmith(zipmsg::CentralNameRead);
  }
  li.QuadPart = 0;
  if (!SetFilePointerEx(FInput, li, nullptr, FILE_BEGIN)) throw EZipSmith(kSeekInput);

  const uint8_t signature[4] = {0x50, 0x4B, 0x07, 0x08};
  WriteSplit(signature, 4, 4);
  FProgress = true;
  if (Z.OnProgress) {
    Z.OnProgress(&Z, TotalFiles2Process, "", end.Entries);
    Z.OnProgress(&Z, TotalSize2Process, "", int(FInputSize));
  }

  std::vector<TPlacement> placed;
  for (size_t i = 0; i < end.Entries; ++i) {
    uint8_t h[30];
    DWORD got = 0;
    if (!ReadFile(FInput, h, 30, &got, nullptr) || got != 30)
      throw EZipSmith(std::string("Error while reading a local header"));
    if (Get32(h) != zipeng::kLocalSignature) throw EZipSmith(kLocalSignature);
    uint16_t nameLen = Get16(h + 26), extraLen = Get16(h + 28);
    std::string name(nameLen, '\0');
    ReadInput(name.data(), nameLen, kLocalNameRead);
    bool descriptor = (Get16(h + 6) & zipeng::kFlagDescriptor) != 0;
    if (Z.Verbose && Z.OnMessage) Z.OnMessage(&Z, 0, "Copying: " + name);
    uint64_t total = 30ull + nameLen + extraLen + compressed[i] + (descriptor ? 16 : 0);
    if (Z.OnProgress) Z.OnProgress(&Z, NewFile, name, int(total));
    WriteSplit(h, 0, 30ull + nameLen + extraLen);  // room for the header, its name and extra field
    placed.push_back({uint16_t(FDiskNr), uint32_t(FWritten), name});
    WriteSplit(h, 30, 0);
    WriteSplit(reinterpret_cast<const uint8_t*>(name.data()), nameLen, 0);
    CopySplitData(extraLen, kLocalExtraRead);
    CopySplitData(compressed[i], kDataRead);
    if (descriptor) {
      // 16 bytes with its signature, 12 without.
      uint8_t d[16];
      ReadInput(d, 12, kDescriptorRead);
      size_t n = 12;
      if (Get32(d) == zipeng::kDescriptorSignature) {
        ReadInput(d + 12, 4, kDescriptorRead);
        n = 16;
      }
      WriteSplit(d, n, 0);
    }
  }

  if (Z.Verbose && Z.OnMessage) Z.OnMessage(&Z, 0, TZipSmith::LoadZipStr(kCentralDirectory));
  int dirDisk = -1;
  uint32_t dirOffset = 0;
  for (size_t pos = 0, i = 0; i < end.Entries; ++i) {
    uint8_t* c = &dir[pos];
    uint16_t nameLen = Get16(c + 28), extraLen = Get16(c + 30), commentLen = Get16(c + 32);
    std::string name(reinterpret_cast<const char*>(c + 46), nameLen);
    auto it = std::find_if(placed.begin(), placed.end(), [&](const TPlacement& p) { return SameText(p.Name, name); });
    if (it == placed.end()) throw EZipSmith(kLocalNotFound);
    Put16(c + 34, it->Disk);
    Put32(c + 42, it->Offset);
    placed.erase(it);  // a second entry of the same name finds the next header
    size_t whole = 46u + nameLen + extraLen + commentLen;
    WriteSplit(c, 0, whole);
    if (dirDisk < 0) {
      dirDisk = FDiskNr;
      dirOffset = uint32_t(FWritten);
    }
    WriteSplit(c, whole, 0);
    pos += whole;
  }
  if (dirDisk < 0) {
    WriteSplit(signature, 0, 22 + end.Comment.size());
    dirDisk = FDiskNr;
    dirOffset = uint32_t(FWritten);
  }

  std::vector<uint8_t> e(22);
  Put32(&e[0], zipeng::kEndSignature);
  WriteSplit(e.data(), 0, 22 + end.Comment.size());
  Put16(&e[4], uint32_t(FDiskNr));
  Put16(&e[6], uint32_t(dirDisk));
  Put16(&e[8], end.EntriesOnDisk);
  Put16(&e[10], end.Entries);
  Put32(&e[12], end.CentralSize);
  Put32(&e[16], dirOffset);
  Put16(&e[20], uint32_t(end.Comment.size()));
  e.insert(e.end(), end.Comment.begin(), end.Comment.end());
  WriteSplit(e.data(), e.size(), 0);

  FProgress = false;
  if (Z.OnProgress) Z.OnProgress(&Z, EndOfBatch, "", 0);
  CloseVolume();
}

int TZipSmith::WriteSpan(const std::string& inFileName, const std::string& outFileName) {
  FZipBusy = true;
  FLastVolume.clear();
  int result = 0;
  try {
    TSpanWriter writer(*this, inFileName, outFileName);
    try {
      writer.Run();
    } catch (...) {
      FLastVolume = writer.LastVolume;
      throw;
    }
    FLastVolume = writer.LastVolume;
  } catch (const EZipSmith& e) {
    if (e.Ident != kUserCancelled) ShowZipException(e);
    result = -7;
  } catch (const std::bad_alloc&) {
    ShowZipMessage(zipmsg::NoMemory);
    result = -8;
  } catch (const std::exception& e) {
    ShowZipMessage(kUnknownSpanError, e.what());
    result = -9;
  }
  FZipBusy = false;
  return result;
}

}  // namespace tq
