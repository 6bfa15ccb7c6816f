#pragma once
// Wraps an lh5 bit stream in a level-0 LHA archive so that the lha program can
// check it, and runs that program (native builds only).
#include <filesystem>
#include <string>

#include "TestData.h"

namespace tq::testing {

uint16_t Crc16(const Bytes& data);  // the archive's CRC-16 (reflected 0xA001, preset 0)

// One member "-lh5-" named Name, whose packed data is Packed, then the end mark.
Bytes LhaLevel0Archive(const Bytes& Packed, const Bytes& Original, const std::string& Name);

#ifndef _WIN32
constexpr bool LhaCheckAvailable = true;
struct TLhaRun {
  int TestStatus = -1;   // exit status of "lha t"
  std::string TestOutput;
  bool Extracted = false;
  Bytes Data;            // what "lha pq" printed
};
TLhaRun RunLha(const std::filesystem::path& Archive);
#else
constexpr bool LhaCheckAvailable = false;
#endif

}  // namespace tq::testing
