#include "mpegaudio/FrameSync.h"

namespace mpegaudio {
namespace {

bool InSyncStatus(SSC s) { return s == SscOk || s == SscSyncNeedData; }

bool SameStream(std::uint32_t a, std::uint32_t b) {
  return ((a ^ b) & ~kHeaderVariableMask) == 0;
}

}  // namespace

FrameSync::FrameSync(std::size_t ringBytes) : buffer_(ringBytes) {}

FrameSync::FrameSync(const std::uint8_t* data, std::size_t bytes) : buffer_(data, bytes) {}

void FrameSync::Reset() {
  buffer_.Clear();
  header_ = FrameHeader{};
  status_ = SscSyncSearched;
  pattern_ = 0;
  checkCounter_ = 0;
  skipped_ = 0;
}

bool FrameSync::WantsRefill() const {
  if (header_.valid && buffer_.ValidBits() < static_cast<std::uint32_t>(header_.frameSizeBits)) {
    return true;
  }
  return status_ == SscSyncSearched || status_ == SscSyncNeedData || buffer_.ValidBits() == 0;
}

SSC FrameSync::Step(Mp3Source* source) {
  if (status_ == SscSyncEof) return status_;
  if (source != nullptr && WantsRefill()) buffer_.Refill(*source);
  if (buffer_.ValidBits() < 32) {
    status_ = InSyncStatus(status_) ? SscSyncNeedData : SscSyncSearched;
  } else if (InSyncStatus(status_)) {
    status_ = CheckInSync();
  } else {
    status_ = Search();
  }
  if (buffer_.EndOfInput() && (status_ == SscSyncSearched || status_ == SscSyncNeedData)) {
    status_ = SscSyncEof;
  }
  return status_;
}

SSC FrameSync::Search() {
  for (;;) {
    buffer_.SetMark();
    if (buffer_.ValidBits() < 32) {
      buffer_.RewindToMark();
      return SscSyncSearched;
    }
    const std::uint32_t word = buffer_.ReadBits(32);
    FrameHeader candidate;
    if ((word >> 21) == 0x7FF && candidate.Parse(word)) {
      const auto frameBits = static_cast<std::uint32_t>(candidate.frameSizeBits);
      if (buffer_.ValidBits() < frameBits) {
        buffer_.RewindToMark();
        return SscSyncSearched;
      }
      buffer_.SkipBits(frameBits - 32);
      const std::uint32_t next = buffer_.ReadBits(32);
      if (SameStream(word, next)) {
        header_ = candidate;
        pattern_ = word & ~kHeaderVariableMask;
        checkCounter_ = kCheckFrames;
        buffer_.RewindToMark();
        return SscOk;
      }
    }
    ++skipped_;
    buffer_.RewindToMark();
    buffer_.SkipBits(1);
  }
}

SSC FrameSync::CheckInSync() {
  buffer_.SetMark();
  const std::uint32_t word = buffer_.ReadBits(32);
  FrameHeader header;
  const bool valid = header.Parse(word);
  if (!valid || (word & ~kHeaderVariableMask) != pattern_) {
    buffer_.RewindToMark();
    return SscSyncLost;
  }
  header_ = header;
  const auto frameBits = static_cast<std::uint32_t>(header.frameSizeBits);
  if (buffer_.ValidBits() + 32 < frameBits) {
    buffer_.RewindToMark();
    return SscSyncNeedData;
  }
  if (checkCounter_ != 0 && buffer_.ValidBits() >= frameBits) {
    buffer_.SkipBits(frameBits - 32);
    const std::uint32_t next = buffer_.ReadBits(32);
    if ((next & ~kHeaderVariableMask) != pattern_) {
      buffer_.RewindToMark();
      return SscSyncLost;
    }
  }
  if (checkCounter_ != 0) --checkCounter_;
  buffer_.RewindToMark();
  return SscOk;
}

void FrameSync::SkipFrame() { buffer_.SkipBits(static_cast<std::uint32_t>(header_.frameSizeBits)); }

}  // namespace mpegaudio
