// One request of the host to load an audio file, as the load methods record it. Each load
// carries its own request to its worker.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audioedit/Divider.h"

namespace audioedit {

struct LoadRequest {
  std::string audioPath;          // UTF-8; empty when the argument was null
  std::int32_t sampleInterval = 0;  // as given; values below 1 mean the default
  std::string peakPath;           // UTF-8; empty when the argument was null
  bool keepPeakFile = false;
  std::optional<std::vector<DIVIDER>> dividers;  // none for LoadAudioFile
};

}  // namespace audioedit
