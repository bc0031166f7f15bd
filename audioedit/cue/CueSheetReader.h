// Reads a CUE sheet back into the sheet it was written from: one FILE (WAVE or MP3), tracks
// numbered 01, 02, ... each with INDEX 01 and optional INDEX 02, 03, ..., an optional
// INDEX 00 00:00:00 on track 1 (the pregap before the start), TITLE and PERFORMER for the disc
// and each track, and the REM END line of an end before the end of the audio. Sheets whose
// audio cannot be described by dividers (several files, pregaps of later tracks, PREGAP or
// POSTGAP silence, data tracks, times out of order) are refused with the line that says so.
// CATALOG, ISRC, FLAGS, SONGWRITER, CDTEXTFILE and other REM lines are passed over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "audioedit/cue/CueSheet.h"

namespace audioedit::cue {

struct CueReadResult {
  std::optional<CueSheet> sheet;
  std::string error;  // "line N: reason", when sheet is empty
};

// totalFrames: the audio file's length in CD frames, when known. The layout ends there
// unless a REM END line says otherwise; without it a sheet needs its REM END line.
CueReadResult ReadCueSheet(std::string_view text, std::optional<std::uint32_t> totalFrames);

}  // namespace audioedit::cue
