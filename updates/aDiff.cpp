#include "aDiff.h"

#include <algorithm>
#include <cstring>

#include "SysUtils.h"
#include "LittleEndian.h"
#include "aCRC32.h"

namespace tq {

namespace {

inline uint32_t Hash3(const uint8_t* p) {
  return (uint32_t(p[0]) << 9) ^ (uint32_t(p[1]) << 5) ^ uint32_t(p[2]);
}

// Number of equal leading bytes of a and b, comparing at most Limit bytes.
inline int MatchLength(const uint8_t* a, const uint8_t* b, int Limit) {
  int n = 0;
  while (n + 8 <= Limit) {
    uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (uint64_t d = x ^ y) return n + __builtin_ctzll(d) / 8;  // little-endian targets
    n += 8;
  }
  while (n < Limit && a[n] == b[n]) ++n;
  return n;
}

void EmitRecord(TDeltaParams& P, uint32_t Length, uint32_t OldPos, uint32_t NewPos) {
  uint8_t* r = P.Records + P.RecordBytes;
  PutLE16(r, Length);
  PutLE32(r + 2, OldPos);
  PutLE32(r + 6, NewPos);
  P.RecordBytes += DeltaRecordSize;
}

}  // namespace

void DeltaCore(TDeltaParams& P) {
  const int N = P.NewLen;
  const int M = P.OldLen;
  if (N < 4 || M < 4) throw Exception("Buffer size should be at least 4 bytes");
  const uint8_t* nw = P.NewBuf;  // nw[i - 1] is the new byte at position i
  const uint8_t* od = P.OldBuf;

  // Index the old chunk; positions M - 3 to M are never indexed, and a run of
  // equal hashes only at its first position.
  std::vector<uint32_t> head(DeltaHashSize, 0);
  std::vector<uint32_t> chain(size_t(M), 0);  // chain[p - 1] for position p
  uint32_t prevHash = 0;
  for (int p = 1; p <= M - 4; ++p) {
    uint32_t h = Hash3(od + p - 1);
    if (p == 1 || h != prevHash) {
      chain[size_t(p - 1)] = head[h];
      head[h] = uint32_t(p);
    }
    prevHash = h;
  }

  P.LiteralCount = 0;
  P.RecordBytes = 0;
  const int best0 = P.MinMatch - 1;
  int i = 1;
  uint32_t step = 0;
  while (i <= N) {
    if (step % 16 == 0 && P.Callback) P.Callback(i, N);
    ++step;
    if (i > N - 3) {
      P.Literals[P.LiteralCount++] = nw[i - 1];
      ++i;
      continue;
    }
    uint32_t h = Hash3(nw + i - 1);
    int best = best0;
    uint32_t bestPos = 0;
    uint32_t cand = head[h];
    int visited = 0;
    while (cand != 0 && visited < P.CandidateLimit) {
      int limit = std::min(N - i, M - int(cand));
      int count = MatchLength(od + cand - 1, nw + i - 1, limit);
      if (count > limit - 1) count = limit - 1;
      int m = count & 0xFFFF;
      if (m > best) {
        best = m;
        bestPos = cand;
      }
      cand = chain[cand - 1];
      ++visited;
    }
    if (best >= P.MinMatch) {
      EmitRecord(P, uint32_t(best), bestPos, uint32_t(i));
      i += best;
    } else {
      P.Literals[P.LiteralCount++] = nw[i - 1];
      ++i;
    }
  }
  EmitRecord(P, 0, 0, uint32_t(N) + 1);
}

void DeltaChunk(const uint8_t* NewBuf, const uint8_t* OldBuf, int NewLen, int OldLen,
                int CandidateLimit, uint8_t* Literals, uint8_t* Records, TStream& Out,
                const TDeltaCallback& Callback) {
  TDeltaParams p;
  p.NewBuf = NewBuf;
  p.NewLen = NewLen;
  p.OldBuf = OldBuf;
  p.OldLen = OldLen;
  p.CandidateLimit = CandidateLimit;
  p.Literals = Literals;
  p.Records = Records;
  p.Callback = Callback;
  DeltaCore(p);
  WriteLE32(Out, uint32_t(p.LiteralCount));
  WriteLE32(Out, uint32_t(p.RecordBytes));
  Out.WriteBuffer(Literals, p.LiteralCount);
  Out.WriteBuffer(Records, p.RecordBytes);
}

void MakeDelta(TStream& NewStream, TStream& OldStream, TStream& OutStream,
               int CandidateLimit, const TDeltaCallback& Callback) {
  // Records take at most half a chunk (one per 20 bytes), literals at most a chunk.
  std::vector<uint8_t> newBuf(DeltaChunkSize), oldBuf(DeltaChunkSize);
  std::vector<uint8_t> literals(DeltaChunkSize), records(DeltaChunkSize);
  for (;;) {
    int n = int(ReadUpTo(NewStream, newBuf.data(), DeltaChunkSize));
    int m = int(ReadUpTo(OldStream, oldBuf.data(), DeltaChunkSize));
    WriteLE32(OutStream, uint32_t(m));
    if (n >= 4 && m >= 4 && n / 4 <= m) {
      WriteByteValue(OutStream, 1);
      WriteLE32(OutStream, CRC32Buffer(newBuf.data(), size_t(n)));
      WriteLE32(OutStream, CRC32Buffer(oldBuf.data(), size_t(m)));
      DeltaChunk(newBuf.data(), oldBuf.data(), n, m, CandidateLimit, literals.data(),
                 records.data(), OutStream, Callback);
    } else {
      WriteByteValue(OutStream, 0);
      WriteLE32(OutStream, uint32_t(n));
      if (n != 0) {
        WriteLE32(OutStream, CRC32Buffer(newBuf.data(), size_t(n)));
        OutStream.WriteBuffer(newBuf.data(), n);
      }
    }
    if (n == 0) break;
  }
}

}  // namespace tq
