// Test helpers that run a whole byte stream through an Mp3Decoder.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "mpegaudio/Mp3Decoder.h"
#include "tests/mpegaudio/StreamWriter.h"

namespace mpegaudio::test {

struct DecoderDeleter {
  void operator()(Mp3Decoder* d) const {
    if (d) d->Destroy();
  }
};
using DecoderPtr = std::unique_ptr<Mp3Decoder, DecoderDeleter>;

inline DecoderPtr MakeDecoder(int shift = 0, int eightBit = 0, int mono = 0) {
  Mp3Decoder* d = nullptr;
  CreateMp3DecoderEx(shift, eightBit, mono, &d);
  return DecoderPtr(d);
}

struct DecodedStream {
  std::vector<SSC> frameStatuses;            // statuses of calls that produced a frame
  std::vector<std::vector<float>> frames;    // float output per frame (interleaved)
  std::vector<std::int16_t> pcm;             // 16-bit output of all frames
  int channels = 0;
};

// Decodes all of `bytes` (as float when `asFloat`, else 16-bit) until the stream ends.
inline DecodedStream DecodeStream(const std::vector<std::uint8_t>& bytes, bool asFloat,
                                  Mp3Decoder* decoder = nullptr) {
  DecoderPtr owned;
  if (decoder == nullptr) {
    owned = MakeDecoder();
    decoder = owned.get();
  }
  MemorySource source(bytes, 1000);
  decoder->SetSource(&source);
  DecodedStream out;
  std::vector<std::uint8_t> buffer(2 * kMaxFrameBytes16);
  for (int guard = 0; guard < 100000 && !decoder->IsEndOfStream(); ++guard) {
    std::uint32_t written = 0;
    const SSC s = asFloat ? decoder->DecodeFrameFloat(reinterpret_cast<float*>(buffer.data()),
                                                      static_cast<std::uint32_t>(buffer.size()),
                                                      written)
                          : decoder->DecodeFrame(buffer.data(), kMaxFrameBytes16, written);
    if (written == 0) continue;
    out.frameStatuses.push_back(s);
    out.channels = decoder->GetFrameProperties()->outputChannels;
    if (asFloat) {
      const float* f = reinterpret_cast<const float*>(buffer.data());
      out.frames.emplace_back(f, f + written / 4);
    } else {
      const std::int16_t* p = reinterpret_cast<const std::int16_t*>(buffer.data());
      out.pcm.insert(out.pcm.end(), p, p + written / 2);
    }
  }
  decoder->SetSource(nullptr);
  return out;
}

inline double Rms(const std::vector<float>& v) {
  double s = 0;
  for (float x : v) s += static_cast<double>(x) * x;
  return v.empty() ? 0.0 : std::sqrt(s / static_cast<double>(v.size()));
}

}  // namespace mpegaudio::test
