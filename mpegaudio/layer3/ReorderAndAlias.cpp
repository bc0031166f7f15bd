#include "mpegaudio/layer3/ReorderAndAlias.h"

#include <algorithm>
#include <cstring>

#include "mpegaudio/StandardTables.h"

namespace mpegaudio::layer3 {

int NonZeroSubbands(int nonZeroLines) { return (nonZeroLines + kSlots - 1) / kSlots; }

void ReorderShortBlocks(float spectrum[kLines], GranuleInfo& g, const BandLayout& bands,
                        const MixedSplit& split) {
  if (!g.ShortBlocks()) return;
  float scratch[3 * 192];
  const int first = g.mixedBlock ? split.firstShortBand : 0;
  for (int b = first; b < kShortBands; ++b) {
    const int start = 3 * bands.ShortStart(b);
    const int width = bands.ShortWidth(b);
    if (start >= g.nonZeroLines) break;
    // A window's lines spread over the whole band: the non-zero count reaches its end.
    g.nonZeroLines = std::max(g.nonZeroLines, 3 * bands.ShortStart(b + 1));
    for (int w = 0; w < 3; ++w) {
      for (int i = 0; i < width; ++i) scratch[3 * i + w] = spectrum[start + w * width + i];
    }
    std::memcpy(spectrum + start, scratch, sizeof(float) * static_cast<std::size_t>(3 * width));
  }
}

void ReduceAliases(float spectrum[kLines], const GranuleInfo& g, bool is8kHz) {
  int boundaries = std::min(NonZeroSubbands(g.nonZeroLines), kSubbands - 1);
  if (g.ShortBlocks()) {
    if (!g.mixedBlock) return;
    boundaries = is8kHz ? 3 : 1;
  }
  for (int sb = 1; sb <= boundaries; ++sb) {
    float* lower = spectrum + sb * kSlots - 1;
    float* upper = spectrum + sb * kSlots;
    for (int i = 0; i < 8; ++i) {
      const float a = lower[-i];
      const float b = upper[i];
      lower[-i] = a * tables::kAliasCs[i] - b * tables::kAliasCa[i];
      upper[i] = b * tables::kAliasCs[i] + a * tables::kAliasCa[i];
    }
  }
}

}  // namespace mpegaudio::layer3
