// What `tavolex cue` and `tavolex peaks --cue` share: the audio's length in CD frames as the
// control computes it, divider options, CUE sheet files read from disk, and divider arrays
// for LoadAudioFileDividers. Each failure gives one line naming the file and the reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audioedit/Divider.h"
#include "audioedit/cue/CueSheet.h"
#include "platform/com/SafeArray.h"

namespace tavolex_cli {

// The length of the audio file in CD frames, from the reader the control would use.
std::optional<std::uint32_t> AudioLengthFrames(const std::string& audio, std::string& error);

// "KIND:FRAME" with KIND start, end, split or index.
std::optional<audioedit::DIVIDER> ParseDividerOption(std::string_view text);

// The sheet in the file, laid out over an audio file of totalFrames.
std::optional<audioedit::cue::CueSheet> ReadCueFile(const std::string& path,
                                                    std::uint32_t totalFrames, std::string& error);

// A one-dimensional safe array of DIVIDER records.
com::SafeArrayPtr MakeDividerArray(const std::vector<audioedit::DIVIDER>& dividers);

// The dividers of the sheet in cuePath laid over the audio file, as a safe array; null
// (with the reason) when the sheet or the audio cannot be read.
com::SafeArrayPtr CueDividerArray(const std::string& cuePath, const std::string& audio,
                                  std::string& error);

}  // namespace tavolex_cli
