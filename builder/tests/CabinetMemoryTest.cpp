// The library's memory callbacks: blocks fit what was asked for, and a large
// block that came back serves the next request of its size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "CabinetSupport.h"

namespace tq {
namespace {

TEST(CabinetMemory, BlocksAreAlignedAndHoldTheirWholeSize) {
  for (unsigned long size : {0ul, 1ul, 24ul, 5912ul, 65536ul, 100136ul}) {
    void* block = CabinetAlloc(size);
    ASSERT_NE(block, nullptr) << size;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u) << size;
    std::memset(block, 0x5a, size);
    CabinetFree(block);
  }
  CabinetFree(nullptr);
}

// The compressor's set-up for each data block: its window and tables asked
// for and returned again.
TEST(CabinetMemory, LargeBlocksReturnedServeTheNextRequestsOfTheirSize) {
  std::vector<void*> first;
  for (int i = 0; i < 4; ++i) first.push_back(CabinetAlloc(65536));
  for (void* block : first) CabinetFree(block);
  void* other = CabinetAlloc(70000);
  EXPECT_EQ(std::count(first.begin(), first.end(), other), 0);
  std::vector<void*> again;
  for (int i = 0; i < 4; ++i) again.push_back(CabinetAlloc(65536));
  std::sort(first.begin(), first.end());
  std::sort(again.begin(), again.end());
  EXPECT_EQ(again, first);
  for (void* block : again) CabinetFree(block);
  CabinetFree(other);
}

}  // namespace
}  // namespace tq
