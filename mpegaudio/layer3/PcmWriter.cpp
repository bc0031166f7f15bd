#include "mpegaudio/layer3/PcmWriter.h"

#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  // Adding and removing 1.5 * 2^23 rounds to the nearest integer, ties to even, for any
  // value of this magnitude (IEEE round-to-nearest-even arithmetic).
  const float shifted = sample + 12582912.0f;
  return static_cast<std::int16_t>(shifted - 12582912.0f);
}

namespace {

inline float Clip16(float s) {
  s = s > -32768.0f ? s : -32768.0f;  // NaN becomes -32768
  return s < 32767.0f ? s : 32767.0f;
}

}  // namespace

void PcmWriter::Write(const float* const pcm[], int samples) {
  const int step = 1 << shift_;
  const int count = samples >> shift_;
  if (format_ == SampleFormat::kFloat32) {
    float* out = reinterpret_cast<float*>(out_);
    for (int i = 0; i < count; ++i) {
      for (int ch = 0; ch < channels_; ++ch) {
        const float f = pcm[ch][i * step] * (1.0f / 32768.0f);
        std::memcpy(out++, &f, 4);
      }
    }
    out_ = reinterpret_cast<std::uint8_t*>(out);
    return;
  }
  // Round to nearest, ties to even, on the clipped values (see ToInt16).
  constexpr float kRound = 12582912.0f;
  std::int16_t values[2 * 1152];
  const int total = count * channels_;
  if (step == 1 && channels_ == 2) {
    const float* left = pcm[0];
    const float* right = pcm[1];
    int i = 0;
#if defined(__SSE2__)
    // Four samples per channel at a time: clip (NaN becomes -32768), convert with the
    // default rounding (to nearest, ties to even), pack and interleave.
    const __m128 low = _mm_set1_ps(-32768.0f);
    const __m128 high = _mm_set1_ps(32767.0f);
    for (; i + 4 <= count; i += 4) {
      const __m128 l = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(left + i), low), high);
      const __m128 r = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(right + i), low), high);
      const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(l), _mm_cvtps_epi32(r));
      const __m128i interleaved = _mm_unpacklo_epi16(packed, _mm_srli_si128(packed, 8));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(values + 2 * i), interleaved);
    }
#endif
    for (; i < count; ++i) {
      values[2 * i] = static_cast<std::int16_t>((Clip16(left[i]) + kRound) - kRound);
      values[2 * i + 1] = static_cast<std::int16_t>((Clip16(right[i]) + kRound) - kRound);
    }
  } else {
    for (int i = 0; i < count; ++i) {
      for (int ch = 0; ch < channels_; ++ch) {
        const float rounded = (Clip16(pcm[ch][i * step]) + kRound) - kRound;
        values[i * channels_ + ch] = static_cast<std::int16_t>(rounded);
      }
    }
  }
  if (format_ == SampleFormat::kInt16) {
    std::memcpy(out_, values, sizeof(std::int16_t) * static_cast<std::size_t>(total));
    out_ += 2 * total;
  } else {
    for (int i = 0; i < total; ++i) *out_++ = static_cast<std::uint8_t>((values[i] + 32768) >> 8);
  }
}

}  // namespace mpegaudio::layer3
