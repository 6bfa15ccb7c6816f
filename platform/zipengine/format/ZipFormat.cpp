#include "ZipFormat.h"

#include "LittleEndian.h"

namespace tq::zipeng {
namespace {

using le::Get16;
using le::Get32;
void Put16(std::vector<uint8_t>& b, uint16_t v) { le::Append16(b, v); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { le::Append32(b, v); }
void PutText(std::vector<uint8_t>& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

}  // namespace

std::vector<uint8_t> EncodeLocalHeader(const TLocalHeader& h) {
  std::vector<uint8_t> b;
  Put32(b, kLocalSignature);
  Put16(b, h.VersionNeeded);
  Put16(b, h.Flags);
  Put16(b, h.Method);
  Put16(b, h.Time);
  Put16(b, h.Date);
  Put32(b, h.Crc);
  Put32(b, h.CompressedSize);
  Put32(b, h.Size);
  Put16(b, uint16_t(h.Name.size()));
  Put16(b, uint16_t(h.Extra.size()));
  PutText(b, h.Name);
  PutText(b, h.Extra);
  return b;
}

std::vector<uint8_t> EncodeCentralHeader(const TCentralHeader& h) {
  std::vector<uint8_t> b;
  Put32(b, kCentralSignature);
  Put16(b, h.VersionMadeBy);
  Put16(b, h.VersionNeeded);
  Put16(b, h.Flags);
  Put16(b, h.Method);
  Put16(b, h.Time);
  Put16(b, h.Date);
  Put32(b, h.Crc);
  Put32(b, h.CompressedSize);
  Put32(b, h.Size);
  Put16(b, uint16_t(h.Name.size()));
  Put16(b, uint16_t(h.Extra.size()));
  Put16(b, uint16_t(h.Comment.size()));
  Put16(b, h.DiskStart);
  Put16(b, h.InternalAttributes);
  Put32(b, h.ExternalAttributes);
  Put32(b, h.LocalOffset);
  PutText(b, h.Name);
  PutText(b, h.Extra);
  PutText(b, h.Comment);
  return b;
}

std::vector<uint8_t> EncodeEndRecord(const TEndRecord& e) {
  std::vector<uint8_t> b;
  Put32(b, kEndSignature);
  Put16(b, e.DiskNumber);
  Put16(b, e.CentralDisk);
  Put16(b, e.EntriesOnDisk);
  Put16(b, e.Entries);
  Put32(b, e.CentralSize);
  Put32(b, e.CentralOffset);
  Put16(b, uint16_t(e.Comment.size()));
  PutText(b, e.Comment);
  return b;
}

std::optional<TLocalFixed> DecodeLocalFixed(const uint8_t* p) {
  if (Get32(p) != kLocalSignature) return std::nullopt;
  TLocalFixed f;
  f.Header.VersionNeeded = Get16(p + 4);
  f.Header.Flags = Get16(p + 6);
  f.Header.Method = Get16(p + 8);
  f.Header.Time = Get16(p + 10);
  f.Header.Date = Get16(p + 12);
  f.Header.Crc = Get32(p + 14);
  f.Header.CompressedSize = Get32(p + 18);
  f.Header.Size = Get32(p + 22);
  f.NameLength = Get16(p + 26);
  f.ExtraLength = Get16(p + 28);
  return f;
}

TCentralRead DecodeCentralEntry(const std::vector<uint8_t>& dir, size_t& pos, TCentralHeader& h) {
  if (pos > dir.size() || dir.size() - pos < kCentralFixedSize) return crFixedShort;
  const uint8_t* p = &dir[pos];
  if (Get32(p) != kCentralSignature) return crBadSignature;
  h.VersionMadeBy = Get16(p + 4);
  h.VersionNeeded = Get16(p + 6);
  h.Flags = Get16(p + 8);
  h.Method = Get16(p + 10);
  h.Time = Get16(p + 12);
  h.Date = Get16(p + 14);
  h.Crc = Get32(p + 16);
  h.CompressedSize = Get32(p + 20);
  h.Size = Get32(p + 24);
  const size_t nameLength = Get16(p + 28), extraLength = Get16(p + 30), commentLength = Get16(p + 32);
  h.DiskStart = Get16(p + 34);
  h.InternalAttributes = Get16(p + 36);
  h.ExternalAttributes = Get32(p + 38);
  h.LocalOffset = Get32(p + 42);
  size_t at = pos + kCentralFixedSize;
  if (dir.size() - at < nameLength) return crNameShort;
  if (dir.size() - at - nameLength < extraLength + commentLength) return crRestShort;
  const char* var = reinterpret_cast<const char*>(&dir[at]);
  h.Name.assign(var, nameLength);
  h.Extra.assign(var + nameLength, extraLength);
  h.Comment.assign(var + nameLength + extraLength, commentLength);
  pos = at + nameLength + extraLength + commentLength;
  return crOk;
}

std::optional<TEndRecord> DecodeEndRecord(const uint8_t* p, size_t available) {
  if (available < kEndFixedSize || Get32(p) != kEndSignature) return std::nullopt;
  TEndRecord e;
  e.DiskNumber = Get16(p + 4);
  e.CentralDisk = Get16(p + 6);
  e.EntriesOnDisk = Get16(p + 8);
  e.Entries = Get16(p + 10);
  e.CentralSize = Get32(p + 12);
  e.CentralOffset = Get32(p + 16);
  uint16_t commentLength = Get16(p + 20);
  if (kEndFixedSize + size_t(commentLength) > available) return std::nullopt;
  e.Comment.assign(reinterpret_cast<const char*>(p + kEndFixedSize), commentLength);
  return e;
}

std::optional<size_t> FindEndRecord(const std::vector<uint8_t>& tail, TEndSearch rule) {
  if (tail.size() < kEndFixedSize) return std::nullopt;
  std::optional<size_t> fits;
  for (size_t pos = tail.size() - kEndFixedSize + 1; pos-- > 0;) {
    if (Get32(&tail[pos]) != kEndSignature) continue;
    const size_t commentEnd = pos + kEndFixedSize + Get16(&tail[pos + 20]);
    if (commentEnd == tail.size()) return pos;
    if (commentEnd > tail.size() || fits) continue;
    if (rule == esLastThatFits) return pos;
    if (rule == esPreferExact) fits = pos;
  }
  return fits;
}

}  // namespace tq::zipeng
