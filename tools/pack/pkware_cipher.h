#pragma once
// The traditional PKWARE stream cipher of the ZIP format (encryption side).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::pack {

class PkwareEncryptor {
 public:
  explicit PkwareEncryptor(const std::string& password);

  // The 12-byte encryption header: 11 random bytes and, last, the high byte
  // of the entry's CRC, which readers use to check the password.
  std::vector<uint8_t> Header(uint32_t crc, uint32_t seed);
  void Encrypt(uint8_t* data, size_t size);

 private:
  uint8_t EncryptByte(uint8_t plain);
  void UpdateKeys(uint8_t plain);
  uint32_t keys_[3];
};

}  // namespace vantrel::pack
