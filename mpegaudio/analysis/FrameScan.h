// The scan of a stream's first bytes: synchronises on every frame in the buffer (without
// decoding), gathers statistics over them and derives the stream's format record and its
// average bitrate, corrected by the counts of a VBR header in the first frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mpegaudio/FrameHeader.h"
#include "mpegaudio/analysis/MpegLayer3WaveFormat.h"

namespace mpegaudio {

struct FrameScanResult {
  std::uint64_t firstFrameBitOffset = 0;
  FrameHeader firstHeader;
  std::int64_t frameCount = 0;
  MPEGLAYER3WAVEFORMAT format{};
  std::int32_t bitrate = 0;  // bit/s
};

// Duration of one Layer III frame at `samplingRate` in milliseconds (1152 samples above
// 24000 Hz, else 576); 0 for a rate of 0.
float FrameDurationMs(std::int32_t samplingRate);

// Scans `length` bytes; false when they hold no frame.
bool ScanFrames(const std::uint8_t* data, std::size_t length, FrameScanResult& result);

}  // namespace mpegaudio
