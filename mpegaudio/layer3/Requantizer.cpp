#include "mpegaudio/layer3/Requantizer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "mpegaudio/StandardTables.h"
#include "mpegaudio/layer3/DerivedTables.h"

namespace mpegaudio::layer3 {
namespace {

void ScaleLines(const int* values, int begin, int end, int gainIndex, float* out) {
  if (begin >= end) return;
  if (gainIndex < 0 || gainIndex > 127) {
    std::memset(out + begin, 0, sizeof(float) * static_cast<std::size_t>(end - begin));
    return;
  }
  const DerivedTables& t = DerivedTables::Get();
  const float gain = t.gain[gainIndex];
  bool large = false;
  for (int i = begin; i < end; ++i) {
    const int v = values[i];
    const int magnitude = v < 0 ? -v : v;
    large |= magnitude > 127;
    // The sign goes in as a bit: a branch on random signs mispredicts half the time.
    const float m = t.pow43[magnitude > 127 ? 127 : magnitude] * gain;
    std::uint32_t bits;
    std::memcpy(&bits, &m, sizeof bits);
    bits |= static_cast<std::uint32_t>(v) & 0x80000000u;
    std::memcpy(&out[i], &bits, sizeof bits);
  }
  if (!large) return;
  for (int i = begin; i < end; ++i) {  // the rare magnitudes beyond the table
    const int v = values[i];
    if (v > 127 || v < -127) out[i] = (v < 0 ? -Power43(-v) : Power43(v)) * gain;
  }
}

}  // namespace

void Requantize(const int values[kLines], const GranuleInfo& g, const ScaleFactors& sf,
                const BandLayout& bands, const MixedSplit& split, float out[kLines]) {
  const int limit = g.nonZeroLines;
  const int scaleMul = 1 + g.scalefacScale;
  const int base = 210 - g.globalGain;
  int longBandEnd = kLongBands;
  int firstShort = kShortBands;
  if (g.ShortBlocks()) {
    longBandEnd = g.mixedBlock ? split.longBands : 0;
    firstShort = g.mixedBlock ? split.firstShortBand : 0;
  }
  for (int b = 0; b < longBandEnd; ++b) {
    const int begin = bands.LongStart(b);
    if (begin >= limit) break;
    const int end = std::min(bands.LongStart(b + 1), limit);
    const int pre = g.preflag ? tables::kPretab[b] : 0;
    ScaleLines(values, begin, end, 2 * (sf.longBand[b] + pre) * scaleMul + base, out);
  }
  for (int b = firstShort; b < kShortBands; ++b) {
    const int width = bands.ShortWidth(b);
    for (int w = 0; w < 3; ++w) {
      const int begin = 3 * bands.ShortStart(b) + w * width;
      if (begin >= limit) break;
      const int end = std::min(begin + width, limit);
      const int gainIndex =
          2 * (sf.shortBand[b][w] * scaleMul + 4 * g.subblockGain[w]) + base;
      ScaleLines(values, begin, end, gainIndex, out);
    }
  }
  std::memset(out + limit, 0, sizeof(float) * static_cast<std::size_t>(kLines - limit));
}

}  // namespace mpegaudio::layer3
