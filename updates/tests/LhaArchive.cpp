#include "LhaArchive.h"

#include <cstdio>
#include <cstdlib>

namespace tq::testing {

uint16_t Crc16(const Bytes& data) {
  uint16_t crc = 0;
  for (uint8_t b : data) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
  }
  return crc;
}

Bytes LhaLevel0Archive(const Bytes& Packed, const Bytes& Original, const std::string& Name) {
  Bytes h;
  auto u16 = [&](uint32_t v) { h.push_back(uint8_t(v)); h.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  h.push_back(0);  // header size, below
  h.push_back(0);  // header checksum, below
  for (char c : std::string("-lh5-")) h.push_back(uint8_t(c));
  u32(uint32_t(Packed.size()));
  u32(uint32_t(Original.size()));
  u16((12u << 11) | (30u << 5));                 // 12:30:00
  u16(((2024u - 1980u) << 9) | (6u << 5) | 15u);  // 2024-06-15
  h.push_back(0x20);  // attribute: archive
  h.push_back(0);     // level 0
  h.push_back(uint8_t(Name.size()));
  for (char c : Name) h.push_back(uint8_t(c));
  u16(Crc16(Original));
  h[0] = uint8_t(h.size() - 2);
  uint8_t sum = 0;
  for (size_t i = 2; i < h.size(); ++i) sum = uint8_t(sum + h[i]);
  h[1] = sum;
  Bytes a = h;
  a.insert(a.end(), Packed.begin(), Packed.end());
  a.push_back(0);  // end of archive
  return a;
}

#ifndef _WIN32
namespace {
int Run(const std::string& cmd, Bytes& out) {
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  uint8_t buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.insert(out.end(), buf, buf + n);
  int st = pclose(p);
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}
}  // namespace

TLhaRun RunLha(const std::filesystem::path& Archive) {
  TLhaRun r;
  Bytes text;
  r.TestStatus = Run("lha t '" + Archive.string() + "' 2>&1", text);
  r.TestOutput.assign(text.begin(), text.end());
  r.Extracted = Run("lha pq '" + Archive.string() + "' 2>/dev/null", r.Data) == 0;
  return r;
}
#endif

}  // namespace tq::testing
