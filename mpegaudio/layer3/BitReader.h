// A bit reader over a linear byte array, most significant bit first. It never touches
// memory beyond the byte that holds bit `limitBits - 1` plus kPaddingBytes: reads at or
// past the limit return zero bits. Callers keep kPaddingBytes readable after the limit.
#pragma once

#include <cstdint>
#include <cstring>

namespace mpegaudio::layer3 {

class BitReader {
 public:
  static constexpr int kPaddingBytes = 8;

  BitReader(const std::uint8_t* data, std::uint32_t startBit, std::uint32_t limitBits)
      : data_(data), pos_(startBit), limit_(limitBits) {}

  // The next 57 bits or more, most significant first, in the top of the word (zero at or
  // past the limit). Decoders consume from it and then Skip() what they used.
  std::uint64_t Window() const {
    if (pos_ >= limit_) return 0;
    std::uint64_t word;
    std::memcpy(&word, data_ + (pos_ >> 3), sizeof word);
    return __builtin_bswap64(word) << (pos_ & 7);
  }
  // The next n bits (1..25) without consuming them.
  std::uint32_t Peek(int n) const { return static_cast<std::uint32_t>(Window() >> (64 - n)); }
  std::uint32_t Read(int n) {
    if (n == 0) return 0;
    std::uint32_t value;
    if (n <= 25) {
      value = Peek(n);
    } else {
      value = Peek(16) << (n - 16);
      pos_ += 16;
      value |= Peek(n - 16);
      pos_ -= 16;
    }
    pos_ += static_cast<std::uint32_t>(n);
    return value;
  }
  std::uint32_t ReadBit() { return Read(1); }
  void Skip(std::uint32_t n) { pos_ += n; }
  std::uint32_t Position() const { return pos_; }
  void SetPosition(std::uint32_t pos) { pos_ = pos; }
  std::uint32_t Limit() const { return limit_; }

 private:
  const std::uint8_t* data_;
  std::uint32_t pos_;
  std::uint32_t limit_;
};

}  // namespace mpegaudio::layer3
