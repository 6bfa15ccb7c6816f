#include "ExistingArchive.h"

#include <algorithm>

namespace tq::zipeng {
namespace {

EEngineFailure Bad(const std::string& path, const std::string& why) {
  return EEngineFailure{zeBadArchive, "Cannot update " + path + ": " + why};
}

}  // namespace

void TExistingArchive::Read(const std::string& path) {
  FPath = path;
  if (!FIn.Open(path)) throw EEngineFailure{zeRead, "Cannot open " + path};
  uint64_t size = FIn.Size();
  if (size >= 0xFFFFFFFFull) throw Bad(path, "archive too large");
  size_t tailSize = size_t(std::min<uint64_t>(size, kEndSearchLength));
  std::vector<uint8_t> tail(tailSize);
  if (!FIn.ReadAt(size - tailSize, tail.data(), tailSize)) throw Bad(path, "read error");
  auto at = FindEndRecord(tail, esPreferExact);
  if (!at) throw Bad(path, "not a zip archive");
  auto end = DecodeEndRecord(&tail[*at], tail.size() - *at);
  if (!end) throw Bad(path, "damaged end record");
  if (end->DiskNumber != 0 || end->CentralDisk != 0 || end->Entries != end->EntriesOnDisk)
    throw Bad(path, "a spanned archive cannot be updated");
  if (end->Entries == 0xFFFF || end->CentralOffset == 0xFFFFFFFF || end->CentralSize == 0xFFFFFFFF)
    throw Bad(path, "64-bit archives are not supported");
  FComment = end->Comment;

  uint64_t endPos = size - tailSize + *at;
  if (end->CentralSize > endPos) throw Bad(path, "damaged central directory");
  uint64_t centralStart = endPos - end->CentralSize;
  if (centralStart < end->CentralOffset) throw Bad(path, "damaged central directory");
  // Data in front of the archive shifts every stored offset by the same amount.
  uint64_t shift = centralStart - end->CentralOffset;

  std::vector<uint8_t> dir(end->CentralSize);
  if (!dir.empty() && !FIn.ReadAt(centralStart, dir.data(), dir.size())) throw Bad(path, "read error");
  size_t pos = 0;
  FPrefixLength = centralStart;
  for (uint32_t i = 0; i < end->Entries; ++i) {
    TExistingEntry e;
    switch (DecodeCentralEntry(dir, pos, e.Central)) {
      case crOk: break;
      case crBadSignature: throw Bad(path, "central header signature wrong");
      default: throw Bad(path, "damaged central directory");
    }
    if (e.Central.CompressedSize == 0xFFFFFFFF || e.Central.Size == 0xFFFFFFFF ||
        e.Central.LocalOffset == 0xFFFFFFFF)
      throw Bad(path, "64-bit archives are not supported");
    uint64_t local = uint64_t(e.Central.LocalOffset) + shift;
    if (local + kLocalFixedSize > centralStart) throw Bad(path, "damaged member offset");
    e.Central.LocalOffset = uint32_t(local);
    FPrefixLength = std::min<uint64_t>(FPrefixLength, local);
    FEntries.push_back(e);
  }
}

void TExistingArchive::Copy(uint64_t from, uint64_t count, TOutFile& out) {
  std::vector<uint8_t> buf(1 << 16);
  if (!FIn.Seek(from)) throw Bad(FPath, "seek error");
  while (count > 0) {
    size_t n = size_t(std::min<uint64_t>(count, buf.size()));
    if (FIn.Read(buf.data(), n) != n) throw Bad(FPath, "member data cut short");
    out.Write(buf.data(), n);
    count -= n;
  }
}

void TExistingArchive::CopyPrefix(TOutFile& out) { Copy(0, FPrefixLength, out); }

TCentralHeader TExistingArchive::CopyMember(const TExistingEntry& entry, TOutFile& out) {
  uint8_t raw[kLocalFixedSize];
  uint64_t at = entry.Central.LocalOffset;
  if (!FIn.ReadAt(at, raw, sizeof raw)) throw Bad(FPath, "member header cut short");
  auto fixed = DecodeLocalFixed(raw);
  if (!fixed) throw Bad(FPath, "local header signature wrong");
  TLocalHeader local = fixed->Header;
  std::string var(size_t(fixed->NameLength) + fixed->ExtraLength, '\0');
  if (!var.empty() && !FIn.ReadAt(at + kLocalFixedSize, var.data(), var.size()))
    throw Bad(FPath, "member header cut short");
  local.Name = var.substr(0, fixed->NameLength);
  local.Extra = var.substr(fixed->NameLength);
  uint64_t dataStart = at + kLocalFixedSize + var.size();
  uint64_t dataEnd = dataStart + entry.Central.CompressedSize;
  if (dataEnd > FIn.Size()) throw Bad(FPath, "member data cut short");

  TCentralHeader central = entry.Central;
  central.LocalOffset = uint32_t(out.Position());
  central.DiskStart = 0;
  bool descriptor = (local.Flags & kFlagDescriptor) != 0;
  if (descriptor && !(local.Flags & kFlagEncrypted)) {
    local.Flags &= uint16_t(~kFlagDescriptor);
    central.Flags &= uint16_t(~kFlagDescriptor);
    descriptor = false;
  }
  if (!descriptor) {
    local.Crc = central.Crc;
    local.CompressedSize = central.CompressedSize;
    local.Size = central.Size;
  }
  out.Write(EncodeLocalHeader(local));
  Copy(dataStart, entry.Central.CompressedSize, out);
  if (descriptor) {
    uint8_t sig[4] = {};
    bool signed16 = FIn.ReadAt(dataEnd, sig, 4) && sig[0] == 0x50 && sig[1] == 0x4B && sig[2] == 7 && sig[3] == 8;
    Copy(dataEnd, signed16 ? 16 : 12, out);
  }
  return central;
}

}  // namespace tq::zipeng
