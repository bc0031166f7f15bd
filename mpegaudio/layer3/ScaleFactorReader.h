// Scalefactors of one granule and channel: MPEG-1 (ISO/IEC 11172-3 2.4.2.7, with scfsi
// reuse in the second granule) and MPEG-2 / 2.5 (ISO/IEC 13818-3 2.4.3.2, partitions by
// scalefac_compress). Also notes each band's illegal intensity position.
#pragma once

#include "mpegaudio/layer3/BitReader.h"
#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

// `sf` holds the channel's values of the previous granule on entry (for scfsi).
void ReadScaleFactorsMpeg1(BitReader& bits, const int scfsi[4], int granule,
                           const GranuleInfo& g, ScaleFactors& sf);

// Sets g.preflag and g.intensityScale as the partition rules demand.
// `intensityRightChannel`: the right channel of a frame with intensity stereo.
void ReadScaleFactorsMpeg2(BitReader& bits, bool intensityRightChannel, GranuleInfo& g,
                           ScaleFactors& sf);

}  // namespace mpegaudio::layer3
