// Test helper: writes Layer III frames with chosen side information, scalefactor bits and
// quantised spectra (Huffman-coded with the decoder's own code tables, walked backwards),
// so that tests can build streams that encoders never make.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "mpegaudio/FrameHeader.h"
#include "mpegaudio/StandardTables.h"
#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/Crc16.h"
#include "mpegaudio/layer3/HuffmanDecoder.h"
#include "tests/mpegaudio/StreamWriter.h"

namespace mpegaudio::test {

struct Code {
  std::uint32_t bits;
  int length;
};

// Code words of one table, recovered from the decoder's lookup tables.
inline std::map<int, Code> CodeBook(int table) {
  std::map<int, Code> book;
  const tables::HuffmanTableInfo& info = tables::kHuffmanTables[table];
  struct Walker {
    std::map<int, Code>& book;
    void Walk(std::uint32_t offset, int bits, std::uint32_t prefix, int prefixLen) {
      for (std::uint32_t idx = 0; idx < (1u << bits); ++idx) {
        const std::uint32_t e = tables::kHuffmanLookup[offset + idx];
        if (e & 0x80000000u) {
          Walk(e & 0xFFFFF, static_cast<int>((e >> 20) & 0x7FF), (prefix << bits) | idx,
               prefixLen + bits);
        } else {
          const int len = static_cast<int>(e >> 8);
          const int value = static_cast<int>(e & 0xFF);
          if (!book.count(value)) {
            book[value] = {(prefix << len) | (idx >> (bits - len)), prefixLen + len};
          }
        }
      }
    }
  } walker{book};
  if (info.rootBits != 0) walker.Walk(info.offset, info.rootBits, 0, 0);
  return book;
}

struct GranuleFields {
  int globalGain = 170;
  int scalefacCompress = 0;
  int windowSwitching = 0;
  int blockType = 0;
  int mixedBlock = 0;
  int table = 15;  // big-value region 0 (linbits tables for large values)
  int regionTable = -1;  // regions 1 and 2; -1: the same as `table`
  int subblockGain[3] = {0, 0, 0};
  int region0Count = 7;
  int region1Count = 7;
  int preflag = 0;
  int scalefacScale = 0;
  std::vector<std::pair<std::uint32_t, int>> part2;  // scalefactor bits: (value, width)
  std::vector<int> lines;                            // quantised values, up to 576
  int bigValuesOverride = -1;
};

struct FrameFields {
  HeaderFields header;
  int mainDataBegin = 0;
  int scfsi[2] = {0, 0};  // 4 bits per channel
  GranuleFields granule[2][2];
  bool corruptCrc = false;
};

inline int RegionTable(const GranuleFields& g) { return g.regionTable >= 0 ? g.regionTable : g.table; }

// The line where big-value region 1 starts, by the decoder's own rule (a stream written with
// a wrong rule decodes differently in a reference decoder).
inline int Region1Start(const GranuleFields& g, int bandTable, bool mpeg1, int bigValues) {
  layer3::GranuleInfo info;
  info.windowSwitching = g.windowSwitching;
  info.blockType = g.blockType;
  info.mixedBlock = g.mixedBlock;
  info.region0Count = g.windowSwitching ? (g.blockType == 2 && !g.mixedBlock ? 8 : 7) : g.region0Count;
  info.region1Count = g.windowSwitching ? 20 - info.region0Count : g.region1Count;
  info.bigValues = bigValues;
  int region1 = 0;
  int region2 = 0;
  layer3::RegionBoundaries(info, layer3::BandLayout::ForTable(bandTable), mpeg1, region1, region2);
  return region1;
}

inline void PutBigValues(BitWriter& w, const GranuleFields& g, int bigValues, int region1) {
  const auto firstBook = CodeBook(g.table);
  const auto restBook = CodeBook(RegionTable(g));
  for (int i = 0; i < 2 * bigValues; i += 2) {
    const auto& book = i < region1 ? firstBook : restBook;
    const int linbits = tables::kHuffmanTables[i < region1 ? g.table : RegionTable(g)].linbits;
    int v[2] = {i < static_cast<int>(g.lines.size()) ? g.lines[i] : 0,
                i + 1 < static_cast<int>(g.lines.size()) ? g.lines[i + 1] : 0};
    int mag[2] = {std::abs(v[0]), std::abs(v[1])};
    int sym[2] = {std::min(mag[0], 15), std::min(mag[1], 15)};
    const Code c = book.at(sym[0] << 4 | sym[1]);
    w.Put(c.bits, c.length);
    for (int k = 0; k < 2; ++k) {
      if (linbits > 0 && sym[k] == 15) w.Put(static_cast<std::uint32_t>(mag[k] - 15), linbits);
      if (mag[k] != 0) w.PutBit(v[k] < 0 ? 1 : 0);
    }
  }
}

// Main data of one granule; returns big_values.
inline int PutGranuleData(BitWriter& w, const GranuleFields& g, int bandTable, bool mpeg1) {
  for (const auto& [value, width] : g.part2) w.Put(value, width);
  int last = static_cast<int>(g.lines.size());
  while (last > 0 && g.lines[last - 1] == 0) --last;
  const int bigValues = g.bigValuesOverride >= 0 ? g.bigValuesOverride : (last + 1) / 2;
  if (g.bigValuesOverride < 0 || g.bigValuesOverride <= 288) {
    PutBigValues(w, g, bigValues, Region1Start(g, bandTable, mpeg1, bigValues));
  }
  return bigValues;
}

inline void PutGranuleSide(BitWriter& w, const GranuleFields& g, bool mpeg1, int part23,
                           int bigValues) {
  w.Put(static_cast<std::uint32_t>(part23), 12);
  w.Put(static_cast<std::uint32_t>(bigValues), 9);
  w.Put(static_cast<std::uint32_t>(g.globalGain), 8);
  w.Put(static_cast<std::uint32_t>(g.scalefacCompress), mpeg1 ? 4 : 9);
  w.Put(static_cast<std::uint32_t>(g.windowSwitching), 1);
  if (g.windowSwitching) {
    w.Put(static_cast<std::uint32_t>(g.blockType), 2);
    w.Put(static_cast<std::uint32_t>(g.mixedBlock), 1);
    w.Put(static_cast<std::uint32_t>(g.table), 5);
    w.Put(static_cast<std::uint32_t>(RegionTable(g)), 5);
    for (int s : g.subblockGain) w.Put(static_cast<std::uint32_t>(s), 3);
  } else {
    w.Put(static_cast<std::uint32_t>(g.table), 5);
    for (int r = 1; r < 3; ++r) w.Put(static_cast<std::uint32_t>(RegionTable(g)), 5);
    w.Put(static_cast<std::uint32_t>(g.region0Count), 4);
    w.Put(static_cast<std::uint32_t>(g.region1Count), 3);
  }
  if (mpeg1) w.Put(static_cast<std::uint32_t>(g.preflag), 1);
  w.Put(static_cast<std::uint32_t>(g.scalefacScale), 1);
  w.Put(0, 1);  // count1 table A (no count1 region is written)
}

// Appends one frame to `out` (bit-exact, no byte alignment required). Returns false when
// the main data did not fit into the frame and was cut.
inline bool PutFrame(BitWriter& out, const FrameFields& f) {
  FrameHeader h;
  const std::uint32_t headerWord = HeaderWord(f.header);
  h.Parse(headerWord);
  const bool mpeg1 = h.version == 0;
  const int channels = h.channels;
  const int granules = mpeg1 ? 2 : 1;
  BitWriter main;
  int part23[2][2] = {};
  int bigValues[2][2] = {};
  for (int gr = 0; gr < granules; ++gr) {
    for (int ch = 0; ch < channels; ++ch) {
      const std::size_t before = main.BitCount();
      bigValues[gr][ch] = PutGranuleData(main, f.granule[gr][ch], h.version * 3 + h.samplingRateIndex, mpeg1);
      part23[gr][ch] = static_cast<int>(main.BitCount() - before);
    }
  }
  BitWriter side;
  if (mpeg1) {
    side.Put(static_cast<std::uint32_t>(f.mainDataBegin), 9);
    side.Put(0, channels == 1 ? 5 : 3);
    for (int ch = 0; ch < channels; ++ch) side.Put(static_cast<std::uint32_t>(f.scfsi[ch]), 4);
  } else {
    side.Put(static_cast<std::uint32_t>(f.mainDataBegin), 8);
    side.Put(0, channels == 1 ? 1 : 2);
  }
  for (int gr = 0; gr < granules; ++gr) {
    for (int ch = 0; ch < channels; ++ch) {
      PutGranuleSide(side, f.granule[gr][ch], mpeg1, part23[gr][ch], bigValues[gr][ch]);
    }
  }
  out.Put(headerWord, 32);
  if (f.header.crc) {
    layer3::Crc16 crc;
    crc.AddBits(headerWord & 0xFFFF, 16);
    for (std::uint8_t b : side.Bytes()) crc.AddByte(b);
    out.Put(static_cast<std::uint32_t>(crc.Value() ^ (f.corruptCrc ? 0x1234 : 0)), 16);
  }
  out.PutBytes(side.Bytes());
  const std::size_t mainBits = static_cast<std::size_t>(h.frameSizeBits) - 32 -
                               (f.header.crc ? 16 : 0) - side.Bytes().size() * 8;
  const std::vector<std::uint8_t>& data = main.Bytes();
  for (std::size_t i = 0; i < mainBits / 8; ++i) out.Put(i < data.size() ? data[i] : 0, 8);
  return data.size() <= mainBits / 8;
}

}  // namespace mpegaudio::test
