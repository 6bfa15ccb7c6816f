#pragma once
// Little-endian fields of the update file formats.
#include <cstdint>

#include "Classes.h"

namespace tq {

inline void PutLE16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

inline void PutLE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

inline void WriteLE32(TStream& s, uint32_t v) {
  uint8_t b[4];
  PutLE32(b, v);
  s.WriteBuffer(b, 4);
}

inline void WriteByteValue(TStream& s, uint8_t v) { s.WriteBuffer(&v, 1); }

// Reads up to Count bytes, as many as the stream still gives.
inline int64_t ReadUpTo(TStream& s, void* buffer, int64_t count) {
  int64_t got = 0;
  while (got < count) {
    int64_t n = s.Read(static_cast<uint8_t*>(buffer) + got, count - got);
    if (n <= 0) break;
    got += n;
  }
  return got;
}

}  // namespace tq
