// Self-extractor conversion: stub, option record, then the archive with every
// stored offset moved by the length of the two; and the stub's icon.
#include <windows.h>
#include <shellapi.h>

#include <fstream>

#include "FileUtils.h"
#include "LittleEndian.h"
#include "ZipFormat.h"
#include "ZipSmth.h"
#include "ZipSmthMessages.h"

namespace tq {
namespace {

constexpr int kIconImageSize = 744;   // one 32x32 image in 16 colours
constexpr int kIconFileSize = 766;    // that image as an icon file

using le::Get16;
using le::Get32;
using le::Put32;

std::vector<uint8_t> ReadAll(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = bool(in);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ProgramFolder() {
  char buf[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  std::string p(buf, n);
  return p.substr(0, p.find_last_of('\\') + 1);
}

// Where the stub's one replaceable icon image lies (type 3, name 1, any
// language, 744 bytes); 0 when it has none.
size_t FindIconImage(const std::vector<uint8_t>& pe) {
  if (pe.size() < 0x40 || pe[0] != 'M' || pe[1] != 'Z') return 0;
  uint32_t at = Get32(&pe[0x3C]);
  if (uint64_t(at) + 24 > pe.size() || std::string(reinterpret_cast<const char*>(&pe[at]), 4) != std::string("PE\0\0", 4))
    return 0;
  uint16_t sections = Get16(&pe[at + 6]), optSize = Get16(&pe[at + 20]);
  size_t table = size_t(at) + 24 + optSize;
  for (uint16_t i = 0; i < sections; ++i) {
    size_t s = table + 40u * i;
    if (s + 40 > pe.size()) return 0;
    if (std::string(reinterpret_cast<const char*>(&pe[s]), 6) != std::string(".rsrc\0", 6)) continue;
    uint32_t va = Get32(&pe[s + 12]), raw = Get32(&pe[s + 20]), rawSize = Get32(&pe[s + 16]);
    if (uint64_t(raw) + rawSize > pe.size()) return 0;
    auto dirEntries = [&](uint32_t off, auto&& each) -> size_t {
      if (uint64_t(off) + 16 > rawSize) return 0;
      const uint8_t* d = &pe[raw + off];
      int n = Get16(d + 12) + Get16(d + 14);
      for (int k = 0; k < n; ++k) {
        if (uint64_t(off) + 16 + 8u * (k + 1) > rawSize) return 0;
        if (size_t r = each(Get32(d + 16 + 8 * k), Get32(d + 20 + 8 * k))) return r;
      }
      return 0;
    };
    return dirEntries(0, [&](uint32_t type, uint32_t typeOff) -> size_t {
      if (type != 3 || !(typeOff & 0x80000000u)) return 0;
      return dirEntries(typeOff & 0x7FFFFFFF, [&](uint32_t name, uint32_t nameOff) -> size_t {
        if (name != 1 || !(nameOff & 0x80000000u)) return 0;
        return dirEntries(nameOff & 0x7FFFFFFF, [&](uint32_t, uint32_t dataOff) -> size_t {
          if (dataOff & 0x80000000u || uint64_t(dataOff) + 16 > rawSize) return 0;
          const uint8_t* e = &pe[raw + dataOff];
          if (Get32(e + 4) != uint32_t(kIconImageSize) || Get32(e) < va) return 0;
          uint64_t file = uint64_t(Get32(e)) - va + raw;
          return file + kIconImageSize <= pe.size() ? size_t(file) : 0;
        });
      });
    });
  }
  return 0;
}

}  // namespace

void TZipSmith::EraseFile(const std::string& path) const {
  if (HowToDelete == htdAllowUndo) {
    std::string from = ExpandFileName(path) + std::string(1, '\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    if (SHFileOperationA(&op) == 0 && !FileExists(path)) return;
  }
  DeleteFile(path);
}

std::string TZipSmith::FindStub() {
  // A stub beside the program comes before one in the current folder.
  std::vector<std::string> candidates;
  if (!SFXPath.empty()) {
    bool relative = !(SFXPath.size() > 1 && (SFXPath[1] == ':' || SFXPath[0] == '\\'));
    if (relative) candidates.push_back(ProgramFolder() + SFXPath);
    candidates.push_back(SFXPath);
  }
  candidates.push_back(ProgramFolder() + "ZIPSTUB.BIN");
  candidates.push_back("ZIPSTUB.BIN");
  char buf[MAX_PATH];
  if (UINT n = GetSystemDirectoryA(buf, MAX_PATH)) candidates.push_back(std::string(buf, n) + "\\ZIPSTUB.BIN");
  if (UINT n = GetWindowsDirectoryA(buf, MAX_PATH)) candidates.push_back(std::string(buf, n) + "\\ZIPSTUB.BIN");
  if (!FDLLDirectory.empty()) candidates.push_back(FDLLDirectory + "\\ZIPSTUB.BIN");
  for (const std::string& c : candidates)
    if (FileExists(c)) return c;
  return "";
}

int TZipSmith::ConvertSFX() { return ConvertSFXCore(false); }

int TZipSmith::ConvertSFXCore(bool automatic) {
  if (!automatic && (FZipFileName.empty() || !FileExists(FZipFileName))) {
    ShowZipMessage(zipmsg::NoZipSpecified);
    return -9;
  }
  const std::string* texts[] = {&SFXCaption, &SFXDefaultDir, &SFXCommandLine, &SFXMessage};
  size_t total = 0;
  bool tooLong = false;
  for (const std::string* t : texts) {
    total += t->size();
    tooLong |= t->size() > 255;
  }
  if (tooLong) {
    ShowZipMessage(10801, "\r\nSFXCaption + SFXDefaultDir + SFXCommandLine + SFXMessage = " + IntToStr(int64_t(total)));
    return -9;
  }
  std::string stubPath = FindStub();
  if (stubPath.empty()) {
    ShowZipMessage(10802);
    return -9;
  }
  SFXPath = stubPath;

  // The option record.
  std::vector<uint8_t> record = {0x4D, 0x50, 0x56, 0, 0, 1, 0, 0};
  uint8_t& flags = record[3];
  if (SFXOptions.Contains(SFXAskCmdLine)) flags |= 0x01;
  if (SFXOptions.Contains(SFXAskFiles)) flags |= 0x02;
  if (SFXOptions.Contains(SFXHideOverWriteBox)) flags |= 0x04;
  if (SFXOverWriteMode == OvrAlways) flags |= 0x08;
  if (SFXOverWriteMode == OvrNever) flags |= 0x10;
  if (!SFXOptions.Contains(SFXCheckSize)) flags |= 0x20;
  if (SFXOptions.Contains(SFXAutoRun)) flags |= 0x40;
  if (SFXOptions.Contains(SFXNoSuccessMsg)) flags |= 0x80;
  for (const std::string* t : texts) {
    record.push_back(uint8_t(t->size()));
    record.insert(record.end(), t->begin(), t->end());
  }
  while (record.size() % 4) record.push_back(0);
  record[6] = uint8_t(record.size());
  record[7] = uint8_t(record.size() >> 8);

  std::string outName;
  if (automatic) {
    outName = FZipFileName;
  } else {
    if (UpperCase(ExtractFileExt(FZipFileName)) != ".ZIP") {
      ShowZipMessage(10803);
      return -9;
    }
    outName = ChangeFileExt(FZipFileName, ".exe");
  }

  bool ok = false;
  std::vector<uint8_t> stub = ReadAll(stubPath, ok);
  if (!ok) return -3;
  if (!SFXIcon.empty()) {
    size_t image = FindIconImage(stub);
    if (!image) return -10;
    if (SFXIcon.size() != size_t(kIconFileSize)) return -12;
    std::copy(SFXIcon.begin() + 22, SFXIcon.end(), stub.begin() + long(image));
  }

  // The archive: directory offsets move by the stub and the record.
  uint32_t shift = uint32_t(stub.size() + record.size());
  std::vector<uint8_t> archive;
  if (automatic) {
    archive.assign(22, 0);
    Put32(&archive[0], zipeng::kEndSignature);
    Put32(&archive[16], shift);
  } else {
    try {
      List();  // fresh offsets of the archive as it is now
      if (FZipFileName.empty()) return -3;
      archive = ReadAll(FZipFileName, ok);
      if (!ok || FZipSize > archive.size() || FEOCPosition + 22 > archive.size()) return -3;
      archive.resize(FZipSize);
      if (!FZipStructureError) {
        uint8_t* end = &archive[FEOCPosition];
        uint32_t dirSize = Get32(end + 12), dirAt = Get32(end + 16);
        if (uint64_t(dirAt) + dirSize > FEOCPosition) throw EZipSmith(11043, false);
        size_t pos = dirAt;
        for (int i = 0; i < Get16(end + 10); ++i) {
          if (pos + 46 > FEOCPosition) throw EZipSmith(zipmsg::CentralHeaderRead, false);
          uint8_t* c = &archive[pos];
          if (Get32(c) != zipeng::kCentralSignature) throw EZipSmith(zipmsg::CentralSignature, false);
          Put32(c + 42, Get32(c + 42) + shift);
          pos += 46 + Get16(c + 28) + Get16(c + 30) + Get16(c + 32);
        }
        Put32(end + 16, dirAt + shift);
      }
    } catch (const std::exception&) {
      return -3;
    }
  }

  if (FileExists(outName)) EraseFile(outName);
  std::ofstream out(outName, std::ios::binary | std::ios::trunc);
  if (!out) return -1;
  out.write(reinterpret_cast<const char*>(stub.data()), std::streamsize(stub.size()));
  out.write(reinterpret_cast<const char*>(record.data()), std::streamsize(record.size()));
  out.write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
  out.close();
  bool written = bool(out) && FileSize(outName) == int64_t(stub.size() + record.size() + archive.size());
  if (!written) {
    DeleteFile(outName);
    return out ? -9 : -2;
  }
  if (!automatic) {
    EraseFile(FZipFileName);
    SetZipFileName(outName);
  }
  return 0;
}

}  // namespace tq
