#include <gtest/gtest.h>

#include <vector>

#include "SortedByExtension.h"

using namespace tq;

namespace {

using V = std::vector<std::string>;

struct SortCase {
  const char* Name;
  V Entries;
  V Sorted;
};

void PrintTo(const SortCase& c, std::ostream* os) { *os << c.Name; }

class SortedByExtensionTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortedByExtensionTest, SortsByExtensionKeepingTheOrderOfEqualOnes) {
  const SortCase& c = GetParam();
  TSortedByExtensionStringList list;
  // Each entry carries its original position as its object.
  for (size_t i = 0; i < c.Entries.size(); ++i)
    list.AddObject(c.Entries[i], reinterpret_cast<TObject*>(static_cast<intptr_t>(i + 1)));
  list.Sort();
  V sorted;
  for (int i = 0; i < list.Count(); ++i) {
    sorted.push_back(list.Get(i));
    auto from = static_cast<size_t>(reinterpret_cast<intptr_t>(list.GetObjectAt(i))) - 1;
    ASSERT_LT(from, c.Entries.size());
    EXPECT_EQ(c.Entries[from], list.Get(i)) << "the object moves with its entry";
  }
  EXPECT_EQ(sorted, c.Sorted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortedByExtensionTest,
    ::testing::Values(
        SortCase{"NameOrderedFiles", {"a.exe", "b.txt", "c.exe"}, {"a.exe", "c.exe", "b.txt"}},
        SortCase{"EqualExtensionsKeepTheirOrder", {"z.dll", "b.dll", "a.dll"}, {"z.dll", "b.dll", "a.dll"}},
        SortCase{"LetterCaseIgnored", {"x.TXT", "y.exe", "z.txt", "w.Exe"}, {"y.exe", "w.Exe", "x.TXT", "z.txt"}},
        SortCase{"LastDotCounts", {"a.tar.gz", "b.txt", "c.gz", "d.tar"}, {"a.tar.gz", "c.gz", "d.tar", "b.txt"}},
        SortCase{"NoExtensionFirst", {"b.txt", "README", "a.exe", "LICENSE"}, {"README", "LICENSE", "a.exe", "b.txt"}},
        SortCase{"Empty", {}, {}}),
    [](const ::testing::TestParamInfo<SortCase>& i) { return std::string(i.param.Name); });

}  // namespace
