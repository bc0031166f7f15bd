// How the peak records of a file map onto view columns at a zoom and scroll position.
//
// P, the peaks per column, is ceil(total_peaks / (zoom × (r + 1))) and at least 1; the file
// spans N = total_peaks / P columns. Column k of the view shows the records of absolute
// column scroll + k. All products are taken in 64 bits; a sample interval, rate or zoom of 0
// is taken as 1 so that no computation divides by zero.
#pragma once

#include <cstdint>

#include "audioedit/AudioInfo.h"

namespace audioedit::view {

class ColumnMapping {
 public:
  ColumnMapping(const AUDIO_INFO& info, std::uint32_t zoom, int right, std::int64_t scroll);

  std::uint32_t PeaksPerColumn() const { return peaksPerColumn_; }
  std::uint32_t ColumnCount() const { return columnCount_; }
  std::int64_t Scroll() const { return scroll_; }

  // View column of a sample frame / of a CD frame (may lie outside 0 .. r).
  std::int64_t ColumnOfSample(std::uint64_t sample) const;
  std::int64_t ColumnOfFrame(std::uint32_t frame) const;
  // Absolute column (ignoring the scroll position) of a CD frame, through whole milliseconds.
  std::uint64_t AbsoluteColumnOfFrame(std::uint32_t frame) const;
  // CD frame under client x, for a view whose left edge is at viewLeft.
  std::uint32_t FrameAtX(int x, int viewLeft) const;
  // Milliseconds of the first record of view column x (what the scale labels show).
  std::uint32_t MillisecondsAtColumn(int x) const;

 private:
  std::uint64_t interval_;
  std::uint64_t freq_;
  std::uint32_t peaksPerColumn_;
  std::uint32_t columnCount_;
  std::int64_t scroll_;
};

}  // namespace audioedit::view
