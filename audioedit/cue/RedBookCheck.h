// Checks a track layout against the limits of an audio CD (Red Book): every track at least
// 4 seconds long, at most 99 tracks, at most 99 index points in a track, and at most
// 79:59:74 of audio from the start of the disc (frame 0, the pregap included) to the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audioedit/cue/CueLayout.h"

namespace audioedit::cue {

inline constexpr std::uint32_t kMinTrackFrames = 300;
inline constexpr std::size_t kMaxTracks = 99;
inline constexpr std::size_t kMaxIndexPoints = 99;
inline constexpr std::uint32_t kMaxDiscFrames = (79 * 60 + 59) * 75 + 74;

struct RedBookFinding {
  std::size_t track = 0;  // 1-based track the finding is about
  std::string message;    // "track N: ...", with the times involved
};

std::vector<RedBookFinding> CheckRedBook(const CueLayout& layout);

}  // namespace audioedit::cue
