#include <gtest/gtest.h>

#include <string>

#include "SysUtils.h"
#include "TestData.h"
#include "aCRC32.h"

using namespace tq;
using namespace tq::testing;

TEST(CRC32, KnownAnswers) {
  EXPECT_EQ(CRC32Buffer("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(CRC32Buffer("", 0), 0u);
  EXPECT_EQ(CRC32Buffer("a", 1), 0xE8B7BE43u);
  const std::string fox = "The quick brown fox jumps over the lazy dog";
  EXPECT_EQ(CRC32Buffer(fox.data(), fox.size()), 0x414FA339u);
}

TEST(CRC32, IncrementalEqualsOneShot) {
  Bytes data = RandomBytes(100000, 1);
  uint32_t oneShot = CRC32Buffer(data.data(), data.size());
  for (size_t cut : {size_t(1), size_t(7), size_t(65520), size_t(99999)}) {
    uint32_t c = CRC32Update(data.data(), 0xFFFFFFFFu, cut);
    c = CRC32Update(data.data() + cut, c, data.size() - cut);
    EXPECT_EQ(~c, oneShot) << "cut at " << cut;
  }
}

TEST(CRC32, StreamFromPositionRestoresIt) {
  // More than one 65,520-byte piece, read from the middle.
  Bytes data = RandomBytes(200000, 2);
  TMemoryStream s;
  Fill(s, data);
  s.SetPosition(1000);
  EXPECT_EQ(StreamCRC32(s), CRC32Buffer(data.data() + 1000, data.size() - 1000));
  EXPECT_EQ(s.Position(), 1000);

  s.SetPosition(s.Size());
  EXPECT_EQ(StreamCRC32(s), 0u);
  EXPECT_EQ(s.Position(), s.Size());
}

TEST(CRC32, FileInfoGivesCrcSizeAndDate) {
  TScratchDir dir;
  Bytes data = RandomBytes(70000, 3);
  WriteFileBytes(dir.Path() / "f.bin", data);
  TFileSideInfo side;
  uint32_t date = 0;
  GetFileInfo((dir.Path() / "f.bin").string(), side, &date);
  EXPECT_EQ(side.CRC, CRC32Buffer(data.data(), data.size()));
  EXPECT_EQ(side.SizeHigh, 0u);
  EXPECT_EQ(side.SizeLow, 70000u);
  // A packed date of this century: year field counts from 1980, month 1 to 12.
  EXPECT_GE(date >> 25, 40u);
  uint32_t month = (date >> 21) & 15;
  EXPECT_GE(month, 1u);
  EXPECT_LE(month, 12u);

  EXPECT_THROW(GetFileInfo((dir.Path() / "missing.bin").string(), side), EFOpenError);
}
