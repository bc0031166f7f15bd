#include "mpegaudio/analysis/StreamStatistics.h"

namespace mpegaudio {

void ValueAccumulator::Add(std::int64_t value) {
  if (count_ == 0) {
    first_ = min_ = max_ = value;
  } else {
    if (value != first_) allEqual_ = false;
    if (value < min_) min_ = value;
    if (value > max_) max_ = value;
  }
  ++count_;
  total_ += value;
}

void PeriodDetector::Add(std::int64_t value) {
  if (count_ < kSlots) kept_[static_cast<std::size_t>(count_)] = value;
  for (int p = 1; p <= kSlots; ++p) {
    const auto slot = static_cast<std::size_t>(count_ % p);
    if (kept_[slot] != value) holds_[static_cast<std::size_t>(p)] = false;
  }
  ++count_;
}

int PeriodDetector::Period() const {
  if (count_ == 0) return 0;
  for (int p = 1; p <= kSlots; ++p) {
    if (holds_[static_cast<std::size_t>(p)]) return p;
  }
  return 0;
}

std::int64_t PeriodDetector::BlockSum() const {
  std::int64_t sum = 0;
  for (int i = 0; i < Period(); ++i) sum += kept_[static_cast<std::size_t>(i)];
  return sum;
}

}  // namespace mpegaudio
