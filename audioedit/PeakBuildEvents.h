// What a peak-file build tells its owner, and how the owner stops it.
#pragma once

#include <cstdint>

namespace audioedit {

class PeakBuildEvents {
 public:
  PeakBuildEvents() = default;
  PeakBuildEvents(const PeakBuildEvents&) = delete;
  PeakBuildEvents& operator=(const PeakBuildEvents&) = delete;
  virtual ~PeakBuildEvents() = default;

  // The new peak file exists and building starts.
  virtual void OnStartPeakFile() {}
  // Once per decoded chunk, before the chunk is processed: 1 + 100 * processed / expected.
  virtual void OnPeakFileProgress(std::uint32_t /*progress*/) {}
  // Polled before each chunk; true ends the build with PEC_LoadingCanceled.
  virtual bool IsCancelRequested() { return false; }
};

}  // namespace audioedit
