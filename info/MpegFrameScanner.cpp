#include "info/MpegFrameScanner.h"

#include <algorithm>
#include <cmath>

#include "info/MpegHeaderTables.h"
#include "info/TagLayout.h"

namespace info {

namespace {

constexpr std::size_t kFirstPassBytes = 50000;
constexpr std::uint32_t kFirstPassFrames = 100;
constexpr std::uint32_t kSyncMask = 0xFFF00000u;

}  // namespace

void MpegFrameScanner::Init(std::span<const std::uint8_t> range) {
  range_ = range;
  current_ = 0;
  end_ = range.size();
  firstHeader_ = true;
}

void MpegFrameScanner::Reset() {
  averageBitrate_ = 0;
  durationMs_ = 0;
  framesWalked_ = 0;
  invalidHeaders_ = 0;
  samplingRate_ = 0;
  stereo_ = false;
  vbr_ = false;
  firstHeader_ = true;
}

bool MpegFrameScanner::ParseHeader() {
  if (current_ > range_.size() || range_.size() - current_ < 4) return false;
  const std::uint32_t h = BigEndian32(range_.data() + current_);
  const bool mpeg1 = (h & (1u << 20)) && (h & (1u << 19));
  const int version = mpeg1 ? 0 : (h & (1u << 20)) ? 1 : 2;
  const bool lsf = !mpeg1;
  const int layer = 4 - static_cast<int>((h >> 17) & 3);
  const unsigned rateIndex = (h >> 10) & 3, bitrateIndex = (h >> 12) & 15;
  if (rateIndex == 3 || bitrateIndex == 0 || layer > 3) return false;
  const int rate = mpeg::kSamplingRateHz[static_cast<std::size_t>(version)][rateIndex];
  const int kbps = mpeg::kBitrateKbps[lsf][static_cast<std::size_t>(layer - 1)][bitrateIndex];
  const long padding = (h >> 9) & 1;
  if (layer == 1) frameBytes_ = (kbps * 12000L / rate + padding) * 4 - 4;
  else if (layer == 2) frameBytes_ = kbps * 144000L / rate + padding - 4;
  else frameBytes_ = kbps * 144000L / (lsf ? rate * 2 : rate) + padding - 4;
  if (frameBytes_ <= 0) return false;
  samplingRate_ = rate;
  const int samplesPerFrame = layer == 1 ? 384 : (layer == 3 && lsf) ? 576 : 1152;
  frameDurationMs_ = 1000.0 * samplesPerFrame / rate;
  averageBitrate_ = (kbps * 1000.0 + framesWalked_ * averageBitrate_) / (framesWalked_ + 1.0);
  if (averageBitrate_ != kbps * 1000.0) vbr_ = true;
  if (firstHeader_) {
    stereo_ = ((h >> 6) & 3) != 3;
    firstHeader_ = false;
  }
  return true;
}

bool MpegFrameScanner::NextFrame() {
  if (range_.data() == nullptr || current_ + 4 > end_) return false;
  while ((BigEndian32(range_.data() + current_) & kSyncMask) != kSyncMask) {
    if (current_ + 4 >= end_) return false;
    ++current_;
  }
  if (!ParseHeader()) {
    ++invalidHeaders_;
    return false;
  }
  if (current_ + static_cast<std::size_t>(frameBytes_) >= end_) return false;
  durationMs_ += frameDurationMs_;
  current_ += 4 + static_cast<std::size_t>(frameBytes_);
  ++framesWalked_;
  return true;
}

bool MpegFrameScanner::Pass(bool firstPass) {
  Reset();
  current_ = audioBegin_;
  end_ = firstPass ? std::min(audioEnd_, audioBegin_ + kFirstPassBytes) : audioEnd_;
  while (NextFrame())
    if (firstPass && invalidHeaders_ + framesWalked_ >= kFirstPassFrames) break;
  current_ = 0;
  end_ = range_.size();
  return framesWalked_ > 0 && invalidHeaders_ == 0;
}

bool MpegFrameScanner::Scan() {
  const AudioSpan audio = LocateAudio(range_);
  audioBegin_ = audio.begin;
  audioEnd_ = audio.end;
  for (const bool firstPass : {true, false}) {
    if (!Pass(firstPass)) return false;
    if (!vbr_) {
      durationMs_ = std::floor((audioEnd_ - audioBegin_) * 8000.0 / averageBitrate_);
      return true;
    }
  }
  return true;  // variable bitrate: the sum of the frame durations of the whole walk
}

}  // namespace info
