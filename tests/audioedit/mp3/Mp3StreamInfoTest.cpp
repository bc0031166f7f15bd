// The stream analysis on streams built here (VBRI and Xing headers, padding and bitrate
// patterns, bad input) and the statistics it rests on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "mpegaudio/analysis/Mp3StreamInfoImpl.h"
#include "mpegaudio/analysis/StreamStatistics.h"
#include "tests/audioedit/mp3/StreamBuilder.h"

namespace mpegaudio {
namespace {

using mp3test::AppendFrame;
using mp3test::FrameSpec;
using mp3test::PutBe;

constexpr float kFrameMs44100 = 1152.0f / 44100.0f * 1000.0f;

bool Parse(Mp3StreamInfoImpl& info, const std::vector<std::uint8_t>& bytes, std::uint32_t fileSize) {
  return info.Parse(bytes.data(), static_cast<std::uint32_t>(bytes.size()), fileSize);
}

TEST(StreamStatisticsTest, PeriodDetectorFindsTheShortestRepeatingBlock) {
  PeriodDetector constant;
  for (int i = 0; i < 9; ++i) constant.Add(417);
  EXPECT_EQ(constant.Period(), 1);
  EXPECT_EQ(constant.BlockSum(), 417);

  PeriodDetector three;
  for (int i = 0; i < 10; ++i) three.Add(i % 3 == 2 ? 418 : 417);
  EXPECT_EQ(three.Period(), 3);
  EXPECT_EQ(three.BlockSum(), 417 + 417 + 418);

  PeriodDetector none;
  for (int v : {1, 2, 3, 4, 5, 1, 2}) none.Add(v);
  EXPECT_EQ(none.Period(), 0);
  EXPECT_EQ(none.BlockSum(), 0);
  EXPECT_EQ(PeriodDetector().Period(), 0);
}

TEST(StreamStatisticsTest, AccumulatorTracksRangeAndEquality) {
  ValueAccumulator a;
  for (int v : {5, 5, 9, 1}) a.Add(v);
  EXPECT_EQ(a.Count(), 4);
  EXPECT_EQ(a.Total(), 20);
  EXPECT_EQ(a.First(), 5);
  EXPECT_EQ(a.Min(), 1);
  EXPECT_EQ(a.Max(), 9);
  EXPECT_FALSE(a.AllEqual());
  EXPECT_EQ(a.Average(), 5);
}

TEST(Mp3StreamInfoTest, FactoryRejectsNullAndStartsEmpty) {
  EXPECT_EQ(CreateMp3StreamInfo(nullptr), SscBadParameter);
  Mp3StreamInfo* info = nullptr;
  ASSERT_EQ(CreateMp3StreamInfo(&info), SscOk);
  const Mp3StreamProperties* p = info->GetInfo();
  EXPECT_EQ(p->bitrate, 0);
  EXPECT_EQ(p->durationMs, 0);
  EXPECT_EQ(info->TimeToOffset(1000), 0u);
  EXPECT_EQ(info->PercentToOffset(50.0f), 0u);
  info->Destroy();
}

TEST(Mp3StreamInfoTest, AlternatingPaddingIsOneFramePerBlockAndNotVbr) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 40; ++i) {
    FrameSpec f;
    f.padding = i % 2;
    AppendFrame(bytes, f);
  }
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, bytes, 1000000));
  const MPEGLAYER3WAVEFORMAT& w = info.Format();
  EXPECT_EQ(w.nBlockSize, 1);
  EXPECT_EQ(w.nFramesPerBlock, 1);
  EXPECT_EQ(w.fdwFlags & 0x3, kMpegLayer3PaddingIso);
  EXPECT_EQ(w.fdwFlags & kMpegLayer3Vbr, 0u);
  EXPECT_EQ(w.fdwFlags & 0x30, kMpegLayer3CrcOff);
  EXPECT_EQ(w.wfx.wFormatTag, kWaveFormatMpegLayer3);
  EXPECT_EQ(w.wfx.nAvgBytesPerSec, 16000u);
  EXPECT_EQ(w.wfx.cbSize, 12);
  EXPECT_EQ(w.wID, 1);
  const Mp3StreamProperties& p = *info.GetInfo();
  EXPECT_EQ(p.bitrate, 128000);
  EXPECT_EQ(p.isVbr, 0);
  EXPECT_EQ(p.seekAccurate, 1);
  EXPECT_EQ(p.durationMs, 62500);  // 1000000 bytes at 16000 bytes/s
  // Bitrate arithmetic: 16000 bytes per second.
  EXPECT_EQ(info.TimeToOffset(1500), 24000u);
}

