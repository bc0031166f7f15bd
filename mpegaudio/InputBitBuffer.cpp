#include "mpegaudio/InputBitBuffer.h"

#include <algorithm>
#include <cstring>

#include "mpegaudio/Mp3Source.h"

namespace mpegaudio {

InputBitBuffer::InputBitBuffer(std::size_t requestedBytes) {
  std::size_t size = 1;
  while (size < requestedBytes && size < kMaxBytes) size <<= 1;
  owned_ = std::make_unique<std::uint8_t[]>(size);
  data_ = owned_.get();
  view_ = data_;
  capacityBytes_ = size;
  capacityBits_ = static_cast<std::uint64_t>(size) * 8;
}

InputBitBuffer::InputBitBuffer(const std::uint8_t* data, std::size_t bytes) {
  // A view larger than 256 MB would overflow the bit counters; it is cut there.
  bytes = data == nullptr ? 0 : std::min<std::size_t>(bytes, std::size_t{1} << 28);
  view_ = data;
  capacityBytes_ = bytes;
  capacityBits_ = bytes == 0 ? 1 : static_cast<std::uint64_t>(bytes) * 8;
  validBits_ = static_cast<std::uint32_t>(bytes * 8);
  endOfInput_ = true;
}

void InputBitBuffer::Clear() {
  readPos_ = 0;
  validBits_ = 0;
  sinceMark_ = 0;
  endOfInput_ = false;
}

std::size_t InputBitBuffer::Fill(const std::uint8_t* bytes, std::size_t count) {
  if (data_ == nullptr || bytes == nullptr) return 0;
  count = std::min(count, FreeBytes());
  std::size_t write = static_cast<std::size_t>(WrapBits(std::uint64_t{readPos_} + validBits_) / 8);
  const std::size_t first = std::min(count, capacityBytes_ - write);
  std::memcpy(data_ + write, bytes, first);
  std::memcpy(data_, bytes + first, count - first);
  validBits_ += static_cast<std::uint32_t>(count * 8);
  return count;
}

void InputBitBuffer::Refill(Mp3Source& source) {
  if (data_ != nullptr) {
    for (int part = 0; part < 2; ++part) {
      const std::size_t free = FreeBytes();
      if (free == 0) break;
      const std::size_t write =
          static_cast<std::size_t>(WrapBits(std::uint64_t{readPos_} + validBits_) / 8);
      const std::uint32_t want =
          static_cast<std::uint32_t>(std::min(free, capacityBytes_ - write));
      std::uint32_t got = 0;
      source.Read(data_ + write, want, got);
      got = std::min(got, want);
      validBits_ += got * 8;
      if (got < want) break;
    }
  }
  if (source.IsEof()) endOfInput_ = true;
}

void InputBitBuffer::RewindToMark() {
  readPos_ = WrapBits(std::uint64_t{readPos_} + capacityBits_ - sinceMark_);
  validBits_ += sinceMark_;
  sinceMark_ = 0;
}

std::uint32_t InputBitBuffer::PeekBits(int n) const {
  if (n <= 0 || capacityBytes_ == 0) return 0;
  const int avail = static_cast<int>(std::min<std::uint32_t>(validBits_, 32));
  const int take = std::min(n, avail);
  std::size_t byte = readPos_ >> 3;
  const int offset = static_cast<int>(readPos_ & 7);
  const int bytesNeeded = (offset + take + 7) >> 3;
  std::uint64_t acc = 0;
  for (int i = 0; i < bytesNeeded; ++i) {
    acc = (acc << 8) | view_[byte];
    if (++byte == capacityBytes_) byte = 0;
  }
  std::uint64_t bits = take == 0 ? 0 : (acc >> (bytesNeeded * 8 - offset - take)) &
                                           ((std::uint64_t{1} << take) - 1);
  return static_cast<std::uint32_t>(bits << (n - take));
}

std::uint32_t InputBitBuffer::ReadBits(int n) {
  const std::uint32_t value = PeekBits(n);
  SkipBits(static_cast<std::uint32_t>(n < 0 ? 0 : n));
  return value;
}

void InputBitBuffer::ReadBytes(std::uint8_t* dest, std::size_t count) {
  const std::size_t available = std::min<std::size_t>(count, validBits_ / 8);
  if ((readPos_ & 7) == 0 && available > 0) {
    const std::size_t byte = readPos_ >> 3;
    const std::size_t first = std::min(available, capacityBytes_ - byte);
    std::memcpy(dest, view_ + byte, first);
    std::memcpy(dest + first, view_, available - first);
    SkipBits(static_cast<std::uint32_t>(available * 8));
  } else {
    for (std::size_t i = 0; i < available; ++i) dest[i] = static_cast<std::uint8_t>(ReadBits(8));
  }
  if (available < count) {
    std::memset(dest + available, 0, count - available);
    SkipBits(validBits_);
  }
}

void InputBitBuffer::SkipBits(std::uint32_t n) {
  n = std::min(n, validBits_);
  readPos_ = WrapBits(std::uint64_t{readPos_} + n);
  validBits_ -= n;
  sinceMark_ += n;
}

}  // namespace mpegaudio
