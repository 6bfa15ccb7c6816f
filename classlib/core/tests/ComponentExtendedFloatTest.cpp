// The 10-byte extended floats of component streams.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "ExtendedFloat.h"

namespace tq {
namespace {

std::string Hex(const uint8_t* b) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (int i = 0; i < ExtendedSize; ++i) {
    s += digits[b[i] >> 4];
    s += digits[b[i] & 15];
  }
  return s;
}

void FromHex(const std::string& hex, uint8_t* b) {
  for (int i = 0; i < ExtendedSize; ++i) b[i] = static_cast<uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
}

TEST(ComponentExtendedFloat, KnownEncodings) {
  struct Case {
    double Value;
    const char* Bytes;  // as stored, byte 0 first
  } cases[] = {
      {0.0, "00000000000000000000"},
      {-0.0, "00000000000000000080"},
      {1.0, "0000000000000080FF3F"},
      {1.5, "00000000000000C0FF3F"},
      {-2.0, "000000000000008000C0"},
      {0.1, "00D0CCCCCCCCCCCCFB3F"},
      {std::numeric_limits<double>::infinity(), "0000000000000080FF7F"},
      {-std::numeric_limits<double>::infinity(), "0000000000000080FFFF"},
      {std::numeric_limits<double>::max(), "00F8FFFFFFFFFFFFFE43"},
      {std::numeric_limits<double>::min(), "0000000000000080013C"},
      {std::numeric_limits<double>::denorm_min(), "0000000000000080CD3B"},
  };
  for (const auto& c : cases) {
    uint8_t b[ExtendedSize];
    DoubleToExtended(c.Value, b);
    EXPECT_EQ(Hex(b), c.Bytes) << c.Value;
    const double back = ExtendedToDouble(b);
    EXPECT_EQ(back, c.Value);
    EXPECT_EQ(std::signbit(back), std::signbit(c.Value));
  }
  uint8_t nan[ExtendedSize];
  DoubleToExtended(std::numeric_limits<double>::quiet_NaN(), nan);
  EXPECT_TRUE(std::isnan(ExtendedToDouble(nan)));
}

TEST(ComponentExtendedFloat, DoublesRoundTripExactly) {
  uint64_t x = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 20000; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    double d;
    std::memcpy(&d, &x, 8);
    if (std::isnan(d)) continue;
    uint8_t b[ExtendedSize];
    DoubleToExtended(d, b);
    ASSERT_EQ(ExtendedToDouble(b), d) << std::hexfloat << d;
  }
}

TEST(ComponentExtendedFloat, WiderValuesRoundToNearestEven) {
  struct Case {
    const char* Bytes;
    double Expected;
  } cases[] = {
      // 1 + 2^-59: below half an ulp of double.
      {"1000000000000080FF3F", 1.0},
      // 1 + 2^-53 exactly half: ties to even (1.0).
      {"0004000000000080FF3F", 1.0},
      // 1 + 3 * 2^-53: half above an odd last bit: rounds up.
      {"000C000000000080FF3F", 1.0 + std::ldexp(1.0, -51)},
      // Largest extended significand: rounds up into the next binade.
      {"FFFFFFFFFFFFFFFFFF3F", 2.0},
      // Far above double's range and far below it.
      {"0000000000000080FE7F", std::numeric_limits<double>::infinity()},
      {"00000000000000800100", 0.0},
      // 2^-1074 * 1.5: half way between two subnormals, ties to even (2^-1073).
      {"00000000000000C0CD3B", std::ldexp(1.0, -1073)},
      // Extended denormal (exponent 0) is far below double: zero.
      {"01000000000000000000", 0.0},
      // Pseudo-infinity style NaN payload.
      {"0100000000000080FF7F", std::numeric_limits<double>::quiet_NaN()},
  };
  for (const auto& c : cases) {
    uint8_t b[ExtendedSize];
    FromHex(c.Bytes, b);
    const double got = ExtendedToDouble(b);
    if (std::isnan(c.Expected))
      EXPECT_TRUE(std::isnan(got)) << c.Bytes;
    else
      EXPECT_EQ(got, c.Expected) << c.Bytes;
  }
}

}  // namespace
}  // namespace tq
