// Statistics gathered over the frames of a stream: a plain accumulator and a detector of
// short repeating patterns (a constant bitrate, or frame sizes that repeat every few frames).
#pragma once

#include <array>
#include <cstdint>

namespace mpegaudio {

class ValueAccumulator {
 public:
  void Add(std::int64_t value);
  std::int64_t Count() const { return count_; }
  std::int64_t Total() const { return total_; }
  std::int64_t First() const { return first_; }
  std::int64_t Min() const { return min_; }
  std::int64_t Max() const { return max_; }
  // True while every value so far equalled the first.
  bool AllEqual() const { return allEqual_; }
  // Total / count (0 without values).
  std::int64_t Average() const { return count_ == 0 ? 0 : total_ / count_; }

 private:
  std::int64_t count_ = 0;
  std::int64_t total_ = 0;
  std::int64_t first_ = 0;
  std::int64_t min_ = 0;
  std::int64_t max_ = 0;
  bool allEqual_ = true;
};

// Keeps the first kSlots values and, for each period p = 1..kSlots, whether every value so
// far equals the kept value at (index mod p).
class PeriodDetector {
 public:
  static constexpr int kSlots = 4;

  void Add(std::int64_t value);
  // The smallest period that still holds; 0 when none does (or nothing was added).
  int Period() const;
  // Sum of the first Period() kept values (0 without a period).
  std::int64_t BlockSum() const;

 private:
  std::array<std::int64_t, kSlots> kept_{};
  std::array<bool, kSlots + 1> holds_{true, true, true, true, true};
  std::int64_t count_ = 0;
};

}  // namespace mpegaudio
