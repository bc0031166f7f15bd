// Positions in CD frames (75 per second) and their conversions; 64-bit intermediates.
#pragma once

#include <cstdint>

namespace audioedit {

inline constexpr std::uint32_t kCdFramesPerSecond = 75;

// Sample-frame position of a CD frame: frame * freq / 75.
constexpr std::uint64_t FrameToSample(std::uint32_t frame, std::uint32_t freq) {
  return std::uint64_t{frame} * freq / kCdFramesPerSecond;
}
constexpr std::uint32_t FrameToMs(std::uint32_t frame) {
  return static_cast<std::uint32_t>(std::uint64_t{frame} * 1000 / kCdFramesPerSecond);
}
constexpr std::uint32_t MsToFrame(std::uint32_t ms) {
  return static_cast<std::uint32_t>(std::uint64_t{ms} * kCdFramesPerSecond / 1000);
}
// Length of a file in CD frames: any remainder rounds up.
constexpr std::uint32_t TotalFrames(std::uint32_t durationMs) {
  return static_cast<std::uint32_t>((std::uint64_t{durationMs} * kCdFramesPerSecond + 999) / 1000);
}

}  // namespace audioedit
