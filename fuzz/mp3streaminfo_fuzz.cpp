// Stream analysis of arbitrary bytes: Parse, then every seek query, plus the tag bounds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "mpegaudio/analysis/AudioBounds.h"
#include "mpegaudio/analysis/Mp3StreamInfo.h"

namespace {

class MemoryBytes final : public mpegaudio::ByteReader {
 public:
  MemoryBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t ReadAt(std::uint32_t offset, std::uint8_t* buffer, std::size_t count) override {
    if (offset >= size_) return 0;
    const std::size_t n = count < size_ - offset ? count : size_ - offset;
    std::memcpy(buffer, data_ + offset, n);
    return n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryBytes bytes(data, size);
  const mpegaudio::AudioBounds bounds =
      mpegaudio::FindAudioBounds(bytes, static_cast<std::uint32_t>(size));
  if (bounds.start > bounds.end || bounds.end > size) __builtin_trap();

  mpegaudio::Mp3StreamInfo* info = nullptr;
  if (mpegaudio::CreateMp3StreamInfo(&info) != mpegaudio::SscOk) return 0;
  // The file may be larger than the bytes analysed; the first byte picks how much.
  const std::uint32_t fileSize =
      static_cast<std::uint32_t>(size) + (size > 0 ? data[0] * 4099u : 0u);
  if (info->Parse(data, static_cast<std::uint32_t>(size), fileSize)) {
    const mpegaudio::Mp3StreamProperties p = *info->GetInfo();
    for (float percent : {-1.0f, 0.0f, 0.5f, 33.3f, 98.99f, 99.5f, 100.0f, 1e9f, NAN}) {
      (void)info->PercentToOffset(percent);
    }
    const auto duration = static_cast<std::uint32_t>(p.durationMs);
    for (std::uint32_t ms : {0u, 1u, duration / 3, duration, duration + 1, 0xFFFFFFFFu}) {
      (void)info->TimeToOffset(ms);
    }
  }
  info->Destroy();
  return 0;
}
