#include "audioedit/cue/RedBookCheck.h"

#include "audioedit/cue/CueTime.h"

namespace audioedit::cue {
namespace {

std::string TrackName(std::size_t track) { return "track " + std::to_string(track); }

}  // namespace

std::vector<RedBookFinding> CheckRedBook(const CueLayout& layout) {
  std::vector<RedBookFinding> findings;
  auto add = [&](std::size_t track, std::string text) {
    findings.push_back(RedBookFinding{track, TrackName(track) + ": " + std::move(text)});
  };
  for (std::size_t t = 0; t < layout.tracks.size(); ++t) {
    const CueTrack& track = layout.tracks[t];
    const std::uint32_t length = track.end - track.start;
    if (length < kMinTrackFrames)
      add(t + 1, "is " + FormatMsf(length) + " long (" + FormatMsf(track.start) + " to " +
                     FormatMsf(track.end) + "), shorter than the " + FormatMsf(kMinTrackFrames) +
                     " of a CD track");
    const std::size_t points = 1 + track.indexMarks.size();
    if (points > kMaxIndexPoints)
      add(t + 1, "has " + std::to_string(points) + " index points (INDEX " +
                     std::to_string(kMaxIndexPoints + 1) + " at " +
                     FormatMsf(track.indexMarks[kMaxIndexPoints - 1]) + "), more than the " +
                     std::to_string(kMaxIndexPoints) + " of a CD track");
  }
  if (layout.tracks.size() > kMaxTracks)
    add(kMaxTracks + 1, "starts at " + FormatMsf(layout.tracks[kMaxTracks].start) +
                            "; the layout has " + std::to_string(layout.tracks.size()) +
                            " tracks, more than the " + std::to_string(kMaxTracks) + " of a CD");
  if (layout.end > kMaxDiscFrames && !layout.tracks.empty())
    add(layout.tracks.size(), "ends at " + FormatMsf(layout.end) + ", past the " +
                                  FormatMsf(kMaxDiscFrames) + " a CD holds");
  return findings;
}

}  // namespace audioedit::cue
