// Reading the archive's directory: the end record, then every central header
// into the entry list.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <new>

#include "FileUtils.h"
#include "LittleEndian.h"
#include "ZipFormat.h"
#include "ZipSmth.h"
#include "ZipSmthMessages.h"

namespace tq {
namespace {

using le::Get16;
using le::Get32;

// Characters from 128 up, from the OEM to the ANSI code page.
std::string ConvertOEM(const std::string& s) {
  std::string out = s;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 128) continue;
    char in[2] = {c, 0}, conv[2] = {c, 0};
    OemToCharBuffA(in, conv, 1);
    c = conv[0];
  }
  return out;
}

class TArchiveFile {
 public:
  explicit TArchiveFile(const std::string& path) : FIn(path, std::ios::binary) {
    if (FIn) {
      FIn.seekg(0, std::ios::end);
      FSize = uint64_t(FIn.tellg());
    }
  }
  bool IsOpen() const { return bool(FIn); }
  uint64_t Size() const { return FSize; }
  bool ReadAt(uint64_t at, void* p, size_t n) {
    FIn.clear();
    FIn.seekg(std::streamoff(at));
    FIn.read(static_cast<char*>(p), std::streamsize(n));
    return size_t(FIn.gcount()) == n;
  }

 private:
  std::ifstream FIn;
  uint64_t FSize = 0;
};

}  // namespace

bool TZipSmith::ReadEOC(const std::string& path, TZipEndRecord& end, bool raise) {
  end = TZipEndRecord();
  TArchiveFile f(path);
  if (!f.IsOpen()) {
    if (raise) throw EZipSmith(zipmsg::ZipOpenError);
    return false;
  }
  uint64_t size = f.Size();
  uint8_t head[8] = {};
  end.SpannedFirst = size >= 8 && f.ReadAt(0, head, 8) && Get32(head) == zipeng::kDescriptorSignature &&
                     Get32(head + 4) == zipeng::kLocalSignature;

  // The last 22 bytes, or searched backwards.
  size_t tailSize = size_t(std::min<uint64_t>(size, zipeng::kEndSearchLength));
  std::vector<uint8_t> tail(tailSize);
  std::optional<size_t> at;
  if (tailSize >= zipeng::kEndFixedSize && f.ReadAt(size - tailSize, tail.data(), tailSize))
    at = zipeng::FindEndRecord(tail, zipeng::esLastThatFits);
  if (auto e = at ? zipeng::DecodeEndRecord(&tail[*at], tailSize - *at) : std::nullopt) {
    end.Position = size - tailSize + *at;
    end.ThisDisk = e->DiskNumber;
    end.CentralDisk = e->CentralDisk;
    end.EntriesOnDisk = e->EntriesOnDisk;
    end.Entries = e->Entries;
    end.CentralSize = e->CentralSize;
    end.CentralOffset = e->CentralOffset;
    end.Comment = e->Comment;
    end.ArchiveSize = end.Position + zipeng::kEndFixedSize + end.Comment.size();
    // What follows the record and its comment: zero padding to a 512-byte
    // boundary is accepted, anything else is garbage.
    const size_t after = *at + zipeng::kEndFixedSize + end.Comment.size();
    bool zeros = std::all_of(tail.begin() + long(after), tail.end(), [](uint8_t b) { return b == 0; });
    uint64_t extra = size - end.ArchiveSize;
    if (extra && !(zeros && extra < 512 && size % 512 == 0)) ShowZipMessage(zipmsg::GarbageAtEnd);
    return true;
  }
  if (!raise) return false;
  if (end.SpannedFirst) {
    UINT type = GetDriveTypeA(ExtractFileDrive(ExpandFileName(path)).append("\\").c_str());
    throw EZipSmith(type == DRIVE_REMOVABLE ? zipmsg::FirstDiskOfSet : zipmsg::FirstFileOfSet);
  }
  throw EZipSmith(zipmsg::NotAZip);
}

