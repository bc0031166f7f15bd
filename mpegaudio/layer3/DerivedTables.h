// Tables computed once from formulas of ISO/IEC 11172-3 / 13818-3 (gains, powers,
// intensity ratios, IMDCT windows, transform coefficients) and the synthesis window
// converted to float. Built on first use; read-only afterwards.
#pragma once

namespace mpegaudio::layer3 {

struct DerivedTables {
  float gain[128];        // 32768 * 2^(-i/4)
  float pow43[128];       // i^(4/3)
  float mpeg1IsLeft[7];   // tan(p*pi/12) / (1 + tan(p*pi/12)); position 6 gives 1
  float mpeg1IsRight[7];  // 1 / (1 + tan(p*pi/12)); position 6 gives 0
  float mpeg2IsFactor[2][64];  // k^p for k = 2^(-1/4), 2^(-1/2)
  float imdctWindow[4][36];    // block types 0..3 (type 2: the 12-point window in 0..11)
  float synthesisWindow[512];  // D[i]

  static const DerivedTables& Get();
};

// |v|^(4/3) for any quantised magnitude.
float Power43(int magnitude);

}  // namespace mpegaudio::layer3
