// Converts synthesised samples (16-bit scale floats) into the caller's output format:
// 16-bit signed (rounded to nearest, ties to even, and clipped), 8-bit unsigned, or
// 32-bit float (x 2^-15, not clipped); channels interleaved, optionally decimated.
#pragma once

#include <cstdint>

namespace mpegaudio::layer3 {

enum class SampleFormat { kInt16, kUInt8, kFloat32 };

class PcmWriter {
 public:
  PcmWriter(void* buffer, SampleFormat format, int channels, int downsampleShift)
      : out_(static_cast<std::uint8_t*>(buffer)), format_(format), channels_(channels),
        shift_(downsampleShift) {}

  // Appends `samples` samples per channel (before decimation).
  void Write(const float* const pcm[], int samples);
  static int BytesPerSample(SampleFormat format);
  static std::int16_t ToInt16(float sample);

 private:
  std::uint8_t* out_;
  SampleFormat format_;
  int channels_;
  int shift_;
};

}  // namespace mpegaudio::layer3
