// Component ids: new GUIDs from the platform, and name-based GUIDs for the
// files shared by every product.
#include "ComponentIds.h"

#include <array>
#include <cstdint>

#include "Guid.h"
#include "SysUtils.h"

namespace tq {

namespace {

// SHA-1 of a byte string.
std::array<uint8_t, 20> Sha1(const std::string& data) {
  uint32_t h[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
  std::string m = data;
  const uint64_t bits = static_cast<uint64_t>(data.size()) * 8;
  m += static_cast<char>(0x80);
  while (m.size() % 64 != 56) m += '\0';
  for (int i = 7; i >= 0; --i) m += static_cast<char>((bits >> (i * 8)) & 0xFF);
  auto rol = [](uint32_t v, int s) { return (v << s) | (v >> (32 - s)); };
  for (size_t chunk = 0; chunk < m.size(); chunk += 64) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
      w[i] = static_cast<uint32_t>(static_cast<uint8_t>(m[chunk + 4 * i])) << 24 |
             static_cast<uint32_t>(static_cast<uint8_t>(m[chunk + 4 * i + 1])) << 16 |
             static_cast<uint32_t>(static_cast<uint8_t>(m[chunk + 4 * i + 2])) << 8 |
             static_cast<uint32_t>(static_cast<uint8_t>(m[chunk + 4 * i + 3]));
    for (int i = 16; i < 80; ++i) w[i] = rol(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (int i = 0; i < 80; ++i) {
      uint32_t f, k;
      if (i < 20) {
        f = (b & c) | (~b & d);
        k = 0x5A827999u;
      } else if (i < 40) {
        f = b ^ c ^ d;
        k = 0x6ED9EBA1u;
      } else if (i < 60) {
        f = (b & c) | (b & d) | (c & d);
        k = 0x8F1BBCDCu;
      } else {
        f = b ^ c ^ d;
        k = 0xCA62C1D6u;
      }
      uint32_t t = rol(a, 5) + f + e + k + w[i];
      e = d;
      d = c;
      c = rol(b, 30);
      b = a;
      a = t;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
  }
  std::array<uint8_t, 20> digest{};
  for (int i = 0; i < 20; ++i) digest[i] = static_cast<uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

// Tarnquill's own namespace of shared component ids.
constexpr uint8_t ComponentIdNamespace[16] = {0x5C, 0x1B, 0x7E, 0x42, 0x93, 0xA0, 0x4D, 0x2F,
                                              0xB8, 0x61, 0x0E, 0xD4, 0x37, 0xC9, 0x85, 0x1A};

}  // namespace

std::string NewComponentId() { return NewGuidText(); }

std::string SharedComponentId(const std::string& key) {
  std::string data(reinterpret_cast<const char*>(ComponentIdNamespace), sizeof ComponentIdNamespace);
  data += UpperCase(key);
  std::array<uint8_t, 20> d = Sha1(data);
  d[6] = static_cast<uint8_t>((d[6] & 0x0F) | 0x50);  // version 5: name-based, SHA-1
  d[8] = static_cast<uint8_t>((d[8] & 0x3F) | 0x80);  // the standard variant
  std::string hex;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) hex += '-';
    hex += IntToHex(d[i], 2);
  }
  return "{" + hex + "}";
}

}  // namespace tq
