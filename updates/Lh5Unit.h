#pragma once
// Compression with the LHA method lh5: LZSS over an 8 KB dictionary with static
// Huffman coding in blocks.
//
// Output, written at the output stream's position: the number of input bytes
// compressed (4 bytes, little-endian), then the lh5 bit stream, bits packed from
// the most significant bit of each byte. Each block holds its 16-bit symbol
// count, the code-length table's lengths, the literal-and-length code's lengths,
// the position code's lengths and then the symbols. The stream ends with the
// final block and 7 zero bits. Nothing in the system decompresses.
#include <cstdint>

#include "Classes.h"

namespace tq {

namespace lh5 {
constexpr int DicBit = 13;
constexpr int DicSize = 1 << DicBit;        // 8192
constexpr int MaxMatch = 256;
constexpr int Threshold = 3;                // shortest match
constexpr int NC = 255 + MaxMatch + 2 - Threshold;  // 510 literal-and-length symbols
constexpr int NP = DicBit + 1;              // 14 position symbols
constexpr int NT = 16 + 3;                  // 19 code-length symbols
constexpr int CBit = 9;
constexpr int PBit = 4;
constexpr int TBit = 5;
constexpr int MaxCodeLength = 16;
constexpr int BlockBufferSize = 16384;
constexpr int OutputBufferSize = 8192;
}  // namespace lh5

// Writes the compressed form of the rest of Input (from its position to its
// end) to Output. The output is written in full even when it is larger than
// the input.
void Lh5Compress(TStream& Input, TStream& Output);

}  // namespace tq
