// The AudioReader for MPEG audio files (".mp3" names).
#pragma once

#include <memory>

#include "audioedit/AudioReader.h"

namespace audioedit {

// A new, closed MPEG file reader; null when this build has none.
std::unique_ptr<AudioReader> CreateMp3FileReader();

}  // namespace audioedit
