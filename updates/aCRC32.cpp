#include "aCRC32.h"

#include <array>
#include <vector>

#include "DateTime.h"
#include "FileUtils.h"

namespace tq {

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    t[i] = c;
  }
  return t;
}

constexpr std::array<uint32_t, 256> CrcTable = MakeCrcTable();

constexpr size_t StreamPiece = 65520;

// A local time as the file system's packed date (high word) and time (low word).
uint32_t PackedFileDate(TDateTime When) {
  if (When < 0) return 0;
  int year, month, day, hour, min, sec, msec;
  DecodeDate(When, year, month, day);
  DecodeTime(When, hour, min, sec, msec);
  if (year < 1980 || year > 2107) return 0;
  uint32_t date = (uint32_t(year - 1980) << 9) | (uint32_t(month) << 5) | uint32_t(day);
  uint32_t time = (uint32_t(hour) << 11) | (uint32_t(min) << 5) | uint32_t(sec / 2);
  return (date << 16) | time;
}

}  // namespace

uint32_t CRC32Update(const void* Buffer, uint32_t CRC, size_t Length) {
  const auto* p = static_cast<const uint8_t*>(Buffer);
  for (size_t i = 0; i < Length; ++i) CRC = CrcTable[(CRC ^ p[i]) & 0xFF] ^ (CRC >> 8);
  return CRC;
}

uint32_t CRC32Buffer(const void* Buffer, size_t Length) {
  return ~CRC32Update(Buffer, 0xFFFFFFFFu, Length);
}

uint32_t StreamCRC32(TStream& Stream) {
  int64_t start = Stream.Position();
  std::vector<uint8_t> buf(StreamPiece);
  uint32_t crc = 0xFFFFFFFFu;
  for (;;) {
    int64_t n = Stream.Read(buf.data(), int64_t(buf.size()));
    if (n <= 0) break;
    crc = CRC32Update(buf.data(), crc, size_t(n));
  }
  Stream.SetPosition(start);
  return ~crc;
}

void GetFileInfo(const std::string& Path, TFileSideInfo& Side, uint32_t* Date) {
  TFileStream f(Path, fmOpenRead | fmShareDenyNone);
  auto size = static_cast<uint64_t>(f.Size());
  Side.SizeHigh = static_cast<uint32_t>(size >> 32);
  Side.SizeLow = static_cast<uint32_t>(size);
  if (Date) *Date = PackedFileDate(FileAge(Path));
  f.SetPosition(0);
  Side.CRC = StreamCRC32(f);
}

}  // namespace tq
