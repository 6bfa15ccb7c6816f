#pragma once
// Binary delta of a new file against an old one, so that an updater holding the
// old file can rebuild the new one.
//
// The files are paired in chunks of 2 MB (chunk i of the new file with chunk i of
// the old one). Each chunk entry, little-endian:
//   old chunk length (4), mode (1: 1 matched, 0 raw), then
//   mode 1: CRC-32 of the new chunk (4), CRC-32 of the old chunk (4), literal
//           count L (4), record bytes R (4), L literal bytes, R bytes of 10-byte
//           copy records {match length (2), old position (4), new position (4)},
//           positions counted from 1, in increasing new position, ended by the
//           terminator {0, 0, new chunk length + 1};
//   mode 0: new chunk length (4), and when it is not 0 the CRC-32 of the new chunk
//           (4) and its bytes.
// The stream always ends with a mode-0 entry whose new chunk length is 0.
// Rebuilding a mode-1 chunk walks the records: the bytes before a record's new
// position that no earlier record covered come from the literals in order, then
// the record's length bytes are copied from the old chunk.
#include <cstdint>
#include <functional>
#include <vector>

#include "Classes.h"

namespace tq {

constexpr int DeltaChunkSize = 2097152;
constexpr int DeltaMinMatch = 20;
constexpr int DeltaHashSize = 131072;  // 2^17
constexpr int DeltaRecordSize = 10;

// Progress of the matcher within the current chunk: Position of Total bytes.
using TDeltaCallback = std::function<void(int Position, int Total)>;

// What the matcher works on for one chunk.
struct TDeltaParams {
  const uint8_t* NewBuf = nullptr;
  int NewLen = 0;  // N
  const uint8_t* OldBuf = nullptr;
  int OldLen = 0;  // M
  int CandidateLimit = 1000;
  int MinMatch = DeltaMinMatch;
  uint8_t* Literals = nullptr;  // room for N bytes
  int LiteralCount = 0;
  uint8_t* Records = nullptr;   // room for 10 * (N / MinMatch + 1) bytes (N / 2 + 10)
  int RecordBytes = 0;
  TDeltaCallback Callback;      // may be empty
};

// Appends the delta of NewStream (from its position to its end) against
// OldStream, read alongside it chunk for chunk, to OutStream.
void MakeDelta(TStream& NewStream, TStream& OldStream, TStream& OutStream,
               int CandidateLimit, const TDeltaCallback& Callback = {});

// Runs the matcher on one chunk and writes L, R, the literals and the records.
// Literals is a work buffer of at least NewLen bytes, Records of at least
// NewLen / 2 + 10 bytes.
void DeltaChunk(const uint8_t* NewBuf, const uint8_t* OldBuf, int NewLen, int OldLen,
                int CandidateLimit, uint8_t* Literals, uint8_t* Records, TStream& Out,
                const TDeltaCallback& Callback = {});

// The matcher. Raises Exception "Buffer size should be at least 4 bytes" when N
// or M is below 4.
void DeltaCore(TDeltaParams& P);

}  // namespace tq
