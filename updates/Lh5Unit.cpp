#include "Lh5Unit.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "LittleEndian.h"

namespace tq {

using namespace lh5;

namespace {

constexpr int NPT = NT > NP ? NT : NP;
constexpr int TextSize = 2 * DicSize + MaxMatch;   // dictionary, the next dictionary, lookahead
constexpr int FirstRead = DicSize + MaxMatch;      // 8448
constexpr int NextRead = DicSize;                  // 8192
constexpr int SendLimit = BlockBufferSize - 24;    // 16360
constexpr int HashBits = 15;
constexpr int HashSize = 1 << HashBits;
constexpr int MaxChain = 256;                      // candidates tried per position

// ---- bits -------------------------------------------------------------------

class TBitWriter {
 public:
  explicit TBitWriter(TStream& Out) : FOut(Out), FBuf(OutputBufferSize) {}

  // Writes the Count low bits of Bits, most significant first (Count 0 to 16).
  void PutBits(int Count, uint32_t Bits) {
    if (Count <= 0) return;
    Bits &= (1u << Count) - 1;
    while (Count >= FFree) {
      Count -= FFree;
      EmitByte(uint8_t(FPending | (Bits >> Count)));
      Bits &= (1u << Count) - 1;
      FPending = 0;
      FFree = 8;
    }
    FPending = uint8_t(FPending | (Bits << (FFree - Count)));
    FFree -= Count;
  }

  // Writes the buffered bytes; a pending byte that is not full stays unwritten.
  void Flush() {
    if (FUsed) FOut.WriteBuffer(FBuf.data(), int64_t(FUsed));
    FUsed = 0;
  }

 private:
  void EmitByte(uint8_t b) {
    FBuf[FUsed++] = b;
    if (FUsed == FBuf.size()) Flush();
  }

  TStream& FOut;
  std::vector<uint8_t> FBuf;
  size_t FUsed = 0;
  uint8_t FPending = 0;
  int FFree = 8;
};

// ---- Huffman codes ------------------------------------------------------------

// Code lengths (at most MaxCodeLength) of a Huffman code for the symbols with a
// non-zero frequency; the code is complete when two or more symbols occur.
// Returns the number of symbols that occur; Single receives the last of them.
int MakeLengths(const uint32_t* Freq, int N, uint8_t* Len, int& Single) {
  std::fill(Len, Len + N, 0);
  std::vector<int> used;
  for (int i = 0; i < N; ++i)
    if (Freq[i]) used.push_back(i);
  Single = used.empty() ? 0 : used.back();
  if (used.size() < 2) return int(used.size());

  // Build the tree: nodes 0..n-1 are leaves, the rest internal.
  const int n = int(used.size());
  std::vector<uint64_t> weight(size_t(2 * n));
  std::vector<int> parent(size_t(2 * n), -1);
  using Item = std::pair<uint64_t, int>;
  std::vector<Item> heap;
  for (int k = 0; k < n; ++k) {
    weight[size_t(k)] = Freq[used[size_t(k)]];
    heap.emplace_back(weight[size_t(k)], k);
  }
  auto cmp = [](const Item& a, const Item& b) { return a > b; };
  std::make_heap(heap.begin(), heap.end(), cmp);
  int next = n;
  while (heap.size() > 1) {
    std::pop_heap(heap.begin(), heap.end(), cmp);
    Item a = heap.back();
    heap.pop_back();
    std::pop_heap(heap.begin(), heap.end(), cmp);
    Item b = heap.back();
    heap.pop_back();
    weight[size_t(next)] = a.first + b.first;
    parent[size_t(a.second)] = next;
    parent[size_t(b.second)] = next;
    heap.emplace_back(weight[size_t(next)], next);
    std::push_heap(heap.begin(), heap.end(), cmp);
    ++next;
  }
  // Depths, the root being the last node made.
  std::vector<int> depth(size_t(next), 0);
  for (int k = next - 2; k >= 0; --k) depth[size_t(k)] = depth[size_t(parent[size_t(k)])] + 1;

  // Count the leaves per length, folding those beyond the limit into it, then
  // make the code complete again: each step removes one leaf of the longest
  // length and splits a shorter leaf into two.
  std::vector<int> count(size_t(MaxCodeLength + 1), 0);
  for (int k = 0; k < n; ++k) ++count[size_t(std::min(depth[size_t(k)], MaxCodeLength))];
  uint64_t kraft = 0;
  for (int l = 1; l <= MaxCodeLength; ++l) kraft += uint64_t(count[size_t(l)]) << (MaxCodeLength - l);
  while (kraft > (uint64_t(1) << MaxCodeLength)) {
    --count[MaxCodeLength];
    for (int l = MaxCodeLength - 1; l >= 1; --l) {
      if (count[size_t(l)]) {
        --count[size_t(l)];
        count[size_t(l + 1)] += 2;
        break;
      }
    }
    --kraft;
  }

  // The most frequent symbols get the shortest codes.
  std::vector<int> order(used);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Freq[a] > Freq[b]; });
  size_t k = 0;
  for (int l = 1; l <= MaxCodeLength; ++l)
    for (int c = 0; c < count[size_t(l)]; ++c) Len[order[k++]] = uint8_t(l);
  return n;
}

