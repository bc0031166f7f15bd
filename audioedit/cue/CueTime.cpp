#include "audioedit/cue/CueTime.h"

#include <cstdio>

#include "audioedit/CdFrames.h"

namespace audioedit::cue {
namespace {

constexpr std::uint32_t kFramesPerMinute = 60 * kCdFramesPerSecond;

// Digits only, no sign, at most maxDigits of them.
std::optional<std::uint32_t> Digits(std::string_view text, std::size_t minDigits,
                                    std::size_t maxDigits) {
  if (text.size() < minDigits || text.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
}

}  // namespace

std::string FormatMsf(std::uint32_t frame) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", frame / kFramesPerMinute,
                frame / kCdFramesPerSecond % 60, frame % kCdFramesPerSecond);
  return text;
}

std::optional<std::uint32_t> ParseMsf(std::string_view text) {
  const std::size_t first = text.find(':');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t second = text.find(':', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  // Six digits of minutes keep the result far below 2^32 frames.
  const auto minutes = Digits(text.substr(0, first), 1, 6);
  const auto seconds = Digits(text.substr(first + 1, second - first - 1), 2, 2);
  const auto frames = Digits(text.substr(second + 1), 2, 2);
  if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= kCdFramesPerSecond)
    return std::nullopt;
  return *minutes * kFramesPerMinute + *seconds * kCdFramesPerSecond + *frames;
}

}  // namespace audioedit::cue
