// The audio format record of an MPEG Layer III stream (WAVE_FORMAT_MPEGLAYER3), as the
// platform's audio services describe compressed MPEG audio.
#pragma once

#include <cstdint>

namespace mpegaudio {

inline constexpr std::uint16_t kWaveFormatMpegLayer3 = 85;
inline constexpr std::uint16_t kMpegLayer3IdMpeg = 1;

// Bits of MPEGLAYER3WAVEFORMAT::fdwFlags.
inline constexpr std::uint32_t kMpegLayer3PaddingIso = 0x0;  // padding varies
inline constexpr std::uint32_t kMpegLayer3PaddingOn = 0x1;   // always padded
inline constexpr std::uint32_t kMpegLayer3PaddingOff = 0x2;  // never padded
inline constexpr std::uint32_t kMpegLayer3CrcOn = 0x10;      // every frame has a CRC word
inline constexpr std::uint32_t kMpegLayer3CrcOff = 0x20;     // no frame has one
inline constexpr std::uint32_t kMpegLayer3Vbr = 0x100;       // variable bitrate

struct MPEGLAYER3WAVEFORMAT {
  struct {
    std::uint16_t wFormatTag;
    std::uint16_t nChannels;
    std::uint32_t nSamplesPerSec;
    std::uint32_t nAvgBytesPerSec;
    std::uint16_t nBlockAlign;
    std::uint16_t wBitsPerSample;
    std::uint16_t cbSize;
  } wfx;
  std::uint16_t wID;
  std::uint32_t fdwFlags;
  std::uint16_t nBlockSize;
  std::uint16_t nFramesPerBlock;
  std::uint16_t nCodecDelay;
};

}  // namespace mpegaudio
