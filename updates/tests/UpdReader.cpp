#include "UpdReader.h"

#include <cstring>

#include "Lh5TestDecoder.h"
#include "aCRC32.h"

namespace tq::testing {

TUpdFile ReadUpdFile(const Bytes& File) {
  TUpdFile u;
  auto fail = [&](const std::string& e) {
    u.Error = e;
    return u;
  };
  if (File.size() < 88) return fail("shorter than header and length");
  if (std::memcmp(File.data(), "Update-32  1.02", 15) != 0) return fail("bad signature");
  u.OldVersionField = Slice(File, 15, 32);
  u.NewVersionField = Slice(File, 47, 32);
  for (auto* f : {&u.OldVersionField, &u.NewVersionField}) {
    if ((*f)[0] > 31) return fail("version text longer than 31");
    for (size_t i = size_t(1 + (*f)[0]); i < 32; ++i)
      if ((*f)[i]) return fail("version text not zero-filled");
  }
  u.OldVersion.assign(u.OldVersionField.begin() + 1, u.OldVersionField.begin() + 1 + u.OldVersionField[0]);
  u.NewVersion.assign(u.NewVersionField.begin() + 1, u.NewVersionField.begin() + 1 + u.NewVersionField[0]);
  u.AllOrNothing = File[79];
  if (u.AllOrNothing > 1) return fail("all-or-nothing byte not 0 or 1");
  if (Get32(&File[80]) != tq::CRC32Buffer(File.data() + 84, File.size() - 84)) return fail("body CRC");
  uint32_t length = Get32(&File[84]);
  TLh5DecodeResult d = Lh5Decode(Slice(File, 88, File.size() - 88), length);
  if (!d.Ok) return fail("body does not decode: " + d.Error);
  u.Body = d.Data;

  size_t pos = 0;
  const Bytes& b = u.Body;
  while (pos < b.size()) {
    if (pos + 285 > b.size()) return fail("truncated record");
    TUpdEntry e;
    const uint8_t* r = &b[pos];
    e.RawRecord = Slice(b, pos, 285);
    e.Name.assign(reinterpret_cast<const char*>(r + 1), r[0]);
    for (size_t i = size_t(1 + r[0]); i < 256; ++i)
      if (r[i]) return fail("name field not zero-filled");
    e.OldCRC = Get32(r + 256);
    e.OldSizeHigh = Get32(r + 260);
    e.OldSizeLow = Get32(r + 264);
    e.NewCRC = Get32(r + 268);
    e.NewSizeHigh = Get32(r + 272);
    e.NewSizeLow = Get32(r + 276);
    e.NewDate = Get32(r + 280);
    e.Action = r[284];
    pos += 285;
    if (e.Action == 1) {
      if (pos + 4 > b.size()) return fail("truncated delta length");
      uint32_t n = Get32(&b[pos]);
      pos += 4;
      if (n < 4 || pos + n > b.size()) return fail("bad delta length");
      e.Delta = Slice(b, pos, n - 4);
      if (Get32(&b[pos + n - 4]) != tq::CRC32Buffer(e.Delta.data(), e.Delta.size())) return fail("delta CRC");
      pos += n;
    } else if (e.Action == 2) {
      uint64_t n = uint64_t(e.NewSizeLow) | uint64_t(e.NewSizeHigh) << 32;
      if (n > b.size() - pos) return fail("truncated added file");
      e.Added = Slice(b, pos, size_t(n));
      pos += size_t(n);
    } else if (e.Action != 3) {
      return fail("record with action " + std::to_string(e.Action) + " in the body");
    }
    u.Entries.push_back(std::move(e));
  }
  u.Ok = true;
  return u;
}

}  // namespace tq::testing
