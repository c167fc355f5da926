#include "tools/pack/pkware_cipher.h"

#include <zlib.h>

#include <random>

namespace vantrel::pack {

namespace {
uint32_t Crc32Byte(uint32_t crc, uint8_t byte) {
  return static_cast<uint32_t>(get_crc_table()[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}
}  // namespace

PkwareEncryptor::PkwareEncryptor(const std::string& password) : keys_{0x12345678u, 0x23456789u, 0x34567890u} {
  for (const char c : password) UpdateKeys(static_cast<uint8_t>(c));
}

void PkwareEncryptor::UpdateKeys(uint8_t plain) {
  keys_[0] = Crc32Byte(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
  keys_[2] = Crc32Byte(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

uint8_t PkwareEncryptor::EncryptByte(uint8_t plain) {
  const uint32_t t = (keys_[2] | 2) & 0xFFFF;
  const auto mask = static_cast<uint8_t>((t * (t ^ 1)) >> 8);
  UpdateKeys(plain);
  return plain ^ mask;
}

std::vector<uint8_t> PkwareEncryptor::Header(uint32_t crc, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> header(12);
  for (size_t i = 0; i < 11; ++i) header[i] = static_cast<uint8_t>(random());
  header[11] = static_cast<uint8_t>(crc >> 24);
  Encrypt(header.data(), header.size());
  return header;
}

void PkwareEncryptor::Encrypt(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) data[i] = EncryptByte(data[i]);
}

}  // namespace vantrel::pack
