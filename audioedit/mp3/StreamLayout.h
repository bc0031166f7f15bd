// Keeps one PCM layout for a whole decoded stream. The decoder writes each frame in the
// frame's own channel count and rate; a stream made by joining files may change them in
// the middle, while a WAV header or a reader's format states one layout for all. Frames
// are conformed to the fixed layout: a mono frame is written to both channels, a stereo
// frame is mixed down to one. A frame at another sampling rate cannot be conformed: the
// stream ends before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace audioedit {

// A search that takes in this many bytes without producing a frame gives up: the rest of
// the input is not treated as audio (an endless or huge run of other data ends the stream).
inline constexpr std::uint64_t kMaxBytesWithoutFrame = 4u << 20;

class StreamLayout {
 public:
  StreamLayout() = default;
  StreamLayout(int channels, int rate) { Fix(channels, rate); }

  void Fix(int channels, int rate) {
    channels_ = channels;
    rate_ = rate;
  }
  bool IsFixed() const { return channels_ != 0; }
  int Channels() const { return channels_; }
  int Rate() const { return rate_; }

  // Conforms one frame of interleaved 16-bit samples (`bytes` long, `channels` per sample
  // frame at `rate`) in place; the buffer must hold twice `bytes` when the fixed layout has
  // more channels. Returns the new byte count, or nothing when the rate differs. An unfixed
  // layout takes the frame's.
  std::optional<std::size_t> Conform16(std::uint8_t* frame, std::size_t bytes, int channels,
                                       int rate);
  // The same for 32-bit float samples.
  std::optional<std::size_t> ConformFloat(std::uint8_t* frame, std::size_t bytes, int channels,
                                          int rate);

 private:
  template <typename Sample>
  std::optional<std::size_t> Conform(std::uint8_t* frame, std::size_t bytes, int channels,
                                     int rate);

  int channels_ = 0;
  int rate_ = 0;
};

}  // namespace audioedit