TEST(Mp3StreamInfoTest, RepeatingBitratePatternIsABlockLayout) {
  std::vector<std::uint8_t> bytes;
  FrameSpec a;  // 128 kbit/s, 48000 Hz: 384 bytes
  a.rateIndex = 1;
  a.crc = true;
  FrameSpec b = a;  // 160 kbit/s: 480 bytes
  b.bitrateIndex = 10;
  for (int i = 0; i < 30; ++i) AppendFrame(bytes, i % 2 == 0 ? a : b);
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, bytes, 864 * 100));
  const MPEGLAYER3WAVEFORMAT& w = info.Format();
  EXPECT_EQ(w.nBlockSize, 384 + 480);
  EXPECT_EQ(w.nFramesPerBlock, 2);
  EXPECT_EQ(w.fdwFlags, kMpegLayer3PaddingOff | kMpegLayer3CrcOn);
  EXPECT_EQ(info.GetInfo()->bitrate, 144000);
  EXPECT_EQ(info.GetInfo()->isVbr, 0);
  // 24 ms frames: 100 ms is frame 4.17, two whole blocks.
  EXPECT_EQ(info.TimeToOffset(100), 2u * 864);
}

TEST(Mp3StreamInfoTest, FirstFrameAtAnOddBitOffsetIsFound) {
  std::vector<std::uint8_t> frames = mp3test::Frames(FrameSpec{}, 6);
  // Three junk bytes and three bits before the first header.
  std::vector<std::uint8_t> bytes(frames.size() + 4, 0);
  bytes[0] = 0x12;
  bytes[1] = 0x34;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    bytes[3 + i] |= static_cast<std::uint8_t>(frames[i] >> 3);
    bytes[4 + i] |= static_cast<std::uint8_t>(frames[i] << 5);
  }
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, bytes, static_cast<std::uint32_t>(bytes.size())));
  EXPECT_EQ(info.FirstFrameBitOffset(), 27u);
  EXPECT_EQ(info.GetInfo()->samplingRate, 44100);
  EXPECT_EQ(info.GetInfo()->channels, 2);
}

// A VBRI header in the first (320 kbit/s) frame: 1100 frames, 440000 bytes, four table
// entries of 2 bytes, scale 2, 250 frames per entry.
std::vector<std::uint8_t> VbriStream(std::uint16_t entries = 4) {
  std::vector<std::uint8_t> bytes;
  FrameSpec first;
  first.bitrateIndex = 14;
  const std::size_t at = AppendFrame(bytes, first);
  std::uint8_t* v = bytes.data() + at + 36;
  std::memcpy(v, "VBRI", 4);
  PutBe(v + 4, 1, 2);
  PutBe(v + 6, 1105, 2);
  PutBe(v + 8, 75, 2);
  PutBe(v + 10, 440000, 4);
  PutBe(v + 14, 1100, 4);
  PutBe(v + 18, entries, 2);
  PutBe(v + 20, 2, 2);
  PutBe(v + 22, 2, 2);
  PutBe(v + 24, 250, 2);
  for (int i = 0; i < 4; ++i) PutBe(v + 26 + 2 * i, 50000, 2);
  for (int i = 0; i < 20; ++i) {
    FrameSpec f;
    f.bitrateIndex = 9 + i % 3;
    f.padding = i % 2;
    AppendFrame(bytes, f);
  }
  return bytes;
}

