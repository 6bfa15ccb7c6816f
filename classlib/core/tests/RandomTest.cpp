#include <gtest/gtest.h>

#include <vector>

#include "Random.h"

using namespace tq;

TEST(Random, KnownSequenceFromSeedZero) {
  RandSeed = 0;
  std::vector<int> got;
  for (int i = 0; i < 10; ++i) got.push_back(Random(100));
  EXPECT_EQ((std::vector<int>{0, 3, 86, 20, 27, 67, 31, 16, 37, 42}), got);
  EXPECT_EQ(1828254910u, RandSeed);  // ten steps of seed * 134775813 + 1
}

TEST(Random, OtherSeedsRangesAndTheFloatForm) {
  RandSeed = 12345;
  std::vector<int> got;
  for (int i = 0; i < 5; ++i) got.push_back(Random(1000));
  EXPECT_EQ((std::vector<int>{385, 289, 79, 553, 633}), got);
  RandSeed = 0;
  EXPECT_DOUBLE_EQ(1.0 / 4294967296.0, Random());
  EXPECT_DOUBLE_EQ(134775814.0 / 4294967296.0, Random());
  RandSeed = 0xFFFFFFFFu;
  for (int i = 0; i < 1000; ++i) {
    int r = Random(7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
  }
  EXPECT_EQ(0, Random(0));
}

TEST(Round, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, int64_t> cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},   {3.5, 4},  {-0.5, 0},
                                              {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3},
                                              {1e10 + 0.5, 10000000000}};
  for (const auto& [x, r] : cases) EXPECT_EQ(r, Round(x)) << x;
  EXPECT_EQ(-2, Trunc(-2.9));
  EXPECT_EQ(2, Trunc(2.9));
}
