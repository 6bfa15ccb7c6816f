#pragma once
// A small lh5 decoder for the tests, written from the format: blocks of a
// 16-bit symbol count and three canonical Huffman tables, then the symbols.
// It checks that every table is complete and that the stream holds no bits
// beyond its final block but the closing padding.
#include <string>

#include "TestData.h"

namespace tq::testing {

struct TLh5DecodeResult {
  bool Ok = false;
  std::string Error;
  Bytes Data;
  int Blocks = 0;
};

// Decodes OriginalSize bytes from the bit stream Packed (without the 4-byte
// length that the compressor writes in front of it).
TLh5DecodeResult Lh5Decode(const Bytes& Packed, size_t OriginalSize);

}  // namespace tq::testing
