#include "audioedit/view/ColumnMapping.h"

#include <algorithm>

namespace audioedit::view {

ColumnMapping::ColumnMapping(const AUDIO_INFO& info, std::uint32_t zoom, int right,
                             std::int64_t scroll)
    : interval_(std::max<std::uint64_t>(info.sample_interval, 1)),
      freq_(std::max<std::uint64_t>(info.freq, 1)),
      scroll_(scroll) {
  const std::uint64_t columns =
      std::max<std::uint64_t>(zoom, 1) * static_cast<std::uint64_t>(std::max(right, 0) + 1);
  const std::uint64_t p = (std::uint64_t{info.total_peaks} + columns - 1) / columns;
  peaksPerColumn_ = static_cast<std::uint32_t>(std::max<std::uint64_t>(p, 1));
  columnCount_ = info.total_peaks / peaksPerColumn_;
}

std::int64_t ColumnMapping::ColumnOfSample(std::uint64_t sample) const {
  return static_cast<std::int64_t>(sample / interval_ / peaksPerColumn_) - scroll_;
}

std::int64_t ColumnMapping::ColumnOfFrame(std::uint32_t frame) const {
  return ColumnOfSample(std::uint64_t{frame} * freq_ / 75);
}

std::uint64_t ColumnMapping::AbsoluteColumnOfFrame(std::uint32_t frame) const {
  const std::uint64_t ms = std::uint64_t{frame} * 1000 / 75;
  return ms * freq_ / (std::uint64_t{peaksPerColumn_} * interval_ * 1000);
}

std::uint32_t ColumnMapping::FrameAtX(int x, int viewLeft) const {
  const std::int64_t column = scroll_ + x - viewLeft;
  if (column <= 0) return 0;
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(column) * peaksPerColumn_ *
                                    interval_ * 75 / freq_);
}

std::uint32_t ColumnMapping::MillisecondsAtColumn(int x) const {
  const std::int64_t column = std::max<std::int64_t>(scroll_ + x, 0);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(column) * peaksPerColumn_ *
                                    interval_ * 1000 / freq_);
}

}  // namespace audioedit::view
