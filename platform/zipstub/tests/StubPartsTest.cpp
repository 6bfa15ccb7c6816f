// The self-extractor's own checks: member names and the option record.
#include <gtest/gtest.h>

#include <vector>

#include "MemberNames.h"
#include "SfxOptions.h"

namespace tq::zipstub {
namespace {

struct TNameCase {
  const wchar_t* Name;
  const wchar_t* Path;  // null: refused
};

class SafeMemberNames : public ::testing::TestWithParam<TNameCase> {};

TEST_P(SafeMemberNames, StayInsideTheTargetFolder) {
  auto got = SafeMemberPath(GetParam().Name);
  if (!GetParam().Path) {
    EXPECT_FALSE(got.has_value());
  } else {
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, GetParam().Path);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, SafeMemberNames,
    ::testing::Values(TNameCase{L"setup.ini", L"setup.ini"}, TNameCase{L"sub/dir/file.txt", L"sub\\dir\\file.txt"},
                      TNameCase{L"sub\\file.txt", L"sub\\file.txt"}, TNameCase{L"folder/", L"folder\\"},
                      TNameCase{L"./a.txt", L"a.txt"}, TNameCase{L"My Setup.msi", L"My Setup.msi"},
                      TNameCase{L"a..b.txt", L"a..b.txt"}, TNameCase{L"..\\evil.txt", nullptr},
                      TNameCase{L"../evil.txt", nullptr}, TNameCase{L"sub/../../evil.txt", nullptr},
                      TNameCase{L"sub/..", nullptr}, TNameCase{L"/abs.txt", nullptr},
                      TNameCase{L"\\abs.txt", nullptr}, TNameCase{L"\\\\server\\share\\x.txt", nullptr},
                      TNameCase{L"C:\\abs.txt", nullptr}, TNameCase{L"C:rel.txt", nullptr},
                      TNameCase{L"file.txt:stream", nullptr}, TNameCase{L"sub/.../x", nullptr},
                      TNameCase{L"trailing./x", nullptr}, TNameCase{L"blank /x", nullptr},
                      TNameCase{L"CON", nullptr}, TNameCase{L"sub/nul.txt", nullptr},
                      TNameCase{L"NUL .txt", nullptr}, TNameCase{L"CON  .txt", nullptr},
                      TNameCase{L"sub/com1 .log", nullptr}, TNameCase{L"CONSOLE.txt", L"CONSOLE.txt"},
                      TNameCase{L"q?.txt", nullptr}, TNameCase{L"", nullptr}, TNameCase{L"/", nullptr}));

std::vector<uint8_t> Record(uint8_t flags, const std::vector<std::string>& texts, int sizeDelta = 0) {
  std::vector<uint8_t> r = {0x4D, 0x50, 0x56, flags, 0, 1, 0, 0};
  for (const auto& t : texts) {
    r.push_back(uint8_t(t.size()));
    r.insert(r.end(), t.begin(), t.end());
  }
  while (r.size() % 4) r.push_back(0);
  size_t size = r.size() + sizeDelta;
  r[6] = uint8_t(size);
  r[7] = uint8_t(size >> 8);
  return r;
}

TEST(SfxOptionRecord, DecodesTheDistributionSettings) {
  auto r = Record(0xCC, {"Self-extracting Archive", "><", "><install.exe", ""});
  ASSERT_EQ(r.size(), 52u);
  auto o = DecodeSfxOptions(r.data(), r.size());
  ASSERT_TRUE(o.has_value());
  EXPECT_EQ(o->Flags, 0xCC);
  EXPECT_EQ(o->RecordSize, 52);
  EXPECT_EQ(o->Caption, "Self-extracting Archive");
  EXPECT_EQ(o->DefaultDir, "><");
  EXPECT_EQ(o->CommandLine, "><install.exe");
  EXPECT_EQ(o->Message, "");
}

TEST(SfxOptionRecord, RefusesBrokenRecords) {
  auto good = Record(0, {"a", "b", "c", "d"});
  auto wrongSig = good;
  wrongSig[2] = 'X';
  auto tooShort = Record(0, {"a", "b", "c", "d"}, -4);
  auto odd = Record(0, {"a", "b", "c", "d"}, 2);
  auto textPastEnd = good;
  textPastEnd[8] = 200;
  for (const auto* r : {&wrongSig, &tooShort, &odd, &textPastEnd})
    EXPECT_FALSE(DecodeSfxOptions(r->data(), r->size()).has_value());
  EXPECT_FALSE(DecodeSfxOptions(good.data(), good.size() - 1).has_value()) << "record cut short";
}

}  // namespace
}  // namespace tq::zipstub
