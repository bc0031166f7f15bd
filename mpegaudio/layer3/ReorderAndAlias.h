// Short-block reordering and alias reduction (ISO/IEC 11172-3 2.4.3.4.8 and 2.4.3.4.10).
#pragma once

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

// Reorders the short bands (from band 0, or the first short band of a mixed block) from
// window-major to line-major order, extending g.nonZeroLines to the end of the last
// non-zero band.
void ReorderShortBlocks(float spectrum[kLines], GranuleInfo& g, const BandLayout& bands,
                        const MixedSplit& split);

// The butterflies at subband boundaries: min(nonZeroSubbands, 31) of them for long blocks,
// 1 for mixed blocks (3 for MPEG-2.5 at 8000 Hz), none for pure short blocks.
void ReduceAliases(float spectrum[kLines], const GranuleInfo& g, bool is8kHz);

int NonZeroSubbands(int nonZeroLines);

}  // namespace mpegaudio::layer3
