// The stream figures of an MPEG audio file, from its frame headers.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace info {

struct MpegInfo {
  std::int32_t channels = 0;
  std::int32_t bitrate = 0;       // bits per second
  std::int32_t samplingRate = 0;  // Hz
  std::int32_t durationMs = 0;
  std::int32_t frames = 0;        // frames walked (at most 100 for a constant bitrate)

  bool Load(const std::string& path);
  // The figures of a file's bytes.
  bool Load(std::span<const std::uint8_t> file);
  // "Mode: Stereo\r\nBitrate: 128000 bps\r\nFrequency: 44100 Hz\r\nFrames: 100\r\n
  // Duration: 3.004 secs\r\n"
  std::string StatisticsText() const;
};

}  // namespace info
