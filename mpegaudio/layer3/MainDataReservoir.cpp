#include "mpegaudio/layer3/MainDataReservoir.h"

#include <algorithm>
#include <cstring>

namespace mpegaudio::layer3 {

std::uint8_t* MainDataReservoir::PrepareAppend(int count) {
  count = std::clamp(count, 0, kCapacity);
  if (kCapacity - size_ < count) {
    const int drop = count - (kCapacity - size_);
    std::memmove(data_, data_ + drop, static_cast<std::size_t>(size_ - drop));
    size_ -= drop;
  }
  heldBefore_ = size_;
  return data_ + size_;
}

bool MainDataReservoir::CommitAppend(int count, int mainDataBegin) {
  count = std::clamp(count, 0, kCapacity - size_);
  size_ += count;
  std::memset(data_ + size_, 0, BitReader::kPaddingBytes);
  if (mainDataBegin > heldBefore_) return false;
  frameStart_ = heldBefore_ - mainDataBegin;
  return true;
}

bool MainDataReservoir::AppendFrame(const std::uint8_t* bytes, int count, int mainDataBegin) {
  count = std::clamp(count, 0, kCapacity);
  std::memcpy(PrepareAppend(count), bytes, static_cast<std::size_t>(count));
  return CommitAppend(count, mainDataBegin);
}

BitReader MainDataReservoir::ReaderForFrame() const {
  return BitReader(data_, static_cast<std::uint32_t>(frameStart_) * 8,
                   static_cast<std::uint32_t>(size_) * 8);
}

}  // namespace mpegaudio::layer3
