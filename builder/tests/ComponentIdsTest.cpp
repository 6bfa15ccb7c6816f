#include "ComponentIds.h"

#include <gtest/gtest.h>

using namespace tq;

TEST(ComponentIds, SharedIdsAreStableNameBasedGuids) {
  std::string a = SharedComponentId("SystemFolder\\TQSetGroup.exe");
  EXPECT_EQ(a, SharedComponentId("systemfolder\\tqsetgroup.EXE"));
  EXPECT_NE(a, SharedComponentId("SystemFolder\\TQSetSub.exe"));
  ASSERT_EQ(a.size(), 38u);
  EXPECT_EQ(a[0], '{');
  EXPECT_EQ(a[37], '}');
  EXPECT_EQ(a[15], '5');  // name-based (SHA-1)
  EXPECT_NE(std::string("89AB").find(a[20]), std::string::npos);
  for (size_t i : {9u, 14u, 19u, 24u}) EXPECT_EQ(a[i], '-');
}

TEST(ComponentIds, NewIdsDiffer) {
  std::string a = NewComponentId();
  EXPECT_EQ(a.size(), 38u);
  EXPECT_NE(a, NewComponentId());
}
