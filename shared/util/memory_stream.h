#pragma once
// A growable in-memory byte stream with a read/write position.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vantrel {

class TMemoryStream {
 public:
  const std::vector<uint8_t>& Bytes() const { return data_; }
  const uint8_t* Data() const { return data_.data(); }
  size_t Size() const { return data_.size(); }
  size_t Position() const { return position_; }
  void SetPosition(size_t position) { position_ = position; }
  void Clear() {
    data_.clear();
    position_ = 0;
  }
  void Reserve(size_t size) { data_.reserve(size); }
  // Drops everything from `size` on (the position stays inside).
  void Truncate(size_t size) {
    if (size < data_.size()) data_.resize(size);
    position_ = std::min(position_, data_.size());
  }
  // Room for `size` more bytes at the position, to be written in place;
  // hand back what was not used with GiveBack.
  uint8_t* Extend(size_t size) {
    if (position_ + size > data_.size()) data_.resize(position_ + size);
    uint8_t* room = data_.data() + position_;
    position_ += size;
    return room;
  }
  // Moves the position back by `unused` bytes of the last Extend and drops
  // them when they were the stream's end.
  void GiveBack(size_t unused) {
    position_ -= std::min(unused, position_);
    if (position_ + unused == data_.size()) data_.resize(position_);
  }

  // Writes at the position, growing the stream as needed.
  void Write(const void* buffer, size_t size) {
    if (size == 0) return;
    if (position_ + size > data_.size()) data_.resize(position_ + size);
    std::memcpy(data_.data() + position_, buffer, size);
    position_ += size;
  }

  size_t Read(void* buffer, size_t size) {
    const size_t available = position_ < data_.size() ? data_.size() - position_ : 0;
    const size_t n = std::min(size, available);
    if (n) std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  std::vector<uint8_t> data_;
  size_t position_ = 0;
};

}  // namespace vantrel
