#include "mpegaudio/layer3/HuffmanDecoder.h"

#include <algorithm>
#include <cstring>

#include "mpegaudio/StandardTables.h"
#include "mpegaudio/layer3/DerivedTables.h"

namespace mpegaudio::layer3 {
namespace {

constexpr std::uint32_t kNodeFlag = 0x80000000u;

// Bits taken from a BitReader window: each big-value pair or count1 quadruple needs at
// most 47 bits (a 19-bit code, two 13-bit linbits fields, two signs), so one window read
// per pair serves the whole pair.
class WindowBits {
 public:
  explicit WindowBits(std::uint64_t window) : window_(window) {}
  std::uint32_t Take(int n) {  // n = 1..63
    const auto value = static_cast<std::uint32_t>(window_ >> (64 - n));
    window_ <<= n;
    used_ += n;
    return value;
  }
  // The sign bit after a magnitude, consumed only when the magnitude is not zero
  // (without a branch on either).
  std::uint32_t Sign(std::uint32_t present) {
    const auto negative = static_cast<std::uint32_t>(window_ >> 63) & present;
    window_ <<= present;
    used_ += static_cast<int>(present);
    return negative;
  }
  int Symbol(const tables::HuffmanTableInfo& table) {
    int levelBits = table.rootBits;
    std::uint32_t entry = tables::kHuffmanLookup[table.offset + (window_ >> (64 - levelBits))];
    while (entry & kNodeFlag) {
      window_ <<= levelBits;
      used_ += levelBits;
      levelBits = static_cast<int>((entry >> 20) & 0x7FF);
      entry = tables::kHuffmanLookup[(entry & 0xFFFFF) + (window_ >> (64 - levelBits))];
    }
    const int length = static_cast<int>(entry >> 8);
    window_ <<= length;
    used_ += length;
    return static_cast<int>(entry & 0xFF);
  }
  // The sign bits of the `count` (0..4) non-zero values of a quadruple.
  std::uint32_t Signs(int count) {
    const auto value = static_cast<std::uint32_t>((window_ >> 1) >> (63 - count));
    window_ <<= count;
    used_ += count;
    return value;
  }
  int Used() const { return used_; }

 private:
  std::uint64_t window_;
  int used_ = 0;
};

using Lanes4 = std::uint32_t __attribute__((vector_size(16)));

// Count1 quadruples: for each value pattern vwxy (v first), the lanes that hold a 1.
struct QuadTables {
  alignas(16) std::uint32_t present[16][4];
  alignas(16) std::uint32_t signBit[16][4];  // by lane mask of negative values (bit 3: lane 0)
  // Lane mask of negative values from vwxy and its sign bits (first bit for the first
  // non-zero value, most significant first; popcount(vwxy) bits).
  std::uint8_t negative[16][16];
};

constexpr QuadTables MakeQuadTables() {
  QuadTables t{};
  for (int p = 0; p < 16; ++p) {
    for (int k = 0; k < 4; ++k) {
      t.present[p][k] = ((p >> (3 - k)) & 1) ? 0xFFFFFFFFu : 0u;
      t.signBit[p][k] = ((p >> (3 - k)) & 1) ? 0x80000000u : 0u;
    }
    const int count = __builtin_popcount(static_cast<unsigned>(p));
    for (int signs = 0; signs < (1 << count); ++signs) {
      int next = count - 1;  // the sign of the first present value is the highest bit
      std::uint8_t mask = 0;
      for (int k = 0; k < 4; ++k) {
        if (((p >> (3 - k)) & 1) == 0) continue;
        if ((signs >> next) & 1) mask = static_cast<std::uint8_t>(mask | (8 >> k));
        --next;
      }
      t.negative[p][signs] = mask;
    }
  }
  return t;
}

constexpr QuadTables kQuad = MakeQuadTables();

// One requantised line: |value|^(4/3) times the band's gain, with the sign bit that follows
// a non-zero magnitude.
inline float Line(WindowBits& w, int magnitude, int linbits, float gain, const float* pow43) {
  if (linbits != 0 && magnitude == 15) magnitude += static_cast<int>(w.Take(linbits));
  const std::uint32_t present = magnitude != 0 ? 1u : 0u;
  const std::uint32_t negative = w.Sign(present);
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
    WindowBits w(bits.Window());
    const int xy = w.Symbol(table);
    out[i] = Line(w, xy >> 4, table.linbits, gain, pow43);
    out[i + 1] = Line(w, xy & 15, table.linbits, gain, pow43);
    bits.Skip(static_cast<std::uint32_t>(w.Used()));
    if (xy != 0) last = (xy & 15) != 0 ? i + 2 : i + 1;
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
    WindowBits w(bits.Window());
    const auto vwxy = static_cast<std::uint32_t>(w.Symbol(quad));
    Seek(gains, line, run);
    float q[4];
    if (line + 4 <= gains.end[run]) {
      // Values are 0 or 1 times the run's gain: the gain's bits, kept or cleared, with the sign.
      std::uint32_t gainBits;
      std::memcpy(&gainBits, &gains.gain[run], sizeof gainBits);
      const std::uint32_t signs = w.Signs(__builtin_popcount(vwxy));
      Lanes4 present;
      Lanes4 sign;
      std::memcpy(&present, kQuad.present[vwxy], sizeof present);
      std::memcpy(&sign, kQuad.signBit[kQuad.negative[vwxy][signs]], sizeof sign);
      const Lanes4 words = (Lanes4{gainBits, gainBits, gainBits, gainBits} & present) | sign;
      std::memcpy(q, &words, sizeof q);
    } else {  // the quadruple straddles two bands
      for (int k = 0; k < 4; ++k) {
        Seek(gains, line + k, run);
        q[k] = Line(w, static_cast<int>((vwxy >> (3 - k)) & 1u), 0, gains.gain[run], pow43);
      }
    }
    bits.Skip(static_cast<std::uint32_t>(w.Used()));
    if (bits.Position() > endBit) break;  // overshoots part2_3_length: discarded
    std::memcpy(out + line, q, sizeof q);
    // The last of the four that is not zero: v (bit 3) comes first, y (bit 0) last.
    const int quadLast = line + 4 - __builtin_ctz(vwxy | 16u);  // `line` when all are zero
    last = vwxy != 0 ? quadLast : last;
    line += 4;
  }
  bits.SetPosition(endBit);
  std::memset(out + line, 0, sizeof(float) * static_cast<std::size_t>(kLines - line));
  return last;
}

}  // namespace mpegaudio::layer3
