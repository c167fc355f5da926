#pragma once
// The traditional PKWARE stream cipher of the ZIP format, both directions,
// over whole blocks. It is serial (each byte's key depends on the bytes
// before it), so its speed is that of this loop; the state can be saved and
// restored to continue at a known offset.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

class TPkwareCipher {
 public:
  struct TState {
    uint32_t keys[3];
  };
  static constexpr size_t kHeaderSize = 12;

  explicit TPkwareCipher(const std::string& password);

  // Encryption: the 12-byte header (11 random bytes and, last, the check
  // byte readers compare to find a wrong password), then the data.
  std::vector<uint8_t> Header(uint8_t checkByte, uint32_t seed);
  void Encrypt(uint8_t* data, size_t size);

  // Decryption: reads the header and tells whether its check byte matches;
  // then decrypts `size` bytes from `in` to `out` (which may be the same).
  bool DecryptHeader(const uint8_t* header, uint8_t checkByte);
  void Decrypt(const uint8_t* in, uint8_t* out, size_t size);

  TState State() const { return state_; }
  void SetState(const TState& state) { state_ = state; }

 private:
  TState state_;
};

// The check byte of an entry: the high byte of its CRC, or of its DOS time
// when its sizes follow the data (general-purpose flag bit 3).
uint8_t PkwareCheckByte(uint16_t flags, uint32_t crc, uint16_t dosTime);

}  // namespace vantrel
