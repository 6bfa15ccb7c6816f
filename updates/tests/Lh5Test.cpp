#include <gtest/gtest.h>

#include "LhaArchive.h"
#include "Lh5TestDecoder.h"
#include "Lh5Unit.h"
#include "TestData.h"

using namespace tq;
using namespace tq::testing;

namespace {

Bytes Compress(const Bytes& in) {
  TMemoryStream i, o;
  Fill(i, in);
  Lh5Compress(i, o);
  return Contents(o);
}

struct Lh5Case {
  const char* Name;
  Bytes Data;
};

std::vector<Lh5Case> Cases() {
  Bytes r300 = RandomBytes(300, 1);
  Bytes block8k = RandomBytes(8192, 2);
  return {
      {"empty", {}},
      {"one byte", Bytes{0x41}},
      {"two bytes", Bytes{0, 255}},
      {"zeros", Bytes(200000, 0)},
      {"repeated pattern", Repeat("abc", 100000)},
      {"random, several blocks", RandomBytes(100000, 3)},
      {"text", TextBytes(500000, 4)},
      // The second copy lies exactly 8192 bytes back: the farthest reachable match.
      {"match at the dictionary limit", Concat({r300, RandomBytes(8192 - 300, 5), r300, RandomBytes(100, 6)})},
      {"match just beyond the limit", Concat({r300, RandomBytes(8193 - 300, 7), r300})},
      {"every match at the limit", Concat({block8k, block8k, block8k, block8k})},
      {"long runs and literals", Concat({Bytes(1000, 'x'), RandomBytes(500, 8), Bytes(70000, 'y'), Bytes{1}})},
      {"large mix", Concat({RandomBytes(700000, 9), TextBytes(1500000, 10), Bytes(300000, 0),
                            RandomBytes(200000, 11)})},
  };
}

}  // namespace

TEST(Lh5, LengthFieldThenAStreamThatDecodesToTheInput) {
  for (const auto& c : Cases()) {
    SCOPED_TRACE(c.Name);
    Bytes z = Compress(c.Data);
    ASSERT_GE(z.size(), 4u);
    EXPECT_EQ(Get32(z.data()), c.Data.size());
    TLh5DecodeResult d = Lh5Decode(Slice(z, 4, z.size() - 4), c.Data.size());
    ASSERT_TRUE(d.Ok) << d.Error;
    EXPECT_TRUE(d.Data == c.Data);
  }
}

TEST(Lh5, TheLhaProgramReadsEveryStream) {
  if (!LhaCheckAvailable) GTEST_SKIP() << "the lha program runs in the native build";
#ifndef _WIN32
  ASSERT_EQ(std::system("lha --help >/dev/null 2>&1 || command -v lha >/dev/null"), 0) << "lha is not installed";
  TScratchDir dir;
  int k = 0;
  for (const auto& c : Cases()) {
    SCOPED_TRACE(c.Name);
    Bytes z = Compress(c.Data);
    auto path = dir.Path() / ("case" + std::to_string(k++) + ".lzh");
    WriteFileBytes(path, LhaLevel0Archive(Slice(z, 4, z.size() - 4), c.Data, "data.bin"));
    TLhaRun r = RunLha(path);
    EXPECT_EQ(r.TestStatus, 0) << r.TestOutput;
    ASSERT_TRUE(r.Extracted);
    EXPECT_EQ(r.Data.size(), c.Data.size());
    EXPECT_TRUE(r.Data == c.Data);
  }
#endif
}

TEST(Lh5, EmptyInputIsTheLengthAndOneEmptyBlock) {
  // Symbol count 0, the three tables as single values 0, then 7 zero bits:
  // 59 bits, of which the 7 full bytes are written.
  EXPECT_EQ(Compress({}), Bytes(11, 0));
}

TEST(Lh5, CompressesOnlyTheRestOfAPositionedStream) {
  Bytes data = TextBytes(50000, 20);
  TMemoryStream i, o;
  Fill(i, data);
  i.SetPosition(20000);
  Lh5Compress(i, o);
  Bytes z = Contents(o);
  EXPECT_EQ(Get32(z.data()), 30000u);
  TLh5DecodeResult d = Lh5Decode(Slice(z, 4, z.size() - 4), 30000);
  ASSERT_TRUE(d.Ok) << d.Error;
  EXPECT_TRUE(d.Data == Slice(data, 20000, 30000));
}

TEST(Lh5, WritesAtTheOutputPosition) {
  TMemoryStream i, o;
  Fill(i, Bytes{1, 2, 3});
  Fill(o, Bytes{9, 9});
  o.SetPosition(2);
  Lh5Compress(i, o);
  Bytes z = Contents(o);
  EXPECT_EQ(z[0], 9);
  EXPECT_EQ(Get32(z.data() + 2), 3u);
}

TEST(Lh5, UsesMatchesUpToTheDictionaryLimit) {
  Bytes block = RandomBytes(8192, 30);
  Bytes four = Concat({block, block, block, block});
  // Three copies come as matches 8192 bytes back: far less than the input.
  EXPECT_LT(Compress(four).size(), 8192u + 1200u);
  EXPECT_LT(Compress(Bytes(200000, 0)).size(), 1000u);
  // Incompressible data is written in full, a little larger than the input.
  Bytes rnd = RandomBytes(100000, 31);
  size_t z = Compress(rnd).size();
  EXPECT_GT(z, rnd.size());
  EXPECT_LT(z, rnd.size() + rnd.size() / 50);
}
