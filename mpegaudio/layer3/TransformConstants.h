// Coefficients of the fast transforms (inverse MDCT, 32-point DCT), computed once from
// their formulas.
#pragma once

namespace mpegaudio::layer3 {

struct TransformConstants {
  float cos9[9][9];      // cos(pi * j * (2m + 1) / 18): the 9-point DCT-III
  float oddTwiddle[9];   // 1 / (2 cos(pi (2m + 1) / 36))
  float outTwiddle[18];  // 1 / (2 cos(pi (2m + 1) / 72))
  float m6[6][6];        // cos(pi / 24 * (2n + 1) * (2k + 1))
  // 1 / (2 cos((2n + 1) pi / (2N))) for N = 32, 16, 8, 4, 2, stored at offset N/2 - 1.
  float lee[32];

  static const TransformConstants& Get();
};

}  // namespace mpegaudio::layer3
