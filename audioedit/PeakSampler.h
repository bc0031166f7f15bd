// Picks one sample frame out of every `interval` frames of a PCM byte stream and turns it
// into a peak record, in batches.
//
// Records are verbatim copies of the sample frame: every channel, every byte of each
// sample (8, 16, 24 or 32 bits as the decoder gave them).
// Frames may be split across the chunks fed in; the partial frame is carried over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace audioedit {

class PeakSampler {
 public:
  // Receives a batch of whole records; false stops the sampler (a write failed).
  using BatchSink = std::function<bool(const std::uint8_t* data, std::size_t bytes)>;

  PeakSampler(std::uint16_t channels, std::uint16_t sourceBytesPerSample, std::uint32_t interval,
              std::size_t batchBytes, BatchSink sink);
  PeakSampler(const PeakSampler&) = delete;
  PeakSampler& operator=(const PeakSampler&) = delete;

  // Bytes of one peak record's sample for a source sample size: the same.
  static std::uint16_t RecordBytesPerSample(std::uint16_t sourceBytesPerSample) {
    return sourceBytesPerSample;
  }

  // Takes the next bytes of the stream; false when the sink refused a batch.
  bool Feed(const std::uint8_t* data, std::size_t size);
  // Hands the records still waiting to the sink.
  bool Finish();

  std::uint32_t Records() const { return records_; }

 private:
  void TakeFrame(const std::uint8_t* frame);
  bool FeedWholeFrames(const std::uint8_t* data, std::size_t frames);
  bool FlushIfFull();

  const std::uint16_t channels_;
  const std::uint16_t sourceSample_;
  const std::uint16_t recordSample_;
  const std::size_t frameBytes_;
  const std::uint32_t interval_;
  const std::size_t batchBytes_;
  BatchSink sink_;
  std::vector<std::uint8_t> batch_;
  std::vector<std::uint8_t> partial_;  // bytes of a frame split across chunks
  std::uint32_t skip_;                 // frames to pass before the next record frame
  std::uint32_t records_ = 0;
};

}  // namespace audioedit
