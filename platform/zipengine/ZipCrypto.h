#pragma once
// The zip format's traditional encryption (the 12-byte header and the three
// rolling keys), for members written with a password.
#include <cstdint>
#include <string>

namespace tq::zipeng {

class TZipCrypto {
 public:
  explicit TZipCrypto(const std::string& password);
  uint8_t Encrypt(uint8_t plain);
  uint8_t Decrypt(uint8_t cipher);
  // The encryption header for a member whose CRC is crc; random holds 11 bytes.
  void MakeHeader(const uint8_t random[11], uint32_t crc, uint8_t out[12]);

 private:
  void Update(uint8_t plain);
  uint8_t StreamByte() const;
  uint32_t FKeys[3];
};

}  // namespace tq::zipeng
