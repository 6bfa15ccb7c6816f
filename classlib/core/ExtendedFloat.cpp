#include "ExtendedFloat.h"

#include <bit>
#include <cmath>
#include <limits>

namespace tq {

void DoubleToExtended(double value, uint8_t out[ExtendedSize]) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const unsigned sign = static_cast<unsigned>(bits >> 63);
  const int exp = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t frac = bits & ((uint64_t{1} << 52) - 1);
  uint64_t mant = 0;
  int e = 0;  // biased extended exponent
  if (exp == 0x7FF) {
    e = 0x7FFF;
    mant = frac == 0 ? (uint64_t{1} << 63) : ((uint64_t{3} << 62) | (frac << 11));
  } else if (exp == 0) {
    if (frac != 0) {
      int unbiased = 1 - 1023;
      while ((frac & (uint64_t{1} << 52)) == 0) {
        frac <<= 1;
        --unbiased;
      }
      mant = frac << 11;
      e = unbiased + 16383;
    }
  } else {
    mant = (frac | (uint64_t{1} << 52)) << 11;
    e = exp - 1023 + 16383;
  }
  for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(mant >> (8 * i));
  const unsigned se = (sign << 15) | static_cast<unsigned>(e);
  out[8] = static_cast<uint8_t>(se);
  out[9] = static_cast<uint8_t>(se >> 8);
}

double ExtendedToDouble(const uint8_t in[ExtendedSize]) {
  uint64_t mant = 0;
  for (int i = 0; i < 8; ++i) mant |= static_cast<uint64_t>(in[i]) << (8 * i);
  const unsigned se = in[8] | (static_cast<unsigned>(in[9]) << 8);
  const bool negative = (se & 0x8000) != 0;
  const int exp = static_cast<int>(se & 0x7FFF);
  double r;
  if (exp == 0x7FFF) {
    r = (mant << 1) == 0 ? std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::quiet_NaN();
  } else if (mant == 0) {
    r = 0.0;
  } else {
    // value = mant * 2^e
    int e = (exp == 0 ? 1 : exp) - 16383 - 63;
    const int lz = std::countl_zero(mant);
    mant <<= lz;
    e -= lz;
    const int top = e + 63;  // value in [2^top, 2^(top+1))
    if (top > 1023) {
      r = std::numeric_limits<double>::infinity();
    } else if (top >= -1022) {
      uint64_t q = mant >> 11;
      const uint64_t rem = mant & 0x7FF;
      if (rem > 0x400 || (rem == 0x400 && (q & 1))) ++q;
      int scale = e + 11;
      if (q == (uint64_t{1} << 53)) {
        q >>= 1;
        ++scale;
      }
      r = (scale + 52 > 1023) ? std::numeric_limits<double>::infinity()
                               : std::ldexp(static_cast<double>(q), scale);
    } else {
      // Subnormal: multiples of 2^-1074.
      const int shift = -(e + 1074);  // > 11 here
      uint64_t q = 0;
      if (shift < 64) {
        q = mant >> shift;
        const uint64_t rem = mant & ((uint64_t{1} << shift) - 1);
        const uint64_t half = uint64_t{1} << (shift - 1);
        if (rem > half || (rem == half && (q & 1))) ++q;
      } else if (shift == 64) {
        q = mant > (uint64_t{1} << 63) ? 1 : 0;
      }
      r = std::ldexp(static_cast<double>(q), -1074);
    }
  }
  return negative ? -r : r;
}

}  // namespace tq
