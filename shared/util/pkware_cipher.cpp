#include "shared/util/pkware_cipher.h"

#include <zlib.h>

#include <random>

namespace vantrel {

namespace {
// zlib's CRC-32 table: the cipher's key schedule is a CRC step.
const z_crc_t* CrcTable() {
  static const z_crc_t* table = get_crc_table();
  return table;
}

struct Keys {
  uint32_t k0, k1, k2;
  const z_crc_t* crc;

  explicit Keys(const TPkwareCipher::TState& s) : k0(s.keys[0]), k1(s.keys[1]), k2(s.keys[2]), crc(CrcTable()) {}
  TPkwareCipher::TState State() const { return {{k0, k1, k2}}; }

  uint8_t Mask() const {
    const uint32_t t = (k2 | 2) & 0xFFFF;
    return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
  }
  void Update(uint8_t plain) {
    k0 = static_cast<uint32_t>(crc[(k0 ^ plain) & 0xFF]) ^ (k0 >> 8);
    k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
    k2 = static_cast<uint32_t>(crc[(k2 ^ (k1 >> 24)) & 0xFF]) ^ (k2 >> 8);
  }
};
}  // namespace

TPkwareCipher::TPkwareCipher(const std::string& password) : state_{{0x12345678u, 0x23456789u, 0x34567890u}} {
  Keys keys(state_);
  for (const char c : password) keys.Update(static_cast<uint8_t>(c));
  state_ = keys.State();
}

void TPkwareCipher::Encrypt(uint8_t* data, size_t size) {
  Keys keys(state_);
  for (size_t i = 0; i < size; ++i) {
    const uint8_t plain = data[i];
    data[i] = plain ^ keys.Mask();
    keys.Update(plain);
  }
  state_ = keys.State();
}

void TPkwareCipher::Decrypt(const uint8_t* in, uint8_t* out, size_t size) {
  Keys keys(state_);
  for (size_t i = 0; i < size; ++i) {
    const uint8_t plain = in[i] ^ keys.Mask();
    out[i] = plain;
    keys.Update(plain);
  }
  state_ = keys.State();
}

std::vector<uint8_t> TPkwareCipher::Header(uint8_t checkByte, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> header(kHeaderSize);
  for (size_t i = 0; i + 1 < kHeaderSize; ++i) header[i] = static_cast<uint8_t>(random());
  header[kHeaderSize - 1] = checkByte;
  Encrypt(header.data(), header.size());
  return header;
}

bool TPkwareCipher::DecryptHeader(const uint8_t* header, uint8_t checkByte) {
  uint8_t plain[kHeaderSize];
  Decrypt(header, plain, kHeaderSize);
  return plain[kHeaderSize - 1] == checkByte;
}

uint8_t PkwareCheckByte(uint16_t flags, uint32_t crc, uint16_t dosTime) {
  return (flags & 0x0008) ? static_cast<uint8_t>(dosTime >> 8) : static_cast<uint8_t>(crc >> 24);
}

}  // namespace vantrel
