#pragma once
// The Pascal-compatible pseudo-random generator and rounding.
#include <cstdint>

namespace tq {

// The generator's state: seed := seed * 134775813 + 1 (mod 2^32) before each use.
extern uint32_t RandSeed;

void Randomize();    // seeds from the clock
int Random(int n);   // 0 <= result < n: (seed * n) >> 32; 0 when n <= 0
double Random();     // 0 <= result < 1: seed / 2^32

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int64_t Round(double x);
// Drops the fraction (towards zero).
int64_t Trunc(double x);

}  // namespace tq
