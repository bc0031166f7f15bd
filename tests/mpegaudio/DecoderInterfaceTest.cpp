#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/mpegaudio/DecodeHelpers.h"
#include "tests/mpegaudio/Layer3StreamWriter.h"

namespace mpegaudio {
namespace {

using test::FrameFields;
using test::HeaderFields;

std::vector<std::uint8_t> StereoStream(int frames) {
  test::BitWriter w;
  for (int i = 0; i < frames; ++i) {
    FrameFields f;
    for (auto& gr : f.granule) {
      for (auto& ch : gr) ch.lines = {0, 3, -2, 5, 1, 0, 0, 4, -7, 2};
    }
    test::PutFrame(w, f);
  }
  return w.Bytes();
}

TEST(DecoderInterfaceTest, FactoriesCheckTheirParameters) {
  EXPECT_EQ(CreateMp3Decoder(nullptr), SscBadParameter);
  Mp3Decoder* d = nullptr;
  EXPECT_EQ(CreateMp3DecoderEx(3, 0, 0, &d), SscBadParameter);
  ASSERT_EQ(CreateMp3Decoder(&d), SscOk);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->IsEndOfStream());
  EXPECT_EQ(d->GetBufferedInputBytes(), 0u);
  EXPECT_EQ(d->GetFreeInputBytes(), 8192u);
  d->Destroy();
}

TEST(DecoderInterfaceTest, TooSmallABufferKeepsTheFrame) {
  auto d = test::MakeDecoder();
  test::MemorySource source(StereoStream(3));
  d->SetSource(&source);
  std::vector<std::uint8_t> buffer(kMaxFrameBytes16);
  std::uint32_t written = 99;
  EXPECT_EQ(d->DecodeFrame(buffer.data(), 4607, written), SscBufferTooSmall);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(d->DecodeFrame(nullptr, 0, written), SscOk);  // properties only
  EXPECT_EQ(d->GetFrameProperties()->bitrate, 128000);
  EXPECT_EQ(d->GetFrameProperties()->outputChannels, 2);
  int frames = 0;
  while (!d->IsEndOfStream()) {
    d->DecodeFrame(buffer.data(), kMaxFrameBytes16, written);
    if (written) {
      EXPECT_EQ(written, 4608u);
      ++frames;
    }
  }
  EXPECT_EQ(frames, 3);
}

TEST(DecoderInterfaceTest, PushModeWithFillAndEndOfInput) {
  auto d = test::MakeDecoder();
  const auto bytes = StereoStream(4);
  EXPECT_EQ(d->Fill(bytes.data(), static_cast<std::uint32_t>(bytes.size())), bytes.size());
  EXPECT_EQ(d->GetBufferedInputBytes(), bytes.size());
  d->SetEndOfInput();
  std::vector<std::uint8_t> buffer(kMaxFrameBytes16);
  std::uint32_t written = 0;
  int frames = 0;
  SSC last = SscOk;
  for (int i = 0; i < 10 && !d->IsEndOfStream(); ++i) {
    last = d->DecodeFrame(buffer.data(), kMaxFrameBytes16, written);
    frames += written ? 1 : 0;
  }
  EXPECT_EQ(frames, 4);
  EXPECT_EQ(last, SscSyncEof);
  d->Reset();
  EXPECT_FALSE(d->IsEndOfStream());
  EXPECT_EQ(d->GetBufferedInputBytes(), 0u);
}

TEST(DecoderInterfaceTest, OutputOptionsShapeTheFrame) {
  struct Case {
    int shift, eightBit, mono;
    std::uint32_t bytes;
    int rate, bits, channels;
  };
  for (const Case& c : {Case{1, 0, 0, 2304, 22050, 16, 2}, Case{2, 1, 1, 288, 11025, 8, 1},
                        Case{0, 0, 1, 2304, 44100, 16, 1}}) {
    auto d = test::MakeDecoder(c.shift, c.eightBit, c.mono);
    test::MemorySource source(StereoStream(2));
    d->SetSource(&source);
    std::vector<std::uint8_t> buffer(kMaxFrameBytes16);
    std::uint32_t written = 0;
    EXPECT_EQ(d->DecodeFrame(buffer.data(), kMaxFrameBytes16, written), SscOk);
    EXPECT_EQ(written, c.bytes);
    const Mp3FrameProperties* p = d->GetFrameProperties();
    EXPECT_EQ(p->outputSamplingRate, c.rate);
    EXPECT_EQ(p->outputBitsPerSample, c.bits);
    EXPECT_EQ(p->outputChannels, c.channels);
    EXPECT_EQ(p->channels, 2);
  }
}

TEST(DecoderInterfaceTest, LostSyncIsReportedThenFoundAgain) {
  auto bytes = StereoStream(16);
  bytes[417 * 12 + 1] ^= 0x08;  // frame 12's header changes version (MPEG-2)
  auto d = test::MakeDecoder();
  test::MemorySource source(bytes);
  d->SetSource(&source);
  std::vector<std::uint8_t> buffer(kMaxFrameBytes16);
  std::vector<SSC> statuses;
  std::uint32_t written = 0;
  while (!d->IsEndOfStream()) statuses.push_back(d->DecodeFrame(buffer.data(), kMaxFrameBytes16, written));
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), SscSyncLost), 1);
  // Frames 0-11, then 13-15 (the search confirms frame 13 by frame 14).
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), SscOk), 15);
}

}  // namespace
}  // namespace mpegaudio
