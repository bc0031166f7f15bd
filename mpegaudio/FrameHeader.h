// One MPEG audio frame header (ISO/IEC 11172-3 2.4.1.3, ISO/IEC 13818-3), split into its
// fields and validated for Layer III decoding.
#pragma once

#include <cstdint>

namespace mpegaudio {

// Bits of a header that may change from frame to frame of one stream: bitrate index,
// protection, padding, private bit, mode, mode extension, copyright, original, emphasis.
inline constexpr std::uint32_t kHeaderVariableMask = 0x0001F3FFu;

struct FrameHeader {
  // Raw fields, bit 31 being the first bit of the stream.
  std::int32_t sync = 0;              // bits 31-21
  std::int32_t mpeg25Marker = 0;      // bit 20 (0 means MPEG-2.5)
  std::int32_t id = 0;                // bit 19
  std::int32_t layer = 0;             // 4 - bits 18-17 (3 = Layer III)
  std::int32_t protection = 0;        // 1 when a CRC-16 word follows the header
  std::int32_t bitrateIndex = 0;      // bits 15-12
  std::int32_t samplingRateIndex = 0; // bits 11-10
  std::int32_t padding = 0;           // bit 9
  std::int32_t privateBit = 0;        // bit 8
  std::int32_t mode = 0;              // bits 7-6
  std::int32_t modeExtension = 0;     // bits 5-4
  std::int32_t copyright = 0;         // bit 3
  std::int32_t original = 0;          // bit 2
  std::int32_t emphasis = 0;          // bits 1-0
  // Derived fields, set when the header is valid.
  std::int32_t valid = 0;
  std::int32_t version = 0;           // 0 MPEG-1, 1 MPEG-2, 2 MPEG-2.5
  std::int32_t channels = 0;
  std::int32_t samplingRate = 0;      // Hz
  std::int32_t bitrate = 0;           // bit/s
  std::int32_t frameSizeBits = 0;
  float frameDurationMs = 0.0f;

  // Splits `word` into the fields and validates it; returns the valid flag.
  bool Parse(std::uint32_t word);
  std::int32_t SamplesPerFrame() const;
};

// Samples per channel in one frame of the given layer (1..3) and version.
std::int32_t SamplesPerFrame(std::int32_t layer, std::int32_t version);

}  // namespace mpegaudio
