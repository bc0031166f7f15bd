#include "mpegaudio/layer3/HuffmanDecoder.h"

#include <algorithm>
#include <cstring>

#include "mpegaudio/StandardTables.h"

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

inline int SignedValue(BitReader& bits, int magnitude, int linbits) {
  if (linbits != 0 && magnitude == 15) magnitude += static_cast<int>(bits.Read(linbits));
  // A sign bit follows a non-zero magnitude; taken without a branch on its value.
  const int present = magnitude != 0 ? 1 : 0;
  const int negative = static_cast<int>(bits.Peek(1)) & present;
  bits.Skip(static_cast<std::uint32_t>(present));
  return (magnitude ^ -negative) + negative;
}

void DecodeBigValues(BitReader& bits, int tableSelect, int begin, int end, int* values) {
  const tables::HuffmanTableInfo& table = tables::kHuffmanTables[tableSelect];
  if (table.rootBits == 0) return;  // table 0 (and the unused 4 and 14): all zero
  for (int i = begin; i < end; i += 2) {
    const int xy = DecodeSymbol(bits, table);
    values[i] = SignedValue(bits, xy >> 4, table.linbits);
    values[i + 1] = SignedValue(bits, xy & 15, table.linbits);
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
                   const BandLayout& bands, bool mpeg1, int values[kLines]) {
  std::memset(values, 0, sizeof(int) * kLines);
  const int bigEnd = std::min(2 * g.bigValues, kLines);
  int region1 = 0;
  int region2 = 0;
  RegionBoundaries(g, bands, mpeg1, region1, region2);
  DecodeBigValues(bits, g.tableSelect[0], 0, region1, values);
  DecodeBigValues(bits, g.tableSelect[1], region1, region2, values);
  DecodeBigValues(bits, g.tableSelect[2], region2, bigEnd, values);

  const tables::HuffmanTableInfo& quad = tables::kHuffmanTables[32 + g.count1Table];
  int line = bigEnd;
  while (bits.Position() < endBit && line <= kLines - 4) {
    const int vwxy = DecodeSymbol(bits, quad);
    int q[4];
    for (int k = 0; k < 4; ++k) q[k] = SignedValue(bits, (vwxy >> (3 - k)) & 1, 0);
    if (bits.Position() > endBit) break;  // overshoots part2_3_length: discarded
    for (int k = 0; k < 4; ++k) values[line + k] = q[k];
    line += 4;
  }
  bits.SetPosition(endBit);

  int count = line;
  while (count > 0 && values[count - 1] == 0) --count;
  return count;
}

}  // namespace mpegaudio::layer3
