#include "mpegaudio/layer3/HybridFilterbank.h"

#include <cmath>
#include <cstring>

#include "mpegaudio/layer3/DerivedTables.h"

namespace mpegaudio::layer3 {
namespace {

// Cosine matrices of the DCT-IV of sizes 18 and 6:
// c[n][k] = cos(pi / (4N) * (2n + 1) * (2k + 1)).
struct DctIvMatrices {
  float m18[18][18];
  float m6[6][6];
  DctIvMatrices() {
    const double pi = std::acos(-1.0);
    for (int n = 0; n < 18; ++n) {
      for (int k = 0; k < 18; ++k) m18[n][k] = static_cast<float>(std::cos(pi / 72 * (2 * n + 1) * (2 * k + 1)));
    }
    for (int n = 0; n < 6; ++n) {
      for (int k = 0; k < 6; ++k) m6[n][k] = static_cast<float>(std::cos(pi / 24 * (2 * n + 1) * (2 * k + 1)));
    }
  }
};

const DctIvMatrices& Matrices() {
  static const DctIvMatrices m;
  return m;
}

void DctIv18(const float in[18], float out[18]) {
  const auto& m = Matrices().m18;
  for (int n = 0; n < 18; ++n) {
    float sum = 0.0f;
    for (int k = 0; k < 18; ++k) sum += m[n][k] * in[k];
    out[n] = sum;
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
  DctIv18(in, y);
  for (int i = 0; i < 9; ++i) out[i] = y[i + 9];
  for (int i = 9; i < 27; ++i) out[i] = -y[26 - i];
  for (int i = 27; i < 36; ++i) out[i] = -y[i - 27];
}

void InverseMdct12(const float* in, int stride, float out[12]) {
  const auto& m = Matrices().m6;
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
  for (int sb = 0; sb < kSubbands; ++sb) {
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
