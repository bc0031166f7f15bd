// Conversions of computed figures to the integer fields that hold them, saturating instead
// of overflowing (a hostile header can ask for any count).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace mpegaudio {

// floor(v) limited to 0..INT32_MAX; not-a-number gives 0.
inline std::int32_t FloorToInt32(double v) {
  if (!(v > 0.0)) return 0;
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  return v >= kMax ? std::numeric_limits<std::int32_t>::max()
                   : static_cast<std::int32_t>(std::floor(v));
}

// floor(v) limited to 0..limit; not-a-number gives 0.
inline std::uint32_t FloorToUint32(double v, std::uint32_t limit) {
  if (!(v > 0.0)) return 0;
  if (v >= static_cast<double>(limit)) return limit;
  return static_cast<std::uint32_t>(std::floor(v));
}

}  // namespace mpegaudio
