#pragma once
// Rebuilds a new file from the old one and a delta stream, the way an updater
// does, checking every CRC and the shape of the stream on the way.
#include <string>

#include "TestData.h"

namespace tq::testing {

struct TDeltaEntryInfo {
  uint32_t OldLength = 0;
  int Mode = 0;
  uint32_t Literals = 0;
  uint32_t Records = 0;  // including the terminator
};

struct TDeltaResult {
  bool Ok = false;
  std::string Error;
  Bytes NewFile;
  std::vector<TDeltaEntryInfo> Entries;
};

TDeltaResult ApplyDelta(const Bytes& Old, const Bytes& Delta);

}  // namespace tq::testing
