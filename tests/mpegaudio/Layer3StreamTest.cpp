// Streams that encoders never make, built with the test bitstream writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/mpegaudio/DecodeHelpers.h"
#include "tests/mpegaudio/Layer3StreamWriter.h"

namespace mpegaudio {
namespace {

using test::BitWriter;
using test::DecodeStream;
using test::FrameFields;
using test::GranuleFields;
using test::HeaderFields;

// A granule with a varied spectrum in lines [first, first + count).
GranuleFields MusicGranule(int seed, int first = 2, int count = 120) {
  GranuleFields g;
  g.lines.assign(static_cast<std::size_t>(first + count), 0);
  std::uint32_t state = 12345u + static_cast<std::uint32_t>(seed) * 7919u;
  for (int i = first; i < first + count; ++i) {
    state = state * 1103515245u + 12345u;
    g.lines[static_cast<std::size_t>(i)] = static_cast<int>((state >> 16) % 9) - 4;
  }
  return g;
}

FrameFields MonoMusicFrame(int index, bool crc = false) {
  FrameFields f;
  f.header = HeaderFields{.mode = 3, .crc = crc};
  f.granule[0][0] = MusicGranule(2 * index);
  f.granule[1][0] = MusicGranule(2 * index + 1);
  return f;
}

std::vector<std::uint8_t> Stream(const std::vector<FrameFields>& frames, int leadingBits = 0) {
  BitWriter w;
  for (int i = 0; i < leadingBits; ++i) w.PutBit(i & 1);
  for (const FrameFields& f : frames) test::PutFrame(w, f);
  return w.Bytes();
}

std::vector<float> Channel(const std::vector<float>& frame, int channels, int ch) {
  std::vector<float> out;
  for (std::size_t i = static_cast<std::size_t>(ch); i < frame.size(); i += static_cast<std::size_t>(channels)) {
    out.push_back(frame[i]);
  }
  return out;
}

bool AllZero(const std::vector<float>& v) {
  return std::all_of(v.begin(), v.end(), [](float x) { return x == 0.0f; });
}

TEST(Layer3StreamTest, DamagedCrcIsConcealedWithShapedNoise) {
  std::vector<FrameFields> frames;
  for (int i = 0; i < 10; ++i) frames.push_back(MonoMusicFrame(i, true));
  frames[6].corruptCrc = true;
  auto decoder = test::MakeDecoder();
  const auto out = DecodeStream(Stream(frames), true, decoder.get());
  ASSERT_EQ(out.frames.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(out.frameStatuses[static_cast<std::size_t>(i)], i == 6 ? SscCrcError : SscOk) << i;
  }
  const double before = test::Rms(out.frames[5]);
  const double concealed = test::Rms(out.frames[6]);
  EXPECT_GT(before, 0.001);
  EXPECT_GT(concealed, 0.25 * before);  // no dropout
  EXPECT_LT(concealed, 4.0 * before);
  EXPECT_GT(test::Rms(out.frames[7]), 0.25 * before);
}

TEST(Layer3StreamTest, CrcErrorIsReportedInTheFrameProperties) {
  std::vector<FrameFields> frames = {MonoMusicFrame(0, true), MonoMusicFrame(1, true)};
  frames[0].corruptCrc = true;
  auto decoder = test::MakeDecoder();
  test::MemorySource source(Stream(frames));
  decoder->SetSource(&source);
  std::vector<std::uint8_t> buffer(kMaxFrameBytes16);
  std::uint32_t written = 0;
  EXPECT_EQ(decoder->DecodeFrame(buffer.data(), kMaxFrameBytes16, written), SscCrcError);
  EXPECT_EQ(written, 2304u);
  EXPECT_EQ(decoder->GetFrameProperties()->crcError, 1);
  EXPECT_EQ(decoder->DecodeFrame(buffer.data(), kMaxFrameBytes16, written), SscOk);
  EXPECT_EQ(decoder->GetFrameProperties()->crcError, 0);
}

TEST(Layer3StreamTest, MissingReservoirIsConcealedAndDecodingRecovers) {
  std::vector<FrameFields> frames;
  for (int i = 0; i < 4; ++i) frames.push_back(MonoMusicFrame(i));
  frames[0].mainDataBegin = 200;
  auto decoder = test::MakeDecoder();
  test::MemorySource source(Stream(frames));
  decoder->SetSource(&source);
  std::vector<float> buffer(2304);
  std::uint32_t written = 0;
  EXPECT_EQ(decoder->DecodeFrameFloat(buffer.data(), 9216, written), SscNoMainData);
  EXPECT_EQ(written, 1152u * 4);
  EXPECT_EQ(decoder->GetFrameProperties()->noMainData, 1);
  EXPECT_TRUE(AllZero(std::vector<float>(buffer.begin(), buffer.begin() + 1152)));
  EXPECT_EQ(decoder->DecodeFrameFloat(buffer.data(), 9216, written), SscOk);
  EXPECT_EQ(decoder->GetFrameProperties()->noMainData, 0);
  EXPECT_GT(test::Rms(std::vector<float>(buffer.begin(), buffer.begin() + 1152)), 0.001);
}

TEST(Layer3StreamTest, CorruptSideInformationGivesSilentGranules) {
  FrameFields tooBig = MonoMusicFrame(0);
  tooBig.granule[0][0].bigValuesOverride = 300;
  tooBig.granule[1][0].bigValuesOverride = 300;
  FrameFields switchedType0 = MonoMusicFrame(1);
  for (auto& gr : switchedType0.granule) {
    gr[0].windowSwitching = 1;
    gr[0].blockType = 0;
  }
  for (const FrameFields& f : {tooBig, switchedType0}) {
    const auto out = DecodeStream(Stream({f, f}), true);
    ASSERT_EQ(out.frames.size(), 2u);
    EXPECT_EQ(out.frameStatuses[0], SscOk);
    EXPECT_TRUE(AllZero(out.frames[0]));
  }
}

TEST(Layer3StreamTest, GlobalGainAbove210SilencesBandsWithSmallScalefactors) {
  FrameFields f = MonoMusicFrame(0);
  for (auto& gr : f.granule) gr[0].globalGain = 250;
  const auto silent = DecodeStream(Stream({f, f}), true);
  ASSERT_EQ(silent.frames.size(), 2u);
  EXPECT_TRUE(AllZero(silent.frames[0]));
  EXPECT_TRUE(AllZero(silent.frames[1]));
}

TEST(Layer3StreamTest, FullScaleSignalClips) {
  for (int mode : {3, 0}) {  // mono and stereo output paths
    FrameFields f;
    f.header = HeaderFields{.mode = mode};
    for (auto& gr : f.granule) {
      for (int ch = 0; ch < (mode == 3 ? 1 : 2); ++ch) {
        gr[ch].table = 31;  // 13 linbits
        gr[ch].globalGain = 200;
        gr[ch].lines = {0, 3000, -3000, 2000, 0, 1000};
      }
    }
    const auto out = DecodeStream(Stream({f, f, f}), false);
    ASSERT_FALSE(out.pcm.empty());
    EXPECT_EQ(*std::max_element(out.pcm.begin(), out.pcm.end()), 32767) << mode;
    EXPECT_EQ(*std::min_element(out.pcm.begin(), out.pcm.end()), -32768) << mode;
    const auto asFloat = DecodeStream(Stream({f, f, f}), true);
    float peak = 0;
    for (const auto& frame : asFloat.frames) {
      for (float x : frame) peak = std::max(peak, std::fabs(x));
    }
    EXPECT_GT(peak, 1.0f);  // float output is not clipped
    // The integer output is the float output x 32768, rounded and clipped.
    std::size_t k = 0;
    for (const auto& frame : asFloat.frames) {
      for (float x : frame) {
        const float scaled = std::clamp(x * 32768.0f, -32768.0f, 32767.0f);
        ASSERT_EQ(out.pcm[k++], static_cast<std::int16_t>(std::nearbyint(scaled))) << k;
      }
    }
  }
}

TEST(Layer3StreamTest, Mpeg1IntensityStereo) {
  FrameFields f;
  f.header = HeaderFields{.mode = 1, .modeExtension = 1};  // intensity on, mid/side off
  for (int gr = 0; gr < 2; ++gr) {
    f.granule[gr][0] = MusicGranule(gr, 2, 200);
    GranuleFields& right = f.granule[gr][1];
    right.scalefacCompress = 13;  // slen1 = slen2 = 3
    for (int b = 0; b < 21; ++b) right.part2.push_back({2, 3});  // is_pos 2 in every band
  }
  const auto out = DecodeStream(Stream({f, f, f}), true);
  ASSERT_EQ(out.frames.size(), 3u);
  ASSERT_EQ(out.channels, 2);
  const double ratio = 1.0 / std::tan(2 * std::acos(-1.0) / 12);  // R / L = 1 / tan(pi/6)
  for (const auto& frame : out.frames) {
    const auto left = Channel(frame, 2, 0);
    const auto right = Channel(frame, 2, 1);
    EXPECT_GT(test::Rms(left), 0.001);
    for (std::size_t i = 0; i < left.size(); ++i) {
      ASSERT_NEAR(right[i], left[i] * ratio, 1e-5) << i;
    }
  }
}

TEST(Layer3StreamTest, Mpeg2IntensityStereoWithSlenZeroUsesPositionZero) {
  FrameFields f;
  f.header = HeaderFields{.version = 1, .bitrateIndex = 8, .mode = 1, .modeExtension = 1};
  f.granule[0][0] = MusicGranule(3, 2, 150);
  f.granule[0][1].scalefacCompress = 0;  // slen 0 everywhere, intensity scale 0
  const auto out = DecodeStream(Stream({f, f, f}), true);
  ASSERT_EQ(out.frames.size(), 3u);
  for (const auto& frame : out.frames) {
    const auto left = Channel(frame, 2, 0);
    const auto right = Channel(frame, 2, 1);
    EXPECT_GT(test::Rms(left), 0.001);
    EXPECT_EQ(left, right);  // position 0: both channels carry the full signal
  }
}

// A mixed block whose spectrum lies in the long part decodes exactly like a long block:
// the long part covers `longSubbands` subbands and the alias butterflies stop after
// `boundaries` boundaries (content below line 18 * boundaries).
void ExpectMixedMatchesLong(const HeaderFields& header, int contentLines) {
  auto make = [&](bool mixed) {
    FrameFields f;
    f.header = header;
    const int granules = header.version == 0 ? 2 : 1;
    for (int gr = 0; gr < granules; ++gr) {
      GranuleFields g = MusicGranule(gr, 1, contentLines - 1);
      if (mixed) {
        g.windowSwitching = 1;
        g.blockType = 2;
        g.mixedBlock = 1;
      } else {
        g.region0Count = 15;
        g.region1Count = 7;
      }
      f.granule[gr][0] = g;
    }
    return DecodeStream(Stream({f, f, f}), true);
  };
  const auto mixed = make(true);
  const auto plain = make(false);
  ASSERT_EQ(mixed.frames.size(), 3u);
  for (std::size_t i = 0; i < mixed.frames.size(); ++i) {
    EXPECT_GT(test::Rms(plain.frames[i]), 0.0001);
    ASSERT_EQ(mixed.frames[i].size(), plain.frames[i].size());
    for (std::size_t k = 0; k < plain.frames[i].size(); ++k) {
      ASSERT_NEAR(mixed.frames[i][k], plain.frames[i][k], 1e-6) << i << ":" << k;
    }
  }
}

TEST(Layer3StreamTest, MixedBlocksMpeg1) {
  ExpectMixedMatchesLong(HeaderFields{.mode = 3}, 18);
}

TEST(Layer3StreamTest, MixedBlocksMpeg25At8000HzHaveFourLongSubbandsAndThreeButterflies) {
  ExpectMixedMatchesLong(HeaderFields{.version = 2, .bitrateIndex = 8, .samplingRateIndex = 2,
                                    .mode = 3},
                         54);
}

TEST(Layer3StreamTest, FramesAtOddBitOffsetsDecodeTheSame) {
  std::vector<FrameFields> frames;
  for (int i = 0; i < 5; ++i) frames.push_back(MonoMusicFrame(i));
  const auto aligned = DecodeStream(Stream(frames), false);
  const auto shifted = DecodeStream(Stream(frames, 13), false);
  ASSERT_EQ(aligned.pcm.size(), 5u * 1152);
  EXPECT_EQ(aligned.pcm, shifted.pcm);
}

}  // namespace
}  // namespace mpegaudio
