// Requantisation (ISO/IEC 11172-3 2.4.3.4.7): line = sign * |v|^(4/3) * 2^(gain/4), with the
// gain table scaled by 32768 for 16-bit output. Gain indices outside 0..127 silence a band.
// The Huffman decoder applies the gains while it decodes (HuffmanDecoder.h); this part
// works out the gain of every band (every window of a short band) of one granule.
#pragma once

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

// Consecutive runs of lines with one gain each, covering lines 0..575. Every run ends on an
// even line, so a big-value pair never straddles two runs.
struct BandGains {
  static constexpr int kMaxRuns = 3 * kShortBands + 1;
  int end[kMaxRuns];     // first line after run r
  float gain[kMaxRuns];  // 0 for a band whose gain index is outside the table
  int count = 0;
};

void ComputeBandGains(const GranuleInfo& g, const ScaleFactors& sf, const BandLayout& bands,
                      const MixedSplit& split, BandGains& out);

}  // namespace mpegaudio::layer3
