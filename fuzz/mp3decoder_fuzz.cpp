// Fuzz target for the MPEG audio decoder: arbitrary bytes go through the decoder (pulled
// from a source in small reads, with the options chosen by the first byte) and through
// the frame synchronisation over a non-owning view, as the stream analyser uses it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "mpegaudio/FrameSync.h"
#include "mpegaudio/Mp3Decoder.h"

namespace {

class BytesSource final : public mpegaudio::Mp3Source {
 public:
  BytesSource(const std::uint8_t* data, std::size_t size, std::size_t chunk)
      : data_(data), size_(size), chunk_(chunk) {}
  std::int32_t Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
    const std::size_t n = std::min({static_cast<std::size_t>(count), size_ - pos_, chunk_});
    if (n > 0) std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    got = static_cast<std::uint32_t>(n);
    return 0;
  }
  bool IsEof() override { return pos_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t chunk_;
  std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  ++data;
  --size;

  mpegaudio::Mp3Decoder* decoder = nullptr;
  if (mpegaudio::CreateMp3DecoderEx((options & 3) % 3, (options >> 2) & 1, (options >> 3) & 1,
                                    &decoder) != mpegaudio::SscOk) {
    return 0;
  }
  BytesSource source(data, size, 64 + (options >> 4) * 300);
  decoder->SetSource(&source);
  static std::vector<std::uint8_t> buffer(2 * mpegaudio::kMaxFrameBytes16);
  const bool asFloat = (options & 0x80) != 0;
  for (int calls = 0; calls < 100000 && !decoder->IsEndOfStream(); ++calls) {
    std::uint32_t written = 0;
    if (asFloat) {
      decoder->DecodeFrameFloat(reinterpret_cast<float*>(buffer.data()),
                                static_cast<std::uint32_t>(buffer.size()), written);
    } else {
      decoder->DecodeFrame(buffer.data(), mpegaudio::kMaxFrameBytes16, written);
    }
  }
  decoder->Destroy();

  mpegaudio::FrameSync scan(data, size);
  for (int steps = 0; steps < 100000; ++steps) {
    const mpegaudio::SSC s = scan.Step(nullptr);
    if (s == mpegaudio::SscSyncEof) break;
    if (s == mpegaudio::SscOk) scan.SkipFrame();
  }
  return 0;
}
