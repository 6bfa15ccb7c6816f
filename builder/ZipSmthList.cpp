// Reading the archive's directory: the end record, then every central header
// into the entry list.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <new>

#include "FileUtils.h"
#include "LittleEndian.h"
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
  end.SpannedFirst = size >= 8 && f.ReadAt(0, head, 8) && Get32(head) == 0x08074B50 && Get32(head + 4) == 0x04034B50;

  // The last 22 bytes, or searched backwards.
  size_t tailSize = size_t(std::min<uint64_t>(size, 65557));
  std::vector<uint8_t> tail(tailSize);
  if (tailSize >= 22 && f.ReadAt(size - tailSize, tail.data(), tailSize)) {
    for (size_t pos = tailSize - 22 + 1; pos-- > 0;) {
      if (Get32(&tail[pos]) != 0x06054B50) continue;
      size_t commentLength = Get16(&tail[pos + 20]);
      if (pos + 22 + commentLength > tailSize) continue;
      const uint8_t* e = &tail[pos];
      end.Position = size - tailSize + pos;
      end.ThisDisk = Get16(e + 4);
      end.CentralDisk = Get16(e + 6);
      end.EntriesOnDisk = Get16(e + 8);
      end.Entries = Get16(e + 10);
      end.CentralSize = Get32(e + 12);
      end.CentralOffset = Get32(e + 16);
      end.Comment.assign(reinterpret_cast<const char*>(e + 22), commentLength);
      end.ArchiveSize = end.Position + 22 + commentLength;
      // What follows the record and its comment: zero padding to a 512-byte
      // boundary is accepted, anything else is garbage.
      bool zeros = std::all_of(tail.begin() + long(pos + 22 + commentLength), tail.end(), [](uint8_t b) { return b == 0; });
      uint64_t extra = size - end.ArchiveSize;
      if (extra && !(zeros && extra < 512 && size % 512 == 0)) ShowZipMessage(zipmsg::GarbageAtEnd);
      return true;
    }
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
    if (pos + 46 > dir.size()) throw EZipSmith(zipmsg::CentralHeaderRead);
    const uint8_t* c = &dir[pos];
    if (Get32(c) != 0x02014B50) throw EZipSmith(zipmsg::CentralSignature);
    ZipDirEntry e;
    e.MadeByVersion = c[4];
    e.HostVersionNo = c[5];
    e.Version = Get16(c + 6);
    e.Flag = Get16(c + 8);
    e.CompressionMethod = Get16(c + 10);
    e.DateTime = (uint32_t(Get16(c + 14)) << 16) | Get16(c + 12);
    e.CRC32 = Get32(c + 16);
    e.CompressedSize = Get32(c + 20);
    e.UncompressedSize = Get32(c + 24);
    e.FileNameLength = Get16(c + 28);
    e.ExtraFieldLength = Get16(c + 30);
    e.FileCommentLen = Get16(c + 32);
    e.StartOnDisk = Get16(c + 34);
    e.IntFileAttrib = Get16(c + 36);
    e.ExtFileAttrib = Get32(c + 38);
    e.RelOffLocalHdr = Get32(c + 42);
    pos += 46;
    if (pos + e.FileNameLength > dir.size()) throw EZipSmith(zipmsg::CentralNameRead);
    e.FileName.assign(reinterpret_cast<const char*>(&dir[pos]), e.FileNameLength);
    pos += e.FileNameLength;
    if (pos + e.ExtraFieldLength + e.FileCommentLen > dir.size()) throw EZipSmith(zipmsg::CommentRead);
    e.ExtraData.assign(reinterpret_cast<const char*>(&dir[pos]), e.ExtraFieldLength);
    pos += e.ExtraFieldLength;
    e.FileComment.assign(reinterpret_cast<const char*>(&dir[pos]), e.FileCommentLen);
    pos += e.FileCommentLen;
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
