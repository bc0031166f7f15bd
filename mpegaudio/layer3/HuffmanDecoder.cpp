#include "mpegaudio/layer3/HuffmanDecoder.h"

#include <algorithm>
#include <cstring>

#include "mpegaudio/StandardTables.h"
#include "mpegaudio/layer3/DerivedTables.h"

namespace mpegaudio::layer3 {
namespace {

constexpr std::uint32_t kNodeFlag = 0x80000000u;

// Walks the lookup table of one code table; returns the leaf value.
inline int DecodeSymbol(BitReader& bits, const tables::HuffmanTableInfo& table) {
  int levelBits = table.rootBits;
  std::uint32_t entry = tables::kHuffmanLookup[table.offset + bits.Peek(levelBits)];
  while (entry & kNodeFlag) {
    bits.Skip(static_cast<std::uint32_t>(levelBits));
    levelBits = static_cast<int>((entry >> 20) & 0x7FF);
    entry = tables::kHuffmanLookup[(entry & 0xFFFFF) + bits.Peek(levelBits)];
  }
  bits.Skip(entry >> 8);
  return static_cast<int>(entry & 0xFF);
}

// One requantised line: the magnitude (with its linbits) to the power 4/3 times the band's
// gain, then the sign bit that follows a non-zero magnitude, taken without a branch on its
// value. `last` becomes `line` + 1 when the magnitude is not zero.
inline float Line(BitReader& bits, int magnitude, int linbits, float gain, const float* pow43,
                  int line, int& last) {
  if (linbits != 0 && magnitude == 15) magnitude += static_cast<int>(bits.Read(linbits));
  const std::uint32_t present = magnitude != 0 ? 1u : 0u;
  const std::uint32_t negative = bits.Peek(1) & present;
  bits.Skip(present);
  last = present ? line + 1 : last;
  const float m = (magnitude < 128 ? pow43[magnitude] : Power43(magnitude)) * gain;
  std::uint32_t word;
  std::memcpy(&word, &m, sizeof word);
  word |= negative << 31;
  float out;
  std::memcpy(&out, &word, sizeof out);
  return out;
}

// Moves `run` forward to the gain run holding `line`.
inline void Seek(const BandGains& gains, int line, int& run) {
  while (run < gains.count - 1 && line >= gains.end[run]) ++run;
}

void DecodeBigValues(BitReader& bits, int tableSelect, int begin, int end, const BandGains& gains,
                     const float* pow43, float* out, int& run, int& last) {
  const tables::HuffmanTableInfo& table = tables::kHuffmanTables[tableSelect];
  if (table.rootBits == 0) {  // table 0 (and the unused 4 and 14): all zero
    if (end > begin) std::memset(out + begin, 0, sizeof(float) * static_cast<std::size_t>(end - begin));
    return;
  }
  Seek(gains, begin, run);
  float gain = gains.gain[run];
  int runEnd = gains.end[run];
  for (int i = begin; i < end; i += 2) {
    if (i >= runEnd) {
      Seek(gains, i, run);
      gain = gains.gain[run];
      runEnd = gains.end[run];
    }
    const int xy = DecodeSymbol(bits, table);
    out[i] = Line(bits, xy >> 4, table.linbits, gain, pow43, i, last);
    out[i + 1] = Line(bits, xy & 15, table.linbits, gain, pow43, i + 1, last);
  }
}

}  // namespace

void RegionBoundaries(const GranuleInfo& g, const BandLayout& bands, bool mpeg1, int& region1,
                      int& region2) {
  const int bigEnd = std::min(2 * g.bigValues, kLines);
  if (g.ShortBlocks()) {
    if (!g.mixedBlock) {
      region1 = 3 * bands.ShortStart((g.region0Count + 1) / 3);
    } else if (mpeg1) {
      region1 = bands.LongStart(std::min(g.region0Count + 1, kLongBands));
    } else {
      region1 = bands.LongStart(6) + 2 * (bands.ShortStart(4) - bands.ShortStart(3));
    }
    region2 = kLines;
  } else {
    region1 = bands.LongStart(std::min(g.region0Count + 1, kLongBands));
    region2 = bands.LongStart(std::min(g.region0Count + g.region1Count + 2, kLongBands));
  }
  region1 = std::min(region1, bigEnd);
  region2 = std::clamp(region2, region1, bigEnd);
}

int DecodeSpectrum(BitReader& bits, std::uint32_t endBit, const GranuleInfo& g,
                   const BandLayout& bands, bool mpeg1, const BandGains& gains, float out[kLines]) {
  const float* pow43 = DerivedTables::Get().pow43;
  const int bigEnd = std::min(2 * g.bigValues, kLines);
  int region1 = 0;
  int region2 = 0;
  RegionBoundaries(g, bands, mpeg1, region1, region2);
  int run = 0;
  int last = 0;
  DecodeBigValues(bits, g.tableSelect[0], 0, region1, gains, pow43, out, run, last);
  DecodeBigValues(bits, g.tableSelect[1], region1, region2, gains, pow43, out, run, last);
  DecodeBigValues(bits, g.tableSelect[2], region2, bigEnd, gains, pow43, out, run, last);

  const tables::HuffmanTableInfo& quad = tables::kHuffmanTables[32 + g.count1Table];
  int line = bigEnd;
  while (bits.Position() < endBit && line <= kLines - 4) {
    const int vwxy = DecodeSymbol(bits, quad);
    float q[4];
    int quadLast = last;
    for (int k = 0; k < 4; ++k) {
      Seek(gains, line + k, run);
      q[k] = Line(bits, (vwxy >> (3 - k)) & 1, 0, gains.gain[run], pow43, line + k, quadLast);
    }
    if (bits.Position() > endBit) break;  // overshoots part2_3_length: discarded
    std::memcpy(out + line, q, sizeof q);
    last = quadLast;
    line += 4;
  }
  bits.SetPosition(endBit);
  std::memset(out + line, 0, sizeof(float) * static_cast<std::size_t>(kLines - line));
  return last;
}

}  // namespace mpegaudio::layer3
