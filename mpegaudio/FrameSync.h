// Frame synchronisation over an InputBitBuffer. The search looks bit by bit for a Layer III
// header followed, one frame later, by a header that agrees in every bit outside
// kHeaderVariableMask; once in sync, each step checks the next header against that fixed
// pattern, and for ten frames after a (re)synchronisation also the header after it.
// Usable over a caller's memory (the non-owning buffer) as well as over the decoder's ring.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mpegaudio/FrameHeader.h"
#include "mpegaudio/InputBitBuffer.h"
#include "mpegaudio/Ssc.h"

namespace mpegaudio {

class FrameSync {
 public:
  static constexpr int kCheckFrames = 10;

  // Owning ring of the given size.
  explicit FrameSync(std::size_t ringBytes = InputBitBuffer::kDefaultBytes);
  // Non-owning view of a caller's bytes, full and at the end of input.
  FrameSync(const std::uint8_t* data, std::size_t bytes);
  FrameSync(const FrameSync&) = delete;
  FrameSync& operator=(const FrameSync&) = delete;

  // One synchronisation step: refill from `source` when one is given and data is wanted,
  // then search or check. Returns (and keeps) the status: SscOk with the frame at the read
  // position, or SscSyncSearched, SscSyncNeedData, SscSyncLost or SscSyncEof.
  SSC Step(Mp3Source* source);
  // Consumes the current frame (frame size bits from the read position).
  void SkipFrame();
  // Empties the buffer and starts searching again.
  void Reset();

  SSC Status() const { return status_; }
  const FrameHeader& Header() const { return header_; }
  std::uint32_t FixedPattern() const { return pattern_; }
  int CheckCounter() const { return checkCounter_; }
  // Bit positions passed over by the search so far.
  std::uint64_t SkippedBits() const { return skipped_; }
  InputBitBuffer& Buffer() { return buffer_; }
  const InputBitBuffer& Buffer() const { return buffer_; }

 private:
  bool WantsRefill() const;
  SSC Search();
  SSC CheckInSync();

  InputBitBuffer buffer_;
  FrameHeader header_;
  SSC status_ = SscSyncSearched;
  std::uint32_t pattern_ = 0;
  int checkCounter_ = 0;
  std::uint64_t skipped_ = 0;
};

}  // namespace mpegaudio
