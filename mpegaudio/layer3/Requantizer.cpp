#include "mpegaudio/layer3/Requantizer.h"

#include "mpegaudio/StandardTables.h"
#include "mpegaudio/layer3/DerivedTables.h"

namespace mpegaudio::layer3 {

void ComputeBandGains(const GranuleInfo& g, const ScaleFactors& sf, const BandLayout& bands,
                      const MixedSplit& split, BandGains& out) {
  const float* gainTable = DerivedTables::Get().gain;
  const auto gainOf = [gainTable](int index) { return index < 0 || index > 127 ? 0.0f : gainTable[index]; };
  const int scaleMul = 1 + g.scalefacScale;
  const int base = 210 - g.globalGain;
  int longBandEnd = kLongBands;
  int firstShort = kShortBands;
  if (g.ShortBlocks()) {
    longBandEnd = g.mixedBlock ? split.longBands : 0;
    firstShort = g.mixedBlock ? split.firstShortBand : 0;
  }
  out.count = 0;
  for (int b = 0; b < longBandEnd; ++b) {
    const int pre = g.preflag ? tables::kPretab[b] : 0;
    out.end[out.count] = bands.LongStart(b + 1);
    out.gain[out.count++] = gainOf(2 * (sf.longBand[b] + pre) * scaleMul + base);
  }
  for (int b = firstShort; b < kShortBands; ++b) {
    const int width = bands.ShortWidth(b);
    for (int w = 0; w < 3; ++w) {
      out.end[out.count] = 3 * bands.ShortStart(b) + (w + 1) * width;
      out.gain[out.count++] = gainOf(2 * (sf.shortBand[b][w] * scaleMul + 4 * g.subblockGain[w]) + base);
    }
  }
}

}  // namespace mpegaudio::layer3
