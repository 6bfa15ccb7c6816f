#include "SfxArchive.h"

#include <zlib.h>

#include <algorithm>

#include "MemberNames.h"
#include "LittleEndian.h"

namespace tq::zipstub {
namespace {

using le::Get16;
using le::Get32;

std::wstring Decode(const std::string& raw, bool utf8) {
  if (raw.empty()) return std::wstring();
  UINT cp = utf8 ? CP_UTF8 : CP_OEMCP;
  int n = MultiByteToWideChar(cp, 0, raw.data(), int(raw.size()), nullptr, 0);
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(cp, 0, raw.data(), int(raw.size()), w.data(), n);
  return w;
}

struct THandleCloser {
  HANDLE H;
  ~THandleCloser() {
    if (H != INVALID_HANDLE_VALUE) CloseHandle(H);
  }
};

}  // namespace

TSfxFile::~TSfxFile() {
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
}

bool TSfxFile::Open(const std::wstring& path) {
  FHandle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (FHandle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER li;
  if (!GetFileSizeEx(FHandle, &li)) return false;
  FSize = uint64_t(li.QuadPart);
  return true;
}

bool TSfxFile::ReadAt(uint64_t at, void* data, size_t size) {
  if (at > FSize || size > FSize - at) return false;
  LARGE_INTEGER li;
  li.QuadPart = LONGLONG(at);
  if (!SetFilePointerEx(FHandle, li, nullptr, FILE_BEGIN)) return false;
  uint8_t* p = static_cast<uint8_t*>(data);
  while (size > 0) {
    DWORD got = 0, want = DWORD(std::min<size_t>(size, 1u << 20));
    if (!ReadFile(FHandle, p, want, &got, nullptr) || got == 0) return false;
    p += got;
    size -= got;
  }
  return true;
}

bool TSfxFile::ImageEnd(uint64_t& end) {
  uint8_t dos[64];
  if (!ReadAt(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
  uint32_t pe = Get32(dos + 0x3C);
  uint8_t head[24];
  if (!ReadAt(pe, head, sizeof head) || Get32(head) != 0x00004550) return false;
  uint16_t sections = Get16(head + 6);
  uint16_t optionalSize = Get16(head + 20);
  uint8_t opt[64];
  if (optionalSize < 64 || !ReadAt(pe + 24, opt, sizeof opt)) return false;
  end = Get32(opt + 60);  // SizeOfHeaders
  uint64_t table = uint64_t(pe) + 24 + optionalSize;
  for (uint16_t i = 0; i < sections; ++i) {
    uint8_t s[40];
    if (!ReadAt(table + 40ull * i, s, sizeof s)) return false;
    uint32_t rawSize = Get32(s + 16), rawPtr = Get32(s + 20);
    if (rawSize) end = std::max<uint64_t>(end, uint64_t(rawPtr) + rawSize);
  }
  return end <= FSize;
}

bool TSfxFile::ReadOptions(uint64_t at, TSfxOptions& options) {
  uint8_t buf[12 + 4 * 255 + 3];
  size_t n = size_t(std::min<uint64_t>(sizeof buf, FSize > at ? FSize - at : 0));
  if (n < 12 || !ReadAt(at, buf, n)) return false;
  auto o = DecodeSfxOptions(buf, n);
  if (!o) return false;
  options = *o;
  return true;
}

TStubResult TSfxFile::ReadDirectory(uint64_t archiveStart, bool checkSize, std::vector<TSfxMember>& members) {
  using namespace zipeng;
  if (FSize < archiveStart + kEndFixedSize) return srNoArchive;
  size_t tailSize = size_t(std::min<uint64_t>(FSize - archiveStart, kEndSearchLength));
  std::vector<uint8_t> tail(tailSize);
  if (!ReadAt(FSize - tailSize, tail.data(), tailSize)) return srNoArchive;
  auto at = FindEndRecord(tail, checkSize ? esExactOnly : esLastThatFits);
  if (!at) return srNoArchive;
  auto end = DecodeEndRecord(&tail[*at], tailSize - *at);
  if (!end) return srNoArchive;
  uint64_t endPos = FSize - tailSize + *at;
  if (end->DiskNumber != 0 || end->CentralDisk != 0) return srNoArchive;  // spanned sets are not ours
  uint32_t dirSize = end->CentralSize, dirOffset = end->CentralOffset;
  if (dirSize > endPos - archiveStart) return srNoArchive;
  uint64_t dirStart = endPos - dirSize;
  // Offsets count either from the file's start or from the archive's.
  if (dirStart < dirOffset) return srNoArchive;
  uint64_t shift = dirStart - dirOffset;
  std::vector<uint8_t> dir(dirSize);
  if (dirSize && !ReadAt(dirStart, dir.data(), dirSize)) return srNoArchive;
  size_t pos = 0;
  for (uint32_t i = 0; i < end->Entries; ++i) {
    TSfxMember m;
    if (DecodeCentralEntry(dir, pos, m.Central) != crOk) return srNoArchive;
    m.LocalOffset = uint64_t(m.Central.LocalOffset) + shift;
    if (m.LocalOffset < archiveStart || m.LocalOffset >= dirStart) return srNoArchive;
    m.Name = Decode(m.Central.Name, (m.Central.Flags & kFlagUtf8Names) != 0);
    if (auto safe = SafeMemberPath(m.Name)) {
      m.Path = *safe;
      m.Folder = m.Path.back() == L'\\';
    }
    members.push_back(std::move(m));
  }
  // Each member has a local header and data of its own: entries that share
  // or overlap them would claim far more than the archive holds.
  std::vector<const TSfxMember*> byOffset;
  for (const TSfxMember& m : members) byOffset.push_back(&m);
  std::sort(byOffset.begin(), byOffset.end(),
            [](const TSfxMember* a, const TSfxMember* b) { return a->LocalOffset < b->LocalOffset; });
  for (size_t i = 0; i < byOffset.size(); ++i) {
    const uint64_t memberEnd = byOffset[i]->LocalOffset + kLocalFixedSize + byOffset[i]->Central.CompressedSize;
    const uint64_t next = i + 1 < byOffset.size() ? byOffset[i + 1]->LocalOffset : dirStart;
    if (memberEnd > next) return srNoArchive;
  }
  return srOk;
}

TStubResult TSfxFile::Extract(const TSfxMember& m, const std::wstring& path) {
  using namespace zipeng;
  const TCentralHeader& c = m.Central;
  uint8_t lh[kLocalFixedSize];
  if (!ReadAt(m.LocalOffset, lh, sizeof lh)) return srNoArchive;
  auto header = DecodeLocalFixed(lh);
  if (!header) return srNoArchive;
  uint64_t data = m.LocalOffset + kLocalFixedSize + header->NameLength + header->ExtraLength;
  if ((c.Flags & kFlagEncrypted) || (c.Method != kMethodStored && c.Method != kMethodDeflated)) return srExtractFailed;
  if (c.Method == kMethodStored && c.CompressedSize != c.Size) return srNoArchive;

  DWORD old = GetFileAttributesW(path.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return srExtractFailed;
  bool ok = true;
  {
    THandleCloser closer{out};
    z_stream z{};
    bool inflating = c.Method == kMethodDeflated;
    if (inflating && inflateInit2(&z, -MAX_WBITS) != Z_OK) return srExtractFailed;
    std::vector<uint8_t> in(1 << 16), buf(1 << 16);
    uint64_t left = c.CompressedSize, written = 0;
    uLong crc = crc32(0, nullptr, 0);
    int zr = Z_OK;
    auto put = [&](const uint8_t* p, size_t n) {
      DWORD w = 0;
      crc = crc32(crc, p, uInt(n));
      written += n;
      return n == 0 || (WriteFile(out, p, DWORD(n), &w, nullptr) && w == n);
    };
    uint64_t pos = data;
    while (ok && left > 0) {
      size_t n = size_t(std::min<uint64_t>(left, in.size()));
      if (!ReadAt(pos, in.data(), n)) {
        ok = false;
        break;
      }
      pos += n;
      left -= n;
      if (!inflating) {
        ok = put(in.data(), n);
        continue;
      }
      z.next_in = in.data();
      z.avail_in = uInt(n);
      do {
        z.next_out = buf.data();
        z.avail_out = uInt(buf.size());
        zr = inflate(&z, Z_NO_FLUSH);
        if (zr != Z_OK && zr != Z_STREAM_END && zr != Z_BUF_ERROR) ok = false;
        else ok = put(buf.data(), buf.size() - z.avail_out);
        if (written > c.Size) ok = false;
      } while (ok && z.avail_out == 0 && zr != Z_STREAM_END);
      if (zr == Z_STREAM_END && (z.avail_in != 0 || left != 0)) ok = false;  // data after the stream's end
    }
    if (inflating) {
      if (zr != Z_STREAM_END) ok = false;  // the stream was cut short
      inflateEnd(&z);
    }
    if (ok && (written != c.Size || uint32_t(crc) != c.Crc)) ok = false;
    if (ok) {
      FILETIME local, utc;
      if (DosDateTimeToFileTime(c.Date, c.Time, &local) && LocalFileTimeToFileTime(&local, &utc))
        SetFileTime(out, nullptr, nullptr, &utc);
    }
  }
  if (!ok) {
    DeleteFileW(path.c_str());
    return srExtractFailed;
  }
  DWORD keep = c.ExternalAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  if (keep) SetFileAttributesW(path.c_str(), keep);
  return srOk;
}

}  // namespace tq::zipstub
