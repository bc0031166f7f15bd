#include "mpegaudio/layer3/ScaleFactorReader.h"

#include "mpegaudio/StandardTables.h"

namespace mpegaudio::layer3 {
namespace {

constexpr int kMpeg1Illegal = 7;

std::uint8_t IllegalPosition(int slen) {
  return static_cast<std::uint8_t>(slen == 0 ? 1 : (1 << slen) - 1);
}

void ClearShort(ScaleFactors& sf) {
  for (int b = 0; b < kShortBands; ++b) sf.shortBand[b][0] = sf.shortBand[b][1] = sf.shortBand[b][2] = 0;
}

// Reads short bands [first, last) with slen bits, three windows each.
void ReadShortBands(BitReader& bits, int first, int last, int slen, ScaleFactors& sf) {
  for (int b = first; b < last; ++b) {
    for (int w = 0; w < 3; ++w) sf.shortBand[b][w] = static_cast<std::uint8_t>(bits.Read(slen));
  }
}

}  // namespace

void ReadScaleFactorsMpeg1(BitReader& bits, const int scfsi[4], int granule,
                           const GranuleInfo& g, ScaleFactors& sf) {
  const int slen1 = tables::kSlenFlat[g.scalefacCompress * 2];
  const int slen2 = tables::kSlenFlat[g.scalefacCompress * 2 + 1];
  for (int b = 0; b < kLongBands; ++b) sf.illegalLong[b] = kMpeg1Illegal;
  for (int b = 0; b < kShortBands; ++b) sf.illegalShort[b] = kMpeg1Illegal;
  if (g.ShortBlocks()) {
    ClearShort(sf);
    int firstShort = 0;
    if (g.mixedBlock) {
      for (int b = 0; b < 8; ++b) sf.longBand[b] = static_cast<std::uint8_t>(bits.Read(slen1));
      for (int b = 8; b < kLongBands; ++b) sf.longBand[b] = 0;
      firstShort = 3;
    }
    ReadShortBands(bits, firstShort, 6, slen1, sf);
    ReadShortBands(bits, 6, 12, slen2, sf);
    return;
  }
  const std::uint8_t* groupStart = tables::kScfsiBands;
  for (int group = 0; group < 4; ++group) {
    if (granule == 1 && scfsi[group]) continue;  // keep the first granule's values
    const int slen = group < 2 ? slen1 : slen2;
    for (int b = groupStart[group]; b < groupStart[group + 1]; ++b) {
      sf.longBand[b] = static_cast<std::uint8_t>(bits.Read(slen));
    }
  }
  sf.longBand[21] = 0;
}

void ReadScaleFactorsMpeg2(BitReader& bits, bool intensityRightChannel, GranuleInfo& g,
                           ScaleFactors& sf) {
  int slen[4] = {0, 0, 0, 0};
  int row = 0;
  g.preflag = 0;
  g.intensityScale = 0;
  if (intensityRightChannel) {
    g.intensityScale = g.scalefacCompress & 1;
    int sfc = g.scalefacCompress >> 1;
    if (sfc < 180) {
      slen[0] = sfc / 36, slen[1] = (sfc % 36) / 6, slen[2] = (sfc % 36) % 6, row = 3;
    } else if (sfc < 244) {
      sfc -= 180;
      slen[0] = (sfc % 64) >> 4, slen[1] = (sfc % 16) >> 2, slen[2] = sfc % 4, row = 4;
    } else {
      sfc -= 244;
      slen[0] = sfc / 3, slen[1] = sfc % 3, row = 5;
    }
  } else {
    int sfc = g.scalefacCompress;
    if (sfc < 400) {
      slen[0] = (sfc >> 4) / 5, slen[1] = (sfc >> 4) % 5, slen[2] = (sfc % 16) >> 2;
      slen[3] = sfc % 4;
      row = 0;
    } else if (sfc < 500) {
      sfc -= 400;
      slen[0] = (sfc >> 2) / 5, slen[1] = (sfc >> 2) % 5, slen[2] = sfc % 4, row = 1;
    } else {
      sfc -= 500;
      slen[0] = sfc / 3, slen[1] = sfc % 3, row = 2;
      g.preflag = 1;
    }
  }
  const int kind = g.ShortBlocks() ? (g.mixedBlock ? 2 : 1) : 0;
  const std::uint8_t* counts = tables::kNrOfSfbFlat + (row * 3 + kind) * 4;

  sf = ScaleFactors{};
  const int longSlots = kind == 0 ? 21 : (kind == 2 ? 6 : 0);
  const int firstShort = kind == 2 ? 3 : 0;
  int slot = 0;
  for (int p = 0; p < 4; ++p) {
    const std::uint8_t illegal = IllegalPosition(slen[p]);
    for (int i = 0; i < counts[p]; ++i, ++slot) {
      const auto value = static_cast<std::uint8_t>(bits.Read(slen[p]));
      if (slot < longSlots) {
        sf.longBand[slot] = value;
        sf.illegalLong[slot] = illegal;
      } else {
        const int k = slot - longSlots;
        const int band = firstShort + k / 3;
        if (band >= kShortBands - 1) continue;
        sf.shortBand[band][k % 3] = value;
        sf.illegalShort[band] = illegal;
      }
    }
  }
}

}  // namespace mpegaudio::layer3
