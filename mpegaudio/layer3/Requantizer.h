// Requantisation (ISO/IEC 11172-3 2.4.3.4.7): line = sign * |v|^(4/3) * 2^(gain/4), with the
// gain table scaled by 32768 for 16-bit output. Gain indices outside 0..127 silence a band.
#pragma once

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

void Requantize(const int values[kLines], const GranuleInfo& g, const ScaleFactors& sf,
                const BandLayout& bands, const MixedSplit& split, float out[kLines]);

}  // namespace mpegaudio::layer3
