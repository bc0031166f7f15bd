// Scalefactor band boundaries for one sampling rate (ISO/IEC 11172-3 Table 3-B.8,
// ISO/IEC 13818-3 Table B.2, MPEG-2.5 rows).
#pragma once

#include <cstdint>

#include "mpegaudio/StandardTables.h"

namespace mpegaudio::layer3 {

struct BandLayout {
  const std::int16_t* longBound;   // 23 boundaries in lines
  const std::int16_t* shortBound;  // 14 boundaries in lines of one window

  static BandLayout ForTable(int bandTable) {
    return {tables::kLongBandFlat + bandTable * 23, tables::kShortBandFlat + bandTable * 14};
  }
  int LongStart(int band) const { return longBound[band]; }
  int LongWidth(int band) const { return longBound[band + 1] - longBound[band]; }
  int ShortStart(int band) const { return shortBound[band]; }
  int ShortWidth(int band) const { return shortBound[band + 1] - shortBound[band]; }
};

// Long bands and the first line of the short part in a mixed block.
struct MixedSplit {
  int longBands;   // 8 for MPEG-1, 6 otherwise
  int firstShortBand = 3;
  int line;        // 36, or 72 for MPEG-2.5 at 8000 Hz
};

inline MixedSplit MixedSplitFor(bool mpeg1, int bandTable) {
  if (mpeg1) return {8, 3, 36};
  return {6, 3, bandTable == 8 ? 72 : 36};
}

}  // namespace mpegaudio::layer3
