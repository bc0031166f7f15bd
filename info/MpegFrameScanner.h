// Walks the MPEG audio frame headers of a byte range and derives the stream figures from
// them, without decoding audio.
//
// Scan steps over the ID3 tags, walks at most 100 frames within the first 50000 bytes of
// audio, and, when the bitrate changes from frame to frame, walks the whole range again.
// A constant-bitrate duration comes from the audio's byte count (the bytes between the
// tags); a variable-bitrate duration is the sum of the frame durations.
#pragma once

#include <cstdint>
#include <span>

namespace info {

class MpegFrameScanner {
 public:
  MpegFrameScanner() = default;
  MpegFrameScanner(const MpegFrameScanner&) = delete;
  MpegFrameScanner& operator=(const MpegFrameScanner&) = delete;

  void Init(std::span<const std::uint8_t> range);
  bool Scan();
  // Finds the next sync from the current position and steps over that frame.
  bool NextFrame();
  // Reads the header at the current position into the running figures.
  bool ParseHeader();

  std::uint32_t framesWalked() const { return framesWalked_; }
  std::uint32_t invalidHeaders() const { return invalidHeaders_; }
  int samplingRate() const { return samplingRate_; }
  bool isVbr() const { return vbr_; }
  bool isStereo() const { return stereo_; }
  double averageBitrate() const { return averageBitrate_; }
  double durationMs() const { return durationMs_; }

 private:
  void Reset();
  // One pass from the audio start; `firstPass` limits it to 50000 bytes and 100 frames.
  bool Pass(bool firstPass);

  std::span<const std::uint8_t> range_;
  std::size_t audioBegin_ = 0;
  std::size_t audioEnd_ = 0;
  std::size_t current_ = 0;
  std::size_t end_ = 0;
  std::uint32_t framesWalked_ = 0;
  std::uint32_t invalidHeaders_ = 0;
  int samplingRate_ = 0;
  bool vbr_ = false;
  bool stereo_ = false;
  bool firstHeader_ = true;
  double averageBitrate_ = 0;
  double durationMs_ = 0;
  long frameBytes_ = 0;
  double frameDurationMs_ = 0;
};

}  // namespace info
