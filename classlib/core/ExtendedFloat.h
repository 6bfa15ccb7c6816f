#pragma once
// The 10-byte x87 extended float of stored streams, converted to and from
// double with integer arithmetic only (the same on every compiler).
// Layout: bytes 0-7 the 64-bit significand with its explicit integer bit,
// bytes 8-9 the sign bit and the 15-bit exponent (bias 16383), little-endian.
#include <cstdint>

namespace tq {

constexpr int ExtendedSize = 10;

// Exact: every double is an extended.
void DoubleToExtended(double value, uint8_t out[ExtendedSize]);
// Rounded to nearest, ties to even; out-of-range values become infinities or
// zero/subnormals, NaNs stay NaN.
double ExtendedToDouble(const uint8_t in[ExtendedSize]);

}  // namespace tq
