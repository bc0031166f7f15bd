// Joint stereo of one granule (ISO/IEC 11172-3 2.4.3.4.9, ISO/IEC 13818-3 2.4.3.2):
// mid/side below the intensity bound and in bands whose intensity position is illegal,
// intensity stereo above it. Optionally folds both channels into the left one.
#pragma once

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

// Notes in `g` the last non-zero long band and short band per window of `spectrum`.
void FindLastBands(const float spectrum[kLines], const BandLayout& bands, const MixedSplit& split,
                   GranuleInfo& g);

struct StereoInput {
  const FrameContext& ctx;
  const BandLayout& bands;
  const MixedSplit& split;
  const ScaleFactors& rightScaleFactors;
};

// Processes left/right in place; afterwards both granules carry the larger non-zero count.
void ProcessStereo(const StereoInput& in, float* left, float* right, GranuleInfo& leftInfo,
                   GranuleInfo& rightInfo);

// Left = (left + right) / 2 over the non-zero lines.
void DownmixToLeft(float* left, const float* right, int lines);

}  // namespace mpegaudio::layer3
