// The baseline build of the filterbank kernels, the transform coefficients, the choice of a
// build, and the scalar transforms kept for their tests.
#include <cmath>

#define MPEGAUDIO_KERNEL_NAME "baseline"
#include "mpegaudio/layer3/FilterbankKernels.inc"
#include "mpegaudio/layer3/HybridFilterbank.h"
#include "mpegaudio/layer3/PolyphaseSynthesis.h"

namespace mpegaudio::layer3 {

#if MPEGAUDIO_AVX2_KERNELS
const FilterbankKernels& Avx2KernelTable();  // FilterbankKernelsAvx2.cpp
#endif

namespace {

TransformConstants Compute() {
  TransformConstants c{};
  const double pi = std::acos(-1.0);
  for (int j = 0; j < 9; ++j) {
    for (int m = 0; m < 9; ++m) c.cos9[j][m] = static_cast<float>(std::cos(pi * j * (2 * m + 1) / 18));
    c.oddTwiddle[j] = static_cast<float>(0.5 / std::cos(pi * (2 * j + 1) / 36));
  }
  for (int m = 0; m < 18; ++m) c.outTwiddle[m] = static_cast<float>(0.5 / std::cos(pi * (2 * m + 1) / 72));
  for (int n = 0; n < 6; ++n) {
    for (int j = 0; j < 6; ++j) c.m6[n][j] = static_cast<float>(std::cos(pi / 24 * (2 * n + 1) * (2 * j + 1)));
  }
  for (int half = 1; half <= 16; half <<= 1) {
    for (int n = 0; n < half; ++n) {
      c.lee[half - 1 + n] = static_cast<float>(0.5 / std::cos((2 * n + 1) * pi / (4 * half)));
    }
  }
  return c;
}

}  // namespace

const TransformConstants& TransformConstants::Get() {
  static const TransformConstants constants = Compute();
  return constants;
}

const FilterbankKernels& BaselineKernels() { return kThisBuild; }

const FilterbankKernels* Avx2Kernels() {
#if MPEGAUDIO_AVX2_KERNELS
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return &Avx2KernelTable();
#endif
  return nullptr;
}

const FilterbankKernels& ChosenKernels() {
  static const FilterbankKernels& chosen = Avx2Kernels() ? *Avx2Kernels() : BaselineKernels();
  return chosen;
}

void InverseMdct36(const float in[18], float out[36]) { Imdct36(in, out, TransformConstants::Get()); }

void InverseMdct12(const float* in, int stride, float out[12]) {
  Imdct12(in, stride, out, TransformConstants::Get());
}

void Dct32(const float in[32], float out[32]) { Dct<32, float>(in, out, TransformConstants::Get().lee); }

}  // namespace mpegaudio::layer3
