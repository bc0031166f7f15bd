// Writes a CUE sheet: FILE, then one TRACK nn AUDIO per track with INDEX 01 at its start and
// INDEX 02, 03, ... at its index marks. Audio before the start stays on the disc as track 1's
// pregap (INDEX 00 00:00:00); audio after the end cannot be left out by a CUE sheet, which
// the sheet notes in a REM END line and the writer in a warning.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audioedit/cue/CueSheet.h"

namespace audioedit::cue {

struct CueWriteResult {
  bool ok = false;
  std::string text;                   // the sheet, lines ending in "\n"
  std::vector<std::string> warnings;  // one line each
  std::string error;                  // why nothing was written, when !ok
};

// totalFrames: the audio file's length in CD frames; the layout must end within it.
CueWriteResult WriteCueSheet(const CueSheet& sheet, std::uint32_t totalFrames);

}  // namespace audioedit::cue
