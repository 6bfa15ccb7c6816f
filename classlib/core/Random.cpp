// The Pascal-compatible linear congruential generator; banker's rounding.
#include "Random.h"

#include <chrono>
#include <cmath>

namespace tq {

uint32_t RandSeed = 0;

namespace {
uint32_t NextSeed() {
  RandSeed = RandSeed * 134775813u + 1u;
  return RandSeed;
}
}  // namespace

void Randomize() {
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
               std::chrono::system_clock::now().time_since_epoch().count();
  RandSeed = static_cast<uint32_t>(ticks) ^ static_cast<uint32_t>(static_cast<uint64_t>(ticks) >> 32);
}

int Random(int n) {
  uint32_t seed = NextSeed();
  if (n <= 0) return 0;
  return static_cast<int>((static_cast<uint64_t>(seed) * static_cast<uint32_t>(n)) >> 32);
}

double Random() { return static_cast<double>(NextSeed()) / 4294967296.0; }

int64_t Round(double x) {
  double f = std::floor(x);
  double diff = x - f;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0)) f += 1.0;
  return static_cast<int64_t>(f);
}

int64_t Trunc(double x) { return static_cast<int64_t>(std::trunc(x)); }

}  // namespace tq