// Canonical codes: shorter codes first, within a length in symbol order.
void MakeCodes(const uint8_t* Len, int N, uint16_t* Code) {
  uint32_t count[MaxCodeLength + 2] = {};
  for (int i = 0; i < N; ++i) ++count[Len[i]];
  count[0] = 0;
  uint32_t next[MaxCodeLength + 2] = {};
  uint32_t c = 0;
  for (int l = 1; l <= MaxCodeLength; ++l) {
    c = (c + count[l - 1]) << 1;
    next[l] = c;
  }
  for (int i = 0; i < N; ++i)
    Code[i] = Len[i] ? uint16_t(next[Len[i]]++) : 0;
}

int BitLength(uint32_t v) {
  int n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

// ---- the encoder ----------------------------------------------------------------

class TLh5Encoder {
 public:
  TLh5Encoder(TStream& In, TStream& Out)
      : FIn(In), FBits(Out), FText(TextSize + 1, 0), FHead(HashSize, -1), FPrev(DicSize, -1),
        FBlock(BlockBufferSize, 0) {}

  void Run() {
    Encode();
    SendBlock();
    FBits.PutBits(7, 0);
    FBits.Flush();
  }

 private:
  // -- input and match search --
  size_t ReadInto(int At, int Count) {
    return size_t(ReadUpTo(FIn, FText.data() + At, Count));
  }

  static uint32_t Hash(const uint8_t* p) {
    return ((uint32_t(p[0]) << 10) ^ (uint32_t(p[1]) << 5) ^ p[2]) & (HashSize - 1);
  }

  // Enters the absolute position Pos (buffer index Idx) into the hash chains.
  void Insert(int64_t Pos, int Idx) {
    if (Idx + 2 >= FEnd) return;
    uint32_t h = Hash(&FText[size_t(Idx)]);
    FPrev[size_t(Pos & (DicSize - 1))] = FHead[h];
    FHead[h] = Pos;
  }

  // Longest match within the dictionary for the bytes at Idx; the nearest of
  // equal lengths wins. Returns its length (0 when none) and distance.
  int FindMatch(int64_t Pos, int Idx, int& Distance) {
    int maxLen = std::min(MaxMatch, FEnd - Idx);
    if (maxLen < Threshold) return 0;
    uint32_t h = Hash(&FText[size_t(Idx)]);
    int64_t cand = FHead[h];
    int best = 0;
    const uint8_t* cur = &FText[size_t(Idx)];
    for (int tries = 0; cand >= 0 && Pos - cand <= DicSize && tries < MaxChain; ++tries) {
      const uint8_t* old = &FText[size_t(Idx - int(Pos - cand))];
      if (old[best] == cur[best] && old[0] == cur[0]) {
        int len = 0;
        while (len < maxLen && old[len] == cur[len]) ++len;
        if (len > best) {
          best = len;
          Distance = int(Pos - cand);
          if (len == maxLen) break;
        }
      }
      int64_t next = FPrev[size_t(cand & (DicSize - 1))];
      if (next >= cand) break;
      cand = next;
    }
    return best >= Threshold ? best : 0;
  }

  // Moves on by one position, sliding the dictionary when the buffer's second
  // half is reached.
  void Advance() {
    ++FPos;
    ++FIdx;
    if (FIdx == 2 * DicSize) {
      std::memmove(FText.data(), FText.data() + DicSize, size_t(DicSize + MaxMatch));
      FIdx -= DicSize;
      FEnd -= DicSize;
      FEnd += int(ReadInto(FEnd, NextRead));
    }
  }

  void Encode() {
    FIdx = DicSize;
    FEnd = DicSize + int(ReadInto(DicSize, FirstRead));
    while (FIdx < FEnd) {
      int dist = 0;
      int len = FindMatch(FPos, FIdx, dist);
      if (len) {
        Output(uint32_t(len + 256 - Threshold), uint32_t(dist - 1));
        for (int k = 0; k < len; ++k) {
          Insert(FPos, FIdx);
          Advance();
        }
      } else {
        Output(FText[size_t(FIdx)], 0);
        Insert(FPos, FIdx);
        Advance();
      }
    }
  }

  // -- the block buffer: a flag byte before every 8 symbols, literals as one
  // byte, matches as the length code's low byte and two position bytes --
  void Output(uint32_t C, uint32_t P) {
    FMask >>= 1;
    if (FMask == 0) {
      FMask = 0x80;
      if (FBlockPos >= SendLimit) {
        SendBlock();
        FBlockPos = 0;
      }
      FFlagPos = FBlockPos++;
      FBlock[size_t(FFlagPos)] = 0;
    }
    FBlock[size_t(FBlockPos++)] = uint8_t(C);
    ++FCFreq[C];
    ++FSymbols;
    if (C >= 256) {
      FBlock[size_t(FFlagPos)] |= FMask;
      FBlock[size_t(FBlockPos++)] = uint8_t(P >> 8);
      FBlock[size_t(FBlockPos++)] = uint8_t(P);
      ++FPFreq[BitLength(P)];
    }
  }

  // -- sending a block --
  void CountTFreq(int N) {
    std::fill(std::begin(FTFreq), std::end(FTFreq), 0u);
    int i = 0;
    while (i < N) {
      int k = FCLen[i++];
      if (k == 0) {
        int run = 1;
        while (i < N && FCLen[i] == 0) {
          ++i;
          ++run;
        }
        if (run <= 2) FTFreq[0] += uint32_t(run);
        else if (run <= 18) ++FTFreq[1];
        else if (run == 19) {
          ++FTFreq[0];
          ++FTFreq[1];
        } else ++FTFreq[2];
      } else {
        ++FTFreq[k + 2];
      }
    }
  }

  // Lengths of a position or code-length table: below 7 in 3 bits, else "111"
  // and one 1 per step beyond 7, closed by a 0. After the first three lengths
  // of the code-length table, 2 bits give how many of the next three are zero.
  void WritePtLen(int N, int NBit, int Special) {
    while (N > 0 && FPtLen[N - 1] == 0) --N;
    FBits.PutBits(NBit, uint32_t(N));
    int i = 0;
    while (i < N) {
      int k = FPtLen[i++];
      if (k <= 6) FBits.PutBits(3, uint32_t(k));
      else FBits.PutBits(k - 3, (1u << (k - 3)) - 2);
      if (i == Special) {
        while (i < 6 && FPtLen[i] == 0) ++i;
        FBits.PutBits(2, uint32_t(i - 3));
      }
    }
  }

  void PutT(int Sym) { FBits.PutBits(FPtLen[Sym], FPtCode[Sym]); }

  void WriteCLen() {
    int n = NC;
    while (n > 0 && FCLen[n - 1] == 0) --n;
    FBits.PutBits(CBit, uint32_t(n));
    int i = 0;
    while (i < n) {
      int k = FCLen[i++];
      if (k == 0) {
        int run = 1;
        while (i < n && FCLen[i] == 0) {
          ++i;
          ++run;
        }
        if (run <= 2) {
          for (int j = 0; j < run; ++j) PutT(0);
        } else if (run <= 18) {
          PutT(1);
          FBits.PutBits(4, uint32_t(run - 3));
        } else if (run == 19) {
          PutT(0);
          PutT(1);
          FBits.PutBits(4, 15);
        } else {
          PutT(2);
          FBits.PutBits(CBit, uint32_t(run - 20));
        }
      } else {
        PutT(k + 2);
      }
    }
  }

  void SendBlock() {
    int single = 0;
    int usedC = MakeLengths(FCFreq, NC, FCLen, single);
    FBits.PutBits(16, FSymbols);
    if (usedC >= 2) {
      MakeCodes(FCLen, NC, FCCode);
      CountTFreq(NC);
      int singleT = 0;
      int usedT = MakeLengths(FTFreq, NT, FPtLen, singleT);
      if (usedT >= 2) {
        MakeCodes(FPtLen, NT, FPtCode);
        WritePtLen(NT, TBit, 3);
      } else {
        std::fill(std::begin(FPtCode), std::end(FPtCode), uint16_t(0));
        FBits.PutBits(TBit, 0);
        FBits.PutBits(TBit, uint32_t(singleT));
      }
      WriteCLen();
    } else {
      std::fill(std::begin(FCCode), std::end(FCCode), uint16_t(0));
      FBits.PutBits(TBit, 0);
      FBits.PutBits(TBit, 0);
      FBits.PutBits(CBit, 0);
      FBits.PutBits(CBit, uint32_t(single));
    }
    int singleP = 0;
    int usedP = MakeLengths(FPFreq, NP, FPtLen, singleP);
    if (usedP >= 2) {
      MakeCodes(FPtLen, NP, FPtCode);
      WritePtLen(NP, PBit, -1);
    } else {
      std::fill(std::begin(FPtCode), std::end(FPtCode), uint16_t(0));
      FBits.PutBits(PBit, 0);
      FBits.PutBits(PBit, uint32_t(singleP));
    }

    // The symbols.
    int pos = 0;
    uint8_t flags = 0;
    for (uint32_t s = 0; s < FSymbols; ++s) {
      if (s % 8 == 0) flags = FBlock[size_t(pos++)];
      bool match = (flags & (0x80 >> (s % 8))) != 0;
      if (!match) {
        int c = FBlock[size_t(pos++)];
        FBits.PutBits(FCLen[c], FCCode[c]);
      } else {
        int c = FBlock[size_t(pos++)] + 256;
        FBits.PutBits(FCLen[c], FCCode[c]);
        uint32_t p = (uint32_t(FBlock[size_t(pos)]) << 8) | FBlock[size_t(pos + 1)];
        pos += 2;
        int b = BitLength(p);
        FBits.PutBits(FPtLen[b], FPtCode[b]);
        if (b > 1) FBits.PutBits(b - 1, p & ((1u << (b - 1)) - 1));
      }
    }

    std::fill(std::begin(FCFreq), std::end(FCFreq), 0u);
    std::fill(std::begin(FPFreq), std::end(FPFreq), 0u);
    FSymbols = 0;
  }

  TStream& FIn;
  TBitWriter FBits;
  std::vector<uint8_t> FText;
  std::vector<int64_t> FHead;  // newest absolute position per hash, -1 when none
  std::vector<int64_t> FPrev;  // the previous position of the same hash, per dictionary slot
  int64_t FPos = 0;            // absolute input position of FIdx
  int FIdx = 0;
  int FEnd = 0;

  std::vector<uint8_t> FBlock;
  int FBlockPos = 0;
  int FFlagPos = 0;
  uint8_t FMask = 1;
  uint32_t FSymbols = 0;

  uint32_t FCFreq[NC] = {};
  uint32_t FPFreq[NP] = {};
  uint32_t FTFreq[NT] = {};
  uint8_t FCLen[NC] = {};
  uint16_t FCCode[NC] = {};
  uint8_t FPtLen[NPT] = {};
  uint16_t FPtCode[NPT] = {};
};

}  // namespace

void Lh5Compress(TStream& Input, TStream& Output) {
  int64_t length = Input.Size() - Input.Position();
  if (length < 0) length = 0;
  WriteLE32(Output, uint32_t(length));
  auto encoder = std::make_unique<TLh5Encoder>(Input, Output);
  encoder->Run();
}

}  // namespace tq
