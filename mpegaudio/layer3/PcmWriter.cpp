#include "mpegaudio/layer3/PcmWriter.h"

#include <cmath>
#include <cstring>

namespace mpegaudio::layer3 {

int PcmWriter::BytesPerSample(SampleFormat format) {
  switch (format) {
    case SampleFormat::kInt16: return 2;
    case SampleFormat::kUInt8: return 1;
    case SampleFormat::kFloat32: return 4;
  }
  return 2;
}

std::int16_t PcmWriter::ToInt16(float sample) {
  if (!(sample > -32768.0f)) return -32768;  // also catches NaN
  if (sample >= 32767.0f) return 32767;
  return static_cast<std::int16_t>(std::lrint(sample));  // current rounding: to nearest even
}

void PcmWriter::Write(const float* const pcm[], int samples) {
  const int step = 1 << shift_;
  for (int i = 0; i < samples; i += step) {
    for (int ch = 0; ch < channels_; ++ch) {
      const float s = pcm[ch][i];
      switch (format_) {
        case SampleFormat::kInt16: {
          const std::int16_t v = ToInt16(s);
          std::memcpy(out_, &v, 2);  // little-endian host
          out_ += 2;
          break;
        }
        case SampleFormat::kUInt8:
          *out_++ = static_cast<std::uint8_t>((ToInt16(s) + 32768) >> 8);
          break;
        case SampleFormat::kFloat32: {
          const float f = s * (1.0f / 32768.0f);
          std::memcpy(out_, &f, 4);
          out_ += 4;
          break;
        }
      }
    }
  }
}

}  // namespace mpegaudio::layer3
