// The decoder's input: a ring of bytes read as a bit stream, most significant bit first.
// It either owns its memory (a ring whose size is a power of two, at most 65536 bytes) or
// wraps a caller's memory without owning it, marked full and at the end of input. All
// counters are in bits; a mark lets a failed look-ahead be rewound exactly. Reads never
// leave the ring's memory: asking for more bits than are valid yields zero bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace mpegaudio {

class Mp3Source;

class InputBitBuffer {
 public:
  static constexpr std::size_t kDefaultBytes = 8192;
  static constexpr std::size_t kMaxBytes = 65536;

  // An owning ring of `requestedBytes` rounded up to a power of two (at most kMaxBytes).
  explicit InputBitBuffer(std::size_t requestedBytes = kDefaultBytes);
  // A non-owning view of `bytes` bytes at `data`, full and at the end of input.
  InputBitBuffer(const std::uint8_t* data, std::size_t bytes);
  InputBitBuffer(const InputBitBuffer&) = delete;
  InputBitBuffer& operator=(const InputBitBuffer&) = delete;

  std::size_t CapacityBytes() const { return capacityBytes_; }
  std::uint32_t ValidBits() const { return validBits_; }
  std::size_t BufferedBytes() const { return validBits_ / 8; }
  std::size_t FreeBytes() const { return capacityBytes_ - (validBits_ + 7) / 8; }
  bool EndOfInput() const { return endOfInput_; }
  void SetEndOfInput() { endOfInput_ = true; }

  // Empties the buffer (a view becomes empty too) and clears the end-of-input flag.
  void Clear();
  // Copies min(count, free space) bytes in; returns the count copied.
  std::size_t Fill(const std::uint8_t* bytes, std::size_t count);
  // Asks the source for the free space up to the end of the ring, then for the rest after
  // wrapping, stopping early on a short read; sets the end-of-input flag when the source
  // reports its end.
  void Refill(Mp3Source& source);

  void SetMark() { sinceMark_ = 0; }
  void RewindToMark();
  std::uint32_t BitsSinceMark() const { return sinceMark_; }

  // Reads n bits (0..32) and consumes them.
  std::uint32_t ReadBits(int n);
  // Consumes n bits (at most the valid bits).
  void SkipBits(std::uint32_t n);
  // Reads `count` bytes (8 bits each, from any bit position); bytes beyond the valid bits
  // read as zero.
  void ReadBytes(std::uint8_t* dest, std::size_t count);

 private:
  std::uint32_t PeekBits(int n) const;
  std::uint32_t WrapBits(std::uint64_t bitPos) const {
    return static_cast<std::uint32_t>(bitPos % capacityBits_);
  }

  std::unique_ptr<std::uint8_t[]> owned_;
  std::uint8_t* data_ = nullptr;  // writable only when owned
  const std::uint8_t* view_ = nullptr;
  std::size_t capacityBytes_ = 0;
  std::uint64_t capacityBits_ = 1;
  std::uint32_t readPos_ = 0;    // bit index of the next bit to read
  std::uint32_t validBits_ = 0;  // bits available from readPos_
  std::uint32_t sinceMark_ = 0;  // bits consumed since the mark
  bool endOfInput_ = false;
};

}  // namespace mpegaudio
