// Test helpers that build MPEG audio byte streams: a bit writer and header words.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "mpegaudio/Mp3Source.h"

namespace mpegaudio::test {

class BitWriter {
 public:
  void Put(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) PutBit((value >> i) & 1);
  }
  void PutBit(std::uint32_t bit) {
    if (bitCount_ % 8 == 0) bytes_.push_back(0);
    if (bit) bytes_.back() |= static_cast<std::uint8_t>(0x80 >> (bitCount_ % 8));
    ++bitCount_;
  }
  void PutBytes(const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) Put(b, 8);
  }
  void PadToByte() {
    while (bitCount_ % 8 != 0) PutBit(0);
  }
  std::size_t BitCount() const { return bitCount_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t bitCount_ = 0;
};

struct HeaderFields {
  int version = 0;  // 0 MPEG-1, 1 MPEG-2, 2 MPEG-2.5
  int layer = 3;
  int bitrateIndex = 9;
  int samplingRateIndex = 0;
  int padding = 0;
  int mode = 0;
  int modeExtension = 0;
  bool crc = false;
};

inline std::uint32_t HeaderWord(const HeaderFields& h) {
  const std::uint32_t versionBits = h.version == 0 ? 3u : (h.version == 1 ? 2u : 0u);
  return 0xFFE00000u | versionBits << 19 | static_cast<std::uint32_t>(4 - h.layer) << 17 |
         (h.crc ? 0u : 1u) << 16 | static_cast<std::uint32_t>(h.bitrateIndex) << 12 |
         static_cast<std::uint32_t>(h.samplingRateIndex) << 10 |
         static_cast<std::uint32_t>(h.padding) << 9 | static_cast<std::uint32_t>(h.mode) << 6 |
         static_cast<std::uint32_t>(h.modeExtension) << 4;
}

// A source over a byte vector that hands out at most `chunk` bytes per read.
class MemorySource : public Mp3Source {
 public:
  explicit MemorySource(std::vector<std::uint8_t> data, std::size_t chunk = SIZE_MAX)
      : data_(std::move(data)), chunk_(chunk) {}
  std::int32_t Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
    std::size_t n = std::min<std::size_t>({count, data_.size() - pos_, chunk_});
    if (n > 0) std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    got = static_cast<std::uint32_t>(n);
    return 0;
  }
  bool IsEof() override { return pos_ >= data_.size(); }
  void Rewind(std::size_t pos = 0) { pos_ = pos; }

 private:
  std::vector<std::uint8_t> data_;
  std::size_t chunk_;
  std::size_t pos_ = 0;
};

}  // namespace mpegaudio::test
