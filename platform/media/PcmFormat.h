// The integer PCM layouts a decode stream delivers.
#pragma once

#include <cstdint>

namespace media {

// Interleaved little-endian integer PCM: 8-bit unsigned (silence 128), 16-bit signed or
// 24-bit signed packed in three bytes.
struct PcmFormat {
  std::uint16_t channels = 0;
  std::uint32_t rate = 0;
  std::uint16_t bits = 0;

  std::uint32_t FrameBytes() const { return std::uint32_t{channels} * (bits / 8u); }
};

}  // namespace media
