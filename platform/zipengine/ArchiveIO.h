#pragma once
// File handles for the engine: a buffered output with positioned patches and
// a positioned input. Failures raise EEngineFailure.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "EngineCallbacks.h"

namespace tq::zipeng {

class TOutFile {
 public:
  TOutFile() = default;
  TOutFile(const TOutFile&) = delete;
  TOutFile& operator=(const TOutFile&) = delete;
  ~TOutFile() { Close(); }
  void Create(const std::string& path);  // truncates
  void Write(const void* data, size_t size);
  void Write(const std::vector<uint8_t>& b) { Write(b.data(), b.size()); }
  uint64_t Position() const { return FPosition + FBuffer.size(); }
  // Overwrites bytes at an earlier position; the write position stays.
  void Patch(uint64_t at, const std::vector<uint8_t>& b);
  // Drops everything from position on and continues writing there.
  void TruncateTo(uint64_t position);
  void Close();
  void SetTime(const FILETIME& ft);
  bool IsOpen() const { return FHandle != INVALID_HANDLE_VALUE; }

 private:
  void Flush();
  void SeekRaw(uint64_t at);
  HANDLE FHandle = INVALID_HANDLE_VALUE;
  std::string FPath;
  uint64_t FPosition = 0;  // file position of FBuffer's start
  std::vector<uint8_t> FBuffer;
};

class TInFile {
 public:
  TInFile() = default;
  TInFile(const TInFile&) = delete;
  TInFile& operator=(const TInFile&) = delete;
  ~TInFile() { Close(); }
  // Opens for reading; false when the file cannot be opened.
  bool Open(const std::string& path);
  uint64_t Size() const { return FSize; }
  // Reads exactly size bytes at position; false on a short read.
  bool ReadAt(uint64_t at, void* data, size_t size);
  // Sequential reading from the current position; returns bytes read.
  size_t Read(void* data, size_t size);
  bool Seek(uint64_t at);
  void Close();
  HANDLE Handle() const { return FHandle; }

 private:
  HANDLE FHandle = INVALID_HANDLE_VALUE;
  uint64_t FSize = 0;
};

}  // namespace tq::zipeng