TEST(Mp3StreamInfoTest, VbriHeaderGivesDurationBitrateAndOffsetTable) {
  const std::vector<std::uint8_t> bytes = VbriStream();
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, bytes, 999999));
  ASSERT_TRUE(info.HasVbri());
  const VbriHeader& v = info.Vbri();
  EXPECT_EQ(v.delay, 1105);
  EXPECT_EQ(v.quality, 75);
  EXPECT_EQ(v.framesPerEntry, 250);
  EXPECT_EQ(v.offsets, (std::vector<std::uint32_t>{0, 100000, 200000, 300000, 400000}));
  EXPECT_EQ(info.FileSize(), 440000u);

  const double total = 1100.0 * kFrameMs44100;
  const Mp3StreamProperties& p = *info.GetInfo();
  EXPECT_EQ(p.durationMs, static_cast<std::int32_t>(std::floor(total)));
  EXPECT_EQ(p.bitrate, static_cast<std::int32_t>(std::floor(440000 * 8.0 / (total * 0.001))));
  EXPECT_EQ(p.isVbr, 1);
  EXPECT_EQ(p.hasVbrHeader, 1);
  EXPECT_EQ(p.seekAccurate, 1);
  EXPECT_EQ(info.Format().wfx.nAvgBytesPerSec, static_cast<std::uint32_t>(p.bitrate / 8));

  // Inside the table: 400 bytes per frame; past its last point: towards the byte count at
  // the total frame count (400 bytes per frame again here).
  auto at = [&](double frame) { return static_cast<std::uint32_t>(std::ceil(frame * kFrameMs44100)); };
  EXPECT_NEAR(info.TimeToOffset(at(125)), 50000, 400);
  EXPECT_NEAR(info.TimeToOffset(at(600)), 240000, 400);
  EXPECT_NEAR(info.TimeToOffset(at(1050)), 420000, 400);
  EXPECT_EQ(info.TimeToOffset(0), 0u);
  // Beyond the duration: the duration's offset.
  EXPECT_EQ(info.TimeToOffset(10000000), info.TimeToOffset(static_cast<std::uint32_t>(p.durationMs)));
  EXPECT_NEAR(info.TimeToOffset(10000000), 440000, 400);
  EXPECT_NEAR(info.PercentToOffset(50.0f), 220000, 400);
}

TEST(Mp3StreamInfoTest, VbriTableThatDoesNotFitIsNoHeaderButItsCountsStillSetTheScan) {
  // 60000 entries of 2 bytes cannot lie in a buffer of 21 frames.
  const std::vector<std::uint8_t> bytes = VbriStream(60000);
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, bytes, 999999));
  EXPECT_FALSE(info.HasVbri());
  const Mp3StreamProperties& p = *info.GetInfo();
  const double total = 1100.0 * kFrameMs44100;
  EXPECT_EQ(p.bitrate, static_cast<std::int32_t>(std::floor(440000 * 8.0 / (total * 0.001))));
  EXPECT_EQ(p.isVbr, 1);
  EXPECT_EQ(p.hasVbrHeader, 0);
  EXPECT_EQ(p.seekAccurate, 0);
  EXPECT_EQ(info.FileSize(), 999999u);
}

// A Xing header with every field: 500 frames, 200000 bytes, toc[i] = 2i, quality 50.
std::vector<std::uint8_t> XingStream(std::uint32_t flags, const FrameSpec& spec = FrameSpec{},
                                     std::size_t offset = 36) {
  std::vector<std::uint8_t> bytes;
  const std::size_t at = AppendFrame(bytes, spec);
  std::uint8_t* x = bytes.data() + at + offset;
  std::memcpy(x, "Xing", 4);
  PutBe(x + 4, flags, 4);
  std::uint8_t* p = x + 8;
  if (flags & 1) PutBe(p, 500, 4), p += 4;
  if (flags & 2) PutBe(p, 200000, 4), p += 4;
  if (flags & 4) {
    for (int i = 0; i < 100; ++i) p[i] = static_cast<std::uint8_t>(2 * i);
    p += 100;
  }
  if (flags & 8) PutBe(p, 50, 4);
  for (int i = 0; i < 12; ++i) {
    FrameSpec f = spec;
    f.bitrateIndex = spec.bitrateIndex + i % 3 - 1;
    AppendFrame(bytes, f);
  }
  return bytes;
}

TEST(Mp3StreamInfoTest, XingTableOfContentsGivesPercentOffsets) {
  const std::vector<std::uint8_t> bytes = XingStream(15);
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, bytes, 777777));
  ASSERT_TRUE(info.HasXing());
  EXPECT_EQ(info.Xing().quality, 50u);
  EXPECT_EQ(info.FileSize(), 200000u);
  const Mp3StreamProperties& p = *info.GetInfo();
  const double total = 500.0 * kFrameMs44100;
  EXPECT_EQ(p.durationMs, static_cast<std::int32_t>(std::floor(total)));
  EXPECT_EQ(p.bitrate, static_cast<std::int32_t>(std::floor(200000 * 8.0 / (total * 0.001))));
  EXPECT_EQ(p.isVbr, 1);
  EXPECT_EQ(p.hasVbrHeader, 1);
  EXPECT_EQ(p.seekAccurate, 1);

  // 200000 / 256 = 781.25 bytes per table unit.
  EXPECT_EQ(info.PercentToOffset(0.0f), 0u);
  EXPECT_EQ(info.PercentToOffset(50.5f), 78906u);     // (100 + 0.5 x 2) units
  EXPECT_EQ(info.PercentToOffset(99.5f), 177343u);    // (198 + 0.5 x 58) units
  EXPECT_EQ(info.PercentToOffset(100.0f), 200000u);   // upper point 256
  EXPECT_EQ(info.PercentToOffset(250.0f), 200000u);
  EXPECT_EQ(info.PercentToOffset(-3.0f), 0u);
  EXPECT_EQ(info.PercentToOffset(std::numeric_limits<float>::quiet_NaN()), 0u);
  const auto half = static_cast<std::uint32_t>(p.durationMs / 2);
  EXPECT_EQ(info.TimeToOffset(half),
            info.PercentToOffset(static_cast<float>(half) / static_cast<float>(p.durationMs) * 100.0f));
  EXPECT_EQ(info.TimeToOffset(4000000000u), 200000u);
}

