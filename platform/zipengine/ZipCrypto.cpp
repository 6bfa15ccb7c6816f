#include "ZipCrypto.h"

#include <zlib.h>

namespace tq::zipeng {
namespace {

uint32_t Crc32Byte(uint32_t crc, uint8_t b) {
  // One step of the CRC-32 register (not pre- or post-inverted).
  const z_crc_t* table = get_crc_table();
  return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

}  // namespace

TZipCrypto::TZipCrypto(const std::string& password) {
  FKeys[0] = 0x12345678;
  FKeys[1] = 0x23456789;
  FKeys[2] = 0x34567890;
  for (unsigned char ch : password) Update(ch);
}

void TZipCrypto::Update(uint8_t plain) {
  FKeys[0] = Crc32Byte(FKeys[0], plain);
  FKeys[1] = (FKeys[1] + (FKeys[0] & 0xFF)) * 134775813u + 1;
  FKeys[2] = Crc32Byte(FKeys[2], uint8_t(FKeys[1] >> 24));
}

uint8_t TZipCrypto::StreamByte() const {
  uint16_t t = uint16_t(FKeys[2] | 2);
  return uint8_t((t * (t ^ 1)) >> 8);
}

uint8_t TZipCrypto::Encrypt(uint8_t plain) {
  uint8_t c = plain ^ StreamByte();
  Update(plain);
  return c;
}

uint8_t TZipCrypto::Decrypt(uint8_t cipher) {
  uint8_t p = cipher ^ StreamByte();
  Update(p);
  return p;
}

void TZipCrypto::MakeHeader(const uint8_t random[11], uint32_t crc, uint8_t out[12]) {
  for (int i = 0; i < 11; ++i) out[i] = Encrypt(random[i]);
  out[11] = Encrypt(uint8_t(crc >> 24));
}

}  // namespace tq::zipeng
