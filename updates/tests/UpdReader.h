#pragma once
// Reads an update file (.upd) back, checking every field: the signature, the
// CRC over the body, the compressed body and its records and payloads.
#include <string>

#include "TestData.h"

namespace tq::testing {

struct TUpdEntry {
  std::string Name;
  uint32_t OldCRC = 0, OldSizeHigh = 0, OldSizeLow = 0;
  uint32_t NewCRC = 0, NewSizeHigh = 0, NewSizeLow = 0, NewDate = 0;
  int Action = -1;
  Bytes RawRecord;  // the 285 bytes as stored
  Bytes Delta;      // action 1
  Bytes Added;      // action 2
};

struct TUpdFile {
  bool Ok = false;
  std::string Error;
  Bytes OldVersionField, NewVersionField;  // 32 bytes each
  std::string OldVersion, NewVersion;
  int AllOrNothing = -1;
  Bytes Body;  // decompressed
  std::vector<TUpdEntry> Entries;
};

TUpdFile ReadUpdFile(const Bytes& File);

}  // namespace tq::testing
