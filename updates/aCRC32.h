#pragma once
// CRC-32 (reflected polynomial 0xEDB88320, preset 0xFFFFFFFF, result
// complemented) of buffers, streams and files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Classes.h"

namespace tq {

// The table step over Length bytes, without preset or complement.
uint32_t CRC32Update(const void* Buffer, uint32_t CRC, size_t Length);
// Preset, update, complement: CRC32Buffer("123456789", 9) == 0xCBF43926.
uint32_t CRC32Buffer(const void* Buffer, size_t Length);
// The CRC-32 from the stream's position to its end; the position is restored.
uint32_t StreamCRC32(TStream& Stream);

// What the update file keeps of one side (old or new) of a compared file.
struct TFileSideInfo {
  uint32_t CRC = 0;
  uint32_t SizeHigh = 0;
  uint32_t SizeLow = 0;
};

// Opens Path read-only without sharing restrictions and fills Side with the
// CRC-32 of the whole content and the 64-bit size; Date, when given, receives
// the file's packed date and time. Raises EFOpenError when it cannot be opened.
void GetFileInfo(const std::string& Path, TFileSideInfo& Side, uint32_t* Date = nullptr);

}  // namespace tq
