// CD positions as a CUE sheet writes them: "mm:ss:ff", minutes, seconds and frames (75 per
// second). Minutes may run past 99 for long files; seconds and frames always take two digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace audioedit::cue {

// "mm:ss:ff" of a frame count, at least two digits for the minutes.
std::string FormatMsf(std::uint32_t frame);

// The frame count of "m...m:ss:ff" (one to six digits of minutes, seconds below 60, frames
// below 75), or nothing.
std::optional<std::uint32_t> ParseMsf(std::string_view text);

}  // namespace audioedit::cue
