#pragma once
// Test helpers for the zip engine and the self-extractor: a strict archive
// reader that checks what the engine promises (sizes and CRC in every local
// header, data that inflates to its CRC), a small archive builder for inputs
// the engine would never write, and file helpers.
#include <cstdint>
#include <string>
#include <vector>

namespace tq::ziptest {

using TBytes = std::vector<uint8_t>;

struct TMember {
  std::string Name;        // raw bytes as stored
  uint16_t Flags = 0;
  uint16_t Method = 0;
  uint16_t VersionMadeBy = 0;
  uint32_t Crc = 0;
  uint32_t CompressedSize = 0;
  uint32_t Size = 0;
  uint32_t ExternalAttributes = 0;
  uint32_t LocalOffset = 0;  // as stored in the central header
  uint16_t LocalFlags = 0;
  uint32_t LocalCrc = 0, LocalCompressedSize = 0, LocalSize = 0;
  std::string Comment;
  TBytes Data;             // uncompressed (empty for encrypted members)
  TBytes Raw;              // the member's stored data as in the archive
};

struct TArchive {
  std::vector<TMember> Members;
  std::string Comment;
  uint64_t CentralOffset = 0;    // as stored in the end record
  uint64_t CentralPosition = 0;  // where the directory really is
};

// Parses bytes as an archive whose stored offsets are shifted by `shift`
// against the file positions (data in front). Problems become gtest failures;
// the result holds what could be read.
TArchive ReadArchive(const TBytes& bytes, uint64_t shift = 0);

struct TBuildMember {
  std::string Name;
  TBytes Data;
  bool Deflate = false;
  bool Descriptor = false;  // sizes in a data descriptor after the data
};
// An archive of the given members; offsets count from `base` (the position
// the archive will have inside a larger file).
TBytes BuildArchive(const std::vector<TBuildMember>& members, uint32_t base = 0);

TBytes Inflate(const TBytes& raw, size_t expected);
uint32_t Crc(const TBytes& data);
TBytes Bytes(const std::string& s);
// Bytes that deflate does not shrink.
TBytes NoiseBytes(size_t n, uint32_t seed);

// Decrypts a member stored with the traditional encryption; empty when the
// password's check byte does not match.
TBytes DecryptRaw(const TBytes& raw, const std::string& password, uint32_t crc);

// Runs a program with "/quiet" and the temporary folder pointed at tempFolder;
// returns its exit code (a failure and 255 when it does not end in a minute).
unsigned long RunWithTempFolder(const std::string& exe, const std::string& tempFolder, const std::string& workDir);

TBytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const TBytes& data);
bool FileExists(const std::string& path);
// A fresh empty folder (removed first with everything in it); trailing "\".
std::string FreshFolder(const std::string& path);
void RemoveTree(const std::string& path);
std::vector<std::string> FilesIn(const std::string& folder);  // names, sorted
// The one folder a self-extractor run made in the temporary folder temp ("><"),
// with a trailing "\\".
std::string RunFolderIn(const std::string& temp);

}  // namespace tq::ziptest
