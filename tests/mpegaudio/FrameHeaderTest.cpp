#include "mpegaudio/FrameHeader.h"

#include <gtest/gtest.h>

#include "mpegaudio/Ssc.h"
#include "tests/mpegaudio/StreamWriter.h"

namespace mpegaudio {
namespace {

using test::HeaderFields;
using test::HeaderWord;

TEST(SscTest, TextsAndClasses) {
  EXPECT_STREQ(SscText(SscOk), "(Mp3Ssc) success: no error");
  EXPECT_STREQ(SscText(SscNoMainData), "(Mp3Ssc) info: Decoder - not enough main data present");
  EXPECT_STREQ(SscText(SscSyncEof), "(Mp3Ssc) warning: Decoder - sync eof");
  EXPECT_STREQ(SscText(0x12345678u), "(Mp3Ssc) unknown SSC");
  EXPECT_TRUE(SscIsInfo(SscCrcError));
  EXPECT_TRUE(SscIsWarning(SscSyncLost));
  EXPECT_TRUE(SscIsError(SscBufferTooSmall));
  EXPECT_TRUE(SscHasFrame(SscNoMainData));
  EXPECT_FALSE(SscHasFrame(SscSyncNeedData));
}

TEST(FrameHeaderTest, SizesOfCommonFrames) {
  FrameHeader h;
  HeaderFields fields;  // MPEG-1 128 kbit/s 44100 Hz
  ASSERT_TRUE(h.Parse(HeaderWord(fields)));
  EXPECT_EQ(h.frameSizeBits, 417 * 8);
  EXPECT_EQ(h.version, 0);
  EXPECT_EQ(h.channels, 2);
  EXPECT_EQ(h.bitrate, 128000);
  EXPECT_EQ(h.SamplesPerFrame(), 1152);
  EXPECT_NEAR(h.frameDurationMs, 26.122f, 0.001f);
  fields.padding = 1;
  fields.mode = 3;
  fields.crc = true;
  ASSERT_TRUE(h.Parse(HeaderWord(fields)));
  EXPECT_EQ(h.frameSizeBits, 418 * 8);
  EXPECT_EQ(h.channels, 1);
  EXPECT_EQ(h.protection, 1);

  HeaderFields lsf{.version = 2, .bitrateIndex = 8, .samplingRateIndex = 2};  // 64 kbit/s 8000 Hz
  ASSERT_TRUE(h.Parse(HeaderWord(lsf)));
  EXPECT_EQ(h.samplingRate, 8000);
  EXPECT_EQ(h.bitrate, 64000);
  EXPECT_EQ(h.SamplesPerFrame(), 576);
  EXPECT_EQ(h.frameSizeBits, 576 * 8);
  EXPECT_FLOAT_EQ(h.frameDurationMs, 72.0f);
}

TEST(FrameHeaderTest, RejectsWhatIsNotDecoded) {
  FrameHeader h;
  EXPECT_FALSE(h.Parse(HeaderWord({.layer = 1})));
  EXPECT_FALSE(h.Parse(HeaderWord({.layer = 2})));
  EXPECT_FALSE(h.Parse(HeaderWord({.bitrateIndex = 0})));  // free format
  EXPECT_FALSE(h.Parse(HeaderWord({.bitrateIndex = 15})));
  EXPECT_FALSE(h.Parse(HeaderWord({.samplingRateIndex = 3})));
  EXPECT_FALSE(h.Parse(HeaderWord({}) & ~(1u << 20)));  // reserved version 0-1
  EXPECT_FALSE(h.Parse(HeaderWord({}) & ~(1u << 24)));  // broken sync
  EXPECT_FALSE(h.Parse(HeaderWord({}) | (3u << 17)));   // layer bits 11: Layer I
  EXPECT_EQ(h.layer, 1);
}

}  // namespace
}  // namespace mpegaudio
