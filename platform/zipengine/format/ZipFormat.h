#pragma once
// The zip archive's own records (local header, central header, end record):
// their fields and their little-endian byte form. No file access here.
// Static library tqzipformat: the zip engine, the zip component and the
// self-extractor stub read archives through it (the tests' own reader in
// platform/zipengine/tests/kit stays apart, to check them independently).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tq::zipeng {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kDescriptorSignature = 0x08074B50;
constexpr uint32_t kLocalFixedSize = 30;
constexpr uint32_t kCentralFixedSize = 46;
constexpr uint32_t kEndFixedSize = 22;
constexpr uint32_t kMaxCommentLength = 0xFFFF;

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDescriptor = 0x0008;
constexpr uint16_t kFlagUtf8Names = 0x0800;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
// Made by: version 2.0 on the MS-DOS file system (names in the OEM code page).
constexpr uint16_t kVersionMadeBy = 20;
constexpr uint16_t kVersionStored = 10;
constexpr uint16_t kVersionDeflated = 20;

struct TLocalHeader {
  uint16_t VersionNeeded = 0;
  uint16_t Flags = 0;
  uint16_t Method = 0;
  uint16_t Time = 0;
  uint16_t Date = 0;
  uint32_t Crc = 0;
  uint32_t CompressedSize = 0;
  uint32_t Size = 0;
  std::string Name;   // raw bytes as stored
  std::string Extra;
};

struct TCentralHeader {
  uint16_t VersionMadeBy = 0;
  uint16_t VersionNeeded = 0;
  uint16_t Flags = 0;
  uint16_t Method = 0;
  uint16_t Time = 0;
  uint16_t Date = 0;
  uint32_t Crc = 0;
  uint32_t CompressedSize = 0;
  uint32_t Size = 0;
  uint16_t DiskStart = 0;
  uint16_t InternalAttributes = 0;
  uint32_t ExternalAttributes = 0;
  uint32_t LocalOffset = 0;
  std::string Name;
  std::string Extra;
  std::string Comment;
};

struct TEndRecord {
  uint16_t DiskNumber = 0;
  uint16_t CentralDisk = 0;
  uint16_t EntriesOnDisk = 0;
  uint16_t Entries = 0;
  uint32_t CentralSize = 0;
  uint32_t CentralOffset = 0;
  std::string Comment;
};

std::vector<uint8_t> EncodeLocalHeader(const TLocalHeader& h);
std::vector<uint8_t> EncodeCentralHeader(const TCentralHeader& h);
std::vector<uint8_t> EncodeEndRecord(const TEndRecord& e);

// Fixed parts: the caller reads the variable fields (lengths given back).
struct TLocalFixed {
  TLocalHeader Header;
  uint16_t NameLength = 0;
  uint16_t ExtraLength = 0;
};
std::optional<TLocalFixed> DecodeLocalFixed(const uint8_t* p);  // 30 bytes

// One central entry, its name, extra field and comment included, from the
// directory's bytes at pos. The parts are checked in this order; the first
// that is cut short or wrong is the answer. On crOk pos moves past the entry.
enum TCentralRead { crOk, crFixedShort, crBadSignature, crNameShort, crRestShort };
TCentralRead DecodeCentralEntry(const std::vector<uint8_t>& dir, size_t& pos, TCentralHeader& h);

// The end record lies in the last kEndSearchLength bytes of an archive.
constexpr uint32_t kEndSearchLength = kEndFixedSize + kMaxCommentLength;

// Which signature FindEndRecord takes: the last bytes may hold more than one
// (in a comment, in a member's data, or in bytes behind the archive). Each
// takes the one nearest the end among the candidates it accepts.
enum TEndSearch {
  esPreferExact,   // one whose comment ends with the bytes; else any whose comment fits
  esLastThatFits,  // any whose comment fits within the bytes
  esExactOnly,     // only one whose comment ends with the bytes: nothing may follow
};
// tail: the file's last tail.size() bytes (at most kEndSearchLength). Returns
// the record's position within tail.
std::optional<size_t> FindEndRecord(const std::vector<uint8_t>& tail, TEndSearch rule);
std::optional<TEndRecord> DecodeEndRecord(const uint8_t* p, size_t available);

}  // namespace tq::zipeng
