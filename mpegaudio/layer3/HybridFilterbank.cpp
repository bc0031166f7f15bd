#include "mpegaudio/layer3/HybridFilterbank.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "mpegaudio/layer3/DerivedTables.h"
#include "mpegaudio/layer3/SimdFloat4.h"

namespace mpegaudio::layer3 {
namespace {

// Constants of the factorised 18-point DCT-IV and the direct 6-point one.
struct ImdctConstants {
  float cos9[9][9];   // cos(pi * j * (2m + 1) / 18): the 9-point DCT-III
  float oddTwiddle[9];  // 1 / (2 cos(pi (2m + 1) / 36))
  float outTwiddle[18];  // 1 / (2 cos(pi (2m + 1) / 72))
  float m6[6][6];      // cos(pi / 24 * (2n + 1) * (2k + 1))
  ImdctConstants() {
    const double pi = std::acos(-1.0);
    for (int j = 0; j < 9; ++j) {
      for (int m = 0; m < 9; ++m) cos9[j][m] = static_cast<float>(std::cos(pi * j * (2 * m + 1) / 18));
      oddTwiddle[j] = static_cast<float>(0.5 / std::cos(pi * (2 * j + 1) / 36));
    }
    for (int m = 0; m < 18; ++m) outTwiddle[m] = static_cast<float>(0.5 / std::cos(pi * (2 * m + 1) / 72));
    for (int n = 0; n < 6; ++n) {
      for (int k = 0; k < 6; ++k) m6[n][k] = static_cast<float>(std::cos(pi / 24 * (2 * n + 1) * (2 * k + 1)));
    }
  }
};

const ImdctConstants& Constants() {
  static const ImdctConstants c;
  return c;
}

// out[m] = sum over j of in[j] * cos(pi * j * (2m + 1) / 18), m = 0..8, using the symmetry
// of out[m] and out[8 - m] (even j add, odd j subtract).
template <typename T>
inline void DctIii9(const T in[9], T out[9], const float (*c)[9]) {
  for (int m = 0; m < 4; ++m) {
    const T even = in[0] + in[2] * c[2][m] + in[4] * c[4][m] + in[6] * c[6][m] + in[8] * c[8][m];
    const T odd = in[1] * c[1][m] + in[3] * c[3][m] + in[5] * c[5][m] + in[7] * c[7][m];
    out[m] = even + odd;
    out[8 - m] = even - odd;
  }
  out[4] = in[0] + in[2] * c[2][4] + in[4] * c[4][4] + in[6] * c[6][4] + in[8] * c[8][4];
}

// The 18-point DCT-IV y[m] = sum of x[k] cos(pi/72 (2m+1)(2k+1)), factorised: with
// u[k] = x[k] + x[k-1], y[m] = W[m] / (2 cos(pi (2m+1)/72)) where W is an 18-point DCT-III
// of u, split into two 9-point DCT-IIIs over the even and (again summed) odd terms.
template <typename T>
void DctIv18(const T x[18], T y[18]) {
  const ImdctConstants& k = Constants();
  T u[18];
  u[0] = x[0];
  for (int i = 1; i < 18; ++i) u[i] = x[i] + x[i - 1];
  T even[9];
  T odd[9];
  for (int j = 0; j < 9; ++j) even[j] = u[2 * j];
  odd[0] = u[1];
  for (int j = 1; j < 9; ++j) odd[j] = u[2 * j + 1] + u[2 * j - 1];
  T a[9];
  T b[9];
  DctIii9(even, a, k.cos9);
  DctIii9(odd, b, k.cos9);
  for (int m = 0; m < 9; ++m) {
    const T t = b[m] * k.oddTwiddle[m];
    y[m] = (a[m] + t) * k.outTwiddle[m];
    y[17 - m] = (a[m] - t) * k.outTwiddle[17 - m];
  }
}

void LongSubband(float* lines, float* overlap, const float* window) {
  float x[36];
  InverseMdct36(lines, x);
  for (int i = 0; i < 18; ++i) {
    lines[i] = x[i] * window[i] + overlap[i];
    overlap[i] = x[i + 18] * window[i + 18];
  }
}

// Four neighbouring long-block subbands at once.
void LongSubbands4(float* lines, float (*overlap)[kSlots], const float* window) {
  Float4 x[18];
  for (int k = 0; k < 18; ++k) {
    x[k] = Float4{lines[k], lines[kSlots + k], lines[2 * kSlots + k], lines[3 * kSlots + k]};
  }
  Float4 y[18];
  DctIv18(x, y);
  for (int i = 0; i < 18; ++i) {
    const Float4 first = (i < 9 ? y[i + 9] : -y[26 - i]) * window[i];
    const Float4 second = (i < 9 ? -y[8 - i] : -y[i - 9]) * window[i + 18];
    for (int s = 0; s < 4; ++s) {
      lines[s * kSlots + i] = first[s] + overlap[s][i];
      overlap[s][i] = second[s];
    }
  }
}

void ShortSubband(float* lines, float* overlap, const float* window) {
  float z[36] = {};
  for (int w = 0; w < 3; ++w) {
    float y[12];
    InverseMdct12(lines + w, 3, y);
    for (int i = 0; i < 12; ++i) z[6 + 6 * w + i] += y[i] * window[i];
  }
  for (int i = 0; i < 18; ++i) {
    lines[i] = z[i] + overlap[i];
    overlap[i] = z[i + 18];
  }
}

}  // namespace

void InverseMdct36(const float in[18], float out[36]) {
  float y[18];
  DctIv18<float>(in, y);
  for (int i = 0; i < 9; ++i) out[i] = y[i + 9];
  for (int i = 9; i < 27; ++i) out[i] = -y[26 - i];
  for (int i = 27; i < 36; ++i) out[i] = -y[i - 27];
}

void InverseMdct12(const float* in, int stride, float out[12]) {
  const auto& m = Constants().m6;
  float y[6];
  for (int n = 0; n < 6; ++n) {
    float sum = 0.0f;
    for (int k = 0; k < 6; ++k) sum += m[n][k] * in[k * stride];
    y[n] = sum;
  }
  for (int i = 0; i < 3; ++i) out[i] = y[i + 3];
  for (int i = 3; i < 9; ++i) out[i] = -y[8 - i];
  for (int i = 9; i < 12; ++i) out[i] = -y[i - 9];
}

void HybridFilterbank(float spectrum[kLines], float overlap[kSubbands][kSlots],
                      const GranuleInfo& g, int subbandLimit, int longSubbandsInMixed) {
  const DerivedTables& t = DerivedTables::Get();
  int sb = 0;
  if (!g.ShortBlocks()) {
    // A start or stop block with the mixed flag windows its two lowest subbands like a
    // normal long block (at every sampling rate).
    const int normalWindowSubbands = g.mixedBlock ? std::min(2, subbandLimit) : 0;
    for (; sb < normalWindowSubbands; ++sb) {
      LongSubband(spectrum + sb * kSlots, overlap[sb], t.imdctWindow[0]);
    }
    for (; sb + 4 <= subbandLimit; sb += 4) {
      LongSubbands4(spectrum + sb * kSlots, overlap + sb, t.imdctWindow[g.blockType]);
    }
  }
  for (; sb < kSubbands; ++sb) {
    float* lines = spectrum + sb * kSlots;
    if (sb >= subbandLimit) {
      std::memcpy(lines, overlap[sb], sizeof(float) * kSlots);
      std::memset(overlap[sb], 0, sizeof(float) * kSlots);
      continue;
    }
    if (g.ShortBlocks() && !(g.mixedBlock && sb < longSubbandsInMixed)) {
      ShortSubband(lines, overlap[sb], t.imdctWindow[2]);
    } else {
      const int type = g.ShortBlocks() ? 0 : g.blockType;
      LongSubband(lines, overlap[sb], t.imdctWindow[type]);
    }
  }
  for (int sb = 1; sb < kSubbands; sb += 2) {
    for (int i = 1; i < kSlots; i += 2) spectrum[sb * kSlots + i] = -spectrum[sb * kSlots + i];
  }
}

}  // namespace mpegaudio::layer3