TEST(Mp3StreamInfoTest, XingWithoutTableIsNotSeekAccurate) {
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, XingStream(1 | 2), 777777));
  EXPECT_EQ(info.GetInfo()->hasVbrHeader, 1);
  EXPECT_EQ(info.GetInfo()->seekAccurate, 0);
  // Without a table: the bitrate's bytes per millisecond.
  const auto ms = 1000u;
  EXPECT_EQ(info.TimeToOffset(ms),
            static_cast<std::uint32_t>(info.GetInfo()->bitrate * 0.125 * ms * 0.001));
}

TEST(Mp3StreamInfoTest, XingOffsetFollowsVersionAndModeAndIsSkippedBelow16000Hz) {
  FrameSpec mpeg2mono;
  mpeg2mono.version = 1;
  mpeg2mono.rateIndex = 2;  // 16000 Hz
  mpeg2mono.mode = 3;
  mpeg2mono.bitrateIndex = 8;
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, XingStream(1 | 2, mpeg2mono, 13), 1));
  EXPECT_TRUE(info.HasXing());
  EXPECT_FLOAT_EQ(info.FrameMs(), 36.0f);  // 576 samples

  FrameSpec mpeg25 = mpeg2mono;
  mpeg25.version = 2;  // 8000 Hz: 576-sample frames, no Xing lookup
  ASSERT_TRUE(Parse(info, XingStream(1 | 2, mpeg25, 13), 100000));
  EXPECT_FALSE(info.HasXing());
  EXPECT_FLOAT_EQ(info.FrameMs(), 72.0f);
  EXPECT_EQ(info.GetInfo()->samplingRate, 8000);
  EXPECT_EQ(info.GetInfo()->hasVbrHeader, 0);
}

TEST(Mp3StreamInfoTest, RejectsOtherLayersNoiseAndEmptyInput) {
  Mp3StreamInfoImpl info;
  FrameSpec layer2;
  layer2.layer = 2;
  EXPECT_FALSE(Parse(info, mp3test::Frames(layer2, 50), 100000));
  FrameSpec freeFormat;
  freeFormat.bitrateIndex = 0;
  freeFormat.padding = 1;  // a frame of one byte after the header: never two in a row
  EXPECT_FALSE(Parse(info, mp3test::Frames(freeFormat, 50), 100000));
  std::mt19937 rng(7);
  std::vector<std::uint8_t> noise(0x20000);
  for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
  EXPECT_FALSE(Parse(info, noise, 0x20000));
  EXPECT_FALSE(info.Parse(nullptr, 100, 100));
  EXPECT_FALSE(Parse(info, {}, 0));
  EXPECT_EQ(info.GetInfo()->bitrate, 0);
  EXPECT_EQ(info.TimeToOffset(100), 0u);
}

TEST(Mp3StreamInfoTest, ParseReplacesEarlierResults) {
  Mp3StreamInfoImpl info;
  ASSERT_TRUE(Parse(info, VbriStream(), 1));
  ASSERT_TRUE(info.HasVbri());
  ASSERT_TRUE(Parse(info, mp3test::Frames(FrameSpec{}, 5), 41800));
  EXPECT_FALSE(info.HasVbri());
  EXPECT_TRUE(info.Vbri().offsets.empty());
  EXPECT_EQ(info.GetInfo()->hasVbrHeader, 0);
  EXPECT_EQ(info.GetInfo()->durationMs, 2612);
}

}  // namespace
}  // namespace mpegaudio
