#include "audioedit/PeakSampler.h"

#include <algorithm>

namespace audioedit {

PeakSampler::PeakSampler(std::uint16_t channels, std::uint16_t sourceBytesPerSample,
                         std::uint32_t interval, std::size_t batchBytes, BatchSink sink)
    : channels_(channels),
      sourceSample_(sourceBytesPerSample),
      recordSample_(RecordBytesPerSample(sourceBytesPerSample)),
      frameBytes_(std::size_t{channels} * sourceBytesPerSample),
      interval_(std::max<std::uint32_t>(interval, 1)),
      batchBytes_(batchBytes),
      sink_(std::move(sink)),
      skip_(interval_ - 1) {
  batch_.reserve(batchBytes_ + std::size_t{channels_} * recordSample_);
  partial_.reserve(frameBytes_);
}

void PeakSampler::TakeFrame(const std::uint8_t* frame) {
  const std::size_t from = sourceSample_ - recordSample_;  // the most significant bytes
  for (std::uint16_t c = 0; c < channels_; ++c) {
    const std::uint8_t* sample = frame + std::size_t{c} * sourceSample_ + from;
    batch_.insert(batch_.end(), sample, sample + recordSample_);
  }
  ++records_;
}

bool PeakSampler::FlushIfFull() {
  if (batch_.size() < batchBytes_) return true;
  const bool ok = sink_(batch_.data(), batch_.size());
  batch_.clear();
  return ok;
}

bool PeakSampler::FeedWholeFrames(const std::uint8_t* data, std::size_t frames) {
  std::size_t at = 0;
  while (frames - at > skip_) {
    at += skip_;
    TakeFrame(data + at * frameBytes_);
    ++at;
    skip_ = interval_ - 1;
    if (!FlushIfFull()) return false;
  }
  skip_ -= static_cast<std::uint32_t>(frames - at);
  return true;
}

bool PeakSampler::Feed(const std::uint8_t* data, std::size_t size) {
  if (frameBytes_ == 0) return true;
  if (!partial_.empty()) {
    const std::size_t need = std::min(frameBytes_ - partial_.size(), size);
    partial_.insert(partial_.end(), data, data + need);
    data += need;
    size -= need;
    if (partial_.size() < frameBytes_) return true;
    const bool ok = FeedWholeFrames(partial_.data(), 1);
    partial_.clear();
    if (!ok) return false;
  }
  const std::size_t frames = size / frameBytes_;
  if (!FeedWholeFrames(data, frames)) return false;
  const std::size_t used = frames * frameBytes_;
  partial_.assign(data + used, data + size);
  return true;
}

bool PeakSampler::Finish() {
  if (batch_.empty()) return true;
  const bool ok = sink_(batch_.data(), batch_.size());
  batch_.clear();
  return ok;
}

}  // namespace audioedit
