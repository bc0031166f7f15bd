// Stages of the Layer III pipeline checked against the formulas of ISO/IEC 11172-3.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/Crc16.h"
#include "mpegaudio/layer3/DerivedTables.h"
#include "mpegaudio/layer3/FilterbankKernels.h"
#include "mpegaudio/layer3/HuffmanDecoder.h"
#include "mpegaudio/layer3/HybridFilterbank.h"
#include "mpegaudio/layer3/MainDataReservoir.h"
#include "mpegaudio/layer3/PcmWriter.h"
#include "mpegaudio/layer3/PolyphaseSynthesis.h"
#include "mpegaudio/layer3/Requantizer.h"
#include "mpegaudio/layer3/SubtractiveRandom.h"
#include "tests/mpegaudio/Layer3StreamWriter.h"

namespace mpegaudio::layer3 {
namespace {

const double kPi = std::acos(-1.0);

TEST(Layer3StageTest, Crc16CheckValue) {
  Crc16 crc;
  for (char c : std::string("123456789")) crc.AddByte(static_cast<std::uint8_t>(c));
  EXPECT_EQ(crc.Value(), 0xAEE7);  // polynomial 0x8005, preset 0xFFFF, not reflected
  Crc16 bitwise;
  for (char c : std::string("123456789")) bitwise.AddBits(static_cast<std::uint8_t>(c), 8);
  EXPECT_EQ(bitwise.Value(), 0xAEE7);
}

TEST(Layer3StageTest, Dct32MatchesTheMatrixing) {
  float in[32];
  for (int i = 0; i < 32; ++i) in[i] = static_cast<float>(std::sin(i * 1.7) * 1000);
  float out[32];
  Dct32(in, out);
  for (int k = 0; k < 32; ++k) {
    double ref = 0;
    for (int n = 0; n < 32; ++n) ref += in[n] * std::cos((2 * n + 1) * k * kPi / 64);
    EXPECT_NEAR(out[k], ref, 1e-2) << k;
  }
}

TEST(Layer3StageTest, InverseMdctsMatchTheFormula) {
  float in[18];
  for (int i = 0; i < 18; ++i) in[i] = static_cast<float>(std::cos(i * 0.9) * 100);
  float out[36];
  InverseMdct36(in, out);
  for (int i = 0; i < 36; ++i) {
    double ref = 0;
    for (int k = 0; k < 18; ++k) ref += in[k] * std::cos(kPi / 72 * (2 * i + 1 + 18) * (2 * k + 1));
    EXPECT_NEAR(out[i], ref, 1e-3) << i;
  }
  float shortOut[12];
  InverseMdct12(in, 3, shortOut);
  for (int i = 0; i < 12; ++i) {
    double ref = 0;
    for (int k = 0; k < 6; ++k) ref += in[3 * k] * std::cos(kPi / 24 * (2 * i + 1 + 6) * (2 * k + 1));
    EXPECT_NEAR(shortOut[i], ref, 1e-3) << i;
  }
}

// Every build of the filterbank kernels the CPU runs gives the same samples (up to float
// rounding) for long, start, mixed stop and short granules and the synthesis that follows.
TEST(Layer3StageTest, FilterbankKernelBuildsAgree) {
  std::vector<const FilterbankKernels*> builds = {&BaselineKernels()};
  if (Avx2Kernels() != nullptr) builds.push_back(Avx2Kernels());
  const DerivedTables& tables = DerivedTables::Get();
  const TransformConstants& k = TransformConstants::Get();
  std::vector<std::vector<float>> results;
  for (const FilterbankKernels* build : builds) {
    std::vector<float> pcmOut;
    float overlap[kSubbands][kSlots] = {};
    alignas(32) float history[2][16][64] = {};
    int slot = 0;
    std::uint32_t state = 7;
    for (int granule = 0; granule < 8; ++granule) {
      GranuleInfo g;
      g.windowSwitching = granule % 4 != 0;
      g.blockType = granule % 4;
      g.mixedBlock = granule % 4 == 3;
      float spectrum[kLines];
      for (float& line : spectrum) {
        state = state * 1103515245u + 12345u;
        line = static_cast<float>(static_cast<int>(state >> 16) % 2001 - 1000);
      }
      build->hybrid(spectrum, overlap, g, 27, 2, tables.imdctWindow, k);
      float pcm[kLines];
      const float* subbands[1] = {spectrum};
      float* out[1] = {pcm};
      build->synthesize(subbands, 1, out, history, slot, tables.synthesisWindow, k);
      pcmOut.insert(pcmOut.end(), pcm, pcm + kLines);
    }
    results.push_back(pcmOut);
  }
  for (std::size_t b = 1; b < results.size(); ++b) {
    SCOPED_TRACE(builds[b]->name);
    for (std::size_t i = 0; i < results[0].size(); ++i) {
      ASSERT_NEAR(results[b][i], results[0][i], 0.05) << i;  // samples reach about 1e5
    }
  }
}

TEST(Layer3StageTest, GainIndexOutsideTheTableSilencesTheBand) {
  const BandLayout bands = BandLayout::ForTable(0);
  GranuleInfo g;
  g.globalGain = 250;
  g.scalefacScale = 1;
  ScaleFactors sf;
  sf.longBand[0] = 15;  // 2 * 15 * 2 - 250 + 210 = 20: inside the table
  BandGains gains;
  ComputeBandGains(g, sf, bands, MixedSplitFor(true, 0), gains);
  ASSERT_EQ(gains.count, kLongBands);
  EXPECT_EQ(gains.end[0], 4);
  EXPECT_EQ(gains.end[kLongBands - 1], kLines);
  EXPECT_NEAR(gains.gain[0], 32768 * std::pow(2.0, -20 / 4.0), 1e-2);
  EXPECT_EQ(gains.gain[10], 0.0f);  // scalefactor 0: index -40
}

TEST(Layer3StageTest, ShortBandGainsFollowWindowsAndSubblockGain) {
  const BandLayout bands = BandLayout::ForTable(0);
  GranuleInfo g;
  g.windowSwitching = 1;
  g.blockType = 2;
  g.mixedBlock = 1;
  g.globalGain = 210;
  g.subblockGain[1] = 1;  // window 1 of every short band: index 8
  ScaleFactors sf;
  BandGains gains;
  ComputeBandGains(g, sf, bands, MixedSplitFor(true, 0), gains);
  ASSERT_EQ(gains.count, 8 + 3 * 10);  // 8 long bands, then short bands 3..12
  EXPECT_EQ(gains.end[7], 36);
  EXPECT_EQ(gains.end[8], 40);  // short band 3, window 0: lines 36..39
  EXPECT_EQ(gains.end[9], 44);
  EXPECT_EQ(gains.gain[8], 32768.0f);
  EXPECT_NEAR(gains.gain[9], 32768 * std::pow(2.0, -2.0), 1e-3);
  EXPECT_EQ(gains.end[gains.count - 1], kLines);
}

TEST(Layer3StageTest, Count1QuadrupleBeyondPart23LengthIsDiscarded) {
  const auto book = test::CodeBook(33);  // count1 table B
  test::BitWriter w;
  for (int q = 0; q < 2; ++q) {
    const test::Code c = book.at(8);  // v = 1
    w.Put(c.bits, c.length);
    w.PutBit(1);  // negative
  }
  for (int i = 0; i < BitReader::kPaddingBytes; ++i) w.Put(0, 8);
  const std::vector<std::uint8_t> bytes = w.Bytes();
  GranuleInfo g;
  g.count1Table = 1;
  BandGains unit;
  unit.end[0] = kLines;
  unit.gain[0] = 1.0f;
  unit.count = 1;
  float values[kLines];
  std::fill(values, values + kLines, 7.0f);
  // Room for the first quadruple only (5 bits) plus 3 bits.
  BitReader bits(bytes.data(), 0,
                 static_cast<std::uint32_t>((bytes.size() - BitReader::kPaddingBytes) * 8));
  const int count = DecodeSpectrum(bits, 8, g, BandLayout::ForTable(0), true, unit, values);
  EXPECT_EQ(values[0], -1.0f);
  EXPECT_EQ(values[4], 0.0f);
  EXPECT_EQ(values[kLines - 1], 0.0f);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(bits.Position(), 8u);
}

TEST(Layer3StageTest, ReservoirNeedsMainDataBeginBytesOfHistory) {
  MainDataReservoir r;
  std::vector<std::uint8_t> a(300, 0xAA);
  std::vector<std::uint8_t> b(300, 0xBB);
  EXPECT_FALSE(r.AppendFrame(a.data(), 300, 10));
  EXPECT_TRUE(r.AppendFrame(b.data(), 300, 10));
  BitReader bits = r.ReaderForFrame();
  EXPECT_EQ(bits.Read(8), 0xAAu);
  bits.Skip(9 * 8);
  EXPECT_EQ(bits.Read(8), 0xBBu);
  for (int i = 0; i < 10; ++i) r.AppendFrame(b.data(), 300, 0);
  EXPECT_EQ(r.Size(), MainDataReservoir::kCapacity);
}

TEST(Layer3StageTest, SubtractiveRandomIsUniformAndRepeatable) {
  SubtractiveRandom a(42);
  SubtractiveRandom b(42);
  double sum = 0;
  for (int i = 0; i < 10000; ++i) {
    const double x = a.Next();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    ASSERT_EQ(x, b.Next());
    sum += x;
  }
  EXPECT_NEAR(sum / 10000, 0.5, 0.02);
  const double first = SubtractiveRandom(42).Next();
  a.Reseed(42);
  EXPECT_EQ(a.Next(), first);
}

TEST(Layer3StageTest, IntegerOutputRoundsToNearestEvenAndClips) {
  EXPECT_EQ(PcmWriter::ToInt16(2.5f), 2);
  EXPECT_EQ(PcmWriter::ToInt16(3.5f), 4);
  EXPECT_EQ(PcmWriter::ToInt16(-2.5f), -2);
  EXPECT_EQ(PcmWriter::ToInt16(40000.0f), 32767);
  EXPECT_EQ(PcmWriter::ToInt16(-40000.0f), -32768);
  EXPECT_EQ(PcmWriter::ToInt16(std::nanf("")), -32768);
}

}  // namespace
}  // namespace mpegaudio::layer3
