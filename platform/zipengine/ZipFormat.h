#pragma once
// The zip archive's own records (local header, central header, end record):
// their fields and their little-endian byte form. No file access here.
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

struct TCentralFixed {
  TCentralHeader Header;
  uint16_t NameLength = 0;
  uint16_t ExtraLength = 0;
  uint16_t CommentLength = 0;
};
std::optional<TCentralFixed> DecodeCentralFixed(const uint8_t* p);  // 46 bytes

// Finds the end record in the last bytes of an archive (tail = the file's last
// tail.size() bytes, at most 22 + 65535). Returns the record's position within
// tail, preferring the last candidate whose comment reaches exactly to the end.
std::optional<size_t> FindEndRecord(const std::vector<uint8_t>& tail);
std::optional<TEndRecord> DecodeEndRecord(const uint8_t* p, size_t available);

}  // namespace tq::zipeng
