#include "Lh5TestDecoder.h"

#include <stdexcept>

namespace tq::testing {

namespace {

constexpr int NC = 510, NP = 14, NT = 19, CBIT = 9, PBIT = 4, TBIT = 5, DicSize = 8192;

struct BitIn {
  const Bytes& d;
  size_t bit = 0;
  uint32_t Get(int n) {
    uint32_t v = 0;
    for (int k = 0; k < n; ++k) {
      size_t byte = bit / 8;
      if (byte >= d.size()) throw std::runtime_error("read past the end of the stream");
      v = (v << 1) | ((d[byte] >> (7 - bit % 8)) & 1);
      ++bit;
    }
    return v;
  }
};

// A canonical code: codes of one length are consecutive, in symbol order.
struct Table {
  int single = -1;  // the one symbol of a table sent as a single value
  std::vector<int> lengths;
  int count[17] = {};
  std::vector<int> symbols;  // ordered by length, then symbol

  void Build(const std::vector<int>& len, const char* name) {
    lengths = len;
    single = -1;
    std::fill(std::begin(count), std::end(count), 0);
    symbols.clear();
    for (int l : len) {
      if (l > 16) throw std::runtime_error(std::string(name) + ": code longer than 16 bits");
      if (l) ++count[l];
    }
    uint64_t kraft = 0;
    for (int l = 1; l <= 16; ++l) kraft += uint64_t(count[l]) << (16 - l);
    if (kraft != (1u << 16)) throw std::runtime_error(std::string(name) + ": incomplete or overfull code");
    for (int l = 1; l <= 16; ++l)
      for (size_t s = 0; s < len.size(); ++s)
        if (len[s] == l) symbols.push_back(int(s));
  }

  int Decode(BitIn& in) const {
    if (single >= 0) return single;
    int code = 0, first = 0, index = 0;
    for (int l = 1; l <= 16; ++l) {
      code |= int(in.Get(1));
      int c = count[l];
      if (code - first < c) return symbols[size_t(index + code - first)];
      index += c;
      first = (first + c) << 1;
      code <<= 1;
    }
    throw std::runtime_error("no code matches");
  }
};

void ReadPtLen(BitIn& in, Table& t, int nn, int nbit, int special, const char* name) {
  int n = int(in.Get(nbit));
  if (n == 0) {
    int c = int(in.Get(nbit));
    if (c >= nn) throw std::runtime_error(std::string(name) + ": single value out of range");
    t.lengths.assign(size_t(nn), 0);
    t.single = c;
    return;
  }
  if (n > nn) throw std::runtime_error(std::string(name) + ": too many lengths");
  std::vector<int> len(size_t(nn), 0);
  int i = 0;
  while (i < n) {
    int c = int(in.Get(3));
    if (c == 7)
      while (in.Get(1)) ++c;
    len[size_t(i++)] = c;
    if (i == special) {
      int z = int(in.Get(2));
      while (z-- > 0 && i < nn) len[size_t(i++)] = 0;
    }
  }
  t.Build(len, name);
}

void ReadCLen(BitIn& in, const Table& pt, Table& c) {
  int n = int(in.Get(CBIT));
  if (n == 0) {
    int v = int(in.Get(CBIT));
    if (v >= NC) throw std::runtime_error("C: single value out of range");
    c.lengths.assign(NC, 0);
    c.single = v;
    return;
  }
  if (n > NC) throw std::runtime_error("C: too many lengths");
  std::vector<int> len(NC, 0);
  int i = 0;
  while (i < n) {
    int s = pt.Decode(in);
    if (s <= 2) {
      int run = s == 0 ? 1 : s == 1 ? int(in.Get(4)) + 3 : int(in.Get(CBIT)) + 20;
      if (i + run > n) throw std::runtime_error("C: zero run past the count");
      i += run;
    } else {
      len[size_t(i++)] = s - 2;
    }
  }
  c.Build(len, "C");
}

}  // namespace

TLh5DecodeResult Lh5Decode(const Bytes& Packed, size_t OriginalSize) {
  TLh5DecodeResult r;
  BitIn in{Packed};
  try {
    Table t, c, p;
    uint32_t left = 0;
    Bytes& out = r.Data;
    while (out.size() < OriginalSize) {
      if (left == 0) {
        left = in.Get(16);
        ++r.Blocks;
        if (left == 0) throw std::runtime_error("empty block inside the data");
        ReadPtLen(in, t, NT, TBIT, 3, "T");
        ReadCLen(in, t, c);
        ReadPtLen(in, p, NP, PBIT, -1, "P");
      }
      --left;
      int s = c.Decode(in);
      if (s < 256) {
        out.push_back(uint8_t(s));
      } else {
        size_t len = size_t(s - 256 + 3);
        int j = p.Decode(in);
        uint32_t dist = j <= 1 ? uint32_t(j) : (1u << (j - 1)) + in.Get(j - 1);
        ++dist;
        if (dist > DicSize) throw std::runtime_error("distance beyond the dictionary");
        if (dist > out.size()) throw std::runtime_error("distance before the start");
        if (out.size() + len > OriginalSize) throw std::runtime_error("match past the original size");
        for (size_t k = 0; k < len; ++k) out.push_back(out[out.size() - dist]);
      }
    }
    if (left != 0) throw std::runtime_error("symbols left in the final block");
    // What follows the final block is the padding of at most 7 zero bits.
    size_t usedBytes = (in.bit + 7) / 8;
    if (OriginalSize == 0) {
      // The encoder's output for an empty text: one block of no symbols.
      r.Blocks = 0;
    } else if (Packed.size() != usedBytes) {
      throw std::runtime_error("bytes after the final block: " + std::to_string(Packed.size() - usedBytes));
    }
    while (in.bit < Packed.size() * 8)
      if (in.Get(1)) throw std::runtime_error("padding bits not zero");
    r.Ok = true;
  } catch (const std::exception& e) {
    r.Error = std::string(e.what()) + " at bit " + std::to_string(in.bit);
  }
  return r;
}

}  // namespace tq::testing
