#include <gtest/gtest.h>

#include "DeltaApplier.h"
#include "SysUtils.h"
#include "TestData.h"
#include "aCRC32.h"
#include "aDiff.h"

using namespace tq;
using namespace tq::testing;

namespace {

Bytes Delta(const Bytes& Old, const Bytes& New, int Limit = 1000) {
  TMemoryStream n, o, out;
  Fill(n, New);
  Fill(o, Old);
  MakeDelta(n, o, out, Limit);
  return Contents(out);
}

// The bytes of a little-endian stream, written field by field.
struct Expect {
  Bytes b;
  Expect& U8(uint8_t v) { b.push_back(v); return *this; }
  Expect& U16(uint16_t v) { U8(uint8_t(v)); return U8(uint8_t(v >> 8)); }
  Expect& U32(uint32_t v) { U16(uint16_t(v)); return U16(uint16_t(v >> 16)); }
  Expect& Raw(const Bytes& r) { b.insert(b.end(), r.begin(), r.end()); return *this; }
  Expect& Rec(uint16_t len, uint32_t oldPos, uint32_t newPos) { return U16(len).U32(oldPos).U32(newPos); }
};

uint32_t Crc(const Bytes& b) { return CRC32Buffer(b.data(), b.size()); }

struct DeltaPair {
  const char* Name;
  Bytes Old, New;
};

std::vector<DeltaPair> Pairs() {
  Bytes a = RandomBytes(300000, 10), b = RandomBytes(50000, 11), c = RandomBytes(80000, 12);
  Bytes text = TextBytes(400000, 13);
  Bytes big = RandomBytes(DeltaChunkSize + 300000, 14);
  return {
      {"identical", a, a},
      {"both empty", {}, {}},
      {"empty old", {}, a},
      {"empty new", a, {}},
      {"tiny new", a, Bytes{1, 2, 3}},
      {"four bytes each", Bytes{1, 2, 3, 4}, Bytes{1, 2, 3, 4}},
      {"insertion", a, Concat({Slice(a, 0, 100000), b, Slice(a, 100000, 200000)})},
      {"deletion", a, Concat({Slice(a, 0, 120000), Slice(a, 170000, 130000)})},
      {"moved blocks", Concat({a, b, c}), Concat({c, a, b})},
      {"random", a, c},
      {"text edited", text, Concat({Slice(text, 0, 1000), TextBytes(5000, 99), Slice(text, 1000, 399000)})},
      {"runs", Repeat("x", 100000), Concat({Repeat("x", 60000), Repeat("y", 30), Repeat("x", 60000)})},
      {"old under a quarter", Slice(a, 0, 1000), Slice(a, 0, 8000)},
      {"two chunks, same", big, big},
      {"two chunks, edited", big, Concat({Slice(big, 0, 1000), b, Slice(big, 1000, big.size() - 1000)})},
      {"new longer by over a chunk", Slice(a, 0, 100000), Concat({Slice(a, 0, 100000), big, b})},
      {"old longer by over a chunk", Concat({a, big}), a},
  };
}

}  // namespace

TEST(Delta, RebuildsEveryNewFileFromTheOldOne) {
  for (const auto& p : Pairs()) {
    SCOPED_TRACE(p.Name);
    Bytes d = Delta(p.Old, p.New);
    TDeltaResult r = ApplyDelta(p.Old, d);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(r.NewFile == p.New);
  }
}

TEST(Delta, MatchedChunksAreMuchSmallerThanTheNewFile) {
  Bytes a = RandomBytes(300000, 20), b = RandomBytes(2000, 21);
  Bytes edited = Concat({Slice(a, 0, 150000), b, Slice(a, 150000, 150000)});
  EXPECT_LT(Delta(a, edited).size(), 2000u + 1000u);
  EXPECT_LT(Delta(a, a).size(), 200u);
}

TEST(Delta, IdenticalHundredBytesCoverAllButTheLastTwo) {
  Bytes a = RandomBytes(100, 30);
  Bytes want = Expect()
                   .U32(100).U8(1).U32(Crc(a)).U32(Crc(a)).U32(2).U32(20)
                   .Raw(Slice(a, 98, 2))
                   .Rec(98, 1, 1).Rec(0, 0, 101)
                   .U32(0).U8(0).U32(0)
                   .b;
  EXPECT_EQ(Delta(a, a), want);
}

TEST(Delta, SmallAndEmptyNewFilesAreRaw) {
  Bytes old = RandomBytes(50, 31);
  Bytes three{7, 8, 9};
  EXPECT_EQ(Delta(old, three),
            Expect().U32(50).U8(0).U32(3).U32(Crc(three)).Raw(three).U32(0).U8(0).U32(0).b);
  // Only the final entry; its old chunk length is what the old file gave.
  EXPECT_EQ(Delta(old, {}), Expect().U32(50).U8(0).U32(0).b);
  EXPECT_EQ(Delta({}, {}), Expect().U32(0).U8(0).U32(0).b);
}

