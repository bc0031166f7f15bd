// The hybrid filterbank of ISO/IEC 11172-3 2.4.3.4.10: inverse MDCT per subband (36 points
// for long blocks, three 12-point transforms for short blocks), windowing by block type,
// overlap-add with the previous granule, then frequency inversion.
#pragma once

#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

// Inverse MDCT of 18 lines to 36 samples (the standard's formula, computed through an
// 18-point DCT-IV).
void InverseMdct36(const float in[18], float out[36]);
// Inverse MDCT of 6 lines (every third value of `in`) to 12 samples.
void InverseMdct12(const float* in, int stride, float out[12]);

// Turns `spectrum` (32 subbands x 18 lines) into 32 subbands x 18 time samples in place.
// Subbands from `subbandLimit` on output only their stored overlap.
// `longSubbandsInMixed`: subbands of a mixed short block that use the normal long window.
// Start and stop blocks with the mixed flag use it for their two lowest subbands.
void HybridFilterbank(float spectrum[kLines], float overlap[kSubbands][kSlots],
                      const GranuleInfo& g, int subbandLimit, int longSubbandsInMixed);

}  // namespace mpegaudio::layer3
