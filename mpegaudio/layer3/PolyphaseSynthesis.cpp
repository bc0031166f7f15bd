#include "mpegaudio/layer3/PolyphaseSynthesis.h"

#include <cmath>
#include <cstring>

#include "mpegaudio/layer3/DerivedTables.h"

namespace mpegaudio::layer3 {
namespace {

// 1 / (2 cos((2n + 1) pi / (2N))) for N = 32, 16, 8, 4, 2, stored at offset N/2 - 1.
struct LeeCoefficients {
  float c[32];
  LeeCoefficients() {
    const double pi = std::acos(-1.0);
    for (int n2 = 1; n2 <= 16; n2 <<= 1) {
      const int size = 2 * n2;
      for (int n = 0; n < n2; ++n) {
        c[n2 - 1 + n] = static_cast<float>(0.5 / std::cos((2 * n + 1) * pi / (2 * size)));
      }
    }
  }
};

const LeeCoefficients& Lee() {
  static const LeeCoefficients lee;
  return lee;
}

template <int N>
inline void Dct(const float* in, float* out, const float* coef) {
  if constexpr (N == 1) {
    out[0] = in[0];
  } else {
    constexpr int H = N / 2;
    float even[H];
    float odd[H];
    const float* c = coef + H - 1;
    for (int n = 0; n < H; ++n) {
      even[n] = in[n] + in[N - 1 - n];
      odd[n] = (in[n] - in[N - 1 - n]) * c[n];
    }
    float evenOut[H];
    float oddOut[H];
    Dct<H>(even, evenOut, coef);
    Dct<H>(odd, oddOut, coef);
    for (int k = 0; k < H; ++k) out[2 * k] = evenOut[k];
    for (int k = 0; k < H - 1; ++k) out[2 * k + 1] = oddOut[k] + oddOut[k + 1];
    out[N - 1] = oddOut[H - 1];
  }
}

}  // namespace

void Dct32(const float in[32], float out[32]) { Dct<32>(in, out, Lee().c); }

void PolyphaseSynthesis::Reset() {
  std::memset(history_, 0, sizeof history_);
  slot_ = 0;
}

void PolyphaseSynthesis::Slot(int channel, const float samples[32], float out[32]) {
  float x[32];
  Dct32(samples, x);
  float* v = history_[channel][slot_];
  for (int j = 0; j < 16; ++j) {
    v[j] = x[16 + j];
    v[32 + j] = -x[16 - j];
  }
  v[16] = 0.0f;
  v[48] = -x[0];
  for (int j = 17; j < 32; ++j) {
    v[j] = -x[48 - j];
    v[32 + j] = -x[j - 16];
  }
  const float* d = DerivedTables::Get().synthesisWindow;
  float acc[32] = {};
  for (int i = 0; i < 8; ++i) {
    const float* a = history_[channel][(slot_ + 2 * i) & 15];
    const float* b = history_[channel][(slot_ + 2 * i + 1) & 15] + 32;
    const float* da = d + 64 * i;
    const float* db = da + 32;
    for (int j = 0; j < 32; ++j) acc[j] += a[j] * da[j] + b[j] * db[j];
  }
  std::memcpy(out, acc, sizeof acc);
}

void PolyphaseSynthesis::Run(const float* const subbands[], int channels, float* const pcm[]) {
  for (int t = 0; t < kSlots; ++t) {
    slot_ = (slot_ + 15) & 15;
    for (int ch = 0; ch < channels; ++ch) {
      float samples[32];
      for (int sb = 0; sb < 32; ++sb) samples[sb] = subbands[ch][sb * kSlots + t];
      Slot(ch, samples, pcm[ch] + 32 * t);
    }
  }
}

}  // namespace mpegaudio::layer3