TEST(Delta, OldChunkUnderAQuarterOfTheNewIsRaw) {
  Bytes nw = RandomBytes(4001, 32);
  Bytes old = Slice(nw, 0, 1000);  // 4001 div 4 = 1000: matched
  EXPECT_EQ(Delta(old, nw)[4], 1);
  Bytes old2 = Slice(nw, 0, 999);
  Bytes d = Delta(old2, nw);
  EXPECT_EQ(d, Expect().U32(999).U8(0).U32(4001).U32(Crc(nw)).Raw(nw).U32(0).U8(0).U32(0).b);
}

TEST(Delta, ExtraChunksOfALongerNewFileHaveOldLengthZero) {
  Bytes old = RandomBytes(600000, 33);
  Bytes nw = Concat({old, RandomBytes(DeltaChunkSize + 10, 34)});
  TDeltaResult r = ApplyDelta(old, Delta(old, nw));
  ASSERT_TRUE(r.Ok) << r.Error;
  ASSERT_EQ(r.Entries.size(), 3u);
  EXPECT_EQ(r.Entries[0].Mode, 1);
  EXPECT_EQ(r.Entries[0].OldLength, 600000u);
  EXPECT_EQ(r.Entries[1].Mode, 0);
  EXPECT_EQ(r.Entries[1].OldLength, 0u);
  EXPECT_EQ(r.Entries[2].Mode, 0);
  EXPECT_TRUE(r.NewFile == nw);
}

TEST(Delta, LongCommonRunGivesTheLow16BitsOfItsLength) {
  Bytes a = RandomBytes(70000, 35);
  TDeltaParams p;
  std::vector<uint8_t> lit(a.size()), rec(a.size());
  p.NewBuf = a.data();
  p.NewLen = int(a.size());
  p.OldBuf = a.data();
  p.OldLen = int(a.size());
  p.Literals = lit.data();
  p.Records = rec.data();
  DeltaCore(p);
  // 69998 & 0xFFFF = 4462; at 4463 the capped count 65536 gives 0, a literal;
  // from 4464 a match of 65535; the last two bytes are literals.
  Bytes want = Expect().Rec(4462, 1, 1).Rec(65535, 4464, 4464).Rec(0, 0, 70001).b;
  EXPECT_EQ(Bytes(rec.begin(), rec.begin() + p.RecordBytes), want);
  ASSERT_EQ(p.LiteralCount, 3);
  EXPECT_EQ(lit[0], a[4462]);
  EXPECT_EQ(lit[1], a[69998]);
  EXPECT_EQ(lit[2], a[69999]);
}

TEST(Delta, RunOfOneByteIsIndexedOnlyAtItsStart) {
  // With one candidate per position, a run indexed at every position would offer
  // its last position first, which matches only 3 bytes.
  Bytes old = Concat({Repeat("a", 40), RandomBytes(60, 36)});
  TDeltaParams p;
  std::vector<uint8_t> lit(old.size()), rec(old.size());
  p.NewBuf = old.data();
  p.NewLen = int(old.size());
  p.OldBuf = old.data();
  p.OldLen = int(old.size());
  p.CandidateLimit = 1;
  p.Literals = lit.data();
  p.Records = rec.data();
  DeltaCore(p);
  ASSERT_GE(p.RecordBytes, 20);
  EXPECT_EQ(Bytes(rec.begin(), rec.begin() + 10), Expect().Rec(98, 1, 1).b);
}

TEST(Delta, OfEqualLengthsTheHighestOldPositionWins) {
  // The same 30 bytes twice in the old chunk: the later copy is visited first.
  Bytes blk = RandomBytes(30, 37);
  Bytes old = Concat({blk, RandomBytes(50, 38), blk, RandomBytes(50, 39)});
  Bytes nw = Concat({blk, RandomBytes(40, 40)});
  TDeltaParams p;
  std::vector<uint8_t> lit(nw.size()), rec(nw.size());
  p.NewBuf = nw.data();
  p.NewLen = int(nw.size());
  p.OldBuf = old.data();
  p.OldLen = int(old.size());
  p.Literals = lit.data();
  p.Records = rec.data();
  DeltaCore(p);
  ASSERT_GE(p.RecordBytes, 20);
  EXPECT_EQ(Bytes(rec.begin(), rec.begin() + 10), Expect().Rec(30, 81, 1).b);
}

TEST(Delta, ShortBuffersAreRefused) {
  Bytes a{1, 2, 3}, b{1, 2, 3, 4};
  uint8_t lit[16], rec[64];
  TDeltaParams p;
  p.NewBuf = a.data();
  p.NewLen = 3;
  p.OldBuf = b.data();
  p.OldLen = 4;
  p.Literals = lit;
  p.Records = rec;
  try {
    DeltaCore(p);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Buffer size should be at least 4 bytes");
  }
}

TEST(Delta, ProgressCountsWithinTheChunk) {
  Bytes a = RandomBytes(5000, 41), b = RandomBytes(5000, 42);
  std::vector<std::pair<int, int>> calls;
  TMemoryStream n, o, out;
  Fill(n, b);
  Fill(o, a);
  MakeDelta(n, o, out, 1000, [&](int pos, int total) { calls.emplace_back(pos, total); });
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), std::make_pair(1, 5000));
  // Random against random: every step is a literal, so calls come every 16 bytes.
  EXPECT_EQ(calls.size(), size_t((5000 + 15) / 16));
  EXPECT_EQ(calls[1].first, 17);
}
