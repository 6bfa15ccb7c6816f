#include "DeltaApplier.h"

#include <algorithm>

#include "aCRC32.h"

namespace tq::testing {
using tq::CRC32Buffer;

namespace {
constexpr size_t Chunk = 2097152;

struct Reader {
  const Bytes& d;
  size_t pos = 0;
  bool Need(size_t n) const { return pos + n <= d.size(); }
  uint32_t U32() { uint32_t v = Get32(&d[pos]); pos += 4; return v; }
};
}  // namespace

TDeltaResult ApplyDelta(const Bytes& Old, const Bytes& Delta) {
  TDeltaResult r;
  Reader in{Delta};
  size_t oldPos = 0;
  auto fail = [&](const std::string& e) {
    r.Error = e + " at delta offset " + std::to_string(in.pos);
    return r;
  };
  for (;;) {
    size_t m = std::min(Chunk, Old.size() - oldPos);
    const uint8_t* oldChunk = Old.data() + oldPos;
    oldPos += m;
    if (!in.Need(5)) return fail("truncated entry");
    TDeltaEntryInfo info;
    info.OldLength = in.U32();
    info.Mode = in.d[in.pos++];
    if (info.OldLength != m) return fail("old chunk length " + std::to_string(info.OldLength) + " != " + std::to_string(m));
    if (info.Mode == 1) {
      if (!in.Need(16)) return fail("truncated matched entry");
      uint32_t crcNew = in.U32(), crcOld = in.U32();
      info.Literals = in.U32();
      uint32_t rb = in.U32();
      if (rb % 10 != 0 || rb == 0) return fail("record bytes not a positive multiple of 10");
      info.Records = rb / 10;
      if (!in.Need(size_t(info.Literals) + rb)) return fail("truncated literals or records");
      if (CRC32Buffer(oldChunk, m) != crcOld) return fail("old chunk CRC");
      const uint8_t* lit = &Delta[in.pos];
      const uint8_t* rec = lit + info.Literals;
      in.pos += info.Literals + rb;
      Bytes chunk;
      size_t litUsed = 0;
      uint32_t lastNewPos = 0;
      for (uint32_t k = 0; k < info.Records; ++k) {
        const uint8_t* p = rec + 10 * k;
        uint32_t len = Get16(p), op = Get32(p + 2), np = Get32(p + 6);
        bool last = k + 1 == info.Records;
        if (np <= lastNewPos && k) return fail("records not in increasing new position");
        lastNewPos = np;
        if (np < chunk.size() + 1) return fail("record overlaps the rebuilt bytes");
        size_t gap = np - 1 - chunk.size();
        if (litUsed + gap > info.Literals) return fail("out of literals");
        chunk.insert(chunk.end(), lit + litUsed, lit + litUsed + gap);
        litUsed += gap;
        if (last) {
          if (len != 0 || op != 0) return fail("bad terminator");
          break;
        }
        if (len == 0 || op == 0 || op - 1 + len > m) return fail("copy record outside the old chunk");
        chunk.insert(chunk.end(), oldChunk + op - 1, oldChunk + op - 1 + len);
      }
      if (litUsed != info.Literals) return fail("unused literals");
      if (CRC32Buffer(chunk.data(), chunk.size()) != crcNew) return fail("new chunk CRC");
      r.NewFile.insert(r.NewFile.end(), chunk.begin(), chunk.end());
      r.Entries.push_back(info);
    } else if (info.Mode == 0) {
      if (!in.Need(4)) return fail("truncated raw entry");
      uint32_t n = in.U32();
      r.Entries.push_back(info);
      if (n == 0) break;
      if (!in.Need(4 + size_t(n))) return fail("truncated raw bytes");
      uint32_t crc = in.U32();
      if (CRC32Buffer(&Delta[in.pos], n) != crc) return fail("raw chunk CRC");
      r.NewFile.insert(r.NewFile.end(), Delta.begin() + long(in.pos), Delta.begin() + long(in.pos + n));
      in.pos += n;
    } else {
      return fail("bad mode");
    }
  }
  if (in.pos != Delta.size()) return fail("bytes after the final entry");
  r.Ok = true;
  return r;
}

}  // namespace tq::testing
