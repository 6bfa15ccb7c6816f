// The zip records' reader that the engine, the zip component and the
// self-extractor share: which end record each search takes, and which part
// of a damaged central entry it reports. Archives come from the test kit's
// own builder and reader.
#include <gtest/gtest.h>

#include <optional>

#include "ZipFormat.h"
#include "kit/ZipTestKit.h"

namespace tq::zipeng {
namespace {

using ziptest::Bytes;
using ziptest::TBytes;

TBytes SmallArchive() { return ziptest::BuildArchive({{"a.txt", Bytes("alpha")}, {"sub/b.txt", Bytes("beta")}}); }

// The archive's end record given a comment (the end record is its last 22 bytes).
TBytes WithComment(TBytes zip, const TBytes& comment) {
  zip[zip.size() - 2] = uint8_t(comment.size());
  zip[zip.size() - 1] = uint8_t(comment.size() >> 8);
  zip.insert(zip.end(), comment.begin(), comment.end());
  return zip;
}

// A lone end record whose comment length says `commentLength`.
TBytes FakeEndRecord(uint16_t commentLength) {
  TEndRecord e;
  TBytes b = EncodeEndRecord(e);
  b[20] = uint8_t(commentLength);
  b[21] = uint8_t(commentLength >> 8);
  return b;
}

struct TEndCase {
  const char* Title;
  TBytes Tail;
  // Expected position for esPreferExact, esLastThatFits, esExactOnly.
  std::optional<size_t> Found[3];
};

std::vector<TEndCase> EndCases() {
  const TBytes zip = SmallArchive();
  const size_t real = zip.size() - kEndFixedSize;
  std::vector<TEndCase> cases;
  cases.push_back({"ExactEnd", zip, {real, real, real}});
  TBytes trailing = zip;
  trailing.push_back(0);
  cases.push_back({"ByteBehindTheArchive", trailing, {real, real, std::nullopt}});
  // The comment holds a record whose own comment would run past the end.
  TBytes overrun = FakeEndRecord(5);
  cases.push_back({"OverrunningSignatureInComment", WithComment(zip, overrun), {real, real, real}});
  // The comment holds a record that fits but stops short of the end.
  TBytes inner = FakeEndRecord(0);
  inner.resize(inner.size() + 8, 'c');
  cases.push_back({"FittingSignatureInComment", WithComment(zip, inner), {real, real + kEndFixedSize, real}});
  cases.push_back({"NoSignature", TBytes(100, 'x'), {std::nullopt, std::nullopt, std::nullopt}});
  cases.push_back({"ShorterThanARecord", TBytes(zip.end() - 21, zip.end()), {std::nullopt, std::nullopt, std::nullopt}});
  return cases;
}

class ZipFormatEnd : public ::testing::TestWithParam<TEndCase> {};

TEST_P(ZipFormatEnd, EachSearchTakesItsCandidate) {
  const TEndCase& c = GetParam();
  const TEndSearch rules[3] = {esPreferExact, esLastThatFits, esExactOnly};
  for (int r = 0; r < 3; ++r) {
    std::optional<size_t> at = FindEndRecord(c.Tail, rules[r]);
    EXPECT_EQ(at, c.Found[r]) << "rule " << r;
    if (at) {
      EXPECT_TRUE(DecodeEndRecord(&c.Tail[*at], c.Tail.size() - *at)) << "rule " << r;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Tails, ZipFormatEnd, ::testing::ValuesIn(EndCases()),
                         [](const auto& info) { return std::string(info.param.Title); });

// The directory of the small archive, as the kit's reader finds it.
TBytes Directory(const TBytes& zip) {
  ziptest::TArchive a = ziptest::ReadArchive(zip);
  return TBytes(zip.begin() + long(a.CentralPosition), zip.end() - kEndFixedSize);
}

TEST(ZipFormatCentral, DecodesEveryEntryAsTheKitReadsIt) {
  const TBytes zip = SmallArchive();
  const ziptest::TArchive a = ziptest::ReadArchive(zip);
  const TBytes dir = Directory(zip);
  size_t pos = 0;
  for (const ziptest::TMember& m : a.Members) {
    TCentralHeader h;
    ASSERT_EQ(DecodeCentralEntry(dir, pos, h), crOk) << m.Name;
    EXPECT_EQ(h.Name, m.Name);
    EXPECT_EQ(h.Crc, m.Crc);
    EXPECT_EQ(h.Size, m.Size);
    EXPECT_EQ(h.CompressedSize, m.CompressedSize);
    EXPECT_EQ(h.LocalOffset, m.LocalOffset);
    EXPECT_EQ(h.Method, m.Method);
    EXPECT_EQ(h.Flags, m.Flags);
    EXPECT_EQ(h.Comment, m.Comment);
  }
  EXPECT_EQ(pos, dir.size());
  TCentralHeader h;
  EXPECT_EQ(DecodeCentralEntry(dir, pos, h), crFixedShort) << "nothing after the last entry";
}

struct TDamage {
  const char* Title;
  size_t Offset;   // byte of the first entry to change (0: none)
  uint8_t Value;
  size_t Keep;     // bytes of the directory kept (0: all)
  TCentralRead Expected;
};

class ZipFormatDamagedCentral : public ::testing::TestWithParam<TDamage> {};

TEST_P(ZipFormatDamagedCentral, ReportsTheFirstPartThatFails) {
  const TDamage& d = GetParam();
  TBytes dir = Directory(SmallArchive());
  if (d.Offset) dir[d.Offset] = d.Value;
  if (d.Keep) dir.resize(d.Keep);
  size_t pos = 0;
  TCentralHeader h;
  EXPECT_EQ(DecodeCentralEntry(dir, pos, h), d.Expected);
  EXPECT_EQ(pos, 0u) << "a failed entry leaves the position";
}

// The first entry's name ("a.txt") is 5 bytes at 46; its name length is at 28,
// its extra field's at 30, its comment's at 32.
INSTANTIATE_TEST_SUITE_P(
    Parts, ZipFormatDamagedCentral,
    ::testing::Values(TDamage{"FixedPartCut", 0, 0, 45, crFixedShort},
                      TDamage{"SignatureWrong", 3, 0x03, 0, crBadSignature},
                      TDamage{"SignatureWrongAndCut", 3, 0x03, 45, crFixedShort},
                      TDamage{"NameCut", 0, 0, 50, crNameShort},
                      TDamage{"NameLongerThanTheDirectory", 29, 0x7F, 0, crNameShort},
                      TDamage{"ExtraFieldLongerThanTheDirectory", 31, 0x7F, 0, crRestShort},
                      TDamage{"CommentLongerThanTheDirectory", 33, 0x7F, 0, crRestShort}),
    [](const auto& info) { return std::string(info.param.Title); });

}  // namespace
}  // namespace tq::zipeng
