#include <gtest/gtest.h>
#include "SysUtils.h"

TEST(Exception, CarriesItsMessage) {
  try {
    throw tq::Exception("Cannot open file x");
  } catch (const std::exception& e) {
    EXPECT_STREQ("Cannot open file x", e.what());
  }
}
