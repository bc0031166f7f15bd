// The track layout a divider list describes: one start, one end, track splits and index
// marks strictly between them. Track 1 begins at the start, every split begins the next
// track, and the index marks of a track become its index points 02, 03, ... in order.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audioedit/Divider.h"

namespace audioedit::cue {

struct CueTrack {
  std::uint32_t start = 0;                // INDEX 01
  std::vector<std::uint32_t> indexMarks;  // INDEX 02, 03, ... ascending
  std::uint32_t end = 0;                  // the next track's start, or the layout's end
};

struct CueLayout {
  std::vector<CueTrack> tracks;  // at least one
  std::uint32_t end = 0;         // the end divider's frame

  std::uint32_t Start() const { return tracks.front().start; }
};

struct CueLayoutResult {
  std::optional<CueLayout> layout;
  std::string error;  // why the dividers make no layout, when layout is empty
};

// Builds the layout of a divider list (any order). Refused: no start or no end or more than
// one of either, a divider outside the start..end range, two dividers on the same frame, and
// divider kinds other than start, end, split and index.
CueLayoutResult BuildCueLayout(std::span<const DIVIDER> dividers);

// The divider list of a layout, in frame order, samples at freq (0 leaves them 0).
std::vector<DIVIDER> LayoutDividers(const CueLayout& layout, std::uint32_t freq);

// "start", "end", "split", "index", or nothing for other kinds.
const char* DividerKindName(std::int32_t type);
// The kind of a name that DividerKindName gives, or DIV_UNKNOWN.
DivType DividerKindFromName(std::string_view name);

}  // namespace audioedit::cue