void TZipSmith::ReadDirectory() {
  TZipEndRecord end;
  ReadEOC(FZipFileName, end, true);
  TArchiveFile f(FZipFileName);
  FZipSize = uint32_t(end.ArchiveSize);
  FEOCPosition = uint32_t(end.Position);
  FZipComment = end.Comment;

  if (end.ThisDisk != 0) {
    // The last volume of a spanned set: its directory is read only when it
    // lies wholly on this volume.
    if (end.CentralDisk != end.ThisDisk || end.EntriesOnDisk != end.Entries) return;
  }
  if (end.CentralSize > end.Position) throw EZipSmith(zipmsg::SeekError);
  uint64_t dirAt = end.Position - end.CentralSize;
  if (dirAt != end.CentralOffset) {
    FZipStructureError = true;
    ShowZipMessage(zipmsg::StructureError);
  }
  std::vector<uint8_t> dir(end.CentralSize);
  if (!dir.empty() && !f.ReadAt(dirAt, dir.data(), dir.size())) throw EZipSmith(zipmsg::SeekError);
  size_t pos = 0;
  uint64_t firstLocal = dirAt;
  for (int i = 0; i < end.Entries; ++i) {
    zipeng::TCentralHeader c;
    switch (zipeng::DecodeCentralEntry(dir, pos, c)) {
      case zipeng::crOk: break;
      case zipeng::crFixedShort: throw EZipSmith(zipmsg::CentralHeaderRead);
      case zipeng::crBadSignature: throw EZipSmith(zipmsg::CentralSignature);
      case zipeng::crNameShort: throw EZipSmith(zipmsg::CentralNameRead);
      case zipeng::crRestShort: throw EZipSmith(zipmsg::CommentRead);
    }
    ZipDirEntry e;
    e.MadeByVersion = uint8_t(c.VersionMadeBy);
    e.HostVersionNo = uint8_t(c.VersionMadeBy >> 8);
    e.Version = c.VersionNeeded;
    e.Flag = c.Flags;
    e.CompressionMethod = c.Method;
    e.DateTime = (uint32_t(c.Date) << 16) | c.Time;
    e.CRC32 = c.Crc;
    e.CompressedSize = c.CompressedSize;
    e.UncompressedSize = c.Size;
    e.FileNameLength = uint16_t(c.Name.size());
    e.ExtraFieldLength = uint16_t(c.Extra.size());
    e.FileCommentLen = uint16_t(c.Comment.size());
    e.StartOnDisk = c.DiskStart;
    e.IntFileAttrib = c.InternalAttributes;
    e.ExtFileAttrib = c.ExternalAttributes;
    e.RelOffLocalHdr = c.LocalOffset;
    e.FileName = c.Name;
    e.ExtraData = c.Extra;
    e.FileComment = c.Comment;
    bool oem = CodePage == cpOEM || (e.HostVersionNo == 0 && CodePage == cpAuto) || e.HostVersionNo == 6 ||
               (e.HostVersionNo == 11 && e.MadeByVersion == 50);
    if (oem) {
      e.FileName = ConvertOEM(e.FileName);
      e.FileComment = ConvertOEM(e.FileComment);
    }
    firstLocal = std::min<uint64_t>(firstLocal, e.RelOffLocalHdr);
    FZipContents.push_back(e);
    if (OnNewName) OnNewName(this, int(FZipContents.size()), FZipContents.back());
  }
  // Data in front of the first member: a self-extractor's program.
  FSFXOffset = end.ThisDisk != 0 ? 0 : uint32_t(firstLocal);
}

void TZipSmith::List() {
  FZipContents.clear();
  FZipStructureError = false;
  FZipComment.clear();
  if (!FZipFileName.empty() && FileExists(FZipFileName)) {
    try {
      std::string drive = ExtractFileDrive(ExpandFileName(FZipFileName));
      if (drive.size() == 2 && GetDriveTypeA((drive + "\\").c_str()) == DRIVE_NO_ROOT_DIR)
        throw EZipSmith(zipmsg::DriveNotDefined, {drive});
      ReadDirectory();
    } catch (const EZipSmith& e) {
      ShowZipException(e);
      FZipFileName.clear();
      FSFXOffset = 0;
    } catch (const std::bad_alloc&) {
      ShowZipMessage(zipmsg::NoMemory);
      FZipFileName.clear();
      FSFXOffset = 0;
    } catch (const std::exception& e) {
      ShowZipMessage(zipmsg::ListUnknownError, e.what());
      FZipFileName.clear();
      FSFXOffset = 0;
    }
  }
  if (OnDirUpdate) OnDirUpdate(this);
}

}  // namespace tq
