// The cabinet library's memory: blocks of the program's heap, with the last few
// large blocks that came back kept for the next request of the same size.
//
// The library's compressor sets up afresh for every data block of a folder: it
// asks for its window and tables (a handful of 64 KB blocks) and returns them
// some microseconds later. Blocks of that size are mapped and unmapped by the
// heap on each request, which under Wine costs more than compressing the block.
#include <cstddef>
#include <cstdlib>

#include "CabinetSupport.h"

namespace tq {

namespace {

// Every block starts with its size, so that a returned block can be kept.
struct alignas(16) TBlockHeader {
  size_t Size;
};

constexpr size_t LargeBlock = 16 * 1024;
constexpr int KeptBlocks = 8;

// The large blocks kept on this thread (the library calls back on the thread
// that called it).
class TKeptBlocks {
 public:
  ~TKeptBlocks() {
    for (int i = 0; i < FCount; ++i) std::free(FBlocks[i]);
  }
  TBlockHeader* Take(size_t size) {
    for (int i = FCount - 1; i >= 0; --i) {
      if (FBlocks[i]->Size != size) continue;
      TBlockHeader* block = FBlocks[i];
      FBlocks[i] = FBlocks[--FCount];
      return block;
    }
    return nullptr;
  }
  bool Keep(TBlockHeader* block) {
    if (FCount == KeptBlocks) return false;
    FBlocks[FCount++] = block;
    return true;
  }

 private:
  TBlockHeader* FBlocks[KeptBlocks] = {};
  int FCount = 0;
};

thread_local TKeptBlocks Kept;

}  // namespace

void* CabinetAlloc(unsigned long size) {
  const size_t wanted = size ? size : 1;
  TBlockHeader* block = wanted >= LargeBlock ? Kept.Take(wanted) : nullptr;
  if (!block) {
    block = static_cast<TBlockHeader*>(std::malloc(sizeof(TBlockHeader) + wanted));
    if (!block) return nullptr;
    block->Size = wanted;
  }
  return block + 1;
}

void CabinetFree(void* memory) {
  if (!memory) return;
  TBlockHeader* block = static_cast<TBlockHeader*>(memory) - 1;
  if (block->Size >= LargeBlock && Kept.Keep(block)) return;
  std::free(block);
}

}  // namespace tq
