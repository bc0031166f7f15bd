#include "mpegaudio/layer3/PolyphaseSynthesis.h"

#include <cmath>
#include <cstring>

#include "mpegaudio/layer3/DerivedTables.h"
#include "mpegaudio/layer3/SimdFloat4.h"

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

template <int N, typename T>
inline void Dct(const T* in, T* out, const float* coef) {
  if constexpr (N == 1) {
    out[0] = in[0];
  } else {
    constexpr int H = N / 2;
    T even[H];
    T odd[H];
    const float* c = coef + H - 1;
    for (int n = 0; n < H; ++n) {
      even[n] = in[n] + in[N - 1 - n];
      odd[n] = (in[n] - in[N - 1 - n]) * c[n];
    }
    T evenOut[H];
    T oddOut[H];
    Dct<H, T>(even, evenOut, coef);
    Dct<H, T>(odd, oddOut, coef);
    for (int k = 0; k < H; ++k) out[2 * k] = evenOut[k];
    for (int k = 0; k < H - 1; ++k) out[2 * k + 1] = oddOut[k] + oddOut[k + 1];
    out[N - 1] = oddOut[H - 1];
  }
}

}  // namespace

void Dct32(const float in[32], float out[32]) { Dct<32, float>(in, out, Lee().c); }

// The DCTs of four consecutive time slots of one channel; x receives [slot][32].
void Dct32FourSlots(const float* subbands, int firstSlot, float (*x)[32]) {
  Float4 in[32];
  for (int sb = 0; sb < 32; ++sb) std::memcpy(&in[sb], subbands + sb * kSlots + firstSlot, sizeof(Float4));
  Float4 out[32];
  Dct<32, Float4>(in, out, Lee().c);
  for (int k = 0; k < 32; ++k) {
    for (int s = 0; s < 4; ++s) x[s][k] = out[k][s];
  }
}

void PolyphaseSynthesis::Reset() {
  std::memset(history_, 0, sizeof history_);
  slot_ = 0;
}

void PolyphaseSynthesis::Slot(int channel, const float x[32], float out[32]) {
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
  alignas(16) float x[kMaxChannels][kSlots][32];
  for (int ch = 0; ch < channels; ++ch) {
    int t = 0;
    for (; t + 4 <= kSlots; t += 4) Dct32FourSlots(subbands[ch], t, x[ch] + t);
    for (; t < kSlots; ++t) {
      float samples[32];
      for (int sb = 0; sb < 32; ++sb) samples[sb] = subbands[ch][sb * kSlots + t];
      Dct32(samples, x[ch][t]);
    }
  }
  for (int t = 0; t < kSlots; ++t) {
    slot_ = (slot_ + 15) & 15;
    for (int ch = 0; ch < channels; ++ch) Slot(ch, x[ch][t], pcm[ch] + 32 * t);
  }
}

}  // namespace mpegaudio::layer3
