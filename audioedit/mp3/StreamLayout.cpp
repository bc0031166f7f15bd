#include "audioedit/mp3/StreamLayout.h"

#include <bit>
#include <cstring>

namespace audioedit {
namespace {

std::int16_t Mix(std::int16_t left, std::int16_t right) {
  return static_cast<std::int16_t>((std::int32_t{left} + right) / 2);
}
float Mix(float left, float right) { return (left + right) * 0.5f; }

}  // namespace

// Samples are read and written through memcpy: the buffers are byte buffers of any alignment.
template <typename Sample>
std::optional<std::size_t> StreamLayout::Conform(std::uint8_t* frame, std::size_t bytes,
                                                 int channels, int rate) {
  if (!IsFixed()) Fix(channels, rate);
  if (rate != rate_) return std::nullopt;
  if (channels == channels_ || (channels_ != 1 && channels_ != 2)) return bytes;
  constexpr std::size_t kSize = sizeof(Sample);
  const std::size_t count = bytes / kSize;
  if (channels == 1 && channels_ == 2) {
    // Backwards, so that no sample is overwritten before it is copied.
    for (std::size_t i = count; i-- > 0;) {
      Sample s;
      std::memcpy(&s, frame + i * kSize, kSize);
      std::memcpy(frame + 2 * i * kSize, &s, kSize);
      std::memcpy(frame + (2 * i + 1) * kSize, &s, kSize);
    }
    return 2 * count * kSize;
  }
  if (channels == 2 && channels_ == 1) {
    for (std::size_t i = 0; i < count / 2; ++i) {
      Sample left, right;
      std::memcpy(&left, frame + 2 * i * kSize, kSize);
      std::memcpy(&right, frame + (2 * i + 1) * kSize, kSize);
      const Sample mixed = Mix(left, right);
      std::memcpy(frame + i * kSize, &mixed, kSize);
    }
    return count / 2 * kSize;
  }
  return bytes;
}

std::optional<std::size_t> StreamLayout::Conform16(std::uint8_t* frame, std::size_t bytes,
                                                   int channels, int rate) {
  // Samples are little-endian 16-bit, as this machine stores them.
  static_assert(std::endian::native == std::endian::little);
  return Conform<std::int16_t>(frame, bytes, channels, rate);
}

std::optional<std::size_t> StreamLayout::ConformFloat(std::uint8_t* frame, std::size_t bytes,
                                                      int channels, int rate) {
  return Conform<float>(frame, bytes, channels, rate);
}

}  // namespace audioedit
